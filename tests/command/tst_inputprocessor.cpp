// Enter, ProcessInputLine and its order, shortcuts, alias expansion and the history.

#include "CommandFixture.h"
#include "command/CommandTable.h"

#include <QTest>

class TestInputProcessor : public QObject
{
    Q_OBJECT
private slots:
    void enterSplitsAtBarsAndKeepsTheLine()
    {
        CommandFixture f;
        f.Enter("  n|o|s  ");
        QCOMPARE(f.SentLines(), (QList<QByteArray>{"n", "o", "s"}));
        QCOMPARE(f.Commands.Input().FHistory, (TStringList{"  n|o|s  "}));
        QVERIFY(f.Host.AllSelected);
        QCOMPARE(f.Host.Text, QByteArray("  n|o|s  "));
        f.Reset();
        f.Enter(""); // one empty line, no history entry
        QCOMPARE(f.Connection.Sent, QByteArray("\r\n"));
        QCOMPARE(f.Commands.Input().FHistory.size(), 1);
        f.Reset();
        f.Enter("n| |s"); // a piece of blanks is an empty line
        QCOMPARE(f.SentLines(), (QList<QByteArray>{"n", "", "s"}));
        f.Config.FClearInput = true;
        f.Enter("schau");
        QCOMPARE(f.Host.Text, QByteArray());
        QVERIFY(!f.Host.AllSelected);
    }

    void longLineWithManyBars()
    {
        CommandFixture f;
        QByteArray line;
        while (line.size() < 254)
            line += "n|";
        line.resize(255, '|');
        f.Enter(line);
        QCOMPARE(f.SentLines().count("n"), 127);
        QCOMPARE(f.SentLines().size(), 128); // the final empty piece
        // Only bars: every piece is empty and trimmed away except the last.
        f.Reset();
        f.Enter(QByteArray(255, '|'));
        QCOMPARE(f.SentLines(), (QList<QByteArray>{""}));
    }

    void processInputLineOrder()
    {
        CommandFixture f;
        f.Line("n|#MaRk|s");
        QCOMPARE(f.SentLines(), (QList<QByteArray>{"n", "s"}));
        QVERIFY(f.Commands.Recorder().FRecording);
        // The client command came between the two sends: its message sits between the echoes.
        const QByteArray text = f.Console.Text();
        QVERIFY(text.indexOf("\r\nn\r\n") < text.indexOf("Pfad-Aufzeichnung gestartet."));
        QVERIFY(text.indexOf("Pfad-Aufzeichnung gestartet.") < text.indexOf("\r\ns\r\n"));
        // Plain text opens a new output line for the answer; commands are not echoed.
        QCOMPARE(f.Sink.FOutputLines, (QList<QByteArray>{"", "n", "", "s", ""}));
    }

    void unknownCommandReportsWordWithHash()
    {
        CommandFixture f;
        f.Line("#ali bar|#");
        QCOMPARE(f.Messages(),
                 (QStringList{"E:Unbekannter Befehl \"#ali\"!", "E:Unbekannter Befehl \"#\"!"}));
        QVERIFY(f.Connection.Sent.isEmpty());
        int found = -1;
        QVERIFY(FindCommand("#NOTIZ", found));
        QCOMPARE(found, kCommandCount - 1);
    }

