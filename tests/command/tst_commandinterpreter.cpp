// The client commands: argument-count rules, messages, brace grouping, delegation to the
// main window, and the files beside the program (mudhelp.txt, #log, #dir, #notiz).

#include "CommandFixture.h"
#include "FileRig.h"
#include "TableRows.h"
#include "TempProgramFolder.h"
#include "command/CommandTable.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QTest>

namespace
{

// A help file whose every section names itself, so a test sees which one was shown.
void WriteMarkerHelp(const TempProgramFolder& folder)
{
    QByteArray help;
    for (int i = 0; i < kCommandCount; ++i)
        help += "[" + CommandName(i) + "]\r\n1=Abschnitt_" + CommandName(i) + "\r\n";
    WriteFile(folder.file("mudhelp.txt"), help);
}

QByteArray ShownHelp(const CommandFixture& f)
{
    const QByteArray text = f.Console.Text();
    const qsizetype at = text.indexOf("Abschnitt ");
    return at < 0 ? QByteArray() : text.mid(at + 10, text.indexOf('\r', at) - at - 10);
}

// Allowed word counts, the command word included (-1: no upper bound), and the help
// section shown as usage outside them (empty: HELP and ? stay silent). Every command has
// its own row, so each one's range is pinned, not only the shared check.
struct Limit {
    const char* name;
    int min, max;
    const char* usage;
};
const Limit kLimits[] = {
    {"alias", 3, -1, "ALIAS"}, {"aliasdelete", 2, 2, "ALIASDELETE"}, {"tabadd", 2, 2, "TABADD"},
    {"tabdelete", 2, 2, "TABDELETE"}, {"session", 4, 4, "SESSION"},
    {"sessiondelete", 2, 2, "SESSIONDELETE"}, {"mark", 1, 1, "MARK"}, {"path", 2, 2, "PATH"},
    {"pathdelete", 2, 2, "PATHDELETE"}, {"switchpath", 3, 3, "SWITCHPATH"},
    {"highlight", 3, -1, "HIGHLIGHT"}, {"high", 3, -1, "HIGHLIGHT"},
    {"unhighlight", 2, -1, "UNHIGHLIGHT"}, {"unhigh", 2, -1, "UNHIGHLIGHT"}, {"load", 2, 2, "LOAD"},
    {"save", 2, 2, "SAVE"}, {"close", 1, 1, "CLOSE"}, {"open", 3, 3, "OPEN"}, {"log", 1, 3, "LOG"},
    {"echo", 2, 2, "ECHO"}, {"exit", 1, 1, "EXIT"}, {"killall", 1, 1, "KILLALL"},
    {"info", 1, 1, "INFO"}, {"help", 1, 2, ""}, {"map", 2, 2, "MAP"},
    {"showpath", 1, 1, "SHOWPATH"}, {"version", 1, 1, "VERSION"}, {"dir", 1, 2, "DIR"},
    {"automap", 1, 1, "AUTOMAP"}, {"clear", 1, 1, "CLEAR"}, {"?", 1, 2, ""},
    {"notiz", 2, -1, "NOTIZ"},
};

// Setup (processed first, its output discarded), the list shown, the line, then the
// red (E:) and green (I:) messages and the calls to the main window, one a line, and
// where given what the line left behind (see State).
struct MessageRow {
    const char *name, *setup;
    int listType;
    const char *line, *messages, *calls, *state = nullptr;
};
const MessageRow kMessages[] = {
    {"recorded automatically, stored and walked", "#alias n norden", 1,
     "#mark|#automap|n|n|o|#showpath|#path weg|weg",
     "I:Pfad-Aufzeichnung gestartet.\nI:AUTOMAP eingeschaltet.\nI:Aktueller Pfad: n;n;o;\n"
     "I:Pfad \"weg\" eingerichtet.", "Lights M-\nLights MA\nRefreshList\nLights --",
     "-- , sent n|n|o|n|n|o, paths weg/n;n;o;, high "},
    {"automap needs recording, map records without sending", "", 0,
     "#map o|#automap|#mark|#automap|#automap|n|#map o|#map nw",
     "E:Aufzeichnung von Pfad nicht gestartet, mit #mark starten.\n"
     "I:Pfad-Aufzeichnung gestartet.\nI:AUTOMAP eingeschaltet.\nI:AUTOMAP ausgeschaltet.",
     "Lights M-\nLights MA\nLights M-", "M- o;nw;, sent n, paths , high "},
    {"path errors keep the recording, mark cancels, a new start without automap", "#alias k x",
     0, "#path weg|#mark|#path weg|#map n|#path k|#path a/b|#showpath|#automap|#mark|#showpath|"
     "#mark|n",
     "E:Fehler: Beginn von Pfadaufzeichnung nicht gesetzt.\nI:Pfad-Aufzeichnung gestartet.\n"
     "E:Fehler: Kein Pfad aufgezeichnet.\nE:Kuerzel \"k\" bereits belegt.\n"
     "E:Kuerzel \"a/b\" darf kein \"/\" enthalten!\nI:Aktueller Pfad: n;\n"
     "I:AUTOMAP eingeschaltet.\nI:Pfad-Aufzeichnung abgebrochen.\nI:Aktueller Pfad: \n"
     "I:Pfad-Aufzeichnung gestartet.", "Lights M-\nLights MA\nLights --\nLights M-",
     "M- , sent n, paths , high "},
    {"highlights", "", 0,
     "#high {rote Rose} Rot Gelb|#highlight Ork rot|#high Ork Blutrot Nacht|"
     "#high Ork Rot Nacht|#high Ork Rot Gelb Blau|#high a/b Rot|#high {} Rot",
     "I:\"rote Rose\" wird nun \"Rot\" auf \"Gelb\" dargestellt.\n"
     "I:\"Ork\" wird nun \"Rot\" auf \"Schwarz\" dargestellt.\n"
     "E:\"Blutrot\" ist keine gueltige Vordergrund-Farbe!\n"
     "E:\"Nacht\" ist keine gueltige Hintergrund-Farbe!\nE:Falsche Parameter-Anzahl!\n"
     "E:Hervorhebung \"a/b\" ist nicht zulaessig!\nE:Hervorhebung \"\" ist nicht zulaessig!",
     "", "-- , sent , paths , high rote Rose/10/12|Ork/10/1"},
    {"alias set, taken, refused, deleted, missing; the list refreshed when shown",
     "#session weg h 1", 0,
     "#alias k kill   %1|#alias weg x|#alias a/b x|#aliasdelete k|#aliasdelete k",
     "I:\"k\" aliases \"kill %1\"\nE:Kuerzel \"weg\" bereits belegt.\n"
     "E:Kuerzel \"a/b\" darf kein \"/\" enthalten!\nI:Alias \"k\" enfernt\n"
     "E:Ein Alias mit dem Kuerzel \"k\" existiert nicht.", "RefreshList\nRefreshList"},
    {"unknown commands, an alias short of parameters: nothing sent", "#alias Gib gib %1 an %2 %1",
     0, "#ali bar|#|Gib schwert",
     "E:Unbekannter Befehl \"#ali\"!\nE:Unbekannter Befehl \"#\"!\n"
     "E:Der Alias \"Gib\" benoetigt 2 Parameter!", "", "-- , sent , paths , high "},
    // ECHO looks for "on" or "off" anywhere in the word, in any case; off is reported
    // even when it already was.
    {"echo", "#echo off", 0, "#echo AnOn|#echo xyz|#echo Off|#echo off",
     "I:Lokales Echo eingeschaltet.\nI:Lokales Echo ausgeschaltet.\nI:Lokales Echo ausgeschaltet.",
     "", "-- , sent , paths , high , no echo"},
    {"tab words", "", 0, "#tabadd Axt|#tabadd Axt|#tabdelete Axt|#tabdelete Axt",
     "I:Tab-Ergaenzung \"Axt\" hinzugefuegt.\nE:Tab-Ergaenzung \"Axt\" bereits vorhanden!\n"
     "I:Ergaenzung \"Axt\" entfernt.\nE:Ergaenzung \"Axt\" existiert nicht.",
     "FocusInput\nFocusInput\nFocusInput\nFocusInput"},
    {"sessions", "#alias k x", 2,
     "#session mg h 4711|#session k h 1|#session s/t h 1|#sessiondelete mg|#sessiondelete mg",
     "I:Sitzung \"mg\" hinzugefuegt.\nE:Kuerzel \"k\" bereits belegt.\n"
     "E:Kuerzel \"s/t\" darf kein \"/\" enthalten!\nI:Sitzung \"mg\" entfernt.\n"
     "E:Sitzung \"mg\" existiert nicht.", "RefreshList\nRefreshList"},
    {"switch and delete paths", "#alias k x|#mark|#map n|#path hin", 1,
     "#switchpath hin zurueck|#switchpath fehlt neu|#switchpath hin k|#switchpath hin a/b|"
     "#pathdelete hin|#pathdelete hin",
     "I:Pfad \"hin\" erfolgreich umgegekehrt. Neuen Pfad unter \"zurueck\" abgespeichert.\n"
     "E:Pfad \"fehlt\" existiert nicht!\nE:Kuerzel \"k\" ist bereits belegt!\n"
     "E:Kuerzel \"a/b\" darf kein \"/\" enthalten!\nI:Pfad \"hin\" entfernt.\n"
     "E:Ein Pfad mit dem Kuerzel \"hin\" existiert nicht.", "RefreshList\nRefreshList"},
    {"unhighlight groups braces (to the end if unclosed), ignores more words",
     "#high {Der Ork} Rot", 0, "#unhigh {Der Ork} egal|#unhighlight {Der Ork",
     "I:Hervorhebung \"Der Ork\" entfernt.\nE:Hervorhebung \"Der Ork\" existiert nicht.", ""},
    {"open and close", "", 0, "#open mg.mud.de 4711|#close|#close|#open mg.mud.de 4711",
     "E:Sitzung aktiv! Bitte erst Sitzung schliessen.\nI:Sitzung geschlossen.\n"
     "E:Keine Sitzung aktiv!\nI:Verbinde zu Host mg.mud.de...", ""},
    {"delegated to the main window", "", 0,
     "#load test|#save conf/neu.mud|#version|#clear|#exit", "",
     "Load test\nSave conf/neu.mud\nBanner\nClearConsole\nQuit"},
};

// A log name typed and the file it opens in the log folder.
struct LogNameRow {
    const char *name, *typed, *file;
};
const LogNameRow kLogNames[] = {
    {"backslash folders dropped", "..\\..\\conf\\default.mud", "default.log"},
    {"parent folders dropped", "../../../evil", "evil.log"},
    {"dot dot alone stays inside", "..", "..log"},
    {"last dot only", "a.b.c", "a.b.log"},
};

// The recording lights and the path recorded, the lines sent, the paths and highlights,
// the local echo when off.
QByteArray State(CommandFixture& f)
{
    const TPathRecorder& r = f.Commands.Recorder();
    return QByteArray(r.FRecording ? "M" : "-") + (r.FAutoMap ? "A" : "-") + " " +
           r.FRecordedPath + ", sent " + f.SentLines().join('|') + ", paths " +
           f.Config.FPaths.join('|') + ", high " + f.Config.FHighlights.join('|') +
           (f.Sink.FLocalEcho ? "" : ", no echo");
}

} // namespace

