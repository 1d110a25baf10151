// Path recording and walking: the recording states and lights, #map, #path, automatic
// recording with its bound, DefinePath, function keys, keypad walking and the compass.

#include "CommandFixture.h"

#include <QTest>

namespace
{

void UseLayout(CommandFixture& f, int option)
{
    f.Config.FNumPadsList.ClearLayouts();
    f.Config.FNumPadsList.AddLayout("Laufen");
    TNumPadLayout& pad = f.Config.FNumPadsList.Items(0);
    pad.Option = option;
    pad.Keys[9] = "n";
    pad.Keys[6] = "schau";
    pad.Keys[11] = "n|o";
    f.Commands.Walker().SetActiveNumPad(0);
}

} // namespace

class TestPathRecorder : public QObject
{
    Q_OBJECT
private slots:
    void recordAutomaticallyStoreAndReplay()
    {
        CommandFixture f;
        f.Host.Lists = 1;
        f.Config.SetAlias("n", "norden"); // recorded and sent literally, not expanded
        f.Line("#mark|#automap|n|n|o");
        QCOMPARE(f.Commands.Recorder().FRecordedPath, QByteArray("n;n;o;"));
        QCOMPARE(f.SentLines(), (QList<QByteArray>{"n", "n", "o"}));
        QVERIFY(f.Host.Recording && f.Host.AutoMap);
        f.Line("#showpath|#path weg");
        QCOMPARE(f.Messages(),
                 (QStringList{"I:Pfad-Aufzeichnung gestartet.", "I:AUTOMAP eingeschaltet.",
                              "I:Aktueller Pfad: n;n;o;", "I:Pfad \"weg\" eingerichtet."}));
        QCOMPARE(f.Config.FPaths, (TStringList{"weg/n;n;o;"}));
        QVERIFY(!f.Host.Recording && !f.Host.AutoMap);
        QVERIFY(f.Commands.Recorder().FRecordedPath.isEmpty());
        QCOMPARE(f.Host.Calls, (QStringList{"Lights M-", "Lights MA", "RefreshList", "Lights --"}));
        f.Reset();
        f.Line("weg");
        QCOMPARE(f.SentLines(), (QList<QByteArray>{"n", "n", "o"}));
    }

    void automapNeedsRecording()
    {
        CommandFixture f;
        f.Line("#map o|#automap|#mark|#automap|#automap|n|#map o|#map nw");
        QCOMPARE(f.Messages(),
                 (QStringList{"E:Aufzeichnung von Pfad nicht gestartet, mit #mark starten.",
                              "I:Pfad-Aufzeichnung gestartet.", "I:AUTOMAP eingeschaltet.",
                              "I:AUTOMAP ausgeschaltet."}));
        // #map records without sending, and only while recording.
        QCOMPARE(f.Commands.Recorder().FRecordedPath, QByteArray("o;nw;"));
        QCOMPARE(f.SentLines(), (QList<QByteArray>{"n"}));
        QCOMPARE(f.Host.Calls, (QStringList{"Lights M-", "Lights MA", "Lights M-"}));
    }

    void recordingIsBoundedBy255()
    {
        CommandFixture f;
        TPathRecorder& r = f.Commands.Recorder();
        f.Line("#mark|#automap");
        r.FRecordedPath = QByteArray(250, 'x');
        f.Reset();
        f.Line("abcde|f");
        QCOMPARE(r.FRecordedPath.size(), 256);
        QVERIFY(r.FRecordedPath.endsWith("abcde;"));
        QCOMPARE(f.Messages(), (QStringList{"E:Pfad kann keine weiteren Zeichen aufnehmen!"}));
        QCOMPARE(f.SentLines(), (QList<QByteArray>{"abcde", "f"}));
        f.Reset();
        r.FRecordedPath = QByteArray(250, 'x');
        f.Line("#map abcdef|#map abcde");
        QCOMPARE(f.Messages(),
                 (QStringList{"E:Pfad zu lang, bitte mit \"#path [kuerzel]\" sichern"}));
        QCOMPARE(r.FRecordedPath.size(), 256);
    }

    void pathErrorsKeepTheRecordingAndMarkCancels()
    {
        CommandFixture f;
        f.Config.SetAlias("k", "x");
        f.Line("#path weg|#mark|#path weg|#map n|#path k|#path a/b|#showpath|#automap|#mark|"
               "#showpath");
        QCOMPARE(
            f.Messages(),
            (QStringList{"E:Fehler: Beginn von Pfadaufzeichnung nicht gesetzt.",
                         "I:Pfad-Aufzeichnung gestartet.", "E:Fehler: Kein Pfad aufgezeichnet.",
                         "E:Kuerzel \"k\" bereits belegt.",
                         "E:Kuerzel \"a/b\" darf kein \"/\" enthalten!", "I:Aktueller Pfad: n;",
                         "I:AUTOMAP eingeschaltet.", "I:Pfad-Aufzeichnung abgebrochen.",
                         "I:Aktueller Pfad: "}));
        QVERIFY(f.Config.FPaths.isEmpty());
        QVERIFY(!f.Commands.Recorder().FRecording && !f.Commands.Recorder().FAutoMap);
        QCOMPARE(f.Host.Calls.last(), QString("Lights --"));
        // Automatic recording is off again after a new start.
        f.Line("#mark|n");
        QCOMPARE(f.Commands.Recorder().FRecordedPath, QByteArray());
    }

