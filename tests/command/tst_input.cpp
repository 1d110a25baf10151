// The input line: Enter and its order, aliases, paths and sessions by name, the history,
// path recording, function keys, keypad and compass walking, and tab completion.

#include "CommandFixture.h"
#include "TableRows.h"
#include "command/CommandTable.h"

#include <QTest>

namespace
{

using Lines = QList<QByteArray>;

// One name in all three lists: aliases come first, then paths, then sessions. The lists
// hold a: alias "Ab", p: path "aB", s: session "ab"; "+" marks an opened session.
struct LookupRow {
    const char* name;
    bool aliasCase;
    const char *lists, *typed, *result;
};
const LookupRow kLookups[] = {
    {"case off: alias first", false, "aps", "AB", "alias\r\n"},
    {"case off: path before session", false, "ps", "ab", "pfad\r\n"},
    {"case off: session", false, "s", "AB", "+"},
    {"case on: path", true, "aps", "aB", "pfad\r\n"},
    {"case on: session", true, "aps", "ab", "+"},
    {"case on: none", true, "aps", "AB", "AB\r\n"},
};

// The value of alias "k", the line typed, the block sent.
struct AliasRow {
    const char *name, *value, *line, *sent;
};
const AliasRow kAliases[] = {
    {"extra word dropped without tail", "kill %1", "k orc troll", "kill orc"},
    {"tail then extra words", "give %1 to %2 now", "k sword bob extra more",
     "give sword to bob now extra more"},
    {"no placeholder appends arguments", "sage", "k hello   there", "sage hello there"},
    {"descending placeholders stay literal", "%2 %1", "k a b", "%2 a"},
    {"repeated placeholder", "%1 und %1!", "k x", "x und x!"},
    {"placeholder without argument stays", "sag %3", "k hallo", "sag %3 hallo"},
    {"percent at end of value", "zahle 5%", "k gold", "zahle 5% gold"},
    {"percent at end after placeholder", "gib %1 %", "k x y", "gib x % y"},
    {"bar and semicolon reach the MUD", "sag %1|n;s", "k hi", "sag hi|n;s"},
};

// Slots 1 "eins", 2 "n|o", 4, 10 "zehn", 12 "s" and 20 hold texts.
struct FunctionKeyRow {
    const char* name;
    int key;
    Qt::KeyboardModifiers held;
    bool consumed;
    const char* sent;
};
const FunctionKeyRow kFunctionKeys[] = {
    {"F2", Qt::Key_F2, {}, true, "n\r\no\r\n"},
    {"Shift adds ten", Qt::Key_F2, Qt::ShiftModifier, true, "s\r\n"},
    {"Ctrl+Shift is the plain key", Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier, true,
     "n\r\no\r\n"},
    {"F1 on the keypad", Qt::Key_F1, Qt::KeypadModifier, true, "eins\r\n"},
    {"F10", Qt::Key_F10, {}, true, "zehn\r\n"},
    {"empty: only consumed", Qt::Key_F3, {}, true, ""},
    {"Ctrl belongs to the window", Qt::Key_F2, Qt::ControlModifier, false, ""},
    {"Alt belongs to the window", Qt::Key_F4, Qt::AltModifier, false, ""},
    {"F11 is no function key", Qt::Key_F11, {}, false, ""},
};

// Completion words and recent output lines, each joined by "|"; "^" marks the caret
// (else at the end); an empty result: the line stays as it was; the words offered when
// more than one fits; lines of other output after them.
struct CompletionRow {
    const char *name, *tabs, *output;
    bool tabCase;
    const char *typed, *completed, *offered = "";
    int later = 0;
};
const CompletionRow kCompletions[] = {
    {"case-sensitive finds nothing", "Schwert|Schild", "", true, "nimm schw", ""},
    {"case-insensitive", "Schwert|Schild", "", false, "nimm schw", "nimm Schwert"},
    {"blanks collapse", "Schwert|Schild", "", true, "sag  hallo   Schw", "sag hallo Schwert"},
    {"text after caret kept", "Schwert|Schild", "", true, "sag Schw^ert x", "sag Schwertert x"},
    {"blank before caret", "Schwert|Schild", "", true, "nimm ", ""},
    {"letters, digits and dash kept", "", "[Aaz-09Z]", true, "[A", "Aaz-09Z"},
    {"word list wins over output", "Ork", "Orkan Orks", true, "Or", "Ork"},
    {"same output word twice is one", "", "Ork Ork|ork", false, "or", "Ork"},
    {"ambiguous", "Schwert|Schild|Axt", "", true, "nimm Sch", "", "Schwert|Schild"},
    {"output words made equal are offered twice", "", "Ork, Ork.", true, "O", "", "Ork|Ork"},
    {"25 lines of output searched", "", "Drache", true, "Dr", "Drache", "", 24},
    {"not 26", "", "Drache", true, "Dr", "", "", 25},
};

} // namespace

