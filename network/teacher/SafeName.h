#pragma once

#include <QString>

// Names that arrive over the network (a pupil's name, a class code) become
// parts of file and folder names. Made safe first: no path separator, no
// dot (so never ".." and no extension of its own), no character a file
// system refuses or a terminal would act on, not a device name of Windows,
// never empty, and bounded in length.
namespace SafeName {

constexpr int MaxChars = 32;

// `fallback` when nothing of `name` is left.
QString ForFile(const QString &name, const QString &fallback);

} // namespace SafeName
