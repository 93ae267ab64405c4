// What the teacher's station and the stations of its class read from each
// other: any bytes as a class-list datagram, as a frame arriving in pieces,
// and as a program record must be refused or be exactly what the writer
// writes; a name from the network always becomes one safe file name.
#include "ClassMessage.h"
#include "ClassRecord.h"
#include "RosterDatagram.h"
#include "SafeName.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

namespace {
void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckRoster(const QByteArray &bytes)
{
    const auto datagram = TRosterDatagram::Decode(bytes);
    if (!datagram)
        return;
    Require(bytes.size() <= TRosterDatagram::MaxBytes);
    Require(datagram->receiveMode >= 1 && datagram->receiveMode <= 3);
    Require(datagram->page >= 0 && datagram->page <= TRosterDatagram::MaxPage);
    Require(datagram->Encode() == bytes);
}

// The first byte sets the size of the pieces the frame arrives in.
void CheckFrame(const QByteArray &input)
{
    if (input.isEmpty())
        return;
    const int piece = 1 + static_cast<quint8>(input.at(0));
    const QByteArray bytes = input.mid(1);
    TClassFrameReader reader;
    for (qsizetype at = 0; at < bytes.size(); at += piece)
        reader.Feed(bytes.mid(at, piece));
    const auto whole = TClassMessage::Decode(bytes);
    Require((reader.State() == TClassFrameReader::TState::Done) == whole.has_value());
    if (!whole)
        return;
    Require(whole->Encode() == bytes);
    Require(whole->records.size() <= TClassMessage::MaxRecords);
    for (const QByteArray &record : whole->records) {
        Require(record.size() <= TClassMessage::MaxRecordBytes);
        if (const auto checked = ClassRecord::Check(record))
            Require(ClassRecord::Bytes(checked->lines) == record);
    }
}

void CheckRecord(const QByteArray &bytes)
{
    const auto record = ClassRecord::Check(bytes);
    if (!record)
        return;
    Require(record->lessonName == QStringLiteral("STEP3") || record->lessonName == QStringLiteral("STEP5")
            || record->lessonName == QStringLiteral("STEP7"));
    Require(ClassRecord::Bytes(record->lines) == bytes);
}

void CheckName(const QByteArray &bytes)
{
    const QString safe = SafeName::ForFile(QString::fromUtf8(bytes), QStringLiteral("名前なし"));
    Require(!safe.isEmpty() && safe.size() <= 2 * SafeName::MaxChars + 1);
    Require(!safe.contains(QLatin1Char('/')) && !safe.contains(QLatin1Char('\\')) && !safe.contains(QLatin1Char('.')));
    for (const QChar c : safe)
        Require(c.category() != QChar::Other_Control && c.category() != QChar::Other_Format);
    Require(SafeName::ForFile(safe, QStringLiteral("名前なし")) == safe);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    CheckRoster(bytes);
    CheckFrame(bytes);
    CheckRecord(bytes);
    CheckName(bytes);
    return 0;
}
