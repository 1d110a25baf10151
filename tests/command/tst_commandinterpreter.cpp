// The client commands that work on the configuration, the connection and the display:
// argument-count rules, messages, brace grouping and delegation to the main window.

#include "CommandFixture.h"
#include "TempProgramFolder.h"
#include "command/CommandTable.h"

#include <QFile>
#include <QTest>

namespace
{

// A help file whose every section names itself, so a test sees which one was shown.
void WriteMarkerHelp(const TempProgramFolder& folder)
{
    QFile file(folder.file("mudhelp.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < kCommandCount; ++i)
        file.write("[" + CommandName(i) + "]\r\n1=Abschnitt_" + CommandName(i) + "\r\n");
}

QByteArray ShownHelp(const CommandFixture& f)
{
    const QByteArray text = f.Console.Text();
    const qsizetype at = text.indexOf("Abschnitt ");
    return at < 0 ? QByteArray() : text.mid(at + 10, text.indexOf('\r', at) - at - 10);
}

} // namespace

class TestCommandInterpreter : public QObject
{
    Q_OBJECT
private slots:
    void wrongWordCountShowsUsage_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("section"); // empty: nothing at all happens
        QTest::newRow("alias name only") << QByteArray("#alias k") << QByteArray("ALIAS");
        QTest::newRow("session without port")
            << QByteArray("#session mg host") << QByteArray("SESSION");
        QTest::newRow("mark") << QByteArray("#mark x") << QByteArray("MARK");
        QTest::newRow("high shows long form")
            << QByteArray("#high {Der Ork}") << QByteArray("HIGHLIGHT");
        QTest::newRow("unhigh shows long form")
            << QByteArray("#unhigh") << QByteArray("UNHIGHLIGHT");
        QTest::newRow("log four words") << QByteArray("#log a b c") << QByteArray("LOG");
        QTest::newRow("help three words") << QByteArray("#help a b") << QByteArray();
        QTest::newRow("notiz") << QByteArray("#notiz") << QByteArray("NOTIZ");
    }

    void wrongWordCountShowsUsage()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, section);
        TempProgramFolder folder;
        WriteMarkerHelp(folder);
        CommandFixture f;
        f.Sink.FLocalEcho = false; // usage is help and shows regardless
        const TMudConfig before = f.Config;
        f.Line(line);
        QCOMPARE(ShownHelp(f), section);
        QVERIFY(f.Messages().isEmpty());
        QVERIFY(f.Host.Calls.isEmpty());
        QCOMPARE(f.Config.FAliases, before.FAliases);
        QVERIFY(!f.Config.FModified);
        QVERIFY(!f.Sink.FHelpActive);
        if (section.isEmpty()) QVERIFY(f.Console.Cells.isEmpty());
    }

    void messages_data()
    {
        QTest::addColumn<QByteArray>("setup"); // processed first, its output discarded
        QTest::addColumn<int>("listType");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("alias set, taken, deleted, missing")
            << QByteArray("#session weg h 1") << 1
            << QByteArray("#alias k kill   %1|#alias weg x|#aliasdelete k|#aliasdelete k")
            << QStringList{"I:\"k\" aliases \"kill %1\"", "E:Kuerzel \"weg\" bereits belegt.",
                           "I:Alias \"k\" enfernt",
                           "E:Ein Alias mit dem Kuerzel \"k\" existiert nicht."}
            << QStringList{};
        QTest::newRow("alias list refreshed when shown")
            << QByteArray() << 0 << QByteArray("#alias k x|#aliasdelete k|#aliasdelete k")
            << QStringList{"I:\"k\" aliases \"x\"", "I:Alias \"k\" enfernt",
                           "E:Ein Alias mit dem Kuerzel \"k\" existiert nicht."}
            << QStringList{"RefreshList", "RefreshList"};
        QTest::newRow("names with slash refused")
            << QByteArray() << 0 << QByteArray("#alias a/b x|#session s/t host 23")
            << QStringList{"E:Kuerzel \"a/b\" darf kein \"/\" enthalten!",
                           "E:Kuerzel \"s/t\" darf kein \"/\" enthalten!"}
            << QStringList{};
        QTest::newRow("tab words")
            << QByteArray() << 0
            << QByteArray("#tabadd Axt|#tabadd Axt|#tabdelete Axt|#tabdelete Axt")
            << QStringList{"I:Tab-Ergaenzung \"Axt\" hinzugefuegt.",
                           "E:Tab-Ergaenzung \"Axt\" bereits vorhanden!",
                           "I:Ergaenzung \"Axt\" entfernt.",
                           "E:Ergaenzung \"Axt\" existiert nicht."}
            << QStringList(4, "FocusInput");
        QTest::newRow("sessions")
            << QByteArray("#alias k x") << 2
            << QByteArray("#session mg h 4711|#session k h 1|#sessiondelete mg|#sessiondelete mg")
            << QStringList{"I:Sitzung \"mg\" hinzugefuegt.", "E:Kuerzel \"k\" bereits belegt.",
                           "I:Sitzung \"mg\" entfernt.", "E:Sitzung \"mg\" existiert nicht."}
            << QStringList{"RefreshList", "RefreshList"};
        QTest::newRow("switch path")
            << QByteArray("#alias k x|#mark|#map n|#path hin") << 0
            << QByteArray("#switchpath hin zurueck|#switchpath fehlt neu|#switchpath hin k|"
                          "#switchpath hin a/b")
            << QStringList{"I:Pfad \"hin\" erfolgreich umgegekehrt. Neuen Pfad unter \"zurueck\" "
                           "abgespeichert.",
                           "E:Pfad \"fehlt\" existiert nicht!",
                           "E:Kuerzel \"k\" ist bereits belegt!",
                           "E:Kuerzel \"a/b\" darf kein \"/\" enthalten!"}
            << QStringList{"RefreshList"};
        QTest::newRow("path delete")
            << QByteArray("#mark|#map n|#path hin") << 1
            << QByteArray("#pathdelete hin|#pathdelete hin")
            << QStringList{"I:Pfad \"hin\" entfernt.",
                           "E:Ein Pfad mit dem Kuerzel \"hin\" existiert nicht."}
            << QStringList{"RefreshList"};
        QTest::newRow("unhighlight groups braces, ignores more words")
            << QByteArray("#high {Der Ork} Rot") << 0
            << QByteArray("#unhigh {Der Ork} egal|#unhighlight {Der Ork}")
            << QStringList{"I:Hervorhebung \"Der Ork\" entfernt.",
                           "E:Hervorhebung \"Der Ork\" existiert nicht."}
            << QStringList{};
        QTest::newRow("open and close")
            << QByteArray() << 0
            << QByteArray("#open mg.mud.de 4711|#close|#close|#open mg.mud.de 4711")
            << QStringList{"E:Sitzung aktiv! Bitte erst Sitzung schliessen.",
                           "I:Sitzung geschlossen.", "E:Keine Sitzung aktiv!",
                           "I:Verbinde zu Host mg.mud.de..."}
            << QStringList{};
        QTest::newRow("delegated to the main window")
            << QByteArray() << 0
            << QByteArray("#load test|#save conf/neu.mud|#version|#clear|#exit") << QStringList{}
            << QStringList{"Load test", "Save conf/neu.mud", "Banner", "ClearConsole", "Quit"};
    }

    void messages()
    {
        QFETCH(QByteArray, setup);
        QFETCH(int, listType);
        QFETCH(QByteArray, line);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, calls);
        CommandFixture f;
        if (!setup.isEmpty()) f.Line(setup);
        f.Reset();
        f.Host.Lists = listType;
        f.Line(line);
        QCOMPARE(f.Messages(), messages);
        QCOMPARE(f.Host.Calls, calls);
    }

    void storedForms()
    {
        CommandFixture f;
        f.Line("#alias k kill   %1|#session mg mg.mud.de 4711|#open h 1|#close|#open h 2");
        QCOMPARE(f.Config.FAliases, TStringList{"k/kill %1"});
        QCOMPARE(f.Config.FSessions, TStringList{"mg/mg.mud.de/4711"});
        QCOMPARE(f.Connection.Closes, 1);
        QCOMPARE(f.Connection.Connects, 1);
        QCOMPARE(f.Connection.HostName + ':' + f.Connection.PortName, QByteArray("h:2"));
        f.Line("hallo|#clear");
        QCOMPARE(f.Sink.FOutputLines, (QList<QByteArray>{""}));
    }

    void groupBraces_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<TStringList>("grouped");
        QTest::newRow("group in the middle")
            << QByteArray("#h {Der alte Ork} Rot") << TStringList{"#h", "Der alte Ork", "Rot"};
        QTest::newRow("open without close groups to the end")
            << QByteArray("#h {Der Ork Rot") << TStringList{"#h", "Der Ork Rot"};
        QTest::newRow("close before open groups to the end")
            << QByteArray("#h a} {b c") << TStringList{"#h", "a}", "b c"};
        QTest::newRow("last open wins")
            << QByteArray("#h {a {b c} d") << TStringList{"#h", "{a", "b c", "d"};
        QTest::newRow("braces inside words")
            << QByteArray("#h x{a b}y z") << TStringList{"#h", "xa by", "z"};
        QTest::newRow("empty group") << QByteArray("#h {} Rot") << TStringList{"#h", "", "Rot"};
        QTest::newRow("lone brace at end") << QByteArray("#h a {") << TStringList{"#h", "a", ""};
    }

    void groupBraces()
    {
        QFETCH(QByteArray, line);
        QFETCH(TStringList, grouped);
        TStringList words = SplitString(' ', line);
        TCommandInterpreter::GroupBraces(words);
        QCOMPARE(words, grouped);
    }

    void highlightAndEcho()
    {
        CommandFixture f;
        f.Line("#high {rote Rose} Rot Gelb|#highlight Ork rot|#high Ork Blutrot Nacht|"
               "#high Ork Rot Nacht|#high Ork Rot Gelb Blau|#high a/b Rot|#high {} Rot");
        QCOMPARE(f.Messages(),
                 (QStringList{"I:\"rote Rose\" wird nun \"Rot\" auf \"Gelb\" dargestellt.",
                              "I:\"Ork\" wird nun \"Rot\" auf \"Schwarz\" dargestellt.",
                              "E:\"Blutrot\" ist keine gueltige Vordergrund-Farbe!",
                              "E:\"Nacht\" ist keine gueltige Hintergrund-Farbe!",
                              "E:Falsche Parameter-Anzahl!",
                              "E:Hervorhebung \"a/b\" ist nicht zulaessig!",
                              "E:Hervorhebung \"\" ist nicht zulaessig!"}));
        QCOMPARE(f.Config.FHighlights, (TStringList{"rote Rose/10/12", "Ork/10/1"}));
        // ECHO looks for "on" or "off" anywhere in the word, in any case; off is reported
        // even when it already was.
        f.Reset();
        f.Sink.FLocalEcho = false;
        f.Line("#echo Off|#echo AnOn|#echo xyz");
        QVERIFY(f.Sink.FLocalEcho);
        f.Line("#echo off");
        QVERIFY(!f.Sink.FLocalEcho);
        QCOMPARE(f.Messages(),
                 (QStringList{"I:Lokales Echo ausgeschaltet.", "I:Lokales Echo eingeschaltet.",
                              "I:Lokales Echo ausgeschaltet."}));
    }

    void infoAndKillAll()
    {
        CommandFixture f;
        for (const char* name : {"s", "s2", "s3"})
            f.Config.SetSession(name, "h 1");
        f.Line("#alias a 1|#alias b 2|#tabadd t|#mark|#map n|#path p");
        f.Reset();
        f.Line("#info");
        QCOMPARE(f.Console.Text(), QByteArray("\r\nI N F O\r\n=====================\r\n"
                                              "Aliase         : 2\r\nErgaenzungen   : 1\r\n"
                                              "Hervorhebungen : 0\r\nPfade          : 1\r\n"
                                              "Sitzungen      : 3\r\n"));
        f.Reset();
        f.Sink.FLocalEcho = false;
        f.Line("#info");
        QVERIFY(f.Console.Cells.isEmpty());
        f.Prompts.answers << IPrompts::Answer::No << IPrompts::Answer::Yes;
        f.Line("#killall");
        QVERIFY(f.Messages().isEmpty());
        QCOMPARE(f.Config.FAliases.size(), 2);
        f.Line("#killall");
        QCOMPARE(
            f.Messages(),
            (QStringList{
                "I:Alle Aliase, Ergaenzungen, Hervorhebungen, Pfade und Sitzungen geloescht."}));
        QVERIFY(f.Config.FAliases.isEmpty() && f.Config.FSessions.isEmpty());
        QCOMPARE(f.Host.Calls, (QStringList{"RefreshList"}));
    }

    void help()
    {
        TempProgramFolder folder;
        WriteMarkerHelp(folder);
        for (const auto& [line, section] : {std::pair<QByteArray, QByteArray>{"#help", "HELP"},
                                            {"#? high", "HIGHLIGHT"},
                                            {"#help ?", "HELP"}}) {
            CommandFixture f;
            f.Line(line);
            QCOMPARE(ShownHelp(f), section);
        }
        CommandFixture f;
        f.Line("#help #alias");
        QCOMPARE(f.Messages(), (QStringList{"E:Unbekannter Befehl: #alias"}));
        f.Reset();
        f.Sink.FLocalEcho = false;
        f.Line("#help alias");
        QCOMPARE(f.Console.Text(),
                 QByteArray("\r\n--- Hilfe ---\r\nAbschnitt ALIAS\r\n--- Ende Hilfe ---\r\n\r\n"));
        QVERIFY(!f.Sink.FHelpActive);
    }
};

QTEST_GUILESS_MAIN(TestCommandInterpreter)
#include "tst_commandinterpreter.moc"
