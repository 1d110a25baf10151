// The platform layer: the INI files the .mud files rely on, Windows-1252 text and the
// German date-time texts of the files.
#include <QTemporaryDir>
#include <QTest>

#include <utility>

#include "FileRig.h"
#include "platform/DateTime.h"
#include "platform/IniFile.h"
#include "platform/SafeFile.h"
#include "platform/Win1252.h"

class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    void numbers()
    {
        // Signed, hex, 32 hex bits wrap, blanks; empty and overflowing texts give the default.
        const std::pair<QByteArray, int> rows[] = {{"-7", -7}, {"0x1F", 31}, {"$FFFFFFFF", -1},
                                                   {" 5 ", 5}, {"", 99}, {"4294967296", 99},
                                                   {"0x100000000", 99}};
        for (const auto& [text, value] : rows) {
            TIniFile ini;
            ini.Parse("[S]\nk=" + text + "\n");
            QVERIFY2(ini.ReadInteger("S", "k", 99) == value, text.constData());
            QVERIFY2(ini.ReadBool("S", "k", true) == (value != 0), text.constData());
        }
    }

    void keepsWhatItDoesNotUnderstand()
    {
        const QByteArray text =
            "junk before\r\n[S]\r\nno equals sign\r\n=empty key\r\n;c=1\r\nk=v\r\n";
        TIniFile ini;
        ini.Parse(text);
        QCOMPARE(ini.ToBytes(), text);
        QCOMPARE(ini.ReadSectionKeys("S"), QList<QByteArray>({"k"}));
        ini.Parse("[S]\nlf=only\n");
        QCOMPARE(ini.ToBytes(), QByteArray("[S]\r\nlf=only\r\n"));
        // Line breaks in a value cannot split the file.
        ini.WriteString("S", "k", "a\r\n[Evil]\nx=1");
        ini.Parse(ini.ToBytes());
        QVERIFY(!ini.SectionExists("Evil"));
        QCOMPARE(ini.ReadSectionKeys("S").size(), 2);
        // The first of two keys wins; erasing takes every section of the name (no stale copy).
        ini.Parse("[Div]\nHost=a\nhost=b\n[div]\nHost=c\n[M]\nk=v\n");
        QCOMPARE(ini.ReadString("DIV", "HOST", "x"), QByteArray("a"));
        ini.EraseSection("div");
        QCOMPARE(ini.ToBytes(), QByteArray("[M]\r\nk=v\r\n"));
    }

    void failedSavesKeepTheOldFile()
    {
        QTemporaryDir dir;
        TIniFile folder(dir.path());
        QString error;
        QVERIFY(!folder.Save(&error));
        QVERIFY(!error.isEmpty());
        // A write cut short by a full disk or a size limit leaves the old file whole.
        const QString notes = dir.filePath("mudnotiz.txt");
        QVERIFY(SafeFile::write(notes, "alt"));
        bool cut = true;
        UnderFileSizeLimit(
            [&] { cut = SafeFile::write(notes, QByteArray(100, 'x'), &error, true); });
        QVERIFY(!cut);
        QCOMPARE(ReadFile(notes), QByteArray("alt"));
    }

    void win1252RoundTrip()
    {
        QByteArray all;
        for (int c = 0; c < 256; ++c)
            all.append(char(c));
        const QString u = Win1252::toUnicode(all);
        // 0x80 is the euro sign, not a Latin-1 control; 0x81 is undefined.
        QCOMPARE(u.mid(0x80, 1) + u.at(0x9F) + u.at(0x81) + u.at(0xE4), QString("€Ÿ\uFFFDä"));
        QByteArray expected = all;
        for (char undefined : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'})
            expected[uchar(undefined)] = '?';
        QCOMPARE(Win1252::fromUnicode(u), expected);
        QCOMPARE(Win1252::fromUnicode(QString::fromUtf8("a\u4E2Db\U0001F600c")),
                 QByteArray("a?b?c"));
        // Case is folded for ASCII letters only.
        QCOMPARE(Win1252::upperCase("gr\xFCn-az"), QByteArray("GR\xFCN-AZ"));
        QVERIFY(Win1252::sameText("Tuer", "tUER"));
        QVERIFY(!Win1252::sameText("\xE4", "\xC4"));
        QCOMPARE(Win1252::trim("\t x y \r\n"), QByteArray("x y"));
    }

    void dateTimeTexts()
    {
        DateTime::TDateTime v = 0;
        QVERIFY(DateTime::strToDateTime("06.12.2026 08:05:09", v));
        QCOMPARE(DateTime::dateTimeToStr(v), QByteArray("06.12.2026 08:05:09"));
        QCOMPARE(DateTime::dateToStr(v) + ' ' + DateTime::timeToStr(v), DateTime::dateTimeToStr(v));
        QVERIFY(DateTime::strToDateTime("06.12.2026", v));
        QCOMPARE(DateTime::dateTimeToStr(v), QByteArray("06.12.2026")); // midnight: no time
        QCOMPARE(DateTime::dateTimeToStr(2.25), QByteArray("01.01.1900 06:00:00"));
        QCOMPARE(DateTime::dateTimeToStr(-1.25), QByteArray("29.12.1899 06:00:00"));
        const QDateTime now = QDateTime::currentDateTime();
        for (const QDateTime& t : {now, QDateTime(QDate(1800, 1, 1), QTime(6, 0))})
            QVERIFY(qAbs(DateTime::toQDateTime(DateTime::fromQDateTime(t)).msecsTo(t)) <= 1);
    }

    void parsing()
    {
        // Two-digit years in both centuries, a date before the epoch keeps its time; no
        // such day or hour, slashes, junk and nothing are refused (shown empty).
        const QByteArray rows[][2] = {{"1.2.26 7:08", "01.02.2026 07:08:00"},
                                      {"01.02.99", "01.02.1999"},
                                      {"01.01.1800 06:00:00", "01.01.1800 06:00:00"},
                                      {"31.02.2026", ""}, {"01.02.2026 24:00:00", ""},
                                      {"01/02/2026", ""}, {"gestern", ""}, {"", ""}};
        for (const auto& [text, shown] : rows) {
            DateTime::TDateTime v = 123;
            QVERIFY2(DateTime::strToDateTime(text, v) == !shown.isEmpty(), text.constData());
            QCOMPARE(shown.isEmpty() ? QByteArray() : DateTime::dateTimeToStr(v), shown);
        }
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