class TestInput : public QObject
{
    Q_OBJECT
private slots:
    void enterSplitsAtBarsInOrderAndKeepsTheLine()
    {
        CommandFixture f;
        f.Enter("  n|o|s  ");
        QCOMPARE(f.SentLines(), (Lines{"n", "o", "s"}));
        QCOMPARE(f.Commands.Input().FHistory, (TStringList{"  n|o|s  "}));
        QVERIFY(f.Host.AllSelected);
        QCOMPARE(f.Host.Text, QByteArray("  n|o|s  "));
        f.Reset();
        f.Enter(""); // one empty line, no history entry
        QCOMPARE(f.Connection.Sent, QByteArray("\r\n"));
        QCOMPARE(f.Commands.Input().FHistory.size(), 1);
        f.Reset();
        f.Enter("n| |s"); // a piece of blanks is an empty line
        QCOMPARE(f.SentLines(), (Lines{"n", "", "s"}));
        f.Config.FClearInput = true;
        f.Enter("schau");
        QCOMPARE(f.Host.Text, QByteArray());
        QVERIFY(!f.Host.AllSelected);
        // A long line of bars: 127 commands and the final empty piece; only bars: one line.
        f.Reset();
        f.Enter(QByteArray("n|").repeated(127) + '|');
        QCOMPARE(f.SentLines(), Lines(127, "n") << "");
        f.Reset();
        f.Enter(QByteArray(255, '|'));
        QCOMPARE(f.SentLines(), (Lines{""}));
        // A client command between two sends: its message sits between the echoes.
        f.Reset();
        f.Sink.FOutputLines.clear();
        f.Enter("n|#MaRk|s");
        QCOMPARE(f.SentLines(), (Lines{"n", "s"}));
        const QByteArray text = f.Console.Text();
        QVERIFY(text.indexOf("\r\nn\r\n") < text.indexOf("Pfad-Aufzeichnung gestartet."));
        QVERIFY(text.indexOf("Pfad-Aufzeichnung gestartet.") < text.indexOf("\r\ns\r\n"));
        // Plain text opens a new output line for the answer; commands are not echoed.
        QCOMPARE(f.Sink.FOutputLines, (Lines{"n", "", "s", ""}));
    }

    void lookupOrder_data() { AddTableRows(kLookups); }

    void lookupOrder()
    {
        const LookupRow& r = TableRow(kLookups);
        CommandFixture f;
        f.Config.FAliasCase = r.aliasCase;
        if (strchr(r.lists, 'a')) f.Config.SetAlias("Ab", "alias");
        if (strchr(r.lists, 'p')) f.Config.SetPath("aB", "pfad;");
        if (strchr(r.lists, 's')) f.Config.SetSession("ab", "h 1");
        f.Prompts.answers << IPrompts::Answer::Yes;
        f.Line(r.typed);
        QCOMPARE(f.Connection.Sent + (f.Connection.Connects ? "+" : ""), QByteArray(r.result));
    }

