// The modal dialogs: connect, alias/path name, path reversal and about box. Each is
// shown without exec() and closed by its own buttons and keys.

#include "config/MudConfig.h"
#include "dialogs/small/Mudopen.h"
#include "dialogs/small/mudabout.h"
#include "dialogs/small/mudedl.h"
#include "dialogs/small/mudpsw.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

namespace
{

void ShowActive(QWidget& w)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

// Text wider than its label or button would be cut off on screen.
void CheckNothingClipped(QWidget& dialog)
{
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || label->wordWrap()) continue;
        QVERIFY2(label->sizeHint().width() <= label->width() &&
                     label->sizeHint().height() <= label->height(),
                 qPrintable(label->text()));
    }
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QString text = QString(button->text()).remove('&');
        QVERIFY2(button->fontMetrics().horizontalAdvance(text) <= contents.width(),
                 qPrintable(text));
    }
}

} // namespace

class TestModalDialogs : public QObject
{
    Q_OBJECT
private slots:
    void connectDialogStartsEmptyEveryTime()
    {
        TMudOpenFrm dlg;
        ShowActive(dlg);
        QTest::keyClicks(dlg.edtHost, "mud.example.org");
        dlg.edtPort->setText("4711");
        QTest::mouseClick(dlg.btnConnect, Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        // The caller reads the fields after the dialog has closed.
        QCOMPARE(dlg.edtHost->text(), QString("mud.example.org"));

        ShowActive(dlg);
        QCOMPARE(dlg.edtHost->text(), QString());
        QCOMPARE(dlg.edtPort->text(), QString("7600"));
        QCOMPARE(QApplication::focusWidget(), dlg.edtHost);
    }

    void connectDialogIgnoresEnterAndEscape()
    {
        TMudOpenFrm dlg;
        ShowActive(dlg);
        QTest::keyClicks(dlg.edtHost, "localhost");
        for (QWidget* w : {static_cast<QWidget*>(dlg.edtHost), static_cast<QWidget*>(dlg.btnConnect)}) {
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Return);
            QTest::keyClick(w, Qt::Key_Enter, Qt::KeypadModifier);
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY(dlg.isVisible());
        }
        QTest::mouseClick(dlg.btnCancel, Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }

    void aliasEnterInShortcutMovesToEmptyValue()
    {
        TMudEditFields dlg;
        dlg.Prepare("", TMudEditFields::emAlias);
        ShowActive(dlg);
        QTest::keyClick(dlg.edtShortcut, Qt::Key_Return); // empty shortcut: nothing happens
        QCOMPARE(QApplication::focusWidget(), dlg.edtShortcut);
        QTest::keyClicks(dlg.edtShortcut, "gs");
        QTest::keyClick(dlg.edtShortcut, Qt::Key_Return);
        QVERIFY(dlg.isVisible());
        QCOMPARE(QApplication::focusWidget(), dlg.edtValue);
        QCOMPARE(dlg.edtShortcut->text(), QString("gs")); // the key itself is discarded

        QTest::keyClicks(dlg.edtValue, "sage Hallo");
        QTest::keyClick(dlg.edtValue, Qt::Key_Enter, Qt::KeypadModifier);
        QByteArray shortcut, value;
        QVERIFY(dlg.TakeResult(shortcut, value));
        QCOMPARE(value, QByteArray("sage Hallo"));
    }

    void aliasEnterWithPresetValueConfirms()
    {
        // The main window presets the value with the input line's text.
        TMudEditFields dlg;
        dlg.Prepare("oeffne tuer|norden", TMudEditFields::emAlias);
        ShowActive(dlg);
        QTest::keyClick(dlg.edtShortcut, Qt::Key_T);
        QTest::sendKeyEvent(QTest::Click, dlg.edtShortcut, Qt::Key_Udiaeresis, QString("ü"),
                            Qt::NoModifier);
        QTest::keyClick(dlg.edtShortcut, Qt::Key_R);
        QTest::keyClick(dlg.edtShortcut, Qt::Key_Return);
        QByteArray shortcut, value;
        QVERIFY(dlg.TakeResult(shortcut, value));
        QCOMPARE(shortcut, QByteArray("t\xFCr"));
        QCOMPARE(value, QByteArray("oeffne tuer|norden"));
    }

    void aliasResultNeedsConfirmAndBothFields()
    {
        QByteArray shortcut = "alt", value = "alt";
        {
            TMudEditFields dlg;
            dlg.Prepare("", TMudEditFields::emAlias);
            ShowActive(dlg);
            QTest::keyClicks(dlg.edtShortcut, "gs");
            QTest::mouseClick(dlg.btnOk, Qt::LeftButton);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QVERIFY(!dlg.TakeResult(shortcut, value));
        }
        {
            TMudEditFields dlg;
            dlg.Prepare("wert", TMudEditFields::emAlias);
            ShowActive(dlg);
            QTest::keyClicks(dlg.edtShortcut, "gs");
            QTest::keyClick(dlg.edtShortcut, Qt::Key_Escape);
            QVERIFY(!dlg.isVisible());
            QVERIFY(!dlg.TakeResult(shortcut, value));
        }
        QCOMPARE(shortcut, QByteArray("alt"));
        QCOMPARE(value, QByteArray("alt"));
    }

    void pathModeEnterClosesAtOnce()
    {
        TMudEditFields dlg;
        dlg.Prepare("n;n;o;", TMudEditFields::emPath);
        ShowActive(dlg);
        QVERIFY(!dlg.edtValue->isVisible());
        QTest::keyClicks(dlg.edtShortcut, "weg");
        QTest::keyClick(dlg.edtShortcut, Qt::Key_Return);
        QByteArray shortcut, value;
        QVERIFY(dlg.TakeResult(shortcut, value));
        QCOMPARE(value, QByteArray("n;n;o;"));
    }

    void pathSwitchListsPathsInOrder()
    {
        TMudConfig config;
        QVERIFY(config.SetPath("zurueck", "s;s;"));
        QVERIFY(config.SetPath("anfang", "n;o;"));
        QVERIFY(config.SetAlias("kein", "pfad"));
        // 0x81 has no character; the name must still come back as stored.
        QVERIFY(config.SetPath("x\x81y", "w;"));

        TMudPathSwitchFrm dlg;
        dlg.Prepare(config);
        ShowActive(dlg);
        QCOMPARE(dlg.lbPaths->count(), 3);
        QCOMPARE(dlg.lbPaths->item(0)->text(), QString("zurueck"));
        QByteArray path = "vorher", shortcut = "vorher";
        QTest::mouseClick(dlg.btnOk, Qt::LeftButton); // nothing selected
        QVERIFY(!dlg.TakeResult(path, shortcut));
        QCOMPARE(path, QByteArray("vorher"));

        ShowActive(dlg);
        dlg.lbPaths->item(2)->setSelected(true);
        QTest::keyClicks(dlg.edtNewShortcut, "yx");
        QTest::mouseClick(dlg.btnOk, Qt::LeftButton);
        QVERIFY(dlg.TakeResult(path, shortcut));
        QCOMPARE(path, QByteArray("x\x81y"));
        QCOMPARE(shortcut, QByteArray("yx"));
    }

    void aboutBuildLabel_data()
    {
        QTest::addColumn<QString>("revision");
        QTest::addColumn<QString>("label");
        QTest::newRow("keyword") << "$Revision: 1.35 $"
                                 << " Build 1.35";
        QTest::newRow("one word and a blank") << "1.35 "
                                              << " Build ";
        QTest::newRow("runs of blanks") << "  $Revision:   2.7   $"
                                        << " Build 2.7";
    }

    void aboutBuildLabel()
    {
        QFETCH(QString, revision);
        QFETCH(QString, label);
        TMudAboutFrm dlg;
        dlg.Prepare(revision);
        QCOMPARE(dlg.Build->text(), label);
    }

    void labelsAndButtonsAreNotClipped()
    {
        TMudOpenFrm open;
        CheckNothingClipped(open);
        TMudEditFields edit;
        CheckNothingClipped(edit);
        TMudPathSwitchFrm pathSwitch;
        CheckNothingClipped(pathSwitch);
        TMudAboutFrm about;
        about.Prepare("$Revision: 1.35 $");
        CheckNothingClipped(about);
    }
};

QTEST_MAIN(TestModalDialogs)
#include "tst_modaldialogs.moc"