class TestCommandInterpreter : public QObject
{
    Q_OBJECT
private slots:
    void wordCountLimits_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QByteArray>("help"); // the section shown
        for (const Limit& l : kLimits) {
            const auto add = [&l](int words, bool refused) {
                QByteArray line = QByteArray("#") + l.name;
                for (int i = 1; i < words; ++i)
                    line += " w";
                // Accepted, only a bare #help or #? shows help.
                const QByteArray help = refused ? l.usage : (*l.usage || words > 1 ? "" : "HELP");
                QTest::addRow("%s %d words", l.name, words) << line << refused << help;
            };
            if (l.min > 1) add(l.min - 1, true);
            add(l.min, false);
            if (l.max != l.min) add(l.max < 0 ? l.min + 6 : l.max, false);
            if (l.max >= 0) add(l.max + 1, true);
        }
        QTest::newRow("counted after grouping")
            << QByteArray("#high {Der Ork}") << true << QByteArray("HIGHLIGHT");
        QCOMPARE(std::size(kLimits), size_t(kCommandCount));
        QVERIFY(CommandName(kCommandCount).isEmpty() && CommandName(-1).isEmpty());
    }

    void wordCountLimits()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, refused);
        QFETCH(QByteArray, help);
        TempProgramFolder folder;
        WriteMarkerHelp(folder);
        CommandFixture f;
        f.Sink.FLocalEcho = false; // usage is help and shows regardless
        f.Prompts.answers << IPrompts::Answer::No; // #killall asks first
        f.Line(line);
        QCOMPARE(ShownHelp(f), help);
        if (!refused) return;
        QVERIFY(f.Messages().isEmpty());
        QVERIFY(f.Host.Calls.isEmpty());
        QVERIFY(!f.Config.FModified);
        if (help.isEmpty()) QVERIFY(f.Console.Cells.isEmpty());
    }

    void messages_data() { AddTableRows(kMessages); }

    void messages()
    {
        const MessageRow& r = TableRow(kMessages);
        CommandFixture f;
        if (*r.setup) f.Line(r.setup);
        f.Reset();
        f.Host.Lists = r.listType;
        f.Line(r.line);
        QCOMPARE(f.Messages().join('\n'), QString(r.messages));
        QCOMPARE(f.Host.Calls.join('\n'), QString(r.calls));
        if (r.state) QCOMPARE(State(f), QByteArray(r.state));
    }

    void storedFormsInfoKillAllAndOpen()
    {
        CommandFixture f;
        for (const char* name : {"s", "s2"})
            f.Config.SetSession(name, "h 1");
        f.Line("#alias k kill   %1|#alias b 2|#session mg mg.mud.de 4711|#tabadd t|#mark|#map n|"
               "#path p");
        QCOMPARE(f.Config.FAliases, (TStringList{"k/kill %1", "b/2"}));
        QCOMPARE(f.Config.FSessions, (TStringList{"s/h/1", "s2/h/1", "mg/mg.mud.de/4711"}));
        f.Reset();
        f.Line("#info");
        QCOMPARE(f.Console.Text(), QByteArray("\r\nI N F O\r\n=====================\r\n"
                                              "Aliase         : 2\r\nErgaenzungen   : 1\r\n"
                                              "Hervorhebungen : 0\r\nPfade          : 1\r\n"
                                              "Sitzungen      : 3\r\n"));
        // Refused, then confirmed: one message.
        f.Prompts.answers << IPrompts::Answer::No << IPrompts::Answer::Yes;
        f.Line("#killall|#killall");
        QCOMPARE(f.Messages(), QStringList{"I:Alle Aliase, Ergaenzungen, Hervorhebungen, Pfade "
                                           "und Sitzungen geloescht."});
        QVERIFY(f.Config.FAliases.isEmpty() && f.Config.FSessions.isEmpty());
        QCOMPARE(f.Host.Calls, (QStringList{"RefreshList"}));
        f.Line("#open h 1|#close|#open h 2");
        QCOMPARE(f.Connection.Closes, 1);
        QCOMPARE(f.Connection.HostName + ':' + f.Connection.PortName, QByteArray("h:2"));
        f.Line("hallo|#clear");
        QCOMPARE(f.Sink.FOutputLines, (QList<QByteArray>{""}));
    }

    void help()
    {
        TempProgramFolder folder;
        WriteMarkerHelp(folder);
        CommandFixture f;
        f.Sink.FLocalEcho = false; // help shows regardless
        f.Line("#? high|#help ?|#help alias|#help #alias");
        const auto shown = [](const QByteArray& lines) {
            return "\r\n--- Hilfe ---\r\n" + lines + "--- Ende Hilfe ---\r\n\r\n";
        };
        QCOMPARE(f.Console.Text(), shown("Abschnitt HIGHLIGHT\r\n") + shown("Abschnitt HELP\r\n") +
                                       shown("Abschnitt ALIAS\r\n") +
                                       "\r\nUnbekannter Befehl: #alias\r\n");
        // Underscores are blanks, a lone backslash an empty line, the next section not shown;
        // then a file without the section, and no file.
        WriteFile(folder.file("mudhelp.txt"),
                  "[MAP]\r\n1=#map_<schritt>\r\n2=\\\r\n3=__eingerueckt_\r\n[PATH]\r\n1=x\r\n");
        for (const char* lines : {"#map <schritt>\r\n\r\n  eingerueckt \r\n", "", ""}) {
            f.Reset();
            f.Line("#help map");
            QCOMPARE(f.Console.Text(), shown(lines));
            QVERIFY(!f.Sink.FHelpActive);
            if (*lines)
                WriteFile(folder.file("mudhelp.txt"), "[ALIAS]\r\n1=x\r\n");
            else
                QFile::remove(folder.file("mudhelp.txt"));
        }
    }

    // #help shows these sections; a missing or overlong one shows the player nothing useful.
    void shippedHelpCoversEveryCommand()
    {
        TIniFile ini(QStringLiteral(HELP_FILE));
        QVERIFY(ini.Load());
        for (int i = 0; i < kCommandCount; ++i) {
            if (i == ciHigh || i == ciUnhigh || i == ciQuestion) continue;
            const QList<QByteArray> values = ini.ReadSectionValues(CommandName(i));
            QVERIFY2(values.size() >= 3, CommandName(i).constData());
            for (const QByteArray& v : values)
                QVERIFY2(v.size() <= 80, v.constData());
        }
    }

    void logNameGoesIntoLogFolder_data() { AddTableRows(kLogNames); }

    void logNameGoesIntoLogFolder()
    {
        const LogNameRow& r = TableRow(kLogNames);
        TempProgramFolder folder;
        CommandFixture f;
        f.Line("#log " + QByteArray(r.typed));
        // The log, and nothing else, was created in the program folder, nothing above it.
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"log"});
        QCOMPARE(QDir(folder.file("log"))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{r.file});
    }

    void logAppendsOrOverwritesAndStops()
    {
        TempProgramFolder folder;
        QDir().mkpath(folder.file("log"));
        WriteFile(folder.file("log/test.log"), "ALT\r\n");
        CommandFixture f;
        f.Line("#log|#log /|#log a\\");
        QCOMPARE(f.Messages(), QStringList(3, "E:Keine Logfile-Datei angegeben!"));
        f.Line("#log test.txt");
        f.Line("#log anders.txt neu"); // any arguments: stops the open log
        QVERIFY(!f.Log.LogActive());
        QVERIFY(!QFile::exists(folder.file("log/anders.log")));
        QVERIFY(ReadFile(folder.file("log/test.log")).startsWith("ALT\r\n<LOG gestartet am "));
        f.Line("#log test x"); // a second argument: overwrite
        f.Line("#log");
        QVERIFY(ReadFile(folder.file("log/test.log")).startsWith("<LOG gestartet am "));
    }

    void dirListsMudFiles()
    {
        TempProgramFolder folder;
        QDir().mkpath(folder.file("conf"));
        for (const char* name : {"eins.mud", "ZWEI.MUD", "drei.txt", "conf/default.mud"})
            WriteFile(folder.file(name), "");
        CommandFixture f;
        f.Line("#dir");
        QCOMPARE(f.Messages(), QStringList{"I:Folgende Dateien wurden im Verzeichnis " +
                                           folder.path() + " gefunden:"});
        QList<QByteArray> listed = f.Sink.FOutputLines.mid(1);
        std::sort(listed.begin(), listed.end());
        QCOMPARE(listed, (QList<QByteArray>{"ZWEI.MUD", "eins.mud"}));
        // A folder typed without a trailing "/" gets one; a trailing "\\" counts as one.
        for (const QString& typed : {QString("conf"), folder.file("conf\\")}) {
            f.Reset();
            f.Line("#dir " + typed.toLatin1());
            QCOMPARE(f.Messages(), QStringList{"I:Folgende Dateien wurden im Verzeichnis " +
                                               (typed == "conf" ? "conf/" : typed) + " gefunden:"});
            QVERIFY(f.Console.Text().contains("\r\ndefault.mud\r\n"));
        }
        // A missing folder, and a folder without configurations.
        f.Reset();
        QDir().mkpath(folder.file("leer"));
        f.Line("#dir gibtsnicht|#dir leer");
        QCOMPARE(f.Messages(), QStringList(2, "E:Keine Konfigurations-Dateien gefunden!"));
    }

    void notiz()
    {
        TempProgramFolder folder;
        WriteFile(folder.file("mudnotiz.txt"), "alt\r\n");
        CommandFixture f;
        f.Line("#notiz Brot   kaufen");
        QCOMPARE(f.Messages(), QStringList{"I:Notiz hinzugefuegt."});
        const QString notes = QString::fromLatin1(ReadFile(folder.file("mudnotiz.txt")));
        const QRegularExpression dated("^alt\r\n\r\n\\d\\d\\.\\d\\d\\.\\d{4}( [0-9:]{8})?\r\n"
                                       "Brot kaufen\r\n$");
        QVERIFY2(dated.match(notes).hasMatch(), qPrintable(notes));
        // A folder in place of the notebook: its notes cannot be read, nothing is written;
        // then a program folder that cannot take the file (here: it does not exist).
        QVERIFY(QFile::remove(folder.file("mudnotiz.txt")) &&
                QDir(folder.path()).mkdir("mudnotiz.txt"));
        f.Reset();
        f.Line("#notiz x");
        ProgramFolder::setOverride(folder.file("fehlt"));
        f.Line("#notiz x");
        ProgramFolder::setOverride(folder.path());
        QCOMPARE(f.Prompts.log,
                 QStringList(2, "Error: Kann Eintrag in Notizbuch nicht vornehmen!"));
        QVERIFY(f.Messages().isEmpty()); // the failure is not reported as success
    }
};

QTEST_GUILESS_MAIN(TestCommandInterpreter)
#include "tst_commandinterpreter.moc"