    void expandAlias_data() { AddTableRows(kAliases); }

    void expandAlias()
    {
        const AliasRow& r = TableRow(kAliases);
        CommandFixture f;
        f.Config.SetAlias("k", r.value);
        f.Line(r.line);
        QCOMPARE(f.Connection.Blocks, (Lines{r.sent + QByteArray("\r\n")}));
    }

    void aliasIsSentAsOneBoundedBlockAndEchoed()
    {
        CommandFixture f;
        f.Config.SetAlias("K", "kill %1");
        f.Config.FAliasCase = false;
        f.Line("k orc");
        QCOMPARE(f.Console.Text(), QByteArray("\r\nkill orc\r\n\r\n"));
        QCOMPARE(f.Sink.FOutputLines, (Lines{"", "kill orc\r\n"}));
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
        // A line is written once it is longer than the width, before the next character.
        f.Reset();
        f.Sink.FOutputLines.clear();
        f.Console.Columns = 4;
        f.Config.SetAlias("w", "abcdefghijk");
        f.Line("w");
        QCOMPARE(f.Console.Text(), QByteArray("\r\nabcde\r\nfghij\r\nk\r\n"));
        QCOMPARE(f.Sink.FOutputLines, (Lines{"abcde", "fghij", "k"}));
        // Each argument is cut to 255, the whole to the buffer less CR LF.
        f.Connection.Connected = true;
        f.Config.SetAlias("b", "%1%2%3%4%5%6%7%8%9");
        const TStringList words = TStringList{"b"} + TStringList(9, QByteArray(300, 'x'));
        f.Line("b " + JoinWords(words, 1));
        QCOMPARE(f.Connection.Blocks, (Lines{QByteArray(2046, 'x') + "\r\n"}));
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
        QCOMPARE(f.SentLines(), (Lines{"geheim|login wort", "#nix"}));
        QVERIFY(f.Console.Cells.isEmpty());
        const QByteArray history = f.Sink.FOutputLines.join('|');
        QVERIFY(!history.contains("geheim") && !history.contains("wort"));
        f.Enter("#close"); // a client command still works
        QCOMPARE(f.Connection.Sent.count('\n'), 2);
        QCOMPARE(f.Host.Text, QByteArray());
        QCOMPARE(f.Commands.Input().FHistory, (TStringList{"n"}));
    }

    void walkPathAndOpenSession()
    {
        CommandFixture f;
        f.Config.SetPath("weg", "n;;o;rest");
        f.Line("weg egal");
        QCOMPARE(f.Connection.Blocks, (Lines{"n\r\n", "\r\n", "o\r\n"}));
        QCOMPARE(f.Console.Text(), QByteArray("\r\nn;;o;rest\r\n"));
        f.Config.SetSession("mg", "mg.mud.de 4711");
        f.Prompts.answers << IPrompts::Answer::No << IPrompts::Answer::Yes;
        f.Line("mg");
        QCOMPARE(f.Prompts.log,
                 (QStringList{"Confirm2: Es besteht eine Online-Verbindung. Verbindung beenden?"}));
        QCOMPARE(f.Connection.Connects + f.Connection.Closes, 0);
        f.Line("mg");
        QCOMPARE(f.Connection.Closes, 1);
        QCOMPARE(f.Connection.HostName + ':' + f.Connection.PortName, QByteArray("mg.mud.de:4711"));
        // Not connected: no question, and a path sends nothing.
        f.Reset();
        f.Line("mg x|weg");
        QVERIFY(f.Prompts.log.isEmpty() && f.Connection.Sent.isEmpty());
        QCOMPARE(f.Connection.Connects, 2);
    }

