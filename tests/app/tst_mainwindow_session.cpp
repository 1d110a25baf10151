// A player's session in the real main window against the practice MUD: connecting,
// coloured text, the command language, walking, function keys, completion, the log,
// the lists panel and the statistics, checked by what the server received.
#include "MainWindowHarness.h"

#include "app/Kompass.h"
#include "app/StatusLight.h"
#include "command/CommandProcessor.h"
#include "dialogs/small/Mudopen.h"
#include "dialogs/small/mudnbook.h"
#include "display/console/ColorConsole.h"
#include "display/controls/tbedit.h"
#include "display/output/OutputSink.h"
#include "stats/VorkaOMatic.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <csignal>

namespace {

constexpr int kWait = 20000;

// Waits until the server has received exactly `lines` ("\n" after each).
#define EXPECT_RECEIVED(mud, lines) QTRY_COMPARE_WITH_TIMEOUT((mud).Received(), QByteArray(lines), kWait)

} // namespace

class TestMainWindowSession : public QObject {
    Q_OBJECT
    QTemporaryDir FRecordDir;

    // Logs in with name and password once the server asks.
    void Login(MainWindowHarness& h, const QByteArray& name)
    {
        QTRY_VERIFY_WITH_TIMEOUT(h.ConsoleHas("Wie heisst Du?"), kWait);
        h.Enter(QString::fromLatin1(name));
        // The server takes over the echo when it asks for the password.
        QTRY_VERIFY_WITH_TIMEOUT(h.w().FSink->FRemoteEcho, kWait);
        h.Enter("geheim");
        // Asked for with WILL ECHO: sent, emptied from the input line, and neither shown,
        // nor in the output history (so not offered by Tab), nor in the input history.
        QCOMPARE(h.w().MudInput->text(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(h.ConsoleHas("Ausg"), kWait);
        QVERIFY(!h.ConsoleHas("geheim"));
        QVERIFY(!h.w().FSink->FOutputLines.join('|').contains("geheim"));
        QCOMPARE(h.w().Commands()->Input().FHistory.last(), name);
        h.Type("sage gehe");
        QTest::keyClick(h.w().MudInput, Qt::Key_Tab);
        QCOMPARE(h.w().MudInput->text(), QString("sage gehe"));
        h.w().MudInput->clear();
    }

    void ClickItem(QListWidget* list, const QString& text, Qt::MouseButton button, bool twice = false)
    {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(text));
        const QPoint at = list->visualItemRect(found.first()).center();
        // A real double click starts with a click.
        QTest::mouseClick(list->viewport(), button, {}, at);
        if (twice)
            QTest::mouseDClick(list->viewport(), button, {}, at);
    }

private slots:
    // The connect dialog starts the connection; coloured server text lands in the console
    // cells; the online light, the clock, the buttons and the statistics follow the state.
    void connectDialogColoursAndOnlineState()
    {
        DemoMud mud(FRecordDir.filePath("dialog.rec"));
        QVERIFY(mud.Started());
        MainWindowHarness h;
        QVERIFY(h.Show());
        TMudMainFrm& w = h.w();
        QCOMPARE(w.pnlConnect->LightColor(), clRed);
        QCOMPARE(w.lblTime->text(), QString("00:00:00"));

        WhenModal<TMudOpenFrm>([&](TMudOpenFrm* d) {
            QCOMPARE(d->edtPort->text(), QString("7600"));
            d->edtHost->setText("127.0.0.1");
            d->edtPort->setText(QString::fromLatin1(mud.Port()));
            QTest::mouseClick(d->btnConnect, Qt::LeftButton);
        });
        QTest::mouseClick(w.sbConnect, Qt::LeftButton);
        QVERIFY(h.Activate());
        QTRY_COMPARE_WITH_TIMEOUT(w.pnlConnect->LightColor(), clLime, kWait);
        QVERIFY(w.sbDisconnect->isEnabled());
        QVERIFY(!w.sbConnect->isEnabled());
        QVERIFY(w.mnuFileClose->isEnabled());
        QVERIFY(!w.mnuFileOpen->isEnabled());

        // "{1;33}Willkommen in Moosbach!{0}": bold yellow, then back to the default pen.
        QTRY_VERIFY_WITH_TIMEOUT(h.ConsoleHas("Willkommen in Moosbach!"), kWait);
        QCOMPARE(h.AttrOf("Willkommen")->Color(), TColor(0x00FFFF));
        QVERIFY(h.AttrOf("Willkommen")->Style() & fsBold);
        QCOMPARE(h.AttrOf("Moosbach!")->Color(), TColor(0x00FFFF));
        QVERIFY(h.ConsoleHas("Ein kleines"));
        QCOMPARE(h.AttrOf("Ein kleines")->Color(), w.FConfig.FOutputWindow.FFont.Color);
        QCOMPARE(int(h.AttrOf("Ein kleines")->Style()), 0);

        Login(h, "Anna");
        QTRY_VERIFY_WITH_TIMEOUT(w.lblTime->text() != "00:00:00", kWait);

        // The light C shows the host on a click.
        QTest::mouseClick(w.pnlConnect, Qt::LeftButton);
        QCOMPARE(w.StatusbarText->text(), QString("127.0.0.1"));

        h.Enter("ende");
        QTRY_COMPARE_WITH_TIMEOUT(w.pnlConnect->LightColor(), clRed, kWait);
        QVERIFY(w.sbConnect->isEnabled());
        QVERIFY(!w.sbDisconnect->isEnabled());
        QCOMPARE(w.FVorkaOMatic.Count(), 1);
        const TVorkaOMaticLog entry = w.FVorkaOMatic.GetEntry(0);
        QCOMPARE(entry.Host, QByteArray("127.0.0.1"));
        QVERIFY(entry.EndTime >= entry.StartTime);
        EXPECT_RECEIVED(mud, "Anna\ngeheim\nende\n");

        // The statistics reach vezoriza.sta when the window closes.
        QVERIFY(w.close());
        QVERIFY(ReadFile(h.folder.file("vezoriza.sta")).contains("127.0.0.1"));
    }

    // A stored session's name connects; then the command language, the keys, the lists
    // panel and #log, checked by what the server received; #close, and #open again.
    void commandLanguageKeysAndLists()
    {
        DemoMud mud(FRecordDir.filePath("play.rec"));
        QVERIFY(mud.Started());
        MainWindowHarness h;
        QVERIFY(h.Show());
        TMudMainFrm& w = h.w();
        w.FConfig.FFuncKeys[2] = "wer";
        w.FConfig.FFuncKeys[12] = "sage a|sage b";
        h.Enter("#session heim 127.0.0.1 " + QString::fromLatin1(mud.Port()));
        h.Enter("heim");
        Login(h, "Bert");
        QByteArray expected = "Bert\ngeheim\n";

        h.Enter("#log sitzung.txt");
        QTRY_COMPARE_WITH_TIMEOUT(w.pnlLog->LightColor(), clLime, kWait);
        h.Enter("sage Protokoll");
        expected += "sage Protokoll\n";
        QTRY_VERIFY_WITH_TIMEOUT(h.ConsoleHas("Du sagst: Protokoll"), kWait);
        h.Enter("#log");
        QCOMPARE(w.pnlLog->LightColor(), clSilver);
        QVERIFY(ReadFile(h.folder.file("log/sitzung.log")).contains("Du sagst: Protokoll"));

        // An alias with parameters goes out as one line; the extra word is kept at the end.
        h.Enter("#alias gib sage gib %1 an %2 jetzt");
        h.Enter("gib schwert bob extra");
        expected += "sage gib schwert an bob jetzt extra\n";
        EXPECT_RECEIVED(mud, expected);

        // Recording with automap: the steps are sent and stored; the name replays them.
        h.Enter("#mark");
        QCOMPARE(w.pnlMark->LightColor(), clLime);
        QVERIFY(w.sbtnPath->isEnabled());
        h.Enter("#automap");
        QCOMPARE(w.pnlAutomap->LightColor(), clYellow);
        h.Enter("n");
        h.Enter("s");
        h.Enter("#path hin");
        QCOMPARE(w.pnlMark->LightColor(), clSilver);
        QCOMPARE(w.pnlAutomap->LightColor(), clSilver);
        QVERIFY(!w.sbtnPath->isEnabled());
        h.Enter("hin");
        expected += "n\ns\nn\ns\n";
        EXPECT_RECEIVED(mud, expected);

        // Keypad 8 walks north with "Laufen" and types no digit over the selected line.
        QCOMPARE(w.cbActiveNumPad->currentText(), QString("Laufen"));
        QCOMPARE(w.MudInput->selectedText(), QString("hin"));
        QTest::keyClick(w.MudInput, Qt::Key_8, Qt::KeypadModifier);
        QCOMPARE(w.MudInput->text(), QString("hin"));
        expected += "n\n";
        EXPECT_RECEIVED(mud, expected);

        // Function keys: F2, Shift+F2 (two commands); Ctrl+F2 does nothing.
        QTest::keyClick(w.MudInput, Qt::Key_F2);
        QTest::keyClick(w.MudInput, Qt::Key_F2, Qt::ControlModifier);
        QTest::keyClick(w.MudInput, Qt::Key_F2, Qt::ShiftModifier);
        expected += "wer\nsage a\nsage b\n";
        EXPECT_RECEIVED(mud, expected);

        // Tab completes a word the server just printed.
        h.Enter("sage Zauberwort");
        expected += "sage Zauberwort\n";
        QTRY_VERIFY_WITH_TIMEOUT(h.ConsoleHas("Du sagst: Zauberwort"), kWait);
        h.Type("sage Zaub");
        QTest::keyClick(w.MudInput, Qt::Key_Tab);
        QCOMPARE(w.MudInput->text(), QString("sage Zauberwort"));
        QVERIFY(w.MudInput->hasFocus());
        w.MudInput->clear();

        // Ctrl+T adds the last word and the input line keeps the keyboard: typing on and
        // Enter, sent to the window as the window system sends them, reach the server.
        h.Type("sage Flugs");
        QTest::keyClick(w.windowHandle(), Qt::Key_T, Qt::ControlModifier);
        QVERIFY(w.FConfig.FTabs.contains("Flugs"));
        for (char c : QByteArray(" weiter"))
            QTest::keyClick(w.windowHandle(), c);
        QTest::keyClick(w.windowHandle(), Qt::Key_Return);
        expected += "sage Flugs weiter\n";
        EXPECT_RECEIVED(mud, expected);
        w.MudInput->clear();

        // The lists panel with the compass (Ctrl+N): a click on the east arm walks east; a
        // click exactly on a border of the north area hits nothing.
        QTest::keyClick(w.MudInput, Qt::Key_N, Qt::ControlModifier);
        QTRY_VERIFY(w.pnlLists->isVisible());
        QVERIFY(w.mnuViewNavigationbar->isChecked());
        QVERIFY(w.sbtnCommandCenter->isChecked());
        QTest::mouseClick(w.Kompass, Qt::LeftButton, {}, QPoint(41, 17));
        QTest::mouseClick(w.Kompass, Qt::LeftButton, {}, QPoint(90, 56));
        expected += "o\n";
        EXPECT_RECEIVED(mud, expected);

        // History: a double-click on 'n|o' sends both commands again.
        h.Enter("n|o");
        expected += "n\no\n";
        EXPECT_RECEIVED(mud, expected);
        w.cbListType->setCurrentIndex(3);
        ClickItem(w.CommandsList, "n|o", Qt::LeftButton, true);
        expected += "n\no\n";
        EXPECT_RECEIVED(mud, expected);

        // Aliases: a click shows the value, a right click appends the name and a blank,
        // unless the input line would grow past 255 characters.
        w.cbListType->setCurrentIndex(0);
        ClickItem(w.CommandsList, "gib", Qt::LeftButton);
        QCOMPARE(w.StatusbarText->text(), QString("sage gib %1 an %2 jetzt"));
        w.MudInput->setText("sage");
        ClickItem(w.CommandsList, "gib", Qt::RightButton);
        QCOMPARE(w.MudInput->text(), QString("sagegib "));
        const QString nearlyFull(252, 'x');
        w.MudInput->setText(nearlyFull);
        ClickItem(w.CommandsList, "gib", Qt::RightButton);
        QCOMPARE(w.MudInput->text(), nearlyFull);
        QVERIFY(h.prompts.log.contains("Warning: Text in Eingabezeile ist zu lang!"));
        w.MudInput->clear();

        // Paths list: a double-click replays the path.
        w.cbListType->setCurrentIndex(1);
        ClickItem(w.CommandsList, "hin", Qt::LeftButton, true);
        expected += "n\ns\n";
        EXPECT_RECEIVED(mud, expected);

        w.MudInput->setFocus();
        h.Enter("#close");
        QTRY_COMPARE_WITH_TIMEOUT(w.pnlConnect->LightColor(), clRed, kWait);
        h.Enter("#open 127.0.0.1 " + QString::fromLatin1(mud.Port()));
        QTRY_COMPARE_WITH_TIMEOUT(w.pnlConnect->LightColor(), clLime, kWait);
        Login(h, "Dora");
        h.Enter("ende");
        EXPECT_RECEIVED(mud, expected + "Dora\ngeheim\nende\n");
        QTRY_COMPARE_WITH_TIMEOUT(w.FVorkaOMatic.Count(), 2, kWait);
    }

    void everyWayOfQuittingRecordsTheSession_data()
    {
        QTest::addColumn<int>("how"); // 0 the close box; else a signal the session ends with
        QTest::newRow("close box") << 0;
        QTest::newRow("logout (SIGHUP)") << int(SIGHUP);
        QTest::newRow("shutdown (SIGTERM)") << int(SIGTERM);
    }

    // The close box, Alt+F4 and the end of the desktop session record the running session
    // as #exit does; a session that ends asks nothing and saves what changed.
    void everyWayOfQuittingRecordsTheSession()
    {
        QFETCH(int, how);
        DemoMud mud(FRecordDir.filePath(QString("quit%1.rec").arg(how)));
        QVERIFY(mud.Started());
        MainWindowHarness h;
        QVERIFY(h.Show());
        TMudMainFrm& w = h.w();
        h.Enter("#save eigene|#alias neu wert");
        h.Enter("#open 127.0.0.1 " + QString::fromLatin1(mud.Port()));
        Login(h, "Erik");
        if (how == 0) {
            h.prompts.answers << IPrompts::Answer::Yes;
            QVERIFY(w.close());
        } else {
            w.mnuViewNotebook->trigger();
            QTest::keyClicks(w.FNotebook->memNotebook, "Notiz");
            std::raise(how);
            QTRY_VERIFY(!w.isVisible());
            QCOMPARE(h.prompts.log, QStringList());
            QCOMPARE(ReadFile(h.folder.file("mudnotiz.txt")), QByteArray("Notiz\r\n"));
        }
        QVERIFY(ReadFile(h.folder.file("vezoriza.sta")).contains("/127.0.0.1/"));
        QVERIFY(ReadFile(h.folder.file("conf/eigene.mud")).contains("=neu/wert\r\n"));
    }
};

QTEST_MAIN(TestMainWindowSession)
#include "tst_mainwindow_session.moc"
