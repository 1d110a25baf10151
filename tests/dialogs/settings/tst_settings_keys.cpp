#include "SettingsTestUtil.h"

#include "dialogs/settings/PageFuncKeys.h"
#include "dialogs/settings/PageNumPad.h"

#include <QGroupBox>
#include <QToolButton>
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace
{

QAbstractButton* FKey(TMudConfFrm& dlg, int number)
{
    return dlg.PageFuncKeys->grpKeys->button(number);
}

QAbstractButton* PadKey(TMudConfFrm& dlg, int key)
{
    return dlg.PageNumPad->grpPadKeys->button(key);
}

void AltKey(TMudConfFrm& dlg, Qt::Key key)
{
    // The key preview sees it whichever control has the focus.
    QTest::keyClick(dlg.btnCancel, key, Qt::AltModifier);
}

} // namespace

class TstSettingsKeys : public QObject
{
    Q_OBJECT
private slots:
    void shiftAddsTenToTheKey()
    {
        TSettingsFixture f;
        f.config.SetFuncKey(3, "drei");
        f.config.SetFuncKey(13, "dreizehn");
        TMudConfFrm& dlg = f.Open(spFuncKeys);
        TFuncKeysPage& page = *dlg.PageFuncKeys;
        QCOMPARE(page.CurrentKey(), 1);

        page.cbxShift->click();
        QTest::mouseClick(FKey(dlg, 3), Qt::LeftButton);
        QCOMPARE(page.CurrentKey(), 13);
        QCOMPARE(page.edtFuncValue->text(), QStringLiteral("dreizehn"));
        page.cbxShift->click();
        QCOMPARE(page.CurrentKey(), 3);
        QCOMPARE(page.edtFuncValue->text(), QStringLiteral("drei"));
    }