    void definePath()
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
        QCOMPARE(f.Messages().mid(1),
                 (QStringList{"E:Kuerzel \"heim|quit\" darf keine Leerzeichen und kein \"|\" enthalten!",
                              "E:Kuerzel \"mein heim\" darf keine Leerzeichen und kein \"|\" enthalten!",
                              "I:Pfad \"heim\" eingerichtet."}));
        QVERIFY(f.Connection.Sent.isEmpty());
    }

    void functionKeys()
    {
        CommandFixture f;
        f.Config.SetFuncKey(2, "n|o");
        f.Config.SetFuncKey(12, "s");
        f.Config.SetFuncKey(10, "zehn");
        TKeypadWalker& w = f.Commands.Walker();
        QVERIFY(w.FormKeyDown(Qt::Key_F2, Qt::NoModifier));
        QVERIFY(w.FormKeyDown(Qt::Key_F2, Qt::ShiftModifier)); // Shift adds ten
        QVERIFY(w.FormKeyDown(Qt::Key_F3, Qt::NoModifier));    // empty: only consumed
        QVERIFY(!w.FormKeyDown(Qt::Key_F2, Qt::ControlModifier));
        QVERIFY(!w.FormKeyDown(Qt::Key_F11, Qt::NoModifier));
        QCOMPARE(f.SentLines(), (QList<QByteArray>{"n", "o", "s"}));
    }

    void keypadAndKompassSlots()
    {
        // Without Num Lock, 8 and the decimal key arrive as cursor keys.
        const std::pair<int, int> keys[] = {{Qt::Key_0, 1},       {Qt::Key_Asterisk, 11},
                                            {Qt::Key_Comma, 14},  {Qt::Key_Up, 9},
                                            {Qt::Key_Delete, 14}, {Qt::Key_Enter, 0}};
        for (const auto& [key, slot] : keys) {
            QCOMPARE(TKeypadWalker::KeypadSlot(key, Qt::KeypadModifier), slot);
            QCOMPARE(TKeypadWalker::KeypadSlot(key, Qt::NoModifier), 0);
        }
        // Border lines belong to no slot; where areas overlap the lower slot wins.
        const int areas[][3] = {{57, 17, 9}, {41, 17, 0},  {73, 17, 0}, {55, 50, 6},
                                {44, 80, 2}, {57, 107, 3}, {80, 30, 10}};
        for (const auto& [x, y, slot] : areas)
            QCOMPARE(TKeypadWalker::KompassSlot(x, y), slot);
    }

    void keypadWalking()
    {
        CommandFixture f;
        UseLayout(f, 0);
        QVERIFY(f.Commands.KeyPress(Qt::Key_8, Qt::KeypadModifier, "8", true));
        QCOMPARE(f.SentLines(), (QList<QByteArray>{"n"}));
        QCOMPARE(f.Host.Text, QByteArray()); // the digit was swallowed
        QVERIFY(!f.Commands.Input().FSkipKeyPress);
        // Several commands in one slot; an empty slot is consumed and sends nothing.
        f.Reset();
        f.Commands.KeyPress(Qt::Key_Asterisk, Qt::KeypadModifier, "*", true);
        f.Commands.KeyPress(Qt::Key_1, Qt::KeypadModifier, "1", true);
        QCOMPARE(f.SentLines(), (QList<QByteArray>{"n", "o"}));
        // Focus elsewhere: the flag waits for the next key, which clears it when not keypad.
        QVERIFY(f.Commands.KeyPress(Qt::Key_8, Qt::KeypadModifier, "8", false));
        QVERIFY(f.Commands.Input().FSkipKeyPress);
        QVERIFY(!f.Commands.Walker().FormKeyDown(Qt::Key_A, Qt::NoModifier));
        QVERIFY(!f.Commands.Input().FSkipKeyPress);
        // The flag swallows exactly one character.
        f.Commands.Input().FSkipKeyPress = true;
        QVERIFY(f.Commands.Input().MudInputKeyPress('\r'));
        QVERIFY(!f.Commands.Input().MudInputKeyPress('x'));
    }

    void keypadOptionFillsInputLine()
    {
        CommandFixture f;
        UseLayout(f, 1);
        f.Host.Text = "geh";
        QVERIFY(f.Commands.KeyPress(Qt::Key_8, Qt::KeypadModifier, "8", true));
        QCOMPARE(f.Host.Text, QByteArray("geh n"));
        f.Commands.KeyPress(Qt::Key_5, Qt::KeypadModifier, "5", true);
        QCOMPARE(f.Host.Text, QByteArray("geh n schau"));
        QVERIFY(f.Connection.Sent.isEmpty());
        // The compass appends without a blank.
        f.Commands.Walker().KompassMouseDown(55, 50);
        QCOMPARE(f.Host.Text, QByteArray("geh n schauschau"));
    }

    void kompassClicksAndMissingLayout()
    {
        CommandFixture f;
        UseLayout(f, 0);
        f.Commands.Walker().KompassMouseDown(57, 17);
        f.Commands.Walker().KompassMouseDown(20, 25); // an empty slot sends an empty line
        QCOMPARE(f.SentLines(), (QList<QByteArray>{"n", ""}));
        f.Reset();
        f.Commands.Walker().KompassMouseDown(41, 17); // on a border line: no slot
        f.Commands.Walker().KompassMouseDown(2, 2);
        // No layout, or an index left over from a larger configuration: keys are typed.
        f.Commands.Walker().SetActiveNumPad(-1);
        QVERIFY(!f.Commands.KeyPress(Qt::Key_8, Qt::KeypadModifier, "8", true));
        f.Commands.Walker().SetActiveNumPad(5);
        QVERIFY(!f.Commands.KeyPress(Qt::Key_8, Qt::KeypadModifier, "8", true));
        f.Commands.Walker().KompassMouseDown(57, 17);
        QVERIFY(f.Connection.Sent.isEmpty());
        QVERIFY(f.Console.Cells.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPathRecorder)
#include "tst_pathrecorder.moc"
