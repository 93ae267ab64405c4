#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// A program record that came over the network: taken only when it is one
// lesson's record (STEP3, STEP5 or STEP7), reads as that lesson's read
// button would read it, and its bytes are exactly what that lesson's save
// button writes for those lines. So what is written to disk or shown on a
// screen is always an ordinary program file, byte for byte.
namespace ClassRecord {

struct TChecked {
    QString lessonName;  // "STEP3", "STEP5" or "STEP7"
    QStringList lines;   // the lesson name first
};

std::optional<TChecked> Check(const QByteArray &bytes);

// The record a lesson's save button would write for `lines`.
QByteArray Bytes(const QStringList &lines);

} // namespace ClassRecord
