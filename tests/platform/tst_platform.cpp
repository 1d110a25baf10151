// The platform layer: the INI files the .mud files rely on, Windows-1252 text and the
// German date-time texts of the files.
#include <QTemporaryDir>
#include <QTest>

#include "FileRig.h"
#include "platform/DateTime.h"
#include "platform/IniFile.h"
#include "platform/SafeFile.h"
#include "platform/Win1252.h"

class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    void namesAreCaseInsensitiveAndFirstWins()
    {
        TIniFile ini;
        ini.Parse("[Div]\nHost = a \nhost=b\n[div]\nPort=1\nHost=c\n");
        QCOMPARE(ini.ReadString("DIV", "HOST", "x"), QByteArray("a ")); // trailing blanks kept
        QCOMPARE(ini.ReadString("div", "port", "x"), QByteArray("1"));
        QCOMPARE(ini.ReadString("div", "none", "x"), QByteArray("x"));
        QCOMPARE(ini.ReadString("Nope", "Host", "x"), QByteArray("x"));
        QCOMPARE(ini.ReadSectionKeys("Div"), QList<QByteArray>({"Host", "host", "Port", "Host"}));
        QCOMPARE(ini.ReadSectionValues("Div"), QList<QByteArray>({"a ", "b", "1", "c"}));
        QVERIFY(ini.SectionExists("DIV"));
        QVERIFY(!ini.ValueExists("Div", "Colour"));
    }

    void writesInPlaceAtSectionEndAndFileEnd()
    {
        TIniFile ini;
        ini.Parse("[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n");
        ini.WriteString("a", "X", "9");
        ini.WriteString("A", "z", "3");
        ini.WriteInteger("C", "n", -4);
        ini.WriteBool("C", "b", true);
        QCOMPARE(
            ini.ToBytes(),
            QByteArray("[A]\r\nx=9\r\nz=3\r\n; note\r\n\r\n[B]\r\ny=2\r\n[C]\r\nn=-4\r\nb=1\r\n"));
        // The key written after the insertion is found again (the index follows the lines).
        ini.WriteString("A", "w", "4");
        ini.WriteString("A", "z", "5");
        QCOMPARE(ini.ReadString("A", "z", ""), QByteArray("5"));
        QCOMPARE(ini.ReadSectionValues("A"), QList<QByteArray>({"9", "5", "4"}));
        // Erasing takes every section of that name; writing then starts a new one at the end.
        ini.Parse("[L]\n0=a\n[M]\nk=v\n[l]\n0=b\n");
        ini.EraseSection("L");
        ini.WriteString("L", "0", "c");
        QCOMPARE(ini.ToBytes(), QByteArray("[M]\r\nk=v\r\n[L]\r\n0=c\r\n"));
        QCOMPARE(ini.ReadSectionValues("L"), QList<QByteArray>({"c"}));
    }

    void numbers_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("decimal") << QByteArray("42") << 42;
        QTest::newRow("signed") << QByteArray("-7") << -7;
        QTest::newRow("plus") << QByteArray("+7") << 7;
        QTest::newRow("hex 0x") << QByteArray("0x1F") << 31;
        QTest::newRow("hex dollar") << QByteArray("$ff") << 255;
        QTest::newRow("hex 32 bits wrap") << QByteArray("$FFFFFFFF") << -1;
        QTest::newRow("blanks") << QByteArray(" 5 ") << 5;
        QTest::newRow("empty gives default") << QByteArray("") << 99;
        QTest::newRow("text gives default") << QByteArray("ja") << 99;
        QTest::newRow("trailing junk gives default") << QByteArray("12x") << 99;
        QTest::newRow("overflow gives default") << QByteArray("4294967296") << 99;
        QTest::newRow("hex overflow gives default") << QByteArray("0x100000000") << 99;
    }

    void numbers()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, value);
        TIniFile ini;
        ini.Parse("[S]\nk=" + text + "\n");
        QCOMPARE(ini.ReadInteger("S", "k", 99), value);
        QCOMPARE(ini.ReadBool("S", "k", true), value != 0);
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
    }

    void loadAndSaveFiles()
    {
        QTemporaryDir dir;
        TIniFile missing(dir.filePath("none.ini"));
        QVERIFY(missing.Load());
        QVERIFY(!missing.SectionExists("x"));
        missing.WriteString("S", "k", "\xE4");
        QVERIFY(missing.Save());
        TIniFile back(dir.filePath("none.ini"));
        QVERIFY(back.Load());
        QCOMPARE(back.ReadString("S", "k", ""), QByteArray("\xE4"));
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

    void parsing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("shown"); // empty: refused
        QTest::newRow("two-digit year")
            << QByteArray("1.2.26 7:08") << QByteArray("01.02.2026 07:08:00");
        QTest::newRow("two-digit year of last century")
            << QByteArray("01.02.99") << QByteArray("01.02.1999");
        QTest::newRow("before the epoch keeps its time")
            << QByteArray("01.01.1800 06:00:00") << QByteArray("01.01.1800 06:00:00");
        QTest::newRow("no such day") << QByteArray("31.02.2026") << QByteArray();
        QTest::newRow("no such hour") << QByteArray("01.02.2026 24:00:00") << QByteArray();
        QTest::newRow("slashes") << QByteArray("01/02/2026") << QByteArray();
        QTest::newRow("junk") << QByteArray("gestern") << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }

    void parsing()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, shown);
        DateTime::TDateTime v = 123;
        QCOMPARE(DateTime::strToDateTime(text, v), !shown.isEmpty());
        QCOMPARE(shown.isEmpty() ? QByteArray() : DateTime::dateTimeToStr(v), shown);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
