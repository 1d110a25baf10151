// The received-text road: blocks to coloured console text, the client's own messages,
// echo and sending, the bounded history, the session log and the statistics; with
// recording substitutes around it.
#include "FileRig.h"
#include "RecordingConsole.h"
#include "ScriptedPrompts.h"
#include "TableRows.h"
#include "TempProgramFolder.h"
#include "config/MudConfig.h"
#include "display/output/IncomingText.h"
#include "display/output/OutputSink.h"
#include "display/output/SessionLog.h"
#include "stats/ConnectTime.h"

#include <QSignalSpy>
#include <QTest>
#include <tuple>

namespace {

struct OutputRig {
    TempProgramFolder folder;
    ScriptedPrompts prompts;
    TMudConfig config;
    RecordingConsole console;
    TOutputSink sink{console, nullptr};
    TSessionLog log{sink, prompts};
    TConnectTime clock;
    TVorkaOMatic stats;
    TIncomingText text{console, sink, log, config, clock, stats};
    int beeps = 0;

    OutputRig()
    {
        text.OnBeep = [this] { ++beeps; };
        log.FLogFileName = folder.file("s.log");
    }
    void Feed(const QByteArray& block) { text.TelnetDataAvailable(block.constData(), block.size()); }
    void FeedBytewise(const QByteArray& data)
    {
        for (char c : data)
            text.TelnetDataAvailable(&c, 1);
    }
};

// Dates vary; the frame lines are compared with their date-time replaced.
QByteArray Masked(QByteArray text)
{
    static const QRegularExpression stamp(R"(am \d\d\.\d\d\.\d{4}( \d\d:\d\d:\d\d)?>)");
    return QString::fromLatin1(text).replace(stamp, "am *>").toLatin1();
}

struct EscapeRow {
    const char* name;
    QByteArray data, shown;
};
const EscapeRow kEscapes[] = {
    {"bold then green, reset", "\033[1;32mHallo\033[0m x",
     "<008000/000000/1>Hallo<C0C0C0/000000/0> x"},
    {"colour then bold gives white", "\033[33;1mA", "<FFFFFF/000000/1>A"},
    {"30, 34, 35, 37", "\033[30mA\033[34mB\033[35mC\033[37mD",
     "<000000/000000/0>A<FF0000/000000/0>B<800080/000000/0>C<FFFFFF/000000/0>D"},
    {"40-43, 45-47", "\033[41mA\033[42mB\033[43mC\033[45mD\033[46mE\033[47mF\033[31;40mG",
     "<C0C0C0/0000FF/0>A<C0C0C0/008000/0>B<C0C0C0/00FFFF/0>C<C0C0C0/800080/0>D"
     "<C0C0C0/808000/0>E<C0C0C0/FFFFFF/0>F<0000FF/000000/0>G"},
    {"8 hides in the last shown background", "\033[44mA\033[8mB",
     "<C0C0C0/FF0000/0>A<FF0000/FF0000/0>B"},
    {"5, 10 and 12 stop reading", "\033[5;31mA\033[10;31mB\033[12;31mC", "<C0C0C0/000000/0>ABC"},
    {"22 stops after what came before", "\033[31;22;44mA", "<0000FF/000000/0>A"},
    {"cursor, erase and character sets dropped", "\033[2J\033[HA\033(Bx\033(0y",
     "<C0C0C0/000000/0>Axy"},
    {"ESC [m and [?m have no effect, [?0m resets", "\033[31mA\033[mB\033[?mC\033[?0mD",
     "<0000FF/000000/0>ABC<C0C0C0/000000/0>D"},
    {"background, then reverse of the last shown pen", "\033[44mA\033[7mB",
     "<C0C0C0/FF0000/0>A<FF0000/C0C0C0/0>B"},
    {"underline replaces bold", "\033[1;4mA", "<FFFFFF/000000/4>A"},
    {"unknown values (99, 38, 48) reset", "\033[31m\033[99mA\033[41;48mB\033[31;38mC",
     "<C0C0C0/000000/0>ABC"},
    {"huge parameter saturates", "\033[99999999999999999999mA", "<C0C0C0/000000/0>A"},
    {"blanks inside parameters", "\033[ 1 ; 36 mA", "<808000/000000/1>A"},
    {"ESC 7 and ESC 8 end at their digit", "A\0337\033[1;1HStatus\0338Text",
     "<C0C0C0/000000/0>AStatusText"},
    {"ESC D E H M end at once, ESC ESC drops the first", "\033D1\033E2\033H3\033M4\033\033A",
     "<C0C0C0/000000/0>1234A"},
    {"controls pass through, NUL after CR skipped", QByteArray("a\r\0b\tc\x07\x08", 8),
     "<C0C0C0/000000/0>a\rb\tc\x07\x08"},
    {"a block longer than a slice", QByteArray(8191, 'a') + "bc", // more than one slice
     "<C0C0C0/000000/0>" + QByteArray(8191, 'a') + "bc"},
};

struct HighlightRow {
    const char* name;
    QByteArray entries, data, shown; // entries joined by "|"
};
const HighlightRow kHighlights[] = {
    {"word at the blank after it", "Drache/10/1", "Ein Drache greift an\r\n",
     "<C0C0C0/000000/0>Ein <0000FF/000000/0>Drache<C0C0C0/000000/0> greift an\r\n"},
    {"list order, both applied in turn", "Ork/10/1|Drache/12/1", "Drache und Ork\r",
     "<00FFFF/000000/0>Drache<C0C0C0/000000/0> und <0000FF/000000/0>Ork<C0C0C0/000000/0>\r"},
    {"style kept", "Drache/10/1", "\033[1mDrache ", "<0000FF/000000/1>Drache<FFFFFF/000000/1> "},
    {"inside a word, with blanks", "er Dr/13/16", "Der Drache\n",
     "<C0C0C0/000000/0>D<FF0000/FFFFFF/0>er Dr<C0C0C0/000000/0>ache\n"},
    {"found at the same check, only the first listed", "Ork/10/1|Elf/12/1", "ElfOrk\r",
     "<C0C0C0/000000/0>Elf<0000FF/000000/0>Ork<C0C0C0/000000/0>\r"},
    {"after the last blank of a block never checked", "Drache/10/1|Ork/12/1", "Ork und Drache",
     "<00FFFF/000000/0>Ork<C0C0C0/000000/0> und Drache"},
    {"nothing past the line text limit", "Ork/10/1", QByteArray(300, 'x') + " Ork x\r",
     "<C0C0C0/000000/0>" + QByteArray(300, 'x') + " Ork x\r"},
    {"no check without a blank or separator", "Ork/10/1", "Ork", "<C0C0C0/000000/0>Ork"},
    {"at the first character", "a/10/1", "a b", "<0000FF/000000/0>a<C0C0C0/000000/0> b"},
    {"colour 1 is black, background 0 keeps the text's", "Ork/1/0", "\033[47mOrk x\n",
     "<000000/FFFFFF/0>Ork<C0C0C0/FFFFFF/0> x\n"},
    {"junk colours and index 0 never break the block", "Ork/rot/1|Elf/0/12", "Ork Elf\n",
     "<C0C0C0/000000/0>Ork <C0C0C0/00FFFF/0>Elf<C0C0C0/000000/0>\n"},
};

} // namespace

