// The teacher's messages and what a station makes of them: what is read is
// exactly what was written, anything else is refused; names from the network
// become safe file names; collected records land whole, byte for byte, and
// never over one another; a pupil's work is copied aside before a program
// from the teacher replaces it.
#include "ClassGate.h"
#include "ClassMessage.h"
#include "ClassRecord.h"
#include "ClassRowText.h"
#include "NetworkSettings.h"
#include "ProgramArrival.h"
#include "RosterDatagram.h"
#include "SafeName.h"
#include "Step3Record.h"
#include "Step5Record.h"
#include "TeacherOption.h"
#include "WorkCollection.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray Step3Bytes(int firstKind = 159, int firstItem = 1)
{
    TStep3Record record;
    record.kinds[0] = firstKind;
    record.itemIndexes[0] = firstItem;
    return ClassRecord::Bytes(Step3RecordLines(record));
}

QByteArray Step5Bytes(const QString &text)
{
    return ClassRecord::Bytes(Step5RecordLines({{"red", "green", "blue", "yellow", "purple", "lightblue", "white", "off", "loop", "jump", "wait"}, text}));
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList Settings(const QString &code, int mode, const QString &registered = {})
{
    QStringList settings(NetworkSettingsIndex::EntryCount, QString());
    settings[NetworkSettingsIndex::ReceiveMode] = QString::number(mode);
    settings[NetworkSettingsIndex::Address(1)] = registered;
    settings[NetworkSettingsIndex::ClassCode] = code;
    return settings;
}
} // namespace

class TestClassWire : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void RosterDatagramsReadBackOrAreRefused();
    void FramesReadBackInAnyPiecesOrAreRefused();
    void RecordsAreTakenOnlyAsASaveWritesThem();
    void NamesBecomeSafeFileNames_data();
    void NamesBecomeSafeFileNames();
    void GateFollowsClassCodeAndReceiveMode_data();
    void GateFollowsClassCodeAndReceiveMode();
    void CollectionWritesEachRecordOnceAndNeverOverOthers();
    void ArrivalKeepsThePupilsWorkFirst();
    void TeacherOptionReadsTheClassCode();
    void ListShowsHowLongAStationHasBeenQuiet();
};

void TestClassWire::RosterDatagramsReadBackOrAreRefused()
{
    TRosterDatagram answer;
    answer.kind = TRosterDatagram::TKind::Answer;
    answer.searchId = 0x01020304;
    answer.classCode = QStringLiteral("3A");
    answer.name = QStringLiteral("たろう");
    answer.receiveMode = 3;
    answer.page = 11;
    const QByteArray bytes = answer.Encode();
    const auto back = TRosterDatagram::Decode(bytes);
    QVERIFY(back);
    QCOMPARE(back->name, answer.name);
    QCOMPARE(back->receiveMode, 3);
    QCOMPARE(back->page, 11);
    QCOMPARE(back->searchId, 0x01020304u);

    TRosterDatagram question;
    question.classCode = QStringLiteral("3A");
    QVERIFY(TRosterDatagram::Decode(question.Encode()));

    // Each row: a change that Encode can never have written.
    QByteArray finder = bytes;
    finder.replace(0, 4, "LK72");  // the finder's datagram is not the class list's
    QByteArray badMode = bytes;
    badMode[badMode.size() - 2] = 4;
    QByteArray badPage = bytes;
    badPage[badPage.size() - 1] = 12;
    QByteArray control = answer.Encode();
    control.replace(QByteArray("3A"), QByteArray("3\n"));
    const QList<QByteArray> refused{finder, badMode, badPage, bytes + 'x', bytes.chopped(1), control, QByteArray(400, 'L'),
                                    QByteArray(), QByteArray("LK7C")};
    for (const QByteArray &bad : refused)
        QVERIFY2(!TRosterDatagram::Decode(bad), bad.toHex().constData());
}