    void history()
    {
        CommandFixture f;
        TInputProcessor& in = f.Commands.Input();
        const auto key = [&](int k) { return f.Commands.KeyPress(k, Qt::NoModifier, {}, true); };
        QVERIFY(key(Qt::Key_Up)); // empty history: consumed, nothing shown
        QCOMPARE(f.Host.Text, QByteArray());
        for (const char* line : {"a", "a", "b", "a"})
            in.AddToHistory(line);
        QCOMPARE(in.FHistory, (TStringList{"a", "b", "a"}));
        QVERIFY(f.Host.Calls.isEmpty());
        QByteArray shown; // the line after each key, "-" for an empty one, and the position
        for (const char k : QByteArray("uuuudddd")) {
            key(k == 'u' ? Qt::Key_Up : Qt::Key_Down);
            shown += (f.Host.Text.isEmpty() ? "-" : f.Host.Text) + char('0' + in.FHistoryPos);
        }
        QCOMPARE(shown, QByteArray("a2b1a0a0b1a2-3-3"));
        QVERIFY(!in.MudInputKeyDown(Qt::Key_Left));
        f.Host.Lists = 3; // the lists panel shows the history
        for (int i = 0; i < 100; ++i)
            in.AddToHistory("zeile " + QByteArray::number(i));
        QCOMPARE(in.FHistory.size(), 30);
        QCOMPARE(in.FHistory.first(), QByteArray("zeile 70"));
        QCOMPARE(f.Host.Calls.size(), 100);
    }

    void pathNameDialogAndRecordingBound()
    {
        CommandFixture f;
        f.Commands.DefinePath(); // nothing recorded: no dialog
        QVERIFY(f.Host.Calls.isEmpty());
        f.Line("#mark|#map n");
        // Cancelled, refused names, then stored as typed: nothing reaches the MUD.
        f.Host.PathNames << "" << "heim|quit" << "mein heim" << "heim";
        for (int i = 0; i < 4; ++i)
            f.Commands.DefinePath();
        QCOMPARE(f.Config.FPaths, (TStringList{"heim/n;"}));
        QCOMPARE(f.Host.Calls.count("AskPathName n;"), 4);
        const QByteArray refused = "\" darf keine Leerzeichen und kein \"|\" enthalten!";
        QCOMPARE(f.Messages().mid(1), (QStringList{"E:Kuerzel \"heim|quit" + refused,
                                                   "E:Kuerzel \"mein heim" + refused,
                                                   "I:Pfad \"heim\" eingerichtet."}));
        QVERIFY(f.Connection.Sent.isEmpty());
        // The recorded path is bounded by 255 characters.
        TPathRecorder& r = f.Commands.Recorder();
        f.Line("#mark|#automap");
        r.FRecordedPath = QByteArray(250, 'x');
        f.Reset();
        f.Line("abcde|f");
        QCOMPARE(r.FRecordedPath, QByteArray(250, 'x') + "abcde;");
        QCOMPARE(f.Messages(), (QStringList{"E:Pfad kann keine weiteren Zeichen aufnehmen!"}));
        QCOMPARE(f.SentLines(), (Lines{"abcde", "f"}));
        f.Reset();
        r.FRecordedPath = QByteArray(250, 'x');
        f.Line("#map abcdef|#map abcde");
        QCOMPARE(f.Messages(),
                 (QStringList{"E:Pfad zu lang, bitte mit \"#path [kuerzel]\" sichern"}));
        QCOMPARE(r.FRecordedPath.size(), 256);
    }

    void functionKeys_data() { AddTableRows(kFunctionKeys); }

    void functionKeys()
    {
        const FunctionKeyRow& r = TableRow(kFunctionKeys);
        CommandFixture f;
        for (const auto& [slot, text] : {std::pair<int, QByteArray>{1, "eins"}, {2, "n|o"},
                                         {4, "vier"}, {10, "zehn"}, {12, "s"}, {20, "zwanzig"}})
            f.Config.SetFuncKey(slot, text);
        QCOMPARE(f.Commands.Walker().FormKeyDown(r.key, r.held), r.consumed);
        QCOMPARE(f.Connection.Sent, QByteArray(r.sent));
    }