class TestIncomingText : public QObject {
    Q_OBJECT
private slots:
    void escapes_data() { AddTableRows(kEscapes); }

    void escapes()
    {
        const EscapeRow& r = TableRow(kEscapes);
        OutputRig whole;
        whole.Feed(r.data);
        QCOMPARE(whole.console.Annotated(), r.shown);
        // The same picture however the stream is cut into blocks.
        OutputRig bytewise;
        bytewise.FeedBytewise(r.data);
        QCOMPARE(bytewise.console.Annotated(), r.shown);
    }

    void tooLongSequenceBeepsOnce()
    {
        OutputRig p;
        p.Feed("\033[" + QByteArray(80, '7') + "x");
        QCOMPARE(p.beeps, 1);
        QCOMPARE(p.console.Text(), QByteArray("7x")); // the 80th digit is text again
        QVERIFY(!p.text.FEscActive);
    }

    void highlights_data() { AddTableRows(kHighlights); }

    void highlights()
    {
        const HighlightRow& r = TableRow(kHighlights);
        OutputRig p;
        p.config.FHighlights = r.entries.split('|');
        p.Feed(r.data);
        QCOMPARE(p.console.Annotated(), r.shown);
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
        p.sink.FRemoteEcho = true; // the server asked for a password; its echo ends with the session
        p.text.TelnetSessionClosed();
        QVERIFY(!p.sink.FRemoteEcho);
        p.text.TelnetSessionClosed(); // a second close records nothing more
        QVERIFY(!p.clock.Running());
        QCOMPARE(online.size(), 3);
        QVERIFY(online[0][0].toBool() && !online[1][0].toBool());
        QCOMPARE(p.stats.Count(), 1);
        QVERIFY(p.stats.FModified);
        QVERIFY(p.stats.FEntries[0].startsWith(DateTime::dateToStr(DateTime::now()) +
                                               "/mud.example/"));
    }

