// Received blocks to coloured console text, history and statistics.
#include "OutputRig.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using Pipeline = OutputRig;

const QByteArray kEsc = "\x1b";

} // namespace

class TestIncomingText : public QObject {
    Q_OBJECT
private slots:
    void escapes_data();
    void escapes();
    void tooLongSequenceBeepsOnce();
    void highlights_data();
    void highlights();
    void highlightCutByBlockIsNotApplied();
    void attributesCarryAcrossBlocksUntilConnect();
    void historyLines();
    void sessionsFeedClockAndStatistics();
};

void TestIncomingText::escapes_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("bold then green, reset")
        << kEsc + "[1;32mHallo" + kEsc + "[0m x"
        << QByteArray("<008000/000000/1>Hallo<C0C0C0/000000/0> x");
    QTest::newRow("colour then bold gives white") << kEsc + "[33;1mA"
                                                  << QByteArray("<FFFFFF/000000/1>A");
    QTest::newRow("bold then colour gives yellow") << kEsc + "[1;33mA"
                                                   << QByteArray("<00FFFF/000000/1>A");
    QTest::newRow("blink stops reading") << kEsc + "[5;31mA" << QByteArray("<C0C0C0/000000/0>A");
    QTest::newRow("cursor and erase dropped") << kEsc + "[2J" + kEsc + "[HA"
                                              << QByteArray("<C0C0C0/000000/0>A");
    QTest::newRow("character set designation") << kEsc + "(Bx" << QByteArray("<C0C0C0/000000/0>x");
    QTest::newRow("character set named by a digit ends there") << kEsc + "(0x"
                                                                << QByteArray("<C0C0C0/000000/0>x");
    QTest::newRow("ESC [m has no effect") << kEsc + "[31mA" + kEsc + "[mB"
                                          << QByteArray("<0000FF/000000/0>AB");
    QTest::newRow("ESC [?m has no effect, [?0m resets")
        << kEsc + "[31mA" + kEsc + "[?mB" + kEsc + "[?0mC"
        << QByteArray("<0000FF/000000/0>AB<C0C0C0/000000/0>C");
    QTest::newRow("background, then reverse of the last shown pen")
        << kEsc + "[44mA" + kEsc + "[7mB" << QByteArray("<C0C0C0/FF0000/0>A<FF0000/C0C0C0/0>B");
    QTest::newRow("underline replaces bold") << kEsc + "[1;4mA" << QByteArray("<FFFFFF/000000/4>A");
    QTest::newRow("unknown value resets") << kEsc + "[31m" + kEsc + "[99mA"
                                          << QByteArray("<C0C0C0/000000/0>A");
    QTest::newRow("huge parameter saturates") << kEsc + "[99999999999999999999mA"
                                              << QByteArray("<C0C0C0/000000/0>A");
    QTest::newRow("blanks inside parameters") << kEsc + "[ 1 ; 36 mA"
                                              << QByteArray("<808000/000000/1>A");
    QTest::newRow("ESC 7 and ESC 8 end at their digit")
        << "A" + kEsc + "7" + kEsc + "[1;1HStatus" + kEsc + "8Text"
        << QByteArray("<C0C0C0/000000/0>AStatusText");
    QTest::newRow("ESC D E H M end at once") << kEsc + "D1" + kEsc + "E2" + kEsc + "H3" + kEsc + "M4"
                                             << QByteArray("<C0C0C0/000000/0>1234");
    QTest::newRow("ESC ESC drops the first") << kEsc + kEsc + "A" << QByteArray("<C0C0C0/000000/0>A");
    QTest::newRow("NUL after CR is skipped") << QByteArray("a\r\0b", 4)
                                             << QByteArray("<C0C0C0/000000/0>a\rb");
    QTest::newRow("controls pass through") << QByteArray("a\tb\x07\x08")
                                           << QByteArray("<C0C0C0/000000/0>a\tb\x07\x08");
}

void TestIncomingText::escapes()
{
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, shown);
    Pipeline whole;
    whole.Feed(data);
    QCOMPARE(whole.console.Annotated(), shown);
    // The same picture however the stream is cut into blocks.
    Pipeline bytewise;
    bytewise.FeedBytewise(data);
    QCOMPARE(bytewise.console.Annotated(), shown);
}

void TestIncomingText::tooLongSequenceBeepsOnce()
{
    Pipeline p;
    p.Feed(kEsc + "[" + QByteArray(80, '7') + "x");
    QCOMPARE(p.beeps, 1);
    QCOMPARE(p.console.Text(), QByteArray("7x")); // the 80th digit is text again
    QVERIFY(!p.text.FEscActive);
}

