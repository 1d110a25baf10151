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
    void recordAutomaticallyStoreAndReplay();
    void markTogglesAndCancels();
    void automapNeedsRecording();
    void mapAppendsWithoutSending();
    void recordingIsBoundedBy255();
    void pathErrors();
    void definePath();
    void functionKeys_data();
    void functionKeys();
    void keypadSlots_data();
    void keypadSlots();
    void keypadWalking();
    void keypadWithoutLayoutTypes();
    void keypadOptionFillsInputLine();
    void kompassAreas_data();
    void kompassAreas();
    void kompassClicks();
};

void TestPathRecorder::recordAutomaticallyStoreAndReplay()
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

void TestPathRecorder::markTogglesAndCancels()
{
    CommandFixture f;
    f.Line("#mark|#map n|#automap|#mark|#showpath");
    QCOMPARE(f.Messages(),
             (QStringList{"I:Pfad-Aufzeichnung gestartet.", "I:AUTOMAP eingeschaltet.",
                          "I:Pfad-Aufzeichnung abgebrochen.", "I:Aktueller Pfad: "}));
    QVERIFY(!f.Commands.Recorder().FRecording);
    QVERIFY(!f.Commands.Recorder().FAutoMap);
    QCOMPARE(f.Host.Calls.last(), QString("Lights --"));
    // Automatic recording is off again after a new start.
    f.Reset();
    f.Line("#mark|n");
    QCOMPARE(f.Commands.Recorder().FRecordedPath, QByteArray());
}

void TestPathRecorder::automapNeedsRecording()
{
    CommandFixture f;
    f.Line("#automap|#mark|#automap|#automap|n");
    QCOMPARE(f.Messages(),
             (QStringList{"E:Aufzeichnung von Pfad nicht gestartet, mit #mark starten.",
                          "I:Pfad-Aufzeichnung gestartet.", "I:AUTOMAP eingeschaltet.",
                          "I:AUTOMAP ausgeschaltet."}));
    QCOMPARE(f.Commands.Recorder().FRecordedPath, QByteArray());
    QCOMPARE(f.Host.Calls, (QStringList{"Lights M-", "Lights MA", "Lights M-"}));
}

void TestPathRecorder::mapAppendsWithoutSending()
{
    CommandFixture f;
    f.Line("#map o");
    QVERIFY(f.Console.Cells.isEmpty());
    f.Line("#mark|#map o|#map nw");
    QCOMPARE(f.Commands.Recorder().FRecordedPath, QByteArray("o;nw;"));
    QVERIFY(f.Connection.Sent.isEmpty());
}

void TestPathRecorder::recordingIsBoundedBy255()
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
    QCOMPARE(f.Messages(), (QStringList{"E:Pfad zu lang, bitte mit \"#path [kuerzel]\" sichern"}));
    QCOMPARE(r.FRecordedPath.size(), 256);
}

void TestPathRecorder::pathErrors()
{
    CommandFixture f;
    f.Config.SetAlias("k", "x");
    f.Line("#path weg|#mark|#path weg|#map n|#path k|#path a/b");
    QCOMPARE(f.Messages(),
             (QStringList{"E:Fehler: Beginn von Pfadaufzeichnung nicht gesetzt.",
                          "I:Pfad-Aufzeichnung gestartet.", "E:Fehler: Kein Pfad aufgezeichnet.",
                          "E:Kuerzel \"k\" bereits belegt.",
                          "E:Kuerzel \"a/b\" darf kein \"/\" enthalten!"}));
    QVERIFY(f.Commands.Recorder().FRecording);
    QCOMPARE(f.Commands.Recorder().FRecordedPath, QByteArray("n;"));
    QVERIFY(f.Config.FPaths.isEmpty());
}

void TestPathRecorder::definePath()
{
    CommandFixture f;
    f.Commands.DefinePath(); // nothing recorded: no dialog
    QVERIFY(f.Host.Calls.isEmpty());
    f.Line("#mark|#map n");
    f.Host.PathNames << ""
                     << "heim";
    f.Commands.DefinePath();
    QVERIFY(f.Config.FPaths.isEmpty());
    f.Commands.DefinePath();
    QCOMPARE(f.Config.FPaths, (TStringList{"heim/n;"}));
    QCOMPARE(f.Host.Calls.count("AskPathName n;"), 2);
}

