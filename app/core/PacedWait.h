#pragma once

// Waits at least `milliseconds`, handling every user-interface event that
// arrives meanwhile. It sleeps in the event loop until the deadline instead of
// spinning, so a transfer does not burn a core.
void PacedWait(int milliseconds);