void TestIncomingText::highlights_data()
{
    QTest::addColumn<QList<QByteArray>>("entries");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("word at the blank after it")
        << QList<QByteArray>{"Drache/10/1"} << QByteArray("Ein Drache greift an\r\n")
        << QByteArray("<C0C0C0/000000/0>Ein <0000FF/000000/0>Drache<C0C0C0/000000/0> greift an\r\n");
    QTest::newRow("list order, both applied in turn")
        << QList<QByteArray>{"Ork/10/1", "Drache/12/1"} << QByteArray("Drache und Ork\r")
        << QByteArray("<00FFFF/000000/0>Drache<C0C0C0/000000/0> und <0000FF/000000/0>Ork"
                      "<C0C0C0/000000/0>\r");
    QTest::newRow("style kept") << QList<QByteArray>{"Drache/10/1"} << kEsc + "[1mDrache "
                                << QByteArray("<0000FF/000000/1>Drache<FFFFFF/000000/1> ");
    QTest::newRow("inside a word, with blanks")
        << QList<QByteArray>{"er Dr/13/16"} << QByteArray("Der Drache\n")
        << QByteArray("<C0C0C0/000000/0>D<FF0000/FFFFFF/0>er Dr<C0C0C0/000000/0>ache\n");
    QTest::newRow("found at the same check, only the first listed")
        << QList<QByteArray>{"Ork/10/1", "Elf/12/1"} << QByteArray("ElfOrk\r")
        << QByteArray("<C0C0C0/000000/0>Elf<0000FF/000000/0>Ork<C0C0C0/000000/0>\r");
    QTest::newRow("after the last blank of a block never checked")
        << QList<QByteArray>{"Drache/10/1", "Ork/12/1"} << QByteArray("Ork und Drache")
        << QByteArray("<00FFFF/000000/0>Ork<C0C0C0/000000/0> und Drache");
    QTest::newRow("nothing past the line text limit")
        << QList<QByteArray>{"Ork/10/1"} << QByteArray(300, 'x') + " Ork x\r"
        << "<C0C0C0/000000/0>" + QByteArray(300, 'x') + " Ork x\r";
    QTest::newRow("no check without a blank or separator") << QList<QByteArray>{"Ork/10/1"}
                                                           << QByteArray("Ork")
                                                           << QByteArray("<C0C0C0/000000/0>Ork");
    QTest::newRow("junk colours and index 0 never break the block")
        << QList<QByteArray>{"Ork/rot/1", "Elf/0/12"} << QByteArray("Ork Elf\n")
        << QByteArray("<C0C0C0/000000/0>Ork <C0C0C0/00FFFF/0>Elf<C0C0C0/000000/0>\n");
}

void TestIncomingText::highlights()
{
    QFETCH(QList<QByteArray>, entries);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, shown);
    Pipeline p;
    p.config.FHighlights = entries;
    p.Feed(data);
    QCOMPARE(p.console.Annotated(), shown);
}

void TestIncomingText::highlightCutByBlockIsNotApplied()
{
    Pipeline p;
    p.config.FHighlights = {"Drache/10/1"};
    p.Feed("Ein Dra");
    p.Feed("che greift");
    QCOMPARE(p.console.Annotated(), QByteArray("<C0C0C0/000000/0>Ein Drache greift"));
}

void TestIncomingText::attributesCarryAcrossBlocksUntilConnect()
{
    Pipeline p;
    p.Feed(kEsc + "[31mrot\r\n");
    p.Feed("weiter" + kEsc + "[1;3");
    p.Feed("2mgruen");
    QCOMPARE(p.console.Annotated(), QByteArray("<0000FF/000000/0>rot\r\nweiter<008000/000000/1>gruen"));
    p.text.TelnetSessionConnected("host");
    p.Feed("neu");
    QVERIFY(p.console.Annotated().endsWith("<C0C0C0/000000/0>neu"));
    // New output colours reach text in the default colours at once, not the server's.
    p.config.FOutputWindow.FFont.Color = 0x00FF00;
    p.text.DefaultsChanged();
    p.Feed("a" + kEsc + "[44m");
    p.config.FOutputWindow.BGColor = 0x800000;
    p.config.FOutputWindow.FFont.Color = 0x00FFFF;
    p.text.DefaultsChanged();
    p.Feed("b" + kEsc + "[0mc");
    QVERIFY(p.console.Annotated().endsWith("<00FF00/000000/0>a<00FFFF/FF0000/0>b<00FFFF/800000/0>c"));
}

void TestIncomingText::historyLines()
{
    Pipeline p;
    p.Feed("ab\r\ncd\n" + QByteArray(100, 'x'));
    QCOMPARE(p.sink.FOutputLines.mid(0, 3), QList<QByteArray>({"ab", "cd", QByteArray(86, 'x')}));
    QCOMPARE(p.sink.FOutputLines.last(), QByteArray(14, 'x'));
    p.Feed(kEsc + "[32m\x07z");
    QCOMPARE(p.sink.FOutputLines.last(), QByteArray(14, 'x') + "\x07z");
    for (int i = 0; i < 500; ++i)
        p.Feed("zeile\r\n");
    QCOMPARE(p.sink.FOutputLines.size(), 401);
}

void TestIncomingText::sessionsFeedClockAndStatistics()
{
    Pipeline p;
    QSignalSpy online(&p.text, &TIncomingText::OnlineChanged);
    p.clock.Hours = 5;
    p.text.TelnetSessionConnected("mud.example");
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
    QCOMPARE(online[0][0].toBool(), true);
    QCOMPARE(online[1][0].toBool(), false);
    QCOMPARE(p.stats.Count(), 1);
    QVERIFY(p.stats.FModified);
    QCOMPARE(p.stats.GetEntry(0).Host, QByteArray("mud.example"));
}

QTEST_GUILESS_MAIN(TestIncomingText)
#include "tst_incomingtext.moc"