void TestPathRecorder::functionKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("consumed");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("F2") << int(Qt::Key_F2) << 0 << true << QByteArray("n\r\no\r\n");
    QTest::newRow("Shift+F2") << int(Qt::Key_F2) << int(Qt::ShiftModifier) << true
                              << QByteArray("s\r\n");
    QTest::newRow("Ctrl+F2") << int(Qt::Key_F2) << int(Qt::ControlModifier) << false
                             << QByteArray();
    QTest::newRow("Alt+F4") << int(Qt::Key_F4) << int(Qt::AltModifier) << false << QByteArray();
    QTest::newRow("empty F3 only consumed") << int(Qt::Key_F3) << 0 << true << QByteArray();
    QTest::newRow("F11 is no bound key") << int(Qt::Key_F11) << 0 << false << QByteArray();
}

void TestPathRecorder::functionKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, consumed);
    QFETCH(QByteArray, sent);
    CommandFixture f;
    f.Config.SetFuncKey(2, "n|o");
    f.Config.SetFuncKey(12, "s");
    f.Config.SetFuncKey(10, "zehn");
    QCOMPARE(f.Commands.Walker().FormKeyDown(key, Qt::KeyboardModifiers(modifiers)), consumed);
    QCOMPARE(f.Connection.Sent, sent);
}

void TestPathRecorder::keypadSlots_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("slot");
    QTest::newRow("0") << int(Qt::Key_0) << 1;
    QTest::newRow("*") << int(Qt::Key_Asterisk) << 11;
    QTest::newRow("+") << int(Qt::Key_Plus) << 12;
    QTest::newRow("decimal comma") << int(Qt::Key_Comma) << 14;
    QTest::newRow("/") << int(Qt::Key_Slash) << 15;
    QTest::newRow("8 without Num Lock") << int(Qt::Key_Up) << 9;
    QTest::newRow("5 without Num Lock") << int(Qt::Key_Clear) << 6;
    QTest::newRow("decimal without Num Lock") << int(Qt::Key_Delete) << 14;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << 0;
}

void TestPathRecorder::keypadSlots()
{
    QFETCH(int, key);
    QFETCH(int, slot);
    QCOMPARE(TKeypadWalker::KeypadSlot(key, Qt::KeypadModifier), slot);
    QCOMPARE(TKeypadWalker::KeypadSlot(key, Qt::NoModifier), 0);
}

void TestPathRecorder::keypadWalking()
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

void TestPathRecorder::keypadWithoutLayoutTypes()
{
    CommandFixture f;
    UseLayout(f, 0);
    f.Commands.Walker().SetActiveNumPad(-1);
    QVERIFY(!f.Commands.KeyPress(Qt::Key_8, Qt::KeypadModifier, "8", true));
    QVERIFY(f.Connection.Sent.isEmpty());
    // A layout index left over from a larger configuration counts as none.
    f.Commands.Walker().SetActiveNumPad(5);
    QVERIFY(!f.Commands.KeyPress(Qt::Key_8, Qt::KeypadModifier, "8", true));
    f.Commands.Walker().KompassMouseDown(57, 17);
    QVERIFY(f.Connection.Sent.isEmpty());
}

void TestPathRecorder::keypadOptionFillsInputLine()
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

void TestPathRecorder::kompassAreas_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("slot");
    QTest::newRow("top") << 57 << 17 << 9;
    QTest::newRow("left border of top excluded") << 41 << 17 << 0;
    QTest::newRow("right border of top excluded") << 73 << 17 << 0;
    QTest::newRow("upper left") << 20 << 25 << 8;
    QTest::newRow("centre") << 55 << 50 << 6;
    QTest::newRow("lower left") << 20 << 80 << 2;
    QTest::newRow("overlap goes to lower slot") << 44 << 80 << 2;
    QTest::newRow("bottom") << 57 << 107 << 3;
    QTest::newRow("lower right") << 80 << 80 << 4;
    QTest::newRow("upper right") << 80 << 30 << 10;
}

void TestPathRecorder::kompassAreas()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, slot);
    QCOMPARE(TKeypadWalker::KompassSlot(x, y), slot);
}

void TestPathRecorder::kompassClicks()
{
    CommandFixture f;
    UseLayout(f, 0);
    f.Commands.Walker().KompassMouseDown(57, 17);
    QCOMPARE(f.SentLines(), (QList<QByteArray>{"n"}));
    f.Reset();
    f.Commands.Walker().KompassMouseDown(20, 25); // an empty slot sends an empty line
    QCOMPARE(f.SentLines(), (QList<QByteArray>{""}));
    f.Reset();
    f.Commands.Walker().KompassMouseDown(41, 17); // on a border line: no slot
    f.Reset();
    f.Commands.Walker().KompassMouseDown(2, 2);
    QVERIFY(f.Connection.Sent.isEmpty());
    QVERIFY(f.Console.Cells.isEmpty());
}

QTEST_GUILESS_MAIN(TestPathRecorder)
#include "tst_pathrecorder.moc"
