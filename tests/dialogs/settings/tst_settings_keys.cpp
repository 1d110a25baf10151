#include "SettingsTestUtil.h"

#include "dialogs/settings/PageFuncKeys.h"
#include "dialogs/settings/PageNumPad.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

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
    void shiftAddsTenToTheKey();
    void pendingEditOnAnotherKey_data();
    void pendingEditOnAnotherKey();
    void altArrowsWrapAmongFunctionKeys();
    void altArrowWithPendingEditCanBeCancelled();
    void keypadShowsKeysInButtonOrder();
    void keypadTextCutAndOptionStoredAtOnce();
    void showLayoutPutsTextsOnTheButtons();
    void layoutsAddedRenamedDeleted();
    void pendingKeypadEditOfferedBeforeAnotherLayout();
};

void TstSettingsKeys::shiftAddsTenToTheKey()
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

void TstSettingsKeys::pendingEditOnAnotherKey_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Nein drops") << false;
    QTest::newRow("Ja stores") << true;
}

void TstSettingsKeys::pendingEditOnAnotherKey()
{
    QFETCH(bool, yes);
    TSettingsFixture f;
    f.config.SetFuncKey(2, "alt");
    TMudConfFrm& dlg = f.Open(spFuncKeys);
    TFuncKeysPage& page = *dlg.PageFuncKeys;
    QTest::mouseClick(FKey(dlg, 2), Qt::LeftButton);
    Type(page.edtFuncValue, "neu");
    QVERIFY(page.btnFuncKeyChange->isEnabled());

    f.prompts.answers << (yes ? IPrompts::Answer::Yes : IPrompts::Answer::No);
    QTest::mouseClick(FKey(dlg, 5), Qt::LeftButton);
    QCOMPARE(f.prompts.log, QStringList{"Confirm2: Daten wurden verändert. Übernehmen?"});
    QCOMPARE(f.Work().GetFuncKey(2), yes ? QByteArray("altneu") : QByteArray("alt"));
    QCOMPARE(page.CurrentKey(), 5);
    QVERIFY(!page.btnFuncKeyChange->isEnabled());
}

void TstSettingsKeys::altArrowsWrapAmongFunctionKeys()
{
    TSettingsFixture f;
    f.config.SetFuncKey(10, "zehn");
    f.config.SetFuncKey(11, "umschalt eins");
    TMudConfFrm& dlg = f.Open(spFuncKeys);
    TFuncKeysPage& page = *dlg.PageFuncKeys;

    AltKey(dlg, Qt::Key_Left);
    QVERIFY(FKey(dlg, 10)->isChecked());
    QCOMPARE(page.edtFuncValue->text(), QStringLiteral("zehn"));
    AltKey(dlg, Qt::Key_Right);
    QVERIFY(FKey(dlg, 1)->isChecked());
    AltKey(dlg, Qt::Key_Down);
    QCOMPARE(page.CurrentKey(), 10);
    page.cbxShift->click();
    AltKey(dlg, Qt::Key_Up);
    QCOMPARE(page.CurrentKey(), 11);
    QCOMPARE(page.edtFuncValue->text(), QStringLiteral("umschalt eins"));

    // Without Alt the arrows belong to the focused control.
    QTest::keyClick(dlg.btnCancel, Qt::Key_Left);
    QCOMPARE(page.CurrentKey(), 11);
}

void TstSettingsKeys::altArrowWithPendingEditCanBeCancelled()
{
    TSettingsFixture f;
    TMudConfFrm& dlg = f.Open(spFuncKeys);
    TFuncKeysPage& page = *dlg.PageFuncKeys;
    Type(page.edtFuncValue, "hilfe");

    f.prompts.answers << IPrompts::Answer::Cancel;
    QTest::keyClick(page.edtFuncValue, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(f.prompts.log.last(), QStringLiteral("Confirm3: Daten wurden verändert. Übernehmen?"));
    QCOMPARE(page.CurrentKey(), 1);
    QVERIFY(page.EditPending());
    QCOMPARE(page.edtFuncValue->text(), QStringLiteral("hilfe"));

    f.prompts.answers << IPrompts::Answer::Yes;
    AltKey(dlg, Qt::Key_Right);
    QCOMPARE(page.CurrentKey(), 2);
    QCOMPARE(f.Work().GetFuncKey(1), QByteArray("hilfe"));
}

void TstSettingsKeys::keypadShowsKeysInButtonOrder()
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

    QTest::mouseClick(PadKey(dlg, 6), Qt::LeftButton);
    QCOMPARE(page.edtDirection->text(), QStringLiteral("schaue"));
    QCOMPARE(PadKey(dlg, 6)->toolTip(), QStringLiteral("5"));
}