    void pendingEditOnAnotherKey_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Nein drops") << int(IPrompts::Answer::No);
        QTest::newRow("Ja stores") << int(IPrompts::Answer::Yes);
        QTest::newRow("Abbrechen stays") << int(IPrompts::Answer::Cancel);
    }

    void pendingEditOnAnotherKey()
    {
        QFETCH(int, answer);
        const auto given = IPrompts::Answer(answer);
        TSettingsFixture f;
        f.config.SetFuncKey(2, "alt");
        TMudConfFrm& dlg = f.Open(spFuncKeys);
        TFuncKeysPage& page = *dlg.PageFuncKeys;
        QTest::mouseClick(FKey(dlg, 2), Qt::LeftButton);
        Type(page.edtFuncValue, "neu");

        // A click offers Yes/No; Alt+arrow also offers Cancel.
        f.prompts.answers << given;
        if (given == IPrompts::Answer::Cancel)
            AltKey(dlg, Qt::Key_Right);
        else
            QTest::mouseClick(FKey(dlg, 5), Qt::LeftButton);
        const QString kind = given == IPrompts::Answer::Cancel ? "Confirm3: " : "Confirm2: ";
        QCOMPARE(f.prompts.log, QStringList{kind + "Daten wurden verändert. Übernehmen?"});
        QCOMPARE(f.Work().GetFuncKey(2),
                 given == IPrompts::Answer::Yes ? QByteArray("altneu") : QByteArray("alt"));
        QCOMPARE(page.CurrentKey(), given == IPrompts::Answer::Cancel ? 2 : 5);
        QCOMPARE(page.EditPending(), given == IPrompts::Answer::Cancel);
    }

    void altArrowsWrapAmongFunctionKeys()
    {
        TSettingsFixture f;
        f.config.SetFuncKey(10, "zehn");
        f.config.SetFuncKey(11, "umschalt eins");
        TMudConfFrm& dlg = f.Open(spFuncKeys);
        TFuncKeysPage& page = *dlg.PageFuncKeys;

        AltKey(dlg, Qt::Key_Left);
        QVERIFY(FKey(dlg, 10)->isChecked());
        QCOMPARE(page.edtFuncValue->text(), QStringLiteral("zehn"));
        QTRY_VERIFY(page.edtFuncValue->hasFocus()); // as if clicked: focus and caret in the text
        QCOMPARE(page.edtFuncValue->cursorPosition(), 4);
        AltKey(dlg, Qt::Key_Right);
        QVERIFY(FKey(dlg, 1)->isChecked());
        AltKey(dlg, Qt::Key_Down);
        page.cbxShift->click(); // F10 with Shift is 20; Up wraps to 11
        AltKey(dlg, Qt::Key_Up);
        QCOMPARE(page.CurrentKey(), 11);
        QCOMPARE(page.edtFuncValue->text(), QStringLiteral("umschalt eins"));

        // Without Alt the arrows belong to the focused control.
        QTest::keyClick(dlg.btnCancel, Qt::Key_Left);
        QCOMPARE(page.CurrentKey(), 11);
    }

    void keypadShowsKeysInButtonOrder()
    {
        TSettingsFixture f;
        TMudConfFrm& dlg = f.Open(spNumPad);
        TNumPadPage& page = *dlg.PageNumPad;
        QCOMPARE(page.edtDirection->text(), QStringLiteral("rein"));

        AltKey(dlg, Qt::Key_Left); // from "/" back to ","
        QCOMPARE(page.CurrentKey(), 14);
        AltKey(dlg, Qt::Key_Left);
        QCOMPARE(page.CurrentKey(), 1);
        AltKey(dlg, Qt::Key_Up);
        AltKey(dlg, Qt::Key_Right);
        AltKey(dlg, Qt::Key_Right);
        AltKey(dlg, Qt::Key_Right);
        QCOMPARE(page.CurrentKey(), 8); // "/", "*", "-", "7"
        QCOMPARE(page.edtDirection->text(), QStringLiteral("nw"));

        // "Anzeigen" puts the layout's texts on the buttons and takes them off again.
        QTest::mouseClick(page.btnShowLayout, Qt::LeftButton);
        Choose(page.cbNumPads, 1);
        QCOMPARE(PadKey(dlg, 9)->toolTip(), QStringLiteral("kletter hoch"));
        QTest::mouseClick(page.btnShowLayout, Qt::LeftButton);
        QCOMPARE(PadKey(dlg, 9)->text(), QStringLiteral("8"));
    }

    void layoutsAddedRenamedDeleted()
    {
        TSettingsFixture f;
        TMudConfFrm& dlg = f.Open(spNumPad);
        TNumPadPage& page = *dlg.PageNumPad;

        f.prompts.inputs << "Laufen" << QString() << QString(120, QLatin1Char('x'));
        QTest::mouseClick(page.btnNumPadAdd, Qt::LeftButton); // a duplicate name is accepted
        QCOMPARE(page.cbNumPads->currentIndex(), 3);
        QTest::mouseClick(page.btnNumPadAdd, Qt::LeftButton); // "Abbrechen"
        QCOMPARE(f.Work().FNumPadsList.Count(), 4);
        QTest::mouseClick(page.btnNumPadRename, Qt::LeftButton);
        QCOMPARE(f.prompts.log.last(),
                 QStringLiteral("Input: Ziffernblockbelegung umbennen / Neuer Name [Laufen]"));
        QCOMPARE(f.Work().FNumPadsList.Items(3).Name, QByteArray(100, 'x'));

        // Deleting the last selects the new last; "&Nein" keeps; the only one gone: nothing.
        f.prompts.answers << IPrompts::Answer::Yes << IPrompts::Answer::No;
        QTest::mouseClick(page.btnNumPadDelete, Qt::LeftButton);
        QCOMPARE(page.cbNumPads->currentText(), QStringLiteral("Alternativ"));
        QTest::mouseClick(page.btnNumPadDelete, Qt::LeftButton);
        QCOMPARE(f.Work().FNumPadsList.Count(), 3);
        Choose(page.cbNumPads, 0);
        f.prompts.answers << IPrompts::Answer::Yes << IPrompts::Answer::Yes << IPrompts::Answer::Yes;
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(page.btnNumPadDelete, Qt::LeftButton);
        QCOMPARE(page.cbNumPads->currentIndex(), -1);
        QVERIFY(!page.grpAssignment->isEnabled());
        QVERIFY(!page.btnNumPadRename->isEnabled() && !page.btnNumPadDelete->isEnabled());
        AltKey(dlg, Qt::Key_Left); // no layout: no navigation
        QCOMPARE(page.grpPadKeys->checkedId(), 15);
    }
};

QTEST_MAIN(TstSettingsKeys)
#include "tst_settings_keys.moc"
