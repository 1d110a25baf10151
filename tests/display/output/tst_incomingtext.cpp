// Received blocks to coloured console text, history and statistics.
#include "OutputRig.h"

#include <QSignalSpy>
#include <QTest>

class TestIncomingText : public QObject {
    Q_OBJECT
private slots:
    void escapes_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("shown");
        const auto row = [](const char* name, const QByteArray& data, const QByteArray& shown) {
            QTest::newRow(name) << data << shown;
        };
        row("bold then green, reset", "\033[1;32mHallo\033[0m x",
            "<008000/000000/1>Hallo<C0C0C0/000000/0> x");
        row("colour then bold gives white", "\033[33;1mA", "<FFFFFF/000000/1>A");
        row("bold then colour gives yellow", "\033[1;33mA", "<00FFFF/000000/1>A");
        row("30 black", "\033[30mA", "<000000/000000/0>A");
        row("34 blue", "\033[34mA", "<FF0000/000000/0>A");
        row("35 magenta", "\033[35mA", "<800080/000000/0>A");
        row("37 white", "\033[37mA", "<FFFFFF/000000/0>A");
        row("40 black background", "\033[31;47;40mA", "<0000FF/000000/0>A");
        row("41 red background", "\033[41mA", "<C0C0C0/0000FF/0>A");
        row("42 green background", "\033[42mA", "<C0C0C0/008000/0>A");
        row("43 yellow background", "\033[43mA", "<C0C0C0/00FFFF/0>A");
        row("45 magenta background", "\033[45mA", "<C0C0C0/800080/0>A");
        row("46 cyan background", "\033[46mA", "<C0C0C0/808000/0>A");
        row("47 white background", "\033[47mA", "<C0C0C0/FFFFFF/0>A");
        row("8 hides in the last shown background", "\033[44mA\033[8mB",
            "<C0C0C0/FF0000/0>A<FF0000/FF0000/0>B");
        row("5 stops reading", "\033[5;31mA", "<C0C0C0/000000/0>A");
        row("10 stops reading", "\033[10;31mA", "<C0C0C0/000000/0>A");
        row("12 stops reading", "\033[12;31mA", "<C0C0C0/000000/0>A");
        row("22 stops after what came before", "\033[31;22;44mA", "<0000FF/000000/0>A");
        row("cursor and erase dropped", "\033[2J\033[HA", "<C0C0C0/000000/0>A");
        row("character set designation", "\033(Bx", "<C0C0C0/000000/0>x");
        row("character set named by a digit ends there", "\033(0x", "<C0C0C0/000000/0>x");
        row("ESC [m has no effect", "\033[31mA\033[mB", "<0000FF/000000/0>AB");
        row("ESC [?m has no effect, [?0m resets", "\033[31mA\033[?mB\033[?0mC",
            "<0000FF/000000/0>AB<C0C0C0/000000/0>C");
        row("background, then reverse of the last shown pen", "\033[44mA\033[7mB",
            "<C0C0C0/FF0000/0>A<FF0000/C0C0C0/0>B");
        row("underline replaces bold", "\033[1;4mA", "<FFFFFF/000000/4>A");
        row("unknown value resets", "\033[31m\033[99mA", "<C0C0C0/000000/0>A");
        row("38 is no colour", "\033[31;38mA", "<C0C0C0/000000/0>A");
        row("48 is no colour", "\033[41;48mA", "<C0C0C0/000000/0>A");
        row("huge parameter saturates", "\033[99999999999999999999mA", "<C0C0C0/000000/0>A");
        row("blanks inside parameters", "\033[ 1 ; 36 mA", "<808000/000000/1>A");
        row("ESC 7 and ESC 8 end at their digit", "A\0337\033[1;1HStatus\0338Text",
            "<C0C0C0/000000/0>AStatusText");
        row("ESC D E H M end at once", "\033D1\033E2\033H3\033M4", "<C0C0C0/000000/0>1234");
        row("ESC ESC drops the first", "\033\033A", "<C0C0C0/000000/0>A");
        row("NUL after CR is skipped", QByteArray("a\r\0b", 4), "<C0C0C0/000000/0>a\rb");
        row("controls pass through", "a\tb\x07\x08", "<C0C0C0/000000/0>a\tb\x07\x08");
        const QByteArray slices = QByteArray(8191, 'a') + "bc"; // more than one slice
        row("a block longer than a slice", slices, "<C0C0C0/000000/0>" + slices);
    }

    void escapes()
    {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, shown);
        OutputRig whole;
        whole.Feed(data);
        QCOMPARE(whole.console.Annotated(), shown);
        // The same picture however the stream is cut into blocks.
        OutputRig bytewise;
        bytewise.FeedBytewise(data);
        QCOMPARE(bytewise.console.Annotated(), shown);
    }

    void tooLongSequenceBeepsOnce()
    {
        OutputRig p;
        p.Feed("\033[" + QByteArray(80, '7') + "x");
        QCOMPARE(p.beeps, 1);
        QCOMPARE(p.console.Text(), QByteArray("7x")); // the 80th digit is text again
        QVERIFY(!p.text.FEscActive);
    }

    void highlights_data()
    {
        QTest::addColumn<QByteArray>("entries"); // joined by "|"
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("shown");
        const auto row = [](const char* name, const char* entries, const QByteArray& data,
                            const QByteArray& shown) {
            QTest::newRow(name) << QByteArray(entries) << data << shown;
        };
        row("word at the blank after it", "Drache/10/1", "Ein Drache greift an\r\n",
            "<C0C0C0/000000/0>Ein <0000FF/000000/0>Drache<C0C0C0/000000/0> greift an\r\n");
        row("list order, both applied in turn", "Ork/10/1|Drache/12/1", "Drache und Ork\r",
            "<00FFFF/000000/0>Drache<C0C0C0/000000/0> und <0000FF/000000/0>Ork<C0C0C0/000000/0>\r");
        row("style kept", "Drache/10/1", "\033[1mDrache ",
            "<0000FF/000000/1>Drache<FFFFFF/000000/1> ");
        row("inside a word, with blanks", "er Dr/13/16", "Der Drache\n",
            "<C0C0C0/000000/0>D<FF0000/FFFFFF/0>er Dr<C0C0C0/000000/0>ache\n");
        row("found at the same check, only the first listed", "Ork/10/1|Elf/12/1", "ElfOrk\r",
            "<C0C0C0/000000/0>Elf<0000FF/000000/0>Ork<C0C0C0/000000/0>\r");
        row("after the last blank of a block never checked", "Drache/10/1|Ork/12/1",
            "Ork und Drache", "<00FFFF/000000/0>Ork<C0C0C0/000000/0> und Drache");
        row("nothing past the line text limit", "Ork/10/1", QByteArray(300, 'x') + " Ork x\r",
            "<C0C0C0/000000/0>" + QByteArray(300, 'x') + " Ork x\r");
        row("no check without a blank or separator", "Ork/10/1", "Ork", "<C0C0C0/000000/0>Ork");
        row("at the first character", "a/10/1", "a b", "<0000FF/000000/0>a<C0C0C0/000000/0> b");
        row("background 0 keeps the text's", "Elf/10/0", "\033[47mElf x\n",
            "<0000FF/FFFFFF/0>Elf<C0C0C0/FFFFFF/0> x\n");
        row("colour 1 is black", "Ork/1/10", "Ork\n", "<000000/0000FF/0>Ork<C0C0C0/000000/0>\n");
        row("junk colours and index 0 never break the block", "Ork/rot/1|Elf/0/12", "Ork Elf\n",
            "<C0C0C0/000000/0>Ork <C0C0C0/00FFFF/0>Elf<C0C0C0/000000/0>\n");
    }

    void highlights()
    {
        QFETCH(QByteArray, entries);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, shown);
        OutputRig p;
        p.config.FHighlights = entries.split('|');
        p.Feed(data);
        QCOMPARE(p.console.Annotated(), shown);
    }

    void highlightsCountPerBlock()
    {
        OutputRig p;
        p.config.FHighlights = {"Drache/10/1"};
        p.Feed("Ein Dra");
        p.Feed("che greift");
        QCOMPARE(p.console.Annotated(), QByteArray("<C0C0C0/000000/0>Ein Drache greift"));
        // A changed list counts from the next block on, without the old entries.
        p.config.FHighlights = {"Ork/12/1"};
        p.Feed("\nDrache Ork\n");
        QVERIFY(p.console.Annotated().endsWith("\nDrache <00FFFF/000000/0>Ork<C0C0C0/000000/0>\n"));
    }

    void attributesCarryAcrossBlocksUntilConnect()
    {
        OutputRig p;
        p.Feed("\033[31mrot\r\n");
        p.Feed("weiter\033[1;3");
        p.Feed("2mgruen");
        QCOMPARE(p.console.Annotated(), QByteArray("<0000FF/000000/0>rot\r\nweiter<008000/000000/1>gruen"));
        p.text.TelnetSessionConnected("host");
        p.Feed("neu");
        QVERIFY(p.console.Annotated().endsWith("<C0C0C0/000000/0>neu"));
        // New output colours reach text in the default colours at once, not the server's.
        p.config.FOutputWindow.FFont.Color = 0x00FF00;
        p.text.DefaultsChanged();
        p.Feed("a\033[44m");
        p.config.FOutputWindow.BGColor = 0x800000;
        p.config.FOutputWindow.FFont.Color = 0x00FFFF;
        p.text.DefaultsChanged();
        p.Feed("b\033[0mc");
        QVERIFY(p.console.Annotated().endsWith("<00FF00/000000/0>a<00FFFF/FF0000/0>b<00FFFF/800000/0>c"));
        // Bold on a white default text colour is black.
        p.config.FOutputWindow.FFont.Color = 0xFFFFFF;
        p.text.DefaultsChanged();
        p.Feed("\033[1mw");
        QVERIFY(p.console.Annotated().endsWith("<000000/800000/1>w"));
    }

    void historyLines()
    {
        OutputRig p;
        p.Feed("ab\r\ncd\nz\r\n" + QByteArray(100, 'x'));
        QCOMPARE(p.sink.FOutputLines.mid(0, 4),
                 QList<QByteArray>({"ab", "cd", "z", QByteArray(86, 'x')}));
        QCOMPARE(p.sink.FOutputLines.last(), QByteArray(14, 'x'));
        p.Feed("\033[32m\x07z");
        QCOMPARE(p.sink.FOutputLines.last(), QByteArray(14, 'x') + "\x07z");
        // A line is cut once it is over the console width plus five, also across blocks.
        p.Feed("\n" + QByteArray(85, 'a'));
        p.Feed("bc");
        QCOMPARE(p.sink.FOutputLines.mid(p.sink.FOutputLines.size() - 2),
                 QList<QByteArray>({QByteArray(85, 'a') + "b", "c"}));
        for (int i = 0; i < 500; ++i)
            p.Feed("zeile\r\n");
        QCOMPARE(p.sink.FOutputLines.size(), 401);
        QCOMPARE(p.sink.FOutputLines.last(), QByteArray()); // a recycled line starts empty
    }

    void sessionsFeedClockAndStatistics()
    {
        OutputRig p;
        QSignalSpy online(&p.text, &TIncomingText::OnlineChanged);
        p.clock.Hours = 5;
        p.sink.FRemoteEcho = true; // left over from a session that ended without a close
        p.text.TelnetSessionConnected("mud.example");
        QVERIFY(!p.sink.FRemoteEcho);
        QVERIFY(p.clock.Running());
        QCOMPARE(p.clock.Hours, 0);
        QCOMPARE(p.text.FConnectLog.Host, QByteArray("mud.example"));
        QCOMPARE(DateTime::dateTimeToStr(p.text.FConnectLog.Date), DateTime::dateToStr(DateTime::now()));
        p.sink.FRemoteEcho = true; // the server asked for a password; its echo ends with the session
        p.text.TelnetSessionClosed();
        QVERIFY(!p.sink.FRemoteEcho);
        p.text.TelnetSessionClosed(); // a second close records nothing more
        QVERIFY(!p.clock.Running());
        QCOMPARE(online.size(), 3);
        QVERIFY(online[0][0].toBool() && !online[1][0].toBool());
        QCOMPARE(p.stats.Count(), 1);
        QVERIFY(p.stats.FModified);
        QCOMPARE(p.stats.GetEntry(0).Host, QByteArray("mud.example"));
    }
};

QTEST_GUILESS_MAIN(TestIncomingText)
#include "tst_incomingtext.moc"
