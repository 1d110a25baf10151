// The main window as a screen reader sees it through Qt's accessibility API: every
// control named and described in German, lights that say their state, the compass as
// nine buttons that walk.
#include "MainWindowHarness.h"

#include "app/Kompass.h"
#include "app/StatusLight.h"
#include "command/KeypadWalker.h"
#include "display/controls/tbedit.h"

#include <QAccessible>
#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

QString Said(QObject* object, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(object);
    return a ? a->text(text) : QString("(none)");
}

} // namespace

class TestMainWindowAccessible : public QObject {
    Q_OBJECT
private slots:
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
    }

    void compassIsNineButtonsThatWalk()
    {
        MainWindowHarness h;
        TMudMainFrm& w = h.w();
        QAccessibleInterface* compass = QAccessible::queryAccessibleInterface(w.Kompass);
        QVERIFY(compass);
        QCOMPARE(compass->childCount(), 9);
        const QStringList names{"Norden", "Nordosten", "Osten", "Südosten", "Süden",
                                "Südwesten", "Westen", "Nordwesten", "Mitte"};
        const int slotOf[] = {9, 10, 7, 4, 3, 2, 5, 8, 6}; // keypad key + 1
        QSignalSpy clicked(w.Kompass, &TKompass::Clicked);
        for (int i = 0; i < 9; ++i) {
            QAccessibleInterface* direction = compass->child(i);
            QCOMPARE(direction->text(QAccessible::Name), names[i]);
            QCOMPARE(direction->role(), QAccessible::Button);
            QCOMPARE(compass->indexOfChild(direction), i);
            QCOMPARE(direction->text(QAccessible::Description), QString("Ziffernblock %1").arg(slotOf[i] - 1));
            direction->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(clicked.size(), i + 1);
            QCOMPARE(TKeypadWalker::KompassSlot(clicked[i][1].toInt(), clicked[i][2].toInt()), slotOf[i]);
        }
    }
};

QTEST_MAIN(TestMainWindowAccessible)
#include "tst_mainwindow_accessible.moc"
