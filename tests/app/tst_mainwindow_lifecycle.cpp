// Start and stop of the real main window: folders, the default configuration, the
// banner, saving and loading with their questions, the menu's file dialogs, closing with
// a changed configuration, and the scroll-back view.
#include "MainWindowHarness.h"

#include "app/StatusLight.h"
#include "dialogs/small/mudedl.h"
#include "dialogs/small/mudnbook.h"
#include "display/console/ColorConsole.h"
#include "display/controls/tbedit.h"
#include "display/output/IncomingText.h"
#include "display/output/OutputSink.h"
#include "display/output/SessionLog.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QEnterEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class TestMainWindowLifecycle : public QObject {
    Q_OBJECT
private slots:
    void foldersOnlyWhenNeitherExists_data()
    {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QString>("after");
        QTest::newRow("first start creates both") << QString() << "conf log";
        QTest::newRow("conf alone stays alone") << "conf" << "conf";
        QTest::newRow("log alone stays alone") << "log" << "log";
    }

    void foldersOnlyWhenNeitherExists()
    {
        QFETCH(QString, existing);
        QFETCH(QString, after);
        MainWindowHarness h([&](const QString& folder) {
            if (!existing.isEmpty())
                QDir(folder).mkdir(existing);
        });
        QCOMPARE(QDir(h.folder.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).join(' '), after);
    }

    // "default.mud" is loaded at start; the banner follows when the window is first shown,
    // in the console with its colours and in the output history without switch characters.
    void defaultConfigurationAndBanner()
    {
        MainWindowHarness h([](const QString& folder) {
            QDir(folder).mkdir("conf");
            TMudConfig config;
            config.SetAlias("gruss", "sage hallo");
            QCOMPARE(config.SaveToFile("default"), 0);
        });
        TMudMainFrm& w = h.w();
        QCOMPARE(ListItems(w.CommandsList), QStringList{"gruss"});
        QVERIFY(w.windowTitle().startsWith("Kelmoth's Mud-Client (KMC) V1.0b1 ["));
        QVERIFY(w.windowTitle().endsWith("conf/default.mud]"));

        QVERIFY(h.Show());
        const QList<QByteArray> lines = w.FSink->FOutputLines;
        QVERIFY(lines.size() >= 21);
        const QList<QByteArray> banner = lines.mid(lines.size() - 20);
        for (const QByteArray& line : banner) {
            QVERIFY2(line.isEmpty() || line.size() == 79, line.constData());
            for (char switchChar : {'*', '#', '$', '%'})
                QVERIFY2(!line.contains(switchChar), line.constData());
        }
        // The revision line stands above the two bottom edges.
        QVERIFY(banner[17].startsWith("| | Revision: 1.35 "));
        QVERIFY(banner[17].endsWith("| |"));
        QCOMPARE(QByteArray(w.Mudoutput->RowText(17)).left(79), banner[17]);

        // The three initials in blue, red and yellow; the rest of the words in white.
        QSet<TColor> colours;
        for (int row = 2; row <= 10; ++row)
            for (int col = 0; col < 79; ++col)
                if (w.Mudoutput->CharAt(col, row) != ' ')
                    colours << w.Mudoutput->AttrAt(col, row)->Color();
        for (TColor c : {TColor(0xFF0000), TColor(0x0000FF), TColor(0x00FFFF), TColor(0xFFFFFF)})
            QVERIFY2(colours.contains(c), qPrintable(QString::number(c, 16)));

        // A second show prints nothing more; #version prints the banner again.
        const qsizetype before = w.FSink->FOutputLines.size();
        w.hide();
        QVERIFY(h.Show());
        QCOMPARE(w.FSink->FOutputLines.size(), before);
        h.Enter("#version");
        QVERIFY(w.FSink->FOutputLines.size() > before + 19);
    }

    // #save writes the file and names it in the caption; #load of a changed non-default
    // configuration asks first; a missing file leaves everything as it was.
    void saveAndLoadCommands()
    {
        MainWindowHarness h;
        TMudMainFrm& w = h.w();
        QVERIFY(h.Show());
        h.Enter("#alias k kill %1");
        h.Enter("#save meine");
        const QString file = h.folder.file("conf/meine.mud");
        const QByteArray saved = ReadFile(file);
        QVERIFY(saved.startsWith("[Version]"));
        QVERIFY(saved.contains("=k/kill %1\r\n"));
        QVERIFY(w.windowTitle().endsWith("[" + file + "]"));
        QVERIFY(h.ConsoleHas("gespeichert."));

        h.Enter("#aliasdelete k");
        QCOMPARE(ListItems(w.CommandsList), QStringList());
        h.prompts.answers << IPrompts::Answer::No;
        h.Enter("#load meine");
        QVERIFY(h.prompts.log.contains("Confirm3: Aktuelle Konfiguration wurde geändert. Speichern?"));
        QCOMPARE(ListItems(w.CommandsList), QStringList{"k"});
        QVERIFY(h.ConsoleHas("geladen."));
        QCOMPARE(ReadFile(file), saved); // "No" saved nothing

        const QString title = w.windowTitle();
        h.Enter("#load fehlt");
        QVERIFY(h.ConsoleHas("existiert nicht!"));
        QCOMPARE(w.windowTitle(), title);
        QCOMPARE(ListItems(w.CommandsList), QStringList{"k"});
        // The lists still belong to meine.mud: the next save goes there, not to fehlt.mud.
        QCOMPARE(w.FConfig.FFileName, file);
    }

    // The menu's load and save dialogs start in conf/ with the current file preselected;
    // a name without extension gets ".mud"; a log started from the menu asks for its file.
    void menuFileDialogs()
    {
        MainWindowHarness h;
        TMudMainFrm& w = h.w();
        QVERIFY(h.Show());
        QList<TMudMainFrm::TFileDialogRequest> asked;
        QString answer;
        w.FChooseFile = [&](const TMudMainFrm::TFileDialogRequest& r) {
            asked << r;
            return answer;
        };
        h.Enter("#alias m menu");
        answer = h.folder.file("conf/menue");
        w.mnuFileSave->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].Folder, h.folder.file("conf"));
        QCOMPARE(asked[0].Preset, h.folder.file("conf/default.mud"));
        QVERIFY(ReadFile(h.folder.file("conf/menue.mud")).contains("=m/menu\r\n"));

        h.Enter("#aliasdelete m");
        h.prompts.answers << IPrompts::Answer::No;
        answer = h.folder.file("conf/menue.mud");
        w.mnuFileLoad->trigger();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[1].Preset, h.folder.file("conf/menue.mud"));
        QCOMPARE(ListItems(w.CommandsList), QStringList{"m"});

        answer.clear(); // cancelled: nothing happens
        w.mnuFileLoad->trigger();
        QCOMPARE(ListItems(w.CommandsList), QStringList{"m"});

        // A log started from the menu on an existing file appends to it on "No".
        const QString file = h.folder.file("log/alt.log");
        QVERIFY(WriteFile(file, "frueher\r\n"));
        answer = h.folder.file("log/alt");
        h.prompts.answers << IPrompts::Answer::No;
        w.mnuActionStartLog->trigger();
        QVERIFY(asked.last().Kind == TMudMainFrm::TFileDialogKind::StartLog);
        QVERIFY(w.FLog->LogActive());
        QCOMPARE(w.pnlLog->LightColor(), clLime);
        QVERIFY(!w.mnuActionStartLog->isEnabled());
        w.mnuActionStopLog->trigger();
        QVERIFY(!w.FLog->LogActive());
        QVERIFY(ReadFile(file).startsWith("frueher\r\n"));
        QVERIFY(ReadFile(file).size() > 9);
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
        QTRY_VERIFY(w.FScrollBackShown);
        QVERIFY(w.LogMemo->isVisible());
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
        QVERIFY(w.FScrollBackShown);
        QCOMPARE(w.LogMemo->textCursor().selectedText(), selected);
        QCOMPARE(w.LogMemo->verticalScrollBar()->value(), 0);

        w.MudInput->setFocus();
        QTRY_VERIFY(!w.FScrollBackShown);
        QVERIFY(!w.LogMemo->isVisible());
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

    // The console's colour fills the window below its grid; new output colours reach the
    // received text at once; the clock's hint reaches the status bar; names from the
    // dialogs that no command line could use are refused; a relative log name lies beside
    // the program.
    void coloursHintsAndNamesOfTheWindow()
    {
        MainWindowHarness h([](const QString& folder) {
            QDir(folder).mkdir("conf");
            TMudConfig config;
            config.FOutputWindow.BGColor = 0x400000;
            config.FAutoLog = true;
            config.FLogFile = "abend/sitzung.log";
            QDir(folder).mkdir("abend");
            QCOMPARE(config.SaveToFile("default"), 0);
            config.FOutputWindow.FFont.Color = 0x00FF00;
            QCOMPARE(config.SaveToFile("gruen"), 0);
        });
        TMudMainFrm& w = h.w();
        QVERIFY(w.FLog->LogActive());
        QCOMPARE(w.FLog->FLogFileName, h.folder.path() + "abend/sitzung.log");
        QVERIFY(h.Show());
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
        QVERIFY(w.FConfig.FAliases.isEmpty());
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
        TMudMainFrm& w = h.w();
        QVERIFY(h.Show());
        QVERIFY(h.ConsoleHas("\": Falsche Versionsnummer!"));
        h.Enter("#alias neu wert");
        h.prompts.answers << IPrompts::Answer::No << IPrompts::Answer::Yes;
        QVERIFY(w.close());
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
        QVERIFY(w.windowTitle().endsWith("mydefault.mud]"));
        h.prompts.answers << IPrompts::Answer::Cancel;
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QVERIFY(QDir().rmdir(h.folder.file("conf/mydefault.mud"))); // can be saved again
        h.prompts.answers << IPrompts::Answer::Yes;
        QVERIFY(w.close());
        QCOMPARE(h.prompts.log.count("Confirm3: Konfiguration wurde geändert. Speichern?"), 2);
        QVERIFY(ReadFile(h.folder.file("conf/mydefault.mud")).contains("=neu/wert\r\n"));
    }

    // A note added while the notebook is open shows there and survives saving the notebook.
    void noteAddedWhileTheNotebookIsOpen()
    {
        MainWindowHarness h;
        TMudMainFrm& w = h.w();
        QVERIFY(h.Show());
        QTest::keyClick(w.MudInput, Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(w.FNotebook->isVisible());
        QTest::keyClicks(w.FNotebook->memNotebook, "Einkauf");
        QVERIFY(h.Activate());
        h.Enter("#notiz Truhe im Keller");
        QVERIFY(w.FNotebook->memNotebook->toPlainText().startsWith("Einkauf\n\n"));
        QVERIFY(w.FNotebook->memNotebook->toPlainText().endsWith("\nTruhe im Keller"));
        h.prompts.answers << IPrompts::Answer::Yes;
        QVERIFY(w.FNotebook->close());
        const QByteArray saved = ReadFile(h.folder.file("mudnotiz.txt"));
        QVERIFY2(saved.startsWith("Einkauf\r\n\r\n") && saved.endsWith("\r\nTruhe im Keller\r\n"),
                 saved.constData());
    }
};

QTEST_MAIN(TestMainWindowLifecycle)
#include "tst_mainwindow_lifecycle.moc"