    void messagesRestoreTheColour()
    {
        OutputRig r;
        r.console.Color = 0x00FFFF; // a server colour in force
        r.console.Style = 1;
        r.sink.ShowError("Fehler");
        r.sink.ShowInfo("ok");
        r.console.WriteString("x");
        QCOMPARE(r.console.Annotated(),
                 QByteArray("<00FFFF/000000/1>\r\n<0000FF/000000/1>Fehler\r\n<008000/000000/1>ok\r\n"
                            "<00FFFF/000000/1>x"));
        QCOMPARE(r.sink.FOutputLines, QList<QByteArray>({""})); // messages are not history
    }

    void echoAndSend()
    {
        RecordingConsole console;
        RecordingConnection net;
        TOutputSink sink(console, &net);
        sink.SendCommandLine("schaue");
        QCOMPARE(console.Text(), QByteArray("\r\nschaue\r\n"));
        QCOMPARE(net.Sent, QByteArray()); // not connected: only echoed
        QCOMPARE(sink.FOutputLines, QList<QByteArray>({"", "schaue"}));
        net.Connected = true;
        sink.FLocalEcho = false;
        console.Cells.clear();
        sink.SendCommandLine("n");
        QCOMPARE(net.Sent, QByteArray("n\r\n"));
        QCOMPARE(console.Text(), QByteArray());
        QCOMPARE(sink.FOutputLines.size(), 2);
        sink.FHelpActive = true; // help text forces the echo, but not of a password
        sink.EchoLine("hilfe");
        QCOMPARE(console.Text(), QByteArray("hilfe\r\n"));
        sink.FRemoteEcho = true;
        sink.SendCommandLine("geheim");
        QCOMPARE(console.Text() + net.Sent, QByteArray("hilfe\r\nn\r\ngeheim\r\n"));
    }

    void wrapping()
    {
        QByteArray blanks, cr(90, 'y');
        for (int i = 0; i < 100; ++i)
            blanks += char(i == 39 || i == 74 ? ' ' : 'a' + i % 26);
        cr[69] = '\r';
        const std::tuple<const char*, QByteArray, QList<int>> rows[] = {
            {"no blanks: one long line", QByteArray(200, 'x'), {200}},
            {"cut at the first blank from 70", blanks, {75, 25}},
            {"a CR at 70 cuts too", cr, {70, 20}},
            {"80 characters stay whole", QByteArray(79, 'z') + ' ', {80}},
            {"repeated cuts", (QByteArray(75, 'w') + ' ').repeated(4), {76, 76, 76, 76}},
        };
        for (const auto& [name, text, lengths] : rows) {
            OutputRig r;
            QSignalSpy changed(&r.sink, &TOutputSink::HistoryChanged);
            r.sink.AddOutputLines(text);
            QVERIFY2(changed.size() == 1, name);
            QCOMPARE(r.sink.FOutputLines.mid(1).join(), text); // cut, nothing lost
            QList<int> got;
            for (int i = 1; i < r.sink.FOutputLines.size(); ++i)
                got << int(r.sink.FOutputLines[i].size());
            QCOMPARE(got, lengths);
        }
    }