void TestClassWire::FramesReadBackInAnyPiecesOrAreRefused()
{
    TClassMessage work;
    work.kind = TClassMessage::TKind::Work;
    work.name = QStringLiteral("はなこ");
    work.records = {Step3Bytes(), Step5Bytes(QStringLiteral("red 1\r\n")), QByteArray("x")};
    const QByteArray frame = work.Encode();
    for (const int piece : {1, 3, 10, 4096}) {
        TClassFrameReader reader;
        TClassFrameReader::TState state = TClassFrameReader::TState::NeedMore;
        for (qsizetype at = 0; at < frame.size(); at += piece)
            state = reader.Feed(frame.mid(at, piece));
        QCOMPARE(state, TClassFrameReader::TState::Done);
        QCOMPARE(reader.Message()->name, work.name);
        QCOMPARE(reader.Message()->records, work.records);
        // One message per connection: anything after it is a fault.
        QCOMPARE(reader.Feed("z"), TClassFrameReader::TState::Bad);
    }

    TClassMessage program;
    program.kind = TClassMessage::TKind::Program;
    program.classCode = QStringLiteral("3A");
    program.records = {Step3Bytes()};
    QCOMPARE(TClassMessage::Decode(program.Encode())->records, program.records);

    QByteArray huge = TClassMessage{}.Encode();
    huge[6] = 0x7f;  // announces almost 2 GiB: refused before a byte of it is held
    QByteArray fourRecords = work.Encode();
    fourRecords[TClassMessage::HeaderBytes + 1 + work.name.toUtf8().size()] = 4;
    QByteArray unknownKind = program.Encode();
    unknownKind[5] = 9;
    const QList<QByteArray> refused{huge, fourRecords, unknownKind, QByteArray("06"), QByteArray("162,223"), QByteArray("LK72")};
    for (const QByteArray &bad : refused) {
        TClassFrameReader reader;
        reader.Feed(bad);
        reader.Feed(QByteArray(8, '\0'));
        QVERIFY2(reader.State() != TClassFrameReader::TState::Done, bad.left(20).toHex().constData());
        QVERIFY2(!TClassMessage::Decode(bad), bad.left(20).toHex().constData());
    }
    TClassFrameReader early;
    QCOMPARE(early.Feed("LKX"), TClassFrameReader::TState::Bad);
}

void TestClassWire::RecordsAreTakenOnlyAsASaveWritesThem()
{
    QCOMPARE(ClassRecord::Check(Step3Bytes())->lessonName, QStringLiteral("STEP3"));
    QCOMPARE(ClassRecord::Check(Step5Bytes(QStringLiteral("red 1\r\nloop 1\r\n")))->lessonName, QStringLiteral("STEP5"));
    QByteArray lf = Step3Bytes();
    lf.replace("\r\n", "\n");
    QByteArray shortRecord = Step3Bytes();
    shortRecord.truncate(shortRecord.indexOf("\r\n", 20));
    QByteArray notNumber = Step3Bytes();
    notNumber.replace("159", "abc");
    const QList<QByteArray> refused{lf, shortRecord, notNumber, QByteArray("STEP4\r\n"), QByteArray(), "\xef\xbb\xbf" + Step3Bytes(),
                                    QByteArray(TClassMessage::MaxRecordBytes + 1, 'a')};
    for (const QByteArray &bad : refused)
        QVERIFY2(!ClassRecord::Check(bad), bad.left(30).constData());
}

void TestClassWire::NamesBecomeSafeFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("safe");
    QTest::newRow("plain") << QStringLiteral("たろう") << QStringLiteral("たろう");
    QTest::newRow("parent folder") << QStringLiteral("..") << QStringLiteral("?");
    QTest::newRow("path") << QStringLiteral("../../.bashrc") << QStringLiteral("_______bashrc");
    QTest::newRow("windows path") << QStringLiteral("C:\\Windows\\x") << QStringLiteral("C__Windows_x");
    QTest::newRow("control") << QStringLiteral("a\nb\tc\x1b[2J") << QStringLiteral("a_b_c_[2J");
    QTest::newRow("format") << QStringLiteral("ab\u202Ecod.exe") << QStringLiteral("ab_cod_exe");
    QTest::newRow("device") << QStringLiteral("con") << QStringLiteral("_con");
    QTest::newRow("device with digit") << QStringLiteral("LPT1") << QStringLiteral("_LPT1");
    QTest::newRow("spaces") << QStringLiteral("  a   b  ") << QStringLiteral("a b");
    QTest::newRow("empty") << QString() << QStringLiteral("?");
    QTest::newRow("long") << QString(100, QLatin1Char('x')) << QString(SafeName::MaxChars, QLatin1Char('x'));
    QTest::newRow("pair kept whole at the cut") << QString(31, QLatin1Char('x')) + QStringLiteral("😀😀") << QString(31, QLatin1Char('x')) + QStringLiteral("😀");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QStringLiteral("a") << QStringLiteral("_a");
}

