#pragma once

// Lets assistive technology see the picture controls and the selectors as
// the controls they are (their names, roles, values, and the press action)
// instead of as unnamed labels and fillers. Installed once per process;
// every control of these classes calls it when made.
void InstallPictureAccessibility();
