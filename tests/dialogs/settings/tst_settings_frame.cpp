#include "SettingsTestUtil.h"

#include "dialogs/settings/PageColors.h"
#include "dialogs/settings/PageFuncKeys.h"
#include "dialogs/settings/PageGeneral.h"
#include "dialogs/settings/PageLists.h"
#include "dialogs/settings/PageNumPad.h"
#include "dialogs/settings/PageShade.h"
#include "display/controls/FnpComboColor.h"
#include "display/controls/Shader.h"

#include <QApplication>
#include <QListWidget>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

class TstSettingsFrame : public QObject
{
    Q_OBJECT
private slots:
    void okHandsBackEveryChange()
    {
        TSettingsFixture f;
        f.config.FModified = false;
        TMudConfFrm& dlg = f.Open(spGeneral);

        dlg.PageGeneral->cbxAutoSave->click();
        dlg.PageGeneral->speAutoSaveInterval->setValue(45);
        dlg.PageGeneral->cbxTabCase->setChecked(false);
        dlg.PageShade->ShaderSteps->setValue(33);
        Choose(dlg.PageShade->ShaderFromColor, 4); // "Dunkelblau", index 5

        dlg.ShowPage(spFuncKeys);
        Type(dlg.PageFuncKeys->edtFuncValue, "sage hallo");
        QTest::mouseClick(dlg.PageFuncKeys->btnFuncKeyChange, Qt::LeftButton);

        dlg.ShowPage(spLists);
        f.prompts.inputs << "gg";
        QTest::mouseClick(dlg.PageLists->btnListAdd, Qt::LeftButton);
        Type(dlg.PageLists->edtValue, "sage gute Nacht");
        QTest::mouseClick(dlg.PageLists->btnValueChange, Qt::LeftButton);

        dlg.ShowPage(spNumPad);
        f.prompts.answers << IPrompts::Answer::Yes;
        QTest::mouseClick(dlg.PageNumPad->btnNumPadDelete, Qt::LeftButton); // "Laufen"

        QTest::mouseClick(dlg.btnOk, Qt::LeftButton);
        QVERIFY(dlg.TakeResult(f.config));
        QVERIFY(f.config.FAutoSave);
        QCOMPARE(f.config.FSaveInterval, 45);
        QVERIFY(!f.config.FTabCase);
        QCOMPARE(f.config.FShadeSteps, 33);
        QCOMPARE(f.config.FShadeFromColor, 5);
        QCOMPARE(f.config.GetFuncKey(1), QByteArray("sage hallo"));
        QCOMPARE(f.config.FAliases, TStringList{"gg/sage gute Nacht"});
        QCOMPARE(f.config.FNumPadsList.Count(), 2);
        QCOMPARE(f.config.FNumPadsList.Items(0).Name, QByteArray("Klettern"));
        QVERIFY(f.config.FModified);
    }

