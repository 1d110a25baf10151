// The INI layer: the profile-file behaviour the .mud files rely on.
#include <QTemporaryDir>
#include <QTest>

#include "platform/IniFile.h"

class TestIniFile : public QObject {
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
        QCOMPARE(ini.ToBytes(),
                 QByteArray("[A]\r\nx=9\r\nz=3\r\n; note\r\n\r\n[B]\r\ny=2\r\n[C]\r\nn=-4\r\nb=1\r\n"));
        // The key written after the insertion is found again (the index follows the lines).
        ini.WriteString("A", "w", "4");
        ini.WriteString("A", "z", "5");
        QCOMPARE(ini.ReadString("A", "z", ""), QByteArray("5"));
        QCOMPARE(ini.ReadSectionValues("A"), QList<QByteArray>({"9", "5", "4"}));
    }

    void eraseRemovesEverySectionOfThatName()
    {
        TIniFile ini;
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
        const QByteArray text = "junk before\r\n[S]\r\nno equals sign\r\n=empty key\r\n;c=1\r\nk=v\r\n";
        TIniFile ini;
        ini.Parse(text);
        QCOMPARE(ini.ToBytes(), text);
        QCOMPARE(ini.ReadSectionKeys("S"), QList<QByteArray>({"k"}));
        ini.Parse("[S]\nlf=only\n");
        QCOMPARE(ini.ToBytes(), QByteArray("[S]\r\nlf=only\r\n"));
    }

    void lineBreaksInValuesCannotSplitTheFile()
    {
        TIniFile ini;
        ini.WriteString("S", "k", "a\r\n[Evil]\nx=1");
        TIniFile again;
        again.Parse(ini.ToBytes());
        QVERIFY(!again.SectionExists("Evil"));
        QCOMPARE(again.ReadSectionKeys("S").size(), 1);
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
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
