// The real main window, offscreen, driven by keys and clicks: start, banner and folders,
// saving, loading and closing with their questions, the menu, the scroll-back view, what a
// screen reader is told, and sessions against the practice MUD, checked by what it received.
#include "MainWindowHarness.h"

#include "app/Kompass.h"
#include "app/StatusLight.h"
#include "command/KeypadWalker.h"
#include "dialogs/small/Mudopen.h"
#include "dialogs/small/mudedl.h"
#include "dialogs/small/mudnbook.h"
#include "display/output/IncomingText.h"
#include "display/output/OutputSink.h"
#include "display/output/SessionLog.h"
#include "stats/VorkaOMatic.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QEnterEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>

#include <csignal>

namespace {

constexpr int kWait = 20000;

// Waits until the server has received exactly `lines` ("\n" after each).
#define EXPECT_RECEIVED(mud, lines) QTRY_COMPARE_WITH_TIMEOUT((mud).Received(), QByteArray(lines), kWait)

QString Said(QObject* object, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(object);
    return a ? a->text(text) : QString("(none)");
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    // Logs in once the server asks. The password, asked for with WILL ECHO, is sent and
    // emptied from the input line but not shown.
    void Login(MainWindowHarness& h, const QString& name)
    {
        QTRY_VERIFY_WITH_TIMEOUT(h.ConsoleHas("Wie heisst Du?"), kWait);
        h.Enter(name);
        QTRY_VERIFY_WITH_TIMEOUT(h.w().FSink->FRemoteEcho, kWait);
        h.Enter("geheim");
        QCOMPARE(h.w().MudInput->text(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(h.ConsoleHas("Ausg"), kWait);
        QVERIFY(!h.ConsoleHas("geheim"));
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
    // The first start makes conf/ and log/; where one of them exists, neither is made.
    void foldersOnlyWhenNeitherExists()
    {
        for (const char* existing : {"", "log"}) {
            MainWindowHarness h([&](const QString& folder) {
                if (*existing)
                    QDir(folder).mkdir(existing);
            });
            QCOMPARE(QDir(h.folder.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).join(' '),
                     *existing ? existing : "conf log");
        }
    }

    // "default.mud" is loaded at start, its relative log name beside the program; the
    // banner follows when the window is first shown, in the console with its colours and
    // in the output history without switch characters (banner.txt). The console's colour
    // fills the window below its grid; new output colours reach the received text at once;
    // the clock's hint reaches the status bar; names from the dialogs that no command line
    // could use are refused.
    void defaultConfigurationBannerAndColours()
    {
        MainWindowHarness h([](const QString& folder) {
            QDir(folder).mkdir("abend");
            QDir(folder).mkdir("conf");
            TMudConfig config;
            config.SetAlias("gruss", "sage hallo");
            config.FOutputWindow.BGColor = 0x400000;
            config.FAutoLog = true;
            config.FLogFile = "abend/sitzung.log";
            QCOMPARE(config.SaveToFile("default"), 0);
            config.FOutputWindow.FFont.Color = 0x00FF00;
            QCOMPARE(config.SaveToFile("gruen"), 0);
        });
        TMudMainFrm& w = h.w();
        QCOMPARE(ListItems(w.CommandsList), QStringList{"gruss"});
        QVERIFY(w.FLog->LogActive());
        QCOMPARE(w.FLog->FLogFileName, h.folder.path() + "abend/sitzung.log");
        QCOMPARE(w.windowTitle(),
                 "Kelmoth's Mud-Client (KMC) V1.0b1 [" + h.folder.file("conf/default.mud") + "]");

        QVERIFY(h.Show());
        const QList<QByteArray> banner = w.FSink->FOutputLines.last(20);
        QCOMPARE(banner.join('\n') + '\n', ReadFile(BANNER_FILE));

        // The three initials in blue, red and yellow; the rest of the words in white; the frame
        // in the console's own colour.
        QSet<TColor> colours;
        for (int row = 2; row <= 10; ++row)
            for (int col = 0; col < 79; ++col)
                if (w.Mudoutput->CharAt(col, row) != ' ')
                    colours << w.Mudoutput->AttrAt(col, row)->Color();
        QCOMPARE(colours, (QSet<TColor>{0xFF0000, 0x0000FF, 0x00FFFF, 0xFFFFFF, 0xC0C0C0}));

        // A second show prints nothing more; #version prints the banner again.
        const qsizetype before = w.FSink->FOutputLines.size();
        w.hide();
        QVERIFY(h.Show());
        QCOMPARE(w.FSink->FOutputLines.size(), before);
        h.Enter("#version");
        QVERIFY(w.FSink->FOutputLines.size() > before + 19);

        w.resize(900, 800);
        QTRY_VERIFY(w.Mudoutput->viewport()->height() > w.Mudoutput->Rows() * w.Mudoutput->CharSize().y());
        QTRY_VERIFY(!w.Mudoutput->UpdatePending());
        const QImage pixels = w.Mudoutput->viewport()->grab().toImage();
        QCOMPARE(pixels.pixelColor(2, pixels.height() - 2), QColor(0, 0, 0x40));

        h.Enter("#load gruen");
        w.FIncoming->TelnetDataAvailable("x", 1);
        QCOMPARE(h.AttrOf("x")->Color(), TColor(0x00FF00));

        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(w.lblTime, &enter);
        QCOMPARE(w.StatusbarText->text(), QString("Onlinezeit"));

        h.Type("sage hallo");
        WhenModal<TMudEditFields>([](TMudEditFields* d) {
            d->edtShortcut->setText("a/b");
            d->accept();
        });
        QTest::keyClick(w.MudInput, Qt::Key_A, Qt::ControlModifier);
        QTRY_VERIFY(h.ConsoleHas("darf kein \"/\" enthalten!"));
        QCOMPARE(w.FConfig.FAliases.size(), 1);
    }

    // The menu's save and load dialogs start in conf/ with the current file preselected; a
    // name without extension gets ".mud" and the caption names the file; a load of a
    // changed non-default configuration asks first; a missing file leaves everything as
    // it was; a log started from the menu asks for its file.
    void saveAndLoad()
    {
        MainWindowHarness h;
        TMudMainFrm& w = h.w();
        QVERIFY(h.Show());
        QList<TMudMainFrm::TFileDialogRequest> asked;
        QString answer = h.folder.file("conf/meine");
        w.FChooseFile = [&](const TMudMainFrm::TFileDialogRequest& r) {
            asked << r;
            return answer;
        };
        h.Enter("#alias k kill %1");
        w.mnuFileSave->trigger();
        QCOMPARE(asked.value(0).Folder, h.folder.file("conf"));
        QCOMPARE(asked.value(0).Preset, h.folder.file("conf/default.mud"));
        const QString file = h.folder.file("conf/meine.mud");
        const QByteArray saved = ReadFile(file);
        QVERIFY(saved.contains("=k/kill %1\r\n"));
        QVERIFY(w.windowTitle().endsWith("[" + file + "]"));
        QVERIFY(h.ConsoleHas("gespeichert."));

        h.Enter("#aliasdelete k");
        h.prompts.answers << IPrompts::Answer::No;
        answer = file;
        w.mnuFileLoad->trigger();
        QCOMPARE(asked.value(1).Preset, file);
        QVERIFY(h.prompts.log.contains("Confirm3: Aktuelle Konfiguration wurde geändert. Speichern?"));
        QVERIFY(h.ConsoleHas("geladen."));
        QCOMPARE(ReadFile(file), saved); // "No" saved nothing
        answer.clear(); // cancelled: nothing happens
        w.mnuFileLoad->trigger();

        const QString title = w.windowTitle();
        h.Enter("#load fehlt");
        QVERIFY(h.ConsoleHas("existiert nicht!"));
        QCOMPARE(w.windowTitle(), title);
        QCOMPARE(ListItems(w.CommandsList), QStringList{"k"});
        // The lists still belong to meine.mud: the next save goes there, not to fehlt.mud.
        QCOMPARE(w.FConfig.FFileName, file);

        // A log started from the menu on an existing file appends to it on "No".
        const QString log = h.folder.file("log/alt.log");
        QVERIFY(WriteFile(log, "frueher\r\n"));
        answer = h.folder.file("log/alt");
        h.prompts.answers << IPrompts::Answer::No;
        w.mnuActionStartLog->trigger();
        QVERIFY(asked.last().Kind == TMudMainFrm::TFileDialogKind::StartLog);
        QCOMPARE(w.pnlLog->LightColor(), clLime);
        w.mnuActionStopLog->trigger();
        QCOMPARE(w.pnlLog->LightColor(), clSilver);
        QVERIFY(ReadFile(log).startsWith("frueher\r\n"));
        QVERIFY(ReadFile(log).size() > 9);
    }

    // Focus in the console opens the scroll-back view, filled with the output history and
    // at its left edge; focus back in the input line closes it.
    void scrollBackKeptOnDeactivation()
    {
        MainWindowHarness h;
        TMudMainFrm& w = h.w();
        QVERIFY(h.Show());
        w.resize(400, 400); // narrower than the console
        QTest::mouseClick(w.Mudoutput->viewport(), Qt::LeftButton);
        QTRY_VERIFY(w.LogMemo->isVisible());
        QVERIFY(w.LogMemo->toPlainText().contains("Revision: 1.35"));
        QCOMPARE(w.LogMemo->horizontalScrollBar()->value(), 0);

        // Another window taking the keyboard (a dialog, Alt+Tab) keeps the view, its place
        // and its selection.
        w.LogMemo->setFocus();
        w.LogMemo->moveCursor(QTextCursor::Start);
        w.LogMemo->moveCursor(QTextCursor::Down, QTextCursor::KeepAnchor);
        const QString selected = w.LogMemo->textCursor().selectedText();
        QVERIFY(!selected.isEmpty());
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QTRY_VERIFY(!w.isActiveWindow());
        QApplication::setActiveWindow(&w);
        QTRY_VERIFY(w.LogMemo->hasFocus());
        QCOMPARE(w.LogMemo->textCursor().selectedText(), selected);
        QCOMPARE(w.LogMemo->verticalScrollBar()->value(), 0);

        w.MudInput->setFocus();
        QTRY_VERIFY(!w.LogMemo->isVisible());
    }

    // Every shortcut of the menu works while the input line has the focus (the line edit
    // claims Ctrl+Z, Ctrl+K and the edit keys for itself); the edit items act on the line.
    // Alt+X ("&Beenden") saves the changed default configuration without asking.
    void menuShortcutsWinOverTheInputLine()
    {
        MainWindowHarness h;
        TMudMainFrm& w = h.w();
        QVERIFY(h.Show());
        w.FChooseFile = [](const TMudMainFrm::TFileDialogRequest&) { return QString(); };
        h.Enter("#mark|#map n"); // Ctrl+P only while recording
        QTimer closer; // dismisses the dialogs the items open
        connect(&closer, &QTimer::timeout, [] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                d->reject();
        });
        closer.start(20);
        int tested = 0;
        for (QAction* menu : w.menuBar()->actions()) {
            for (QAction* item : menu->menu()->actions()) {
                const QKeyCombination key = item->shortcut()[0];
                if (item->shortcut().isEmpty() || item == w.mnuFileExit) // Alt+X: at the end
                    continue;
                QVERIFY(h.Activate());
                w.MudInput->setText("abc");
                QSignalSpy triggered(item, &QAction::triggered);
                QTest::keyClick(w.MudInput, key.key(), key.keyboardModifiers());
                QTRY_COMPARE(triggered.size(), 1);
                if (item != w.mnuEditCut && item != w.mnuEditPaste)
                    QCOMPARE(w.MudInput->text(), QString("abc")); // no undo, no line edit action
                ++tested;
            }
        }
        QCOMPARE(tested, 16);
        QVERIFY(w.FConfig.FTabs.contains("abc")); // Ctrl+T
        QVERIFY(h.Activate());
        w.MudInput->setText("xyz");
        w.MudInput->selectAll();
        QTest::keyClick(w.MudInput, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(w.MudInput->text(), QString());
        QCOMPARE(QApplication::clipboard()->text(), QString("xyz"));
        QTest::keyClick(w.MudInput, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.MudInput->text(), QString("xyz"));

        w.MudInput->clear();
        h.Enter("#alias neu wert");
        h.prompts.log.clear();
        QTest::keyClick(w.MudInput, Qt::Key_X, Qt::AltModifier);
        QTRY_VERIFY(!w.isVisible());
        QCOMPARE(h.prompts.log, QStringList());
        QVERIFY(ReadFile(h.folder.file("conf/default.mud")).contains("=neu/wert\r\n"));
    }

    // A default configuration that could not be read stays visible as a message, and the
    // file is not written over at exit without asking.
    void unreadableConfigurationIsReportedAndKept()
    {
        const QByteArray old = "[Version]\r\nValue=V0.9\r\n[Alias]\r\n0=k/kill\r\n";
        MainWindowHarness h([&](const QString& folder) {
            QDir(folder).mkdir("conf");
            QVERIFY(WriteFile(folder + "conf/default.mud", old));
        });
        QVERIFY(h.Show());
        QVERIFY(h.ConsoleHas("\": Falsche Versionsnummer!"));
        h.Enter("#alias neu wert");
        h.prompts.answers << IPrompts::Answer::No << IPrompts::Answer::Yes;
        QVERIFY(h.w().close());
        QCOMPARE(h.prompts.log,
                 (QStringList{"Confirm2: Die Datei " + h.folder.file("conf/default.mud") +
                                  " konnte nicht gelesen werden. Trotzdem überschreiben?",
                              "Confirm2: Die Konfiguration wurde nicht gespeichert. Trotzdem beenden?"}));
        QCOMPARE(ReadFile(h.folder.file("conf/default.mud")), old);
    }

    // "mydefault.mud" is no default: its changes are offered for saving; a save that fails
    // before a load stops the load unless the player wants it anyway. Closing with changes
    // asks; Cancel keeps the window open, Yes saves and closes.
    void onlyTheDefaultFileSavesSilentlyAndFailedSavesStopLoading()
    {
        MainWindowHarness h([](const QString& folder) {
            QDir(folder).mkdir("conf");
            TMudConfig config;
            QCOMPARE(config.SaveToFile("mydefault"), 0);
            QCOMPARE(config.SaveToFile("other"), 0);
        });
        TMudMainFrm& w = h.w();
        QVERIFY(h.Show());
        h.Enter("#load mydefault|#alias neu wert");
        QVERIFY(QFile::remove(h.folder.file("conf/mydefault.mud")));
        QVERIFY(QDir().mkpath(h.folder.file("conf/mydefault.mud"))); // saving it fails now
        h.prompts.answers << IPrompts::Answer::Yes << IPrompts::Answer::No;
        h.Enter("#load other");
        QCOMPARE(h.prompts.log, (QStringList{"Confirm3: Aktuelle Konfiguration wurde geändert. Speichern?",
                                             "Confirm2: Die Konfiguration wurde nicht gespeichert. "
                                             "Trotzdem laden?"}));
        QCOMPARE(ListItems(w.CommandsList), QStringList{"neu"}); // not loaded
        h.prompts.answers << IPrompts::Answer::Cancel;
        QVERIFY(!w.close());
        QVERIFY(QDir().rmdir(h.folder.file("conf/mydefault.mud"))); // can be saved again
        h.prompts.answers << IPrompts::Answer::Yes;
        QVERIFY(w.close());
        QCOMPARE(h.prompts.log.count("Confirm3: Konfiguration wurde geändert. Speichern?"), 2);
        QVERIFY(ReadFile(h.folder.file("conf/mydefault.mud")).contains("=neu/wert\r\n"));
    }

    // What a screen reader is told: every control named and described in German, lights
    // that say their state.
    void controlsAreNamedAndDescribed()
    {
        MainWindowHarness h;
        TMudMainFrm& w = h.w();
        for (QToolButton* b : w.pnlToolbar->findChildren<QToolButton*>()) {
            QCOMPARE(Said(b), b->property("hint").toString());
            QVERIFY2(Said(b, QAccessible::Description).startsWith("Wie "), qPrintable(Said(b)));
        }
        QCOMPARE(Said(w.MudInput), QString("Eingabezeile"));
        // A combo box is named by its label; its name is the entry shown.
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(w.cbActiveNumPad);
        QCOMPARE(box->relations(QAccessible::Label).value(0).first->text(QAccessible::Name),
                 QString("Ziffernblock Belegung"));
        QCOMPARE(box->text(QAccessible::Name), QString("Laufen"));
        QCOMPARE(Said(w.Kompass), QString("Kompass"));
        QCOMPARE(Said(w.lblTime), QString("Onlinezeit"));
        QCOMPARE(Said(w.pnlLog, QAccessible::Description), QString("Log aktiviert / deaktiviert"));
        // The lights say their state, and follow it.
        QCOMPARE(Said(w.pnlConnect), QString("nicht verbunden"));
        QCOMPARE(Said(w.pnlLog), QString("Log aus"));
        h.Enter("#mark");
        QCOMPARE(Said(w.pnlMark), QString("Pfadaufzeichnung aktiv"));
        QCOMPARE(Said(w.pnlAutomap), QString("Automap aus"));
        w.pnlConnect->SetLightColor(clLime);
        QCOMPARE(Said(w.pnlConnect), QString("verbunden"));

        // The compass is nine buttons that walk.
        QAccessibleInterface* compass = QAccessible::queryAccessibleInterface(w.Kompass);
        QCOMPARE(compass->childCount(), 9);
        const QStringList names{"Norden", "Nordosten", "Osten", "Südosten", "Süden",
                                "Südwesten", "Westen", "Nordwesten", "Mitte"};
        const int slotOf[] = {9, 10, 7, 4, 3, 2, 5, 8, 6}; // keypad key + 1
        QSignalSpy clicked(w.Kompass, &TKompass::Clicked);
        for (int i = 0; i < 9; ++i) {
            QAccessibleInterface* direction = compass->child(i);
            QCOMPARE(direction->text(QAccessible::Name), names[i]);
            QCOMPARE(direction->role(), QAccessible::Button);
            QCOMPARE(direction->text(QAccessible::Description), QString("Ziffernblock %1").arg(slotOf[i] - 1));
            direction->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(clicked.size(), i + 1);
            QCOMPARE(TKeypadWalker::KompassSlot(clicked[i][1].toInt(), clicked[i][2].toInt()), slotOf[i]);
        }
    }

    // One player's evening: the connect dialog starts the connection; the lights, the clock,
    // the buttons, the keys and the lists panel take part, checked by what the server
    // received; the statistics record the session once the server ends it.
    void connectPlayAndLeave()
    {
        DemoMud mud;
        MainWindowHarness h;
        QVERIFY(h.Show());
        TMudMainFrm& w = h.w();
        w.FConfig.FFuncKeys[12] = "wer|sage a";
        QCOMPARE(w.pnlConnect->LightColor(), clRed);
        QCOMPARE(w.lblTime->text(), QString("00:00:00"));

        WhenModal<TMudOpenFrm>([&](TMudOpenFrm* d) {
            QCOMPARE(d->edtPort->text(), QString("7600"));
            d->edtHost->setText("127.0.0.1");
            d->edtPort->setText(QString::number(mud.Port()));
            QTest::mouseClick(d->btnConnect, Qt::LeftButton);
        });
        QTest::mouseClick(w.sbConnect, Qt::LeftButton);
        QVERIFY(h.Activate());
        QTRY_COMPARE_WITH_TIMEOUT(w.pnlConnect->LightColor(), clLime, kWait);
        QVERIFY(w.sbDisconnect->isEnabled() && !w.sbConnect->isEnabled());
        QVERIFY(w.mnuFileClose->isEnabled() && !w.mnuFileOpen->isEnabled());

        Login(h, "Anna");
        QByteArray expected = "Anna\ngeheim\n";
        QTRY_VERIFY_WITH_TIMEOUT(w.lblTime->text() != "00:00:00", kWait);
        // The light C shows the host on a click.
        QTest::mouseClick(w.pnlConnect, Qt::LeftButton);
        QCOMPARE(w.StatusbarText->text(), QString("127.0.0.1"));

        h.Enter("#alias gib sage gib %1 an %2");
        // Recording with automap lights M and A and enables the path button; storing the
        // path puts them out; the name replays it.
        h.Enter("#mark|#automap|n|s");
        QCOMPARE(w.pnlMark->LightColor(), clLime);
        QCOMPARE(w.pnlAutomap->LightColor(), clYellow);
        QVERIFY(w.sbtnPath->isEnabled());
        h.Enter("#path hin");
        QCOMPARE(w.pnlMark->LightColor(), clSilver);
        QCOMPARE(w.pnlAutomap->LightColor(), clSilver);
        QVERIFY(!w.sbtnPath->isEnabled());
        h.Enter("hin");
        expected += "n\ns\nn\ns\n";

        // Keypad 8 walks north and types no digit over the selected line.
        QCOMPARE(w.MudInput->selectedText(), QString("hin"));
        QTest::keyClick(w.MudInput, Qt::Key_8, Qt::KeypadModifier);
        QCOMPARE(w.MudInput->text(), QString("hin"));
        expected += "n\n";

        // Shift+F2 is function key 12.
        QTest::keyClick(w.MudInput, Qt::Key_F2, Qt::ShiftModifier);
        expected += "wer\nsage a\n";

        // Ctrl+T adds the last word and the input line keeps the keyboard: typing on and
        // Enter, sent to the window as the window system sends them, reach the server.
        h.Type("sage Flugs");
        QTest::keyClick(w.windowHandle(), Qt::Key_T, Qt::ControlModifier);
        QVERIFY(w.FConfig.FTabs.contains("Flugs"));
        for (char c : QByteArray(" weiter"))
            QTest::keyClick(w.windowHandle(), c);
        QTest::keyClick(w.windowHandle(), Qt::Key_Return);
        expected += "sage Flugs weiter\n";
        // Tab completes in the input line, which keeps the focus.
        h.Type("sage Flu");
        QTest::keyClick(w.MudInput, Qt::Key_Tab);
        QCOMPARE(w.MudInput->text(), QString("sage Flugs"));
        QVERIFY(w.MudInput->hasFocus());
        w.MudInput->clear();

        // The lists panel with the compass (Ctrl+N): a click on the east arm walks east; a
        // click exactly on a border of the north area hits nothing.
        QTest::keyClick(w.MudInput, Qt::Key_N, Qt::ControlModifier);
        QTRY_VERIFY(w.pnlLists->isVisible());
        QVERIFY(w.mnuViewNavigationbar->isChecked() && w.sbtnCommandCenter->isChecked());
        QTest::mouseClick(w.Kompass, Qt::LeftButton, {}, QPoint(41, 17));
        QTest::mouseClick(w.Kompass, Qt::LeftButton, {}, QPoint(90, 56));
        expected += "o\n";

        // History: a double-click on 'n|o' sends both commands again.
        h.Enter("n|o");
        w.cbListType->setCurrentIndex(3);
        ClickItem(w.CommandsList, "n|o", Qt::LeftButton, true);
        expected += "n\no\nn\no\n";

        // Aliases: a click shows the value, a right click appends the name and a blank,
        // unless the input line would grow past 255 characters.
        w.cbListType->setCurrentIndex(0);
        ClickItem(w.CommandsList, "gib", Qt::LeftButton);
        QCOMPARE(w.StatusbarText->text(), QString("sage gib %1 an %2"));
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

        h.Enter("ende");
        EXPECT_RECEIVED(mud, expected + "ende\n");
        QTRY_COMPARE_WITH_TIMEOUT(w.pnlConnect->LightColor(), clRed, kWait);
        QVERIFY(w.sbConnect->isEnabled() && !w.sbDisconnect->isEnabled());
        QCOMPARE(w.FVorkaOMatic.Count(), 1);
        QCOMPARE(w.FVorkaOMatic.GetEntry(0).Host, QByteArray("127.0.0.1"));
    }

    void everyWayOfQuittingRecordsTheSession_data()
    {
        QTest::addColumn<int>("how"); // 0 the close box; else a signal the session ends with
        QTest::newRow("close box") << 0;
        QTest::newRow("logout (SIGHUP)") << int(SIGHUP);
        QTest::newRow("shutdown (SIGTERM)") << int(SIGTERM);
    }

    // The close box, Alt+F4 and the end of the desktop session record the running session
    // as #exit does; a session that ends asks nothing and saves what changed, the
    // notebook too.
    void everyWayOfQuittingRecordsTheSession()
    {
        QFETCH(int, how);
        DemoMud mud;
        MainWindowHarness h;
        QVERIFY(h.Show());
        TMudMainFrm& w = h.w();
        h.Enter("#save eigene|#alias neu wert");
        h.Enter("#open 127.0.0.1 " + QString::number(mud.Port()));
        Login(h, "Erik");
        if (how == 0) {
            h.prompts.answers << IPrompts::Answer::Yes;
            QVERIFY(w.close());
        } else {
            // A note added while the notebook is open shows there and is saved with it.
            w.mnuViewNotebook->trigger();
            QTest::keyClicks(w.FNotebook->memNotebook, "Notiz");
            QVERIFY(h.Activate());
            h.Enter("#notiz Truhe im Keller");
            std::raise(how);
            QTRY_VERIFY(!w.isVisible());
            QCOMPARE(h.prompts.log, QStringList());
            const QByteArray notes = ReadFile(h.folder.file("mudnotiz.txt"));
            QVERIFY2(notes.startsWith("Notiz\r\n\r\n") && notes.endsWith("\r\nTruhe im Keller\r\n"),
                     notes.constData());
        }
        QVERIFY(ReadFile(h.folder.file("vezoriza.sta")).contains("/127.0.0.1/"));
        QVERIFY(ReadFile(h.folder.file("conf/eigene.mud")).contains("=neu/wert\r\n"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
