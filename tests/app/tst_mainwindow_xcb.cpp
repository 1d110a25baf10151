// The window under a real X server (Xvfb), where the offscreen platform hides what the
// player sees: the titles the X server shows, exactly as given, and Qt's own dialogs
// and menus in German. Runs with the application object the client starts with.
#include "MainWindowHarness.h"

#include "app/KmcApplication.h"
#include "app/MessageBoxPrompts.h"
#include "dialogs/small/mudnbook.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProcess>

namespace {

// _NET_WM_NAME of a top-level window as the X server holds it, once it has one.
QString XTitle(QWidget* window)
{
    for (int tries = 0; tries < 100; ++tries) {
        QProcess xprop;
        xprop.setEnvironment(QProcess::systemEnvironment() << "LC_ALL=C.UTF-8");
        xprop.start("xprop", {"-id", QString::number(window->winId()), "-notype", "_NET_WM_NAME"});
        if (!xprop.waitForFinished(10000))
            return "xprop failed";
        const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
        const qsizetype open = out.indexOf('"');
        if (open >= 0)
            return out.mid(open + 1, out.lastIndexOf('"') - open - 1);
        QTest::qWait(50);
    }
    return QString();
}

// Texts of the labels, buttons and menu entries a dialog or menu shows.
QStringList ShownTexts(QWidget* top)
{
    QStringList texts;
    for (const QLabel* l : top->findChildren<QLabel*>())
        texts << l->text();
    for (const QAbstractButton* b : top->findChildren<QAbstractButton*>())
        texts << b->text();
    for (const QAction* a : top->actions())
        texts << a->text();
    return texts;
}

} // namespace

class TestMainWindowXcb : public QObject {
    Q_OBJECT
private slots:
    // The titles the X server shows are exactly the captions; Qt's own texts in the
    // dialogs and in the input line's menu are German.
    void titlesExactAndQtTextsGerman()
    {
        MainWindowHarness h;
        TMudMainFrm& w = h.w();
        QVERIFY(h.Show());
        QTRY_COMPARE(XTitle(&w), QString("Kelmoth's Mud-Client (KMC) V1.0b1"));
        h.Enter("#save titel");
        QTRY_COMPARE(XTitle(&w), "Kelmoth's Mud-Client (KMC) V1.0b1 [" + h.folder.file("conf/titel.mud") + "]");

        TMessageBoxPrompts boxes(&w);
        QAction confirm;
        connect(&confirm, &QAction::triggered, [&] { boxes.Confirm("Frage?", false); });
        const std::pair<QAction*, QString> dialogs[] = {
            {w.mnuOptionsGlobal, "KMC Einstellungen"}, {w.mnuFileOpen, "MUD öffnen"},
            {w.mnuViewVorka, "Ternu-O-Matic(tm) "},    {w.mnuActionSwitchPath, "Pfad umkehren"},
            {&confirm, "Bestätigen"}, {w.mnuFileLoad, "Konfiguration laden"}};
        QStringList shown;
        for (const auto& [item, title] : dialogs) {
            QString seen;
            WhenModal<QWidget>([&](QWidget* modal) {
                seen = XTitle(modal);
                shown += ShownTexts(modal);
                modal->close();
            });
            item->trigger();
            QCOMPARE(seen, title);
        }
        w.mnuViewNotebook->trigger();
        QTRY_COMPARE(XTitle(w.FNotebook), QString("KMC Notizbuch"));
        w.FNotebook->close();

        QVERIFY(shown.contains("Abbrechen"));
        std::unique_ptr<QMenu> menu(w.MudInput->createStandardContextMenu());
        shown += ShownTexts(menu.get());
        for (const char* english : {"Look in:", "File &name:", "File name:", "Cancel", "&Open",
                                    "Open", "&Undo", "&Redo", "Cu&t", "&Copy", "&Paste",
                                    "Select All"})
            QVERIFY2(!shown.contains(english), english);
    }
};

int main(int argc, char** argv)
{
    TKmcApplication app(argc, argv);
    TestMainWindowXcb test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow_xcb.moc"
