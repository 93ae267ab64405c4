#pragma once

#include "MessageBoxWatcher.h"

#include <QStringList>

// What the boxes said beyond the missing-picture warning of a build without data files.
inline QStringList Said(const MessageBoxWatcher &boxes)
{
    QStringList said = boxes.Texts();
    said.removeAll(QStringLiteral("エラーが発生しました\nソフトを再起動するか再度インストールして下さい"));
    return said;
}