void TestClassWire::NamesBecomeSafeFileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, safe);
    QCOMPARE(SafeName::ForFile(name, QStringLiteral("?")), safe);
}

void TestClassWire::GateFollowsClassCodeAndReceiveMode_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("peer");
    QTest::addColumn<bool>("roster");
    QTest::addColumn<bool>("commands");
    const QString teacher = QStringLiteral("10.0.0.1");
    QTest::newRow("mode 1") << Settings("3A", 1) << "3A" << teacher << true << true;
    QTest::newRow("mode 2, registered") << Settings("3A", 2, teacher) << "3A" << teacher << true << true;
    QTest::newRow("mode 2, not registered") << Settings("3A", 2, "10.0.0.9") << "3A" << teacher << true << false;
    QTest::newRow("mode 3: listed, takes nothing") << Settings("3A", 3) << "3A" << teacher << true << false;
    QTest::newRow("other class") << Settings("3A", 1) << "3B" << teacher << false << false;
    QTest::newRow("no class code applied") << Settings("", 1) << "" << teacher << false << false;
    QTest::newRow("settings never applied") << QStringList(27, QString()) << "" << teacher << false << false;
}

void TestClassWire::GateFollowsClassCodeAndReceiveMode()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, code);
    QFETCH(QString, peer);
    QFETCH(bool, roster);
    QFETCH(bool, commands);
    QCOMPARE(ClassGate::Takes(settings, code, peer, ClassGate::TAsk::Roster), roster);
    QCOMPARE(ClassGate::Takes(settings, code, peer, ClassGate::TAsk::Program), commands);
    QCOMPARE(ClassGate::Takes(settings, code, peer, ClassGate::TAsk::Collect), commands);
}

void TestClassWire::CollectionWritesEachRecordOnceAndNeverOverOthers()
{
    QTemporaryDir work;
    const QDate day(2026, 12, 10);
    TWorkCollection first(work.path(), QStringLiteral("3A"), day);
    const auto taro = first.Take(QStringLiteral("たろう"), QStringLiteral("10.0.0.2"),
                                 {Step3Bytes(), Step5Bytes(QStringLiteral("red 1\r\n")), QByteArray("STEP7\r\nbad\r\n")});
    QCOMPARE(taro.files, QStringList({"STEP3_たろう.lk7", "STEP5_たろう.lk7"}));
    QCOMPARE(taro.refused, 1);
    const QString folder = work.path() + QStringLiteral("/作品/2026-12-10 3A/");
    QCOMPARE(first.Folder(), folder);
    QCOMPARE(FileBytes(folder + "STEP3_たろう.lk7"), Step3Bytes());
    // Another pupil of the same name keeps the first one's file.
    const auto other = first.Take(QStringLiteral("たろう"), QStringLiteral("10.0.0.3"), {Step3Bytes(167, 2)});
    QCOMPARE(other.files, QStringList({"STEP3_たろう_2.lk7"}));
    QCOMPARE(FileBytes(folder + "STEP3_たろう.lk7"), Step3Bytes());
    // A name from the network never leaves the folder.
    const auto sly = first.Take(QStringLiteral("../../x"), QStringLiteral("10.0.0.4"), {Step3Bytes()});
    QCOMPARE(sly.files, QStringList({"STEP3_______x.lk7"}));
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 4);

    // A second collection the same day gets a folder of its own.
    TWorkCollection second(work.path(), QStringLiteral("../3A"), day);
    QCOMPARE(second.Folder(), work.path() + QStringLiteral("/作品/2026-12-10 ___3A/"));
    TWorkCollection again(work.path(), QStringLiteral("3A"), day);
    QCOMPARE(again.Folder(), work.path() + QStringLiteral("/作品/2026-12-10 3A_2/"));
}