void TstSettingsKeys::keypadTextCutAndOptionStoredAtOnce()
{
    TSettingsFixture f;
    TMudConfFrm& dlg = f.Open(spNumPad);
    TNumPadPage& page = *dlg.PageNumPad;
    QTest::mouseClick(PadKey(dlg, 9), Qt::LeftButton);
    page.edtDirection->clear();
    Type(page.edtDirection, "gehe nach norden und dann weiter");
    QTest::mouseClick(page.btnNumPadChange, Qt::LeftButton);
    QCOMPARE(f.Work().FNumPadsList.Items(0).Keys[9], QByteArray("gehe nach norden und dann"));
    QVERIFY(!page.btnNumPadChange->isEnabled());

    dlg.findChild<QAbstractButton*>("rbOption1")->click();
    QCOMPARE(f.Work().FNumPadsList.Items(0).Option, 1);
    QCOMPARE(f.Work().FNumPadsList.Items(1).Option, 0);
}

void TstSettingsKeys::showLayoutPutsTextsOnTheButtons()
{
    TSettingsFixture f;
    TMudConfFrm& dlg = f.Open(spNumPad);
    TNumPadPage& page = *dlg.PageNumPad;
    QTest::mouseClick(page.btnShowLayout, Qt::LeftButton);
    QCOMPARE(PadKey(dlg, 9)->text(), QStringLiteral("n"));
    QCOMPARE(PadKey(dlg, 9)->toolTip(), QStringLiteral("n"));
    Choose(page.cbNumPads, 1);
    QCOMPARE(PadKey(dlg, 6)->toolTip(), QStringLiteral("schaue"));
    QCOMPARE(PadKey(dlg, 9)->toolTip(), QStringLiteral("kletter hoch"));
    QTest::mouseClick(page.btnShowLayout, Qt::LeftButton);
    QCOMPARE(PadKey(dlg, 9)->text(), QStringLiteral("8"));
    QCOMPARE(PadKey(dlg, 9)->toolTip(), QStringLiteral("8"));
}

void TstSettingsKeys::layoutsAddedRenamedDeleted()
{
    TSettingsFixture f;
    TMudConfFrm& dlg = f.Open(spNumPad);
    TNumPadPage& page = *dlg.PageNumPad;

    f.prompts.inputs << "Laufen" << QString() << QString(120, QLatin1Char('x'));
    QTest::mouseClick(page.btnNumPadAdd, Qt::LeftButton); // a duplicate name is accepted
    QCOMPARE(page.cbNumPads->count(), 4);
    QCOMPARE(page.cbNumPads->currentIndex(), 3);
    QCOMPARE(page.edtDirection->text(), QString());
    QTest::mouseClick(page.btnNumPadAdd, Qt::LeftButton); // "Abbrechen"
    QCOMPARE(f.Work().FNumPadsList.Count(), 4);
    QTest::mouseClick(page.btnNumPadRename, Qt::LeftButton);
    QCOMPARE(f.prompts.log.last(),
             QStringLiteral("Input: Ziffernblockbelegung umbennen / Neuer Name [Laufen]"));
    QCOMPARE(f.Work().FNumPadsList.Items(3).Name, QByteArray(100, 'x'));
    QCOMPARE(page.cbNumPads->itemText(3), QString(100, QLatin1Char('x')));

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

void TstSettingsKeys::pendingKeypadEditOfferedBeforeAnotherLayout()
{
    TSettingsFixture f;
    TMudConfFrm& dlg = f.Open(spNumPad);
    TNumPadPage& page = *dlg.PageNumPad;
    Type(page.edtDirection, "2");
    f.prompts.answers << IPrompts::Answer::Yes;
    Choose(page.cbNumPads, 2);
    QCOMPARE(f.Work().FNumPadsList.Items(0).Keys[15], QByteArray("rein2"));
    QCOMPARE(f.Work().FNumPadsList.Items(2).Keys[15], QByteArray("rein"));
    QCOMPARE(page.edtDirection->text(), QStringLiteral("rein"));
    QVERIFY(!page.EditPending());
}

QTEST_MAIN(TstSettingsKeys)
#include "tst_settings_keys.moc"
