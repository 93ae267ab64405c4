#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

// Data files are named as "Picture\LED\led_red.bmp", relative to the program
// folder, in whatever case the caller wrote. Each part is matched without
// regard to case, so the same name works on a case-sensitive file system.
//
// Returns the absolute path of the existing file, or an empty string.
QString ResolveAsset(const QString &relativePath);

// Same, but below `base` instead of the program folder (for tests and tools).
QString ResolveAssetUnder(const QString &base, const QString &relativePath);

// The program folder with a trailing separator.
QString ProgramFolder();

// Loads a picture through the resolver. Throws TLoadError naming the file when
// it is missing or cannot be decoded, so that a screen's creation can report
// the failure in its warning box.
QPixmap LoadAssetPixmap(const QString &relativePath);
QImage LoadAssetImage(const QString &relativePath);
// The same checks without decoding: the file is there and reads as a picture
// (its header); throws TLoadError like the loaders.
void CheckAssetImage(const QString &relativePath);
