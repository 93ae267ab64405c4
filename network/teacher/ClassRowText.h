#pragma once

#include "ClassRoster.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The words the teacher's list shows for one station.
namespace ClassRowText {

// "すべて受け付ける", "登録した相手だけ", "受け付けない".
QString ReceiveMode(int mode);
// "STEP3", "プレビュー", "レポート".
QString Page(int page);
// "10:23:45", with how long ago when that is a while: "10:23:45（2分前）".
QString LastAnswered(const QDateTime &at, const QDateTime &now);
// The five cells of a row: name, address, receive mode, page, last answered.
QStringList Cells(const TClassRow &row, const QDateTime &now);

} // namespace ClassRowText