    void cancelDiscardsEverything_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Abbruch") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("close box") << 2;
    }

    void cancelDiscardsEverything()
    {
        QFETCH(int, how);
        TSettingsFixture f;
        f.config.FAliases = {"a/1"};
        f.config.FPaths = {"p/n;s;"};
        f.config.FModified = false;
        TMudConfFrm& dlg = f.Open(spNumPad);

        f.prompts.inputs << "Schwimmen";
        QTest::mouseClick(dlg.PageNumPad->btnNumPadAdd, Qt::LeftButton);
        QCOMPARE(dlg.PageNumPad->cbNumPads->currentText(), QStringLiteral("Schwimmen"));
        dlg.PageGeneral->edtHost->setText("mud.example.org");
        dlg.PageGeneral->cbxAliasCase->setChecked(false);
        dlg.ShowPage(spLists);
        f.prompts.inputs << "b";
        QTest::mouseClick(dlg.PageLists->btnListRename, Qt::LeftButton);
        f.prompts.answers << IPrompts::Answer::Yes;
        QTest::mouseClick(dlg.PageLists->btnListDelete, Qt::LeftButton);
        QVERIFY(dlg.WorkingConfig().FAliases.isEmpty());

        if (how == 0)
            QTest::mouseClick(dlg.btnCancel, Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(dlg.PageLists->lbShortcuts, Qt::Key_Escape);
        else
            dlg.close();
        QVERIFY(!dlg.isVisible());
        QVERIFY(!dlg.TakeResult(f.config));
        QCOMPARE(f.config.FNumPadsList.Count(), 3);
        QCOMPARE(f.config.FAliases, TStringList{"a/1"});
        QVERIFY(f.config.FHost.isEmpty());
        QVERIFY(f.config.FAliasCase);
        QVERIFY(!f.config.FModified);
    }

    void executeAtOpensModallyOnThePage()
    {
        TMudConfig config;
        ScriptedPrompts prompts;
        TQueuedCommonDialogs dialogs;
        QString keyShown;
        int pageShown = -1;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<TMudConfFrm*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            pageShown = dlg->TabbedNotebook1->currentIndex();
            keyShown = dlg->PageNumPad->edtDirection->text();
            QCOMPARE(dlg->focusWidget(), dlg->btnCancel);
            dlg->PageNumPad->edtDirection->setText("hinein");
            QTest::mouseClick(dlg->PageNumPad->btnNumPadChange, Qt::LeftButton);
            QTest::mouseClick(dlg->btnOk, Qt::LeftButton);
        });
        QVERIFY(TMudConfFrm::ExecuteAt(config, spNumPad, nullptr, prompts, dialogs));
        QCOMPARE(pageShown, int(spNumPad));
        QCOMPARE(keyShown, QStringLiteral("rein"));
    }

    void generalPageEnablesAndMovesFocusOnlyForThePlayer()
    {
        TSettingsFixture f;
        f.config.FAutoConnect = true;
        f.config.FHost = "alt.example";
        TMudConfFrm& dlg = f.Open(spGeneral);
        TGeneralPage& page = *dlg.PageGeneral;
        QTRY_VERIFY(dlg.isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), dlg.btnCancel); // loading moves no focus

        page.cbxAutoLog->click();
        QVERIFY(page.edtLogFile->isEnabled());
        QCOMPARE(QApplication::focusWidget(), page.edtLogFile);
        page.cbxAutoConnect->click();
        QVERIFY(!page.edtHost->isEnabled() && !page.edtPort->isEnabled());

        // Texts reach the working copy at once; the flags only on "&Ok".
        Type(page.edtLogFile, "sitzung.log");
        QCOMPARE(f.Work().FLogFile, QByteArray("sitzung.log"));
        QVERIFY(!f.Work().FAutoLog);
    }

    void backgroundColourNoticeOnlyForOutputWindow()
    {
        TSettingsFixture f;
        TMudConfFrm& dlg = f.Open(spColors);
        TColorsPage& page = *dlg.PageColors;
        f.dialogs.colors << 0x0000FF << 0x00FF00;

        QTest::mouseClick(page.btnBackground, Qt::LeftButton);
        QCOMPARE(f.prompts.log, QStringList{"Information: " + TColorsPage::kRestartNotice});
        QCOMPARE(f.Work().FOutputWindow.BGColor, 0x0000FF);
        QCOMPARE(page.memExample->palette().color(QPalette::Base), QColor(Qt::red));

        Choose(page.cbWindow, 1);
        QCOMPARE(page.memExample->palette().color(QPalette::Base), QColor(Qt::black));
        QTest::mouseClick(page.btnBackground, Qt::LeftButton);
        QCOMPARE(f.prompts.log.size(), 1);
        QCOMPARE(f.Work().FLogWindow.BGColor, 0x00FF00);

        QTest::mouseClick(page.btnBackground, Qt::LeftButton); // chooser cancelled
        QCOMPARE(f.Work().FLogWindow.BGColor, 0x00FF00);

        // The font goes to the window chosen, without a notice.
        Choose(page.cbWindow, 2);
        f.dialogs.fonts << TFontSpec{"DejaVu Sans Mono", 12, 0x00FFFF, fsBold};
        QTest::mouseClick(page.btnFont, Qt::LeftButton);
        QCOMPARE(f.Work().FNoteWindow.FFont.Name, QByteArray("DejaVu Sans Mono"));
        QCOMPARE(f.Work().FOutputWindow.FFont.Name, QByteArray("Courier New"));
        QVERIFY(page.memExample->font().bold());
        QCOMPARE(f.prompts.log.size(), 1);
    }

    void shadeStepsPlusMinusStopShortOfTheLimits()
    {
        TSettingsFixture f;
        TMudConfFrm& dlg = f.Open(spShade);
        QSpinBox* steps = dlg.PageShade->ShaderSteps;
        steps->setValue(199);
        QTest::keyClick(steps, '+');
        QCOMPARE(steps->value(), 199);
        steps->stepUp();
        QCOMPARE(steps->value(), 200);
        QTest::keyClick(steps, '-');
        QCOMPARE(steps->value(), 199);
        QCOMPARE(dlg.PageShade->Shader1->Steps(), quint16(199));
        Choose(dlg.PageShade->ShaderToColor, 2); // the preview follows at once
        QCOMPARE(dlg.PageShade->Shader1->ToColor(), 0x008000);
        steps->setValue(1);
        QTest::keyClick(steps, '-');
        QCOMPARE(steps->value(), 1);
        QTest::keyClick(steps, 'a');
        QCOMPARE(steps->text(), QStringLiteral("1"));
    }
};

QTEST_MAIN(TstSettingsFrame)
#include "tst_settings_frame.moc"
