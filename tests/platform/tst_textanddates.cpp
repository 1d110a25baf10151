// Windows-1252 text and the German date-time texts of the files.
#include <QTest>

#include "platform/DateTime.h"
#include "platform/Win1252.h"

class TestTextAndDates : public QObject {
    Q_OBJECT
private slots:
    void win1252RoundTrip()
    {
        QByteArray all;
        for (int c = 0; c < 256; ++c)
            all.append(char(c));
        const QString u = Win1252::toUnicode(all);
        QCOMPARE(u.at(0x80), QChar(0x20AC));  // euro sign, not a Latin-1 control
        QCOMPARE(u.at(0x9F), QChar(0x0178));
        QCOMPARE(u.at(0x81), QChar(0xFFFD));  // undefined byte
        QCOMPARE(u.at(0xE4), QChar(0x00E4));
        QByteArray expected = all;
        for (char undefined : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'})
            expected[uchar(undefined)] = '?';
        QCOMPARE(Win1252::fromUnicode(u), expected);
        QCOMPARE(Win1252::fromUnicode(QString::fromUtf8("a\u4E2Db\U0001F600c")), QByteArray("a?b?c"));
    }

    void asciiOnlyCaseFolding()
    {
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
        QCOMPARE(DateTime::dateToStr(v), QByteArray("06.12.2026"));
        QCOMPARE(DateTime::timeToStr(v), QByteArray("08:05:09"));
        QVERIFY(DateTime::strToDateTime("06.12.2026", v));
        QCOMPARE(DateTime::dateTimeToStr(v), QByteArray("06.12.2026")); // midnight: no time
        QCOMPARE(DateTime::dateTimeToStr(2.25), QByteArray("01.01.1900 06:00:00"));
        QCOMPARE(DateTime::dateTimeToStr(-1.25), QByteArray("29.12.1899 06:00:00"));
        const QDateTime now = QDateTime::currentDateTime();
        for (const QDateTime& t : {now, QDateTime(QDate(1800, 1, 1), QTime(6, 0))})
            QVERIFY(qAbs(DateTime::toQDateTime(DateTime::fromQDateTime(t)).msecsTo(t)) <= 1);
        QCOMPARE(DateTime::invalidDateTimeMessage("x"), QString("'x' ist kein gültiges Datum und Zeit"));
    }

    void parsing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("shown"); // empty: refused
        QTest::newRow("two-digit year") << QByteArray("1.2.26 7:08") << QByteArray("01.02.2026 07:08:00");
        QTest::newRow("two-digit year of last century") << QByteArray("01.02.99")
                                                        << QByteArray("01.02.1999");
        QTest::newRow("before the epoch keeps its time") << QByteArray("01.01.1800 06:00:00")
                                                         << QByteArray("01.01.1800 06:00:00");
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

QTEST_GUILESS_MAIN(TestTextAndDates)
#include "tst_textanddates.moc"