    void historyStaysBounded()
    {
        // Long wrapped texts add several lines per call; the bound holds after each line.
        OutputRig r;
        for (int i = 0; i < 100; ++i)
            r.sink.AddOutputLines((QByteArray(75, 'a') + ' ').repeated(20) + QByteArray::number(i));
        QCOMPARE(r.sink.FOutputLines.size(), 401);
        QCOMPARE(r.sink.FOutputLines.last(), QByteArray(75, 'a') + " 99");
    }

    void appendsOrOverwritesSessionsWithoutColourCodes()
    {
        OutputRig r;
        QSignalSpy state(&r.log, &TSessionLog::LogStateChanged);
        r.log.StopLog(); // no log: nothing happens
        QVERIFY(state.isEmpty() && r.console.Cells.isEmpty());
        for (int i = 0; i < 2; ++i) {
            r.log.StartLog(false);
            r.log.StartLog(true); // already logging: nothing happens
            r.Feed("\x1b[1;31mrot\x1b[0m\r\n");
            r.sink.ShowInfo("nicht im Log");
            r.log.StopLog();
        }
        QCOMPARE(Masked(ReadFile(r.log.FLogFileName)),
                 QByteArray("<LOG gestartet am *>\r\nrot\r\n<LOG gestoppt am *>\r\n\r\n"
                            "<LOG gestartet am *>\r\nrot\r\n<LOG gestoppt am *>\r\n\r\n"));
        QCOMPARE(state.size(), 4);
        QVERIFY(r.console.Text().contains("Starte Log \"" + r.log.FLogFileName.toLatin1() + "\"."));
        QVERIFY(r.console.Text().contains("Stoppe Log \"" + r.log.FLogFileName.toLatin1() + "\"."));
        // Overwriting keeps only the latest session.
        r.log.StartLog(true);
        r.Feed("zwei");
        r.log.StopLog();
        QCOMPARE(Masked(ReadFile(r.log.FLogFileName)),
                 QByteArray("<LOG gestartet am *>\r\nzwei<LOG gestoppt am *>\r\n\r\n"));
        r.log.FLogOverwrite = true;
        r.log.StartLog(false);
        r.log.StopLog();
        QVERIFY(!ReadFile(r.log.FLogFileName).contains("zwei"));
    }

    void unopenableFileShowsTheDialog()
    {
        OutputRig r;
        r.log.FLogFileName = r.folder.file("fehlt/s.log");
        QSignalSpy state(&r.log, &TSessionLog::LogStateChanged);
        // The light is on while the player reads the error.
        QObject::connect(&r.log, &TSessionLog::LogStarting, [&] { r.prompts.log << "light on"; });
        r.log.StartLog(false);
        QVERIFY(!r.log.LogActive());
        QCOMPARE(r.prompts.log, (QStringList{"light on", "Error: Datei " + r.folder.file("fehlt/s.log") +
                                                            " konnte nicht geöffnet werden!"}));
        QVERIFY(r.console.Text().startsWith("Starte Log"));
        QCOMPARE(state.size(), 1);
        QCOMPARE(state[0][0].toBool(), false);
    }

    void writeFailureStopsTheLogButShowsTheText()
    {
        OutputRig r;
        r.log.StartLog(false);
        QSignalSpy state(&r.log, &TSessionLog::LogStateChanged);
        UnderFileSizeLimit([&] { r.Feed(QByteArray(200, 'x') + "\r\n"); });
        QVERIFY(!r.log.LogActive());
        QCOMPARE(state.size(), 1);
        QVERIFY(r.console.Text().contains(QByteArray(200, 'x') + "\r\n"));
        QVERIFY(r.console.Text().contains("Log-Datei \"" + r.log.FLogFileName.toLatin1() +
                                          "\" konnte nicht geschrieben werden. Log gestoppt."));
        r.Feed("weiter");
        QVERIFY(r.console.Text().endsWith("weiter"));
        QCOMPARE(r.console.Text().count("Log gestoppt"), 1);
    }
};

QTEST_GUILESS_MAIN(TestIncomingText)
#include "tst_incomingtext.moc"
