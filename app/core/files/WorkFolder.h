#pragma once

#include <QString>

// The current user's documents folder.
QString DocumentsFolder();

// The documents folder joined with "LK-72Temp" and a trailing separator;
// pure, so that the joining rule can be checked with any path.
QString WorkFolderUnder(const QString &documents);

// The per-user working folder with a trailing separator, created (with any
// missing parents) on every call.
QString WorkFolder();