void TestClassWire::ArrivalKeepsThePupilsWorkFirst()
{
    QTemporaryDir work;
    TProgramArrival arrival(work.path());
    const QStringList empty = ProgramFileText::Decode(Step3Bytes(0, -1));
    const QStringList own = ProgramFileText::Decode(Step3Bytes(175, 2));
    const QStringList teachers = ProgramFileText::Decode(Step3Bytes(159, 1));
    arrival.RememberEmpty(QStringLiteral("STEP3"), empty);
    const QDateTime at(QDate(2026, 12, 10), QTime(10, 0, 0));

    QVERIFY(arrival.IsEmpty(QStringLiteral("STEP3"), empty) && !arrival.IsEmpty(QStringLiteral("STEP3"), own));
    // An empty lesson: nothing to keep.
    auto kept = arrival.KeepBefore(QStringLiteral("STEP3"), empty, teachers, at);
    QVERIFY(kept.mayReplace);
    QVERIFY(kept.fileName.isEmpty());
    // The teacher's program still unchanged, sent again: nothing to keep either.
    kept = arrival.KeepBefore(QStringLiteral("STEP3"), teachers, teachers, at);
    QVERIFY(kept.fileName.isEmpty());
    // The pupil's own work: kept as the save button writes it, where the read button finds it.
    kept = arrival.KeepBefore(QStringLiteral("STEP3"), own, teachers, at);
    QVERIFY(kept.mayReplace);
    QCOMPARE(kept.fileName, QStringLiteral("STEP3_自動保存_2026-12-10_10-00-00.lk7"));
    QCOMPARE(FileBytes(work.path() + "/" + kept.fileName), Step3Bytes(175, 2));

    // A folder that cannot be written: the work stays where it is.
    TProgramArrival blocked(work.path() + QStringLiteral("/file-not-folder"));
    QFile plain(work.path() + QStringLiteral("/file-not-folder"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    blocked.RememberEmpty(QStringLiteral("STEP3"), empty);
    kept = blocked.KeepBefore(QStringLiteral("STEP3"), own, teachers, at);
    QVERIFY(!kept.mayReplace);
    QVERIFY(kept.error != QFileDevice::NoError);
}

void TestClassWire::TeacherOptionReadsTheClassCode()
{
    QVERIFY(!ReadTeacherOption({"lk72"}));
    QVERIFY(!ReadTeacherOption({"--teacher"}));  // the program's own name is not an option
    QCOMPARE(*ReadTeacherOption({"lk72", "--teacher"}), QString());
    QCOMPARE(*ReadTeacherOption({"lk72", "--teacher=3A"}), QStringLiteral("3A"));
    QCOMPARE(*ReadTeacherOption({"lk72", "--teacher=123456789"}), QStringLiteral("12345678"));
}

void TestClassWire::ListShowsHowLongAStationHasBeenQuiet()
{
    const QDateTime at(QDate(2026, 12, 10), QTime(10, 0, 0));
    QCOMPARE(ClassRowText::LastAnswered(at, at.addSecs(14)), QStringLiteral("10:00:00"));
    QCOMPARE(ClassRowText::LastAnswered(at, at.addSecs(30)), QStringLiteral("10:00:00（30秒前）"));
    QCOMPARE(ClassRowText::LastAnswered(at, at.addSecs(185)), QStringLiteral("10:00:00（3分前）"));
    QCOMPARE(ClassRowText::LastAnswered({}, at), QString());
    TClassRow row{QStringLiteral("じろう"), QStringLiteral("10.0.0.4"), 3, 10, at};
    QCOMPARE(ClassRowText::Cells(row, at), QStringList({"じろう", "10.0.0.4", "受け付けない", "プレビュー", "10:00:00"}));
}

QTEST_GUILESS_MAIN(TestClassWire)
#include "test_class_wire.moc"