    void keypadAndKompassSlots()
    {
        // Without Num Lock, the digits arrive as cursor keys.
        const std::pair<int, int> keys[] = {
            {Qt::Key_0, 1},        {Qt::Key_Asterisk, 11}, {Qt::Key_Plus, 12},
            {Qt::Key_Minus, 13},   {Qt::Key_Comma, 14},    {Qt::Key_Period, 14},
            {Qt::Key_Slash, 15},   {Qt::Key_Insert, 1},    {Qt::Key_End, 2},
            {Qt::Key_Down, 3},     {Qt::Key_PageDown, 4},  {Qt::Key_Left, 5},
            {Qt::Key_Clear, 6},    {Qt::Key_Right, 7},     {Qt::Key_Home, 8},
            {Qt::Key_Up, 9},       {Qt::Key_PageUp, 10},   {Qt::Key_Delete, 14},
            {Qt::Key_Enter, 0}};
        for (const auto& [key, slot] : keys)
            QCOMPARE(TKeypadWalker::KeypadSlot(key, Qt::KeypadModifier), slot);
        // Border lines belong to no slot; where areas overlap the lower slot wins.
        const int areas[][3] = {{57, 17, 9}, {41, 17, 0},  {73, 17, 0}, {55, 50, 6},
                                {44, 80, 2}, {57, 107, 3}, {80, 30, 10}};
        for (const auto& [x, y, slot] : areas)
            QCOMPARE(TKeypadWalker::KompassSlot(x, y), slot);
    }

    void keypadWalking()
    {
        CommandFixture f;
        f.Config.FNumPadsList.ClearLayouts();
        f.Config.FNumPadsList.AddLayout("Laufen");
        TNumPadLayout& pad = f.Config.FNumPadsList.Items(0);
        pad.Keys[9] = "n";
        pad.Keys[6] = "schau";
        pad.Keys[11] = "n|o";
        f.Commands.Walker().SetActiveNumPad(0);
        QVERIFY(f.Commands.KeyPress(Qt::Key_8, Qt::KeypadModifier, "8", true));
        QCOMPARE(f.SentLines(), (Lines{"n"}));
        QCOMPARE(f.Host.Text, QByteArray()); // the digit was swallowed
        QVERIFY(!f.Commands.Input().FSkipKeyPress);
        // Several commands in one slot; an empty slot is consumed and sends nothing.
        f.Reset();
        f.Commands.KeyPress(Qt::Key_Asterisk, Qt::KeypadModifier, "*", true);
        f.Commands.KeyPress(Qt::Key_1, Qt::KeypadModifier, "1", true);
        QCOMPARE(f.SentLines(), (Lines{"n", "o"}));
        // Focus elsewhere: the flag waits for the next key, which clears it when not keypad.
        QVERIFY(f.Commands.KeyPress(Qt::Key_8, Qt::KeypadModifier, "8", false));
        QVERIFY(f.Commands.Input().FSkipKeyPress);
        QVERIFY(!f.Commands.Walker().FormKeyDown(Qt::Key_A, Qt::NoModifier));
        QVERIFY(!f.Commands.Input().FSkipKeyPress);
        // The flag swallows exactly one character.
        f.Commands.Input().FSkipKeyPress = true;
        QVERIFY(f.Commands.Input().MudInputKeyPress('\r'));
        QVERIFY(!f.Commands.Input().MudInputKeyPress('x'));
        // The compass: an empty slot sends an empty line, a border line nothing.
        f.Reset();
        for (const auto& [x, y] : {std::pair{57, 17}, {20, 25}, {41, 17}, {2, 2}})
            f.Commands.Walker().KompassMouseDown(x, y);
        QCOMPARE(f.SentLines(), (Lines{"n", ""}));
        // No layout, or an index left over from a larger configuration: keys are typed.
        f.Reset();
        f.Commands.Walker().SetActiveNumPad(-1);
        QVERIFY(!f.Commands.KeyPress(Qt::Key_8, Qt::KeypadModifier, "8", true));
        f.Commands.Walker().SetActiveNumPad(5);
        QVERIFY(!f.Commands.KeyPress(Qt::Key_8, Qt::KeypadModifier, "8", true));
        f.Commands.Walker().KompassMouseDown(57, 17);
        QVERIFY(f.Connection.Sent.isEmpty() && f.Console.Cells.isEmpty());
        // The fill option types the slot after a blank, the compass without one.
        pad.Option = 1;
        f.Commands.Walker().SetActiveNumPad(0);
        f.Host.Text = "geh";
        QVERIFY(f.Commands.KeyPress(Qt::Key_8, Qt::KeypadModifier, "8", true));
        f.Commands.KeyPress(Qt::Key_5, Qt::KeypadModifier, "5", true);
        f.Commands.Walker().KompassMouseDown(55, 50);
        QCOMPARE(f.Host.Text, QByteArray("geh n schauschau"));
        QVERIFY(f.Connection.Sent.isEmpty());
    }

