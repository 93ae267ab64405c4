#include "Cp932.h"
#include "EditorSettings.h"
#include "FileSizeLimit.h"
#include "IniFile.h"

#include <QDir>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A full disk: Save says why in the teacher's words and the old
    // settings stay whole, with no half-written file beside them.
    void saveOnFullDisk()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set.ini"));
        const QByteArray old("[comport]\r\nname=2\r\n");
        WriteBytes(path, old);
        TIniFile ini(path);
        ini.WriteString(QStringLiteral("back"), QStringLiteral("picture"), QStringLiteral("bg3.jpg"));
        QString error;
        bool saved = true;
        {
            const FileSizeLimit full(8);
            saved = ini.Save(&error);
        }
        QVERIFY(!saved);
        QCOMPARE(error, QStringLiteral("ファイルに書き込む途中で失敗しました。"));
        QCOMPARE(ReadBytes(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"set.ini"}));
        QVERIFY(ini.Save(&error));
        QVERIFY(ReadBytes(path).contains("picture=bg3.jpg"));
    }

    // A pipe in the file's place reads as no file (the defaults) at once.
    void fileThatIsNoRegularFileReadsAsMissing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set.ini"));
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        const TIniFile ini(path);
        QVERIFY(ini.Lines().isEmpty());
        QCOMPARE(ini.ReadInteger(QStringLiteral("comport"), QStringLiteral("name"), 0), 0);
    }

    // A read-only file: the reason names the missing permission, and the
    // file stays as it was.
    void readOnlyFileSaysItIsAMatterOfPermission()
    {
        if (::geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set.ini"));
        const QByteArray old("[comport]\r\nname=2\r\n");
        WriteBytes(path, old);
        QFile::setPermissions(path, QFile::ReadOwner);
        TIniFile ini(path);
        ini.WriteInteger(QStringLiteral("comport"), QStringLiteral("name"), 1);
        QString error;
        QVERIFY(!ini.Save(&error));
        QCOMPARE(error, QStringLiteral("このファイルまたはフォルダを使う権限がありません。"));
        QCOMPARE(ReadBytes(path), old);
    }

    void colourTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<quint32>("value");
        QTest::addColumn<QString>("written");
        QTest::newRow("name") << "clNavy" << true << 0x800000u << "clNavy";
        QTest::newRow("name any case") << "CLRED" << true << 0x0000FFu << "clRed";
        QTest::newRow("aqua") << "clAqua" << true << 0xFFFF00u << "clAqua";
        QTest::newRow("hex") << "$007FFFFF" << true << 0x7FFFFFu << "$007FFFFF";
        QTest::newRow("hex lower") << "$00123abc" << true << 0x123ABCu << "$00123ABC";
        QTest::newRow("hex of a name") << "$00000080" << true << 0x80u << "clMaroon";
        QTest::newRow("decimal") << "8388608" << true << 0x800000u << "clNavy";
        QTest::newRow("negative decimal") << "-16777211" << true << 0xFF000005u << "$FF000005";
        QTest::newRow("empty") << "" << false << 0u << "";
        QTest::newRow("unknown name") << "clOrange" << false << 0u << "";
        QTest::newRow("bare dollar") << "$" << false << 0u << "";
        QTest::newRow("too long hex") << "$100000000" << false << 0u << "";
        QTest::newRow("signed hex") << "$-1" << false << 0u << "";
        QTest::newRow("space") << " clRed" << false << 0u << "";
    }

    void colourTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, readable);
        QFETCH(quint32, value);
        QFETCH(QString, written);
        const std::optional<quint32> parsed = ColorText::Parse(text);
        QCOMPARE(parsed.has_value(), readable);
        if (readable) {
            QCOMPARE(*parsed, value);
            QCOMPARE(ColorText::Format(*parsed), written);
        }
    }

    void inverseKeepsTheTopByte()
    {
        QCOMPARE(ColorText::Format(ColorText::Inverse(0x000000)), QStringLiteral("clWhite"));
        QCOMPARE(ColorText::Format(ColorText::Inverse(0x800000)), QStringLiteral("$007FFFFF"));
        QCOMPARE(ColorText::Inverse(0xFF000005u), 0xFFFFFFFAu);
    }

    void missingFileGivesTheDefaults()
    {
        QTemporaryDir dir;
        const TIniFile ini(dir.filePath(QStringLiteral("set.ini")));
        QStringList unreadable;
        const TEditorSettings s = TEditorSettings::Read(ini, &unreadable);
        QVERIFY(unreadable.isEmpty());
        QCOMPARE(s.BackColor, 0x000000u);
        QCOMPARE(s.FontColor, 0xFFFFFFu);
        QCOMPARE(s.SelColor, 0xFFFFFFu);
        QCOMPARE(s.FontSize, 14);
        QCOMPARE(s.FontName, QStringLiteral("MS Pゴシック"));
    }

    void unreadableColourFallsBackAndIsNamed()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set.ini"));
        WriteBytes(path, "[back]\r\ncolor=purple-ish\r\n[font]\r\ncolor=clRed\r\n");
        QStringList unreadable;
        const TEditorSettings s = TEditorSettings::Read(TIniFile(path), &unreadable);
        QCOMPARE(unreadable, QStringList{QStringLiteral("back/color")});
        QCOMPARE(s.BackColor, 0x000000u);
        QCOMPARE(s.FontColor, 0x0000FFu);
    }

    void writtenBytesKeepOtherLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set.ini"));
        WriteBytes(path, "; teacher's note\r\n[comport]\r\nname=0\r\ncom2=/dev/pts/9\r\n[other]\r\nkey=value\r\n");
        TIniFile ini(path);
        TSettingsChoice choice;
        choice.Editor.BackColor = 0x800000;
        choice.Editor.FontColor = 0x00FFFF;
        choice.Editor.FontSize = 20;
        choice.Editor.FontName = QStringLiteral("ＭＳ 明朝");
        choice.Comport = 1;
        choice.BackPicture = QStringLiteral("bg7.jpg");
        choice.Write(ini);
        QVERIFY(ini.Save());
        const QByteArray expected = Cp932::Encode(QStringLiteral(
            "; teacher's note\r\n[comport]\r\nname=1\r\ncom2=/dev/pts/9\r\n[other]\r\nkey=value\r\n"
            "[back]\r\ncolor=clNavy\r\npicture=bg7.jpg\r\n"
            "[font]\r\ncolor=clYellow\r\nsize=20\r\nname=ＭＳ 明朝\r\n"
            "[sel]\r\ncolor=$007FFFFF\r\n"));
        QCOMPARE(ReadBytes(path), expected);
        // "明" in code page 932 is 96 BE.
        QVERIFY(ReadBytes(path).contains(QByteArray("\x96\xbe", 2)));

        const TEditorSettings back = TEditorSettings::Read(TIniFile(path));
        QCOMPARE(back.FontName, QStringLiteral("ＭＳ 明朝"));
        QCOMPARE(back.SelColor, 0x7FFFFFu);
        QCOMPARE(back.FontSize, 20);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