    void expandAlias_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("extra word dropped without tail")
            << QByteArray("kill %1") << QByteArray("k orc troll") << QByteArray("kill orc");
        QTest::newRow("tail then extra words")
            << QByteArray("give %1 to %2 now") << QByteArray("k sword bob extra more")
            << QByteArray("give sword to bob now extra more");
        QTest::newRow("no placeholder appends arguments")
            << QByteArray("sage") << QByteArray("k hello   there")
            << QByteArray("sage hello there");
        QTest::newRow("descending placeholders stay literal")
            << QByteArray("%2 %1") << QByteArray("k a b") << QByteArray("%2 a");
        QTest::newRow("repeated placeholder")
            << QByteArray("%1 und %1!") << QByteArray("k x") << QByteArray("x und x!");
        QTest::newRow("placeholder without argument stays")
            << QByteArray("sag %3") << QByteArray("k hallo") << QByteArray("sag %3 hallo");
        QTest::newRow("percent at end of value")
            << QByteArray("zahle 5%") << QByteArray("k gold") << QByteArray("zahle 5% gold");
        QTest::newRow("percent at end after placeholder")
            << QByteArray("gib %1 %") << QByteArray("k x y") << QByteArray("gib x % y");
        QTest::newRow("bar and semicolon reach the MUD")
            << QByteArray("sag %1|n;s") << QByteArray("k hi") << QByteArray("sag hi|n;s");
    }

    void expandAlias()
    {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, sent);
        CommandFixture f;
        f.Config.SetAlias("k", value);
        f.Line(line);
        QCOMPARE(f.Connection.Blocks, (QList<QByteArray>{sent + "\r\n"}));
    }

    void aliasNeedsParametersSendsNothing()
    {
        CommandFixture f;
        f.Config.SetAlias("Gib", "gib %1 an %2 und %1");
        f.Line("Gib schwert");
        QCOMPARE(f.Messages(), (QStringList{"E:Der Alias \"Gib\" benoetigt 2 Parameter!"}));
        QVERIFY(f.Connection.Sent.isEmpty());
    }

    void aliasIsSentAsOneBlockAndEchoed()
    {
        CommandFixture f;
        f.Config.SetAlias("K", "kill %1");
        f.Config.FAliasCase = false;
        f.Line("k orc");
        QCOMPARE(f.Console.Text(), QByteArray("\r\nkill orc\r\n\r\n"));
        QCOMPARE(f.Sink.FOutputLines, (QList<QByteArray>{"", "kill orc\r\n"}));
        // Echo off: nothing in the console, the block is still sent.
        f.Reset();
        f.Sink.FLocalEcho = false;
        f.Sink.FHelpActive = true; // does not force the alias echo
        f.Line("k troll");
        QVERIFY(f.Console.Cells.isEmpty());
        QCOMPARE(f.Connection.Sent, QByteArray("kill troll\r\n"));
        // Not connected: echoed without CR LF, nothing sent, nothing reported.
        f.Reset();
        f.Sink.FLocalEcho = true;
        f.Connection.Connected = false;
        f.Line("k orc");
        QVERIFY(f.Connection.Blocks.isEmpty());
        QCOMPARE(f.Console.Text(), QByteArray("\r\nkill orc\r\n"));
        // A case-sensitive alias name does not match the other case.
        f.Connection.Connected = true;
        f.Config.FAliasCase = true;
        f.Line("k orc");
        QCOMPARE(f.Connection.Sent, QByteArray("k orc\r\n"));
    }

    void lineWhileTheServerEchoesIsSentButShownAndKeptNowhere()
    {
        CommandFixture f;
        f.Config.SetAlias("login", "sage %1");
        f.Enter("n");
        f.Reset();
        f.Sink.FRemoteEcho = true;
        // As typed, one line: no alias, no splitting, no error for a "#" word.
        f.Enter("geheim|login wort");
        f.Enter("#nix");
        QCOMPARE(f.SentLines(), (QList<QByteArray>{"geheim|login wort", "#nix"}));
        QVERIFY(f.Console.Cells.isEmpty());
        QVERIFY(!f.Sink.FOutputLines.join('|').contains("geheim") && !f.Sink.FOutputLines.join('|').contains("wort"));
        f.Enter("#close"); // a client command still works
        QCOMPARE(f.Connection.Sent.count('\n'), 2);
        QCOMPARE(f.Host.Text, QByteArray());
        QCOMPARE(f.Commands.Input().FHistory, (TStringList{"n"}));
        f.Commands.Input().MudInputKeyDown(Qt::Key_Up);
        QCOMPARE(f.Host.Text, QByteArray("n"));
    }

    void aliasEchoWrapsAtConsoleWidth()
    {
        CommandFixture f;
        f.Console.Columns = 4;
        f.Connection.Connected = false;
        f.Config.SetAlias("k", "abcdefghijk");
        f.Line("k");
        // A line is written once it is longer than the width, before the next character.
        QCOMPARE(f.Console.Text(), QByteArray("\r\nabcde\r\nfghij\r\nk\r\n"));
        QCOMPARE(f.Sink.FOutputLines.mid(1), (QList<QByteArray>{"abcde", "fghij", "k"}));
    }

    void aliasExpansionIsBoundedBy2048Bytes()
    {
        CommandFixture f;
        f.Config.SetAlias("k", "%1%2%3%4%5%6%7%8%9");
        const TStringList words = TStringList{"k"} + TStringList(9, QByteArray(300, 'x'));
        QByteArray buffer;
        QVERIFY(TInputProcessor::BuildAliasText("%1%2%3%4%5%6%7%8%9", words, buffer));
        // Each argument is cut to 255, the whole to the buffer less CR LF.
        QCOMPARE(buffer, QByteArray(2046, 'x'));
        f.Line("k " + JoinWords(words, 1));
        QCOMPARE(f.Connection.Blocks, (QList<QByteArray>{QByteArray(2046, 'x') + "\r\n"}));
        // A long value segment alone is cut to 255 too.
        QVERIFY(TInputProcessor::BuildAliasText(QByteArray(600, 'v') + "%1", {"k", "a"}, buffer));
        QCOMPARE(buffer, QByteArray(255, 'v') + "a");
    }

    void walkPathSendsStepsAfterEcho()
    {
        CommandFixture f;
        f.Config.SetPath("weg", "n;n;o;rest");
        f.Line("weg egal");
        QCOMPARE(f.Connection.Blocks, (QList<QByteArray>{"n\r\n", "n\r\n", "o\r\n"}));
        QCOMPARE(f.Console.Text(), QByteArray("\r\nn;n;o;rest\r\n"));
        f.Reset();
        f.Connection.Connected = false;
        f.Line("weg");
        QVERIFY(f.Connection.Sent.isEmpty());
    }

    void openSessionAsksWhileConnected()
    {
        CommandFixture f;
        f.Config.SetSession("mg", "mg.mud.de 4711");
        f.Prompts.answers << IPrompts::Answer::No << IPrompts::Answer::Yes;
        f.Line("mg");
        QCOMPARE(f.Prompts.log,
                 (QStringList{"Confirm2: Es besteht eine Online-Verbindung. Verbindung beenden?"}));
        QCOMPARE(f.Connection.Connects + f.Connection.Closes, 0);
        f.Line("mg");
        QCOMPARE(f.Connection.Closes, 1);
        QCOMPARE(f.Connection.Connects, 1);
        QCOMPARE(f.Connection.HostName + ':' + f.Connection.PortName, QByteArray("mg.mud.de:4711"));
        // Not connected: no question.
        f.Prompts.log.clear();
        f.Line("mg x");
        QVERIFY(f.Prompts.log.isEmpty());
        QCOMPARE(f.Connection.Connects, 2);
    }

    void historyKeepsThirtyWithoutRepeats()
    {
        CommandFixture f;
        TInputProcessor& in = f.Commands.Input();
        for (const char* line : {"a", "a", "b", "a"})
            in.AddToHistory(line);
        QCOMPARE(in.FHistory, (TStringList{"a", "b", "a"}));
        QVERIFY(f.Host.Calls.isEmpty());
        f.Host.Lists = 3; // the lists panel shows the history
        for (int i = 0; i < 10000; ++i)
            in.AddToHistory("zeile " + QByteArray::number(i));
        QCOMPARE(in.FHistory.size(), 30);
        QCOMPARE(in.FHistory.first(), QByteArray("zeile 9970"));
        QCOMPARE(in.FHistoryPos, 30);
        QCOMPARE(f.Host.Calls.size(), 10000);
    }

    void historyBrowsing()
    {
        CommandFixture f;
        TInputProcessor& in = f.Commands.Input();
        const auto key = [&](int k) { return f.Commands.KeyPress(k, Qt::NoModifier, {}, true); };
        QVERIFY(key(Qt::Key_Up)); // empty history: consumed, nothing shown
        QCOMPARE(f.Host.Text, QByteArray());
        in.AddToHistory("eins");
        in.AddToHistory("zwei");
        key(Qt::Key_Up);
        QCOMPARE(f.Host.Text, QByteArray("zwei"));
        key(Qt::Key_Up);
        key(Qt::Key_Up);
        QCOMPARE(f.Host.Text, QByteArray("eins"));
        QCOMPARE(in.FHistoryPos, 0);
        key(Qt::Key_Down);
        QCOMPARE(f.Host.Text, QByteArray("zwei"));
        key(Qt::Key_Down);
        QCOMPARE(f.Host.Text, QByteArray());
        QCOMPARE(in.FHistoryPos, 2);
        QVERIFY(!in.MudInputKeyDown(Qt::Key_Left));
    }
};

QTEST_GUILESS_MAIN(TestInputProcessor)
#include "tst_inputprocessor.moc"