    void completion_data() { AddTableRows(kCompletions); }

    void completion()
    {
        const CompletionRow& r = TableRow(kCompletions);
        CommandFixture f;
        f.Config.FTabs = *r.tabs ? QByteArray(r.tabs).split('|') : TStringList();
        f.Config.FTabCase = r.tabCase;
        f.Sink.FOutputLines = QByteArray(r.output).split('|') + Lines(r.later, "nichts");
        const QByteArray typed(r.typed), completed(r.completed);
        f.Host.Text = QByteArray(typed).replace("^", "");
        f.Host.Cursor = typed.contains('^') ? int(typed.indexOf('^')) : int(typed.size());
        f.Commands.Completer().MudInputTabKeyPress(Qt::NoModifier);
        QCOMPARE(f.Host.Text, completed.isEmpty() ? QByteArray(typed).replace("^", "") : completed);
        QCOMPARE(f.Host.Calls, completed.isEmpty() ? QStringList() : QStringList{"FocusInput"});
        QByteArray offered = "\r\nErgaenzung nicht eindeutig. Moegliche Werte:\r\n";
        for (const QByteArray& word : QByteArray(r.offered).split('|'))
            offered += "--> " + word + "\r\n";
        QCOMPARE(f.Console.Text(), *r.offered ? offered : QByteArray());
    }

    void tabKeyAndAddLastWord()
    {
        CommandFixture f;
        f.Config.FTabs = {"Schwert"};
        f.Commands.Completer().MudInputTabKeyPress(Qt::NoModifier); // empty line
        QVERIFY(f.Host.Calls.isEmpty());
        f.Host.SetInputText("Schw");
        f.Commands.Completer().MudInputTabKeyPress(Qt::ControlModifier);
        QCOMPARE(f.Host.Calls, QStringList{"FocusNext"});
        QCOMPARE(f.Host.Text, QByteArray("Schw"));
        f.Commands.Completer().MudInputTabKeyPress(Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.Host.Text, QByteArray("Schwert"));
        f.Reset();
        f.Config.FTabs.clear();
        f.Host.Text = " toete  Troll ";
        f.Commands.Completer().AddLastWord();
        f.Commands.Completer().AddLastWord();
        QCOMPARE(f.Messages(), (QStringList{"I:Tab-Ergaenzung \"Troll\" hinzugefuegt.",
                                            "E:Tab-Ergaenzung \"Troll\" bereits vorhanden!"}));
        QCOMPARE(f.Config.FTabs, TStringList{"Troll"});
        QCOMPARE(f.Host.Calls, (QStringList{"FocusMain", "FocusMain"}));
        f.Host.Text = "   ";
        f.Commands.Completer().AddLastWord();
        QCOMPARE(f.Config.FTabs, TStringList{"Troll"});
    }
};

QTEST_GUILESS_MAIN(TestInput)
#include "tst_input.moc"
