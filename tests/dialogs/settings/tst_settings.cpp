// The settings dialog driven offscreen: questions come from a script, the font and
// colour choosers from queues.
#include "ScriptedPrompts.h"
#include "dialogs/settings/CommonDialogs.h"
#include "dialogs/settings/PageColors.h"
#include "dialogs/settings/PageFuncKeys.h"
#include "dialogs/settings/PageGeneral.h"
#include "dialogs/settings/PageHighlights.h"
#include "dialogs/settings/PageLists.h"
#include "dialogs/settings/PageNumPad.h"
#include "dialogs/settings/PageShade.h"
#include "dialogs/settings/mudconf.h"
#include "display/controls/FnpComboColor.h"
#include "display/controls/Shader.h"

#include <QTest>
#include <QtWidgets>

#include <memory>

namespace
{

// An empty queue: the player cancels the chooser.
template <class T> bool Take(QList<T>& queue, T& chosen)
{
    if (queue.isEmpty()) return false;
    chosen = queue.takeFirst();
    return true;
}

class TQueuedCommonDialogs : public ICommonDialogs
{
public:
    QList<TFontSpec> fonts;
    QList<TColor> colors;
    bool ChooseFont(TFontSpec& font, QWidget*) override { return Take(fonts, font); }
    bool ChooseColor(TColor& color, QWidget*) override { return Take(colors, color); }
};

struct TSettingsFixture {
    TMudConfig config;
    ScriptedPrompts prompts;
    TQueuedCommonDialogs dialogs;
    std::unique_ptr<TMudConfFrm> dlg;

    TMudConfFrm& Open(int page)
    {
        dlg = std::make_unique<TMudConfFrm>(config, prompts, dialogs);
        dlg->ShowPage(page);
        dlg->show();
        return *dlg;
    }
    const TMudConfig& Work() const { return dlg->WorkingConfig(); }
    // The key preview sees it whichever control has the focus.
    void Alt(std::initializer_list<Qt::Key> keys)
    {
        for (Qt::Key key : keys)
            QTest::keyClick(dlg->btnCancel, key, Qt::AltModifier);
    }
};

// The player picks an entry of a drop-down list.
void Choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void Click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// A click into a list box, as the player does it.
void ClickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

QStringList Rows(const QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

} // namespace

class TstSettings : public QObject
{
    Q_OBJECT
private slots:
    void okHandsBackAndCancelDiscards_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Ok") << 0;
        QTest::newRow("Abbruch") << 1;
        QTest::newRow("Esc") << 2;
        QTest::newRow("close box") << 3;
    }

    void okHandsBackAndCancelDiscards()
    {
        QFETCH(int, how);
        TSettingsFixture f;
        f.config.FAliases = {"a/1"};
        f.config.FModified = false;
        TMudConfFrm& dlg = f.Open(spGeneral);
        dlg.PageGeneral->cbxAutoSave->click();
        dlg.PageGeneral->speAutoSaveInterval->setValue(45);
        dlg.PageGeneral->cbxTabCase->setChecked(false);
        dlg.PageShade->ShaderSteps->setValue(33);
        Choose(dlg.PageShade->ShaderFromColor, 4); // "Dunkelblau", index 5
        Choose(dlg.PageShade->ShaderToColor, 2);
        dlg.ShowPage(spFuncKeys);
        QTest::keyClicks(dlg.PageFuncKeys->edtFuncValue, "sage hallo");
        Click(dlg.PageFuncKeys->btnFuncKeyChange);
        dlg.ShowPage(spNumPad);
        f.prompts.answers << IPrompts::Answer::Yes;
        Click(dlg.PageNumPad->btnNumPadDelete); // "Laufen"
        dlg.ShowPage(spLists);
        f.prompts.inputs << "gg";
        Click(dlg.PageLists->btnListAdd);
        QTest::keyClicks(dlg.PageLists->edtValue, "sage gute Nacht");
        Click(dlg.PageLists->btnValueChange);

        if (how == 0)
            Click(dlg.btnOk);
        else if (how == 1)
            Click(dlg.btnCancel);
        else if (how == 2)
            QTest::keyClick(dlg.PageLists->lbShortcuts, Qt::Key_Escape);
        else
            dlg.close();
        QVERIFY(!dlg.isVisible());
        const bool ok = how == 0;
        QCOMPARE(dlg.TakeResult(f.config), ok);
        const TMudConfig& c = f.config;
        QCOMPARE(QList<bool>({c.FAutoSave, c.FTabCase, c.FModified}), QList<bool>({ok, !ok, ok}));
        QCOMPARE(c.FAliases, (ok ? TStringList{"a/1", "gg/sage gute Nacht"} : TStringList{"a/1"}));
        QCOMPARE(c.FNumPadsList.Count(), ok ? 2 : 3);
        if (!ok) return;
        QCOMPARE(QList<int>({c.FSaveInterval, c.FShadeSteps, c.FShadeFromColor, c.FShadeToColor}),
                 QList<int>({45, 33, 5, 3}));
        QCOMPARE(c.GetFuncKey(1), QByteArray("sage hallo"));
        QCOMPARE(c.FNumPadsList.Items(0).Name, QByteArray("Klettern"));
    }

    void executeAtOpensModallyOnThePage()
    {
        TSettingsFixture f;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<TMudConfFrm*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            Click(dlg->btnOk);
            QCOMPARE(dlg->TabbedNotebook1->currentIndex(), int(spNumPad));
        });
        QVERIFY(TMudConfFrm::ExecuteAt(f.config, spNumPad, nullptr, f.prompts, f.dialogs));
    }

    void generalPageEnablesAndMovesFocusOnlyForThePlayer()
    {
        TSettingsFixture f;
        f.config.FAutoConnect = true;
        f.config.FHost = "alt.example";
        f.config.FPort = "23";
        TMudConfFrm& dlg = f.Open(spGeneral);
        TGeneralPage& page = *dlg.PageGeneral;
        QCOMPARE(page.edtHost->text() + ':' + page.edtPort->text(), QString("alt.example:23"));
        QTRY_VERIFY(dlg.isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), dlg.btnCancel); // loading moves no focus

        page.cbxAutoLog->click();
        QVERIFY(page.edtLogFile->isEnabled());
        QCOMPARE(QApplication::focusWidget(), page.edtLogFile);
        page.cbxAutoConnect->click();
        QVERIFY(!page.edtHost->isEnabled() && !page.edtPort->isEnabled());

        // Texts reach the working copy at once; the flags only on "&Ok".
        QTest::keyClicks(page.edtLogFile, "sitzung.log");
        QCOMPARE(f.Work().FLogFile, QByteArray("sitzung.log"));
        QVERIFY(!f.Work().FAutoLog);
    }

    void coloursNoticeOnlyForOutputWindowAndShadeSteps()
    {
        TSettingsFixture f;
        TColorsPage& page = *f.Open(spColors).PageColors;
        f.dialogs.colors << 0x0000FF << 0x00FF00;

        Click(page.btnBackground);
        QCOMPARE(f.prompts.log, QStringList{"Information: " + TColorsPage::kRestartNotice});
        QCOMPARE(f.Work().FOutputWindow.BGColor, 0x0000FF);
        QCOMPARE(page.memExample->palette().color(QPalette::Base), QColor(Qt::red));

        Choose(page.cbWindow, 1);
        QCOMPARE(page.memExample->palette().color(QPalette::Base), QColor(Qt::black));
        Click(page.btnBackground);
        QCOMPARE(f.prompts.log.size(), 1);
        QCOMPARE(f.Work().FLogWindow.BGColor, 0x00FF00);

        Click(page.btnBackground); // chooser cancelled
        QCOMPARE(f.Work().FLogWindow.BGColor, 0x00FF00);

        // The font goes to the window chosen, without a notice.
        Choose(page.cbWindow, 2);
        f.dialogs.fonts << TFontSpec{"DejaVu Sans Mono", 12, 0x00FFFF, fsBold};
        Click(page.btnFont);
        QCOMPARE(f.Work().FNoteWindow.FFont.Name, QByteArray("DejaVu Sans Mono"));
        QCOMPARE(f.Work().FOutputWindow.FFont.Name, QByteArray("Courier New"));
        QVERIFY(page.memExample->font().bold());
        QCOMPARE(f.prompts.log.size(), 1);

        // Shade steps: "+" and "-" stop short of the limits; the preview follows at once.
        f.dlg->ShowPage(spShade);
        TShadePage& shade = *f.dlg->PageShade;
        QSpinBox* steps = shade.ShaderSteps;
        steps->setValue(199);
        QTest::keyClick(steps, '+');
        QCOMPARE(steps->value(), 199);
        steps->stepUp();
        QCOMPARE(steps->value(), 200);
        QTest::keyClick(steps, '-');
        QCOMPARE(steps->value(), 199);
        QCOMPARE(shade.Shader1->Steps(), quint16(199));
        Choose(shade.ShaderToColor, 2);
        QCOMPARE(shade.Shader1->ToColor(), 0x008000);
        steps->setValue(1);
        QTest::keyClick(steps, '-');
        QCOMPARE(steps->value(), 1);
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
        TFuncKeysPage& page = *f.Open(spFuncKeys).PageFuncKeys;
        Click(page.grpKeys->button(2));
        QTest::keyClicks(page.edtFuncValue, "neu");

        // A click offers Yes/No; Alt+arrow also offers Cancel.
        f.prompts.answers << given;
        if (given == IPrompts::Answer::Cancel)
            f.Alt({Qt::Key_Right});
        else
            Click(page.grpKeys->button(5));
        const QString kind = given == IPrompts::Answer::Cancel ? "Confirm3: " : "Confirm2: ";
        QCOMPARE(f.prompts.log, QStringList{kind + "Daten wurden verändert. Übernehmen?"});
        QCOMPARE(f.Work().GetFuncKey(2),
                 given == IPrompts::Answer::Yes ? QByteArray("altneu") : QByteArray("alt"));
        QCOMPARE(page.CurrentKey(), given == IPrompts::Answer::Cancel ? 2 : 5);
        QCOMPARE(page.EditPending(), given == IPrompts::Answer::Cancel);
    }

    void altArrowsWrapAndShiftAddsTen()
    {
        TSettingsFixture f;
        f.config.SetFuncKey(3, "drei");
        f.config.SetFuncKey(10, "zehn");
        f.config.SetFuncKey(11, "umschalt eins");
        TFuncKeysPage& page = *f.Open(spFuncKeys).PageFuncKeys;
        QCOMPARE(page.CurrentKey(), 1);

        f.Alt({Qt::Key_Left});
        QVERIFY(page.grpKeys->button(10)->isChecked());
        QCOMPARE(page.edtFuncValue->text(), QStringLiteral("zehn"));
        QTRY_VERIFY(page.edtFuncValue->hasFocus()); // as if clicked: focus and caret in the text
        QCOMPARE(page.edtFuncValue->cursorPosition(), 4);
        f.Alt({Qt::Key_Right});
        QVERIFY(page.grpKeys->button(1)->isChecked());
        f.Alt({Qt::Key_Down});
        page.cbxShift->click(); // F10 with Shift is 20; Up wraps to 11
        f.Alt({Qt::Key_Up});
        QCOMPARE(page.CurrentKey(), 11);
        QCOMPARE(page.edtFuncValue->text(), QStringLiteral("umschalt eins"));
        Click(page.grpKeys->button(3));
        QCOMPARE(page.CurrentKey(), 13);
        page.cbxShift->click(); // off again: back to the key itself
        QCOMPARE(page.edtFuncValue->text(), QStringLiteral("drei"));

        // Without Alt the arrows belong to the focused control.
        QTest::keyClick(f.dlg->btnCancel, Qt::Key_Left);
        QCOMPARE(page.CurrentKey(), 3);
    }

    void keypadKeysInButtonOrderAndLayouts()
    {
        TSettingsFixture f;
        TNumPadPage& page = *f.Open(spNumPad).PageNumPad;
        QCOMPARE(page.edtDirection->text(), QStringLiteral("rein"));

        f.Alt({Qt::Key_Left}); // from "/" back to ","
        QCOMPARE(page.CurrentKey(), 14);
        f.Alt({Qt::Key_Left});
        QCOMPARE(page.CurrentKey(), 1);
        f.Alt({Qt::Key_Up, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});
        QCOMPARE(page.CurrentKey(), 8); // "/", "*", "-", "7"
        QCOMPARE(page.edtDirection->text(), QStringLiteral("nw"));

        // "Anzeigen" puts the layout's texts on the buttons and takes them off again.
        Click(page.btnShowLayout);
        Choose(page.cbNumPads, 1);
        QCOMPARE(page.grpPadKeys->button(9)->toolTip(), QStringLiteral("kletter hoch"));
        Click(page.btnShowLayout);
        QCOMPARE(page.grpPadKeys->button(9)->text(), QStringLiteral("8"));

        // Layouts added, renamed and deleted.
        f.prompts.inputs << "Laufen" << QString() << QString(120, QLatin1Char('x'));
        Click(page.btnNumPadAdd); // a duplicate name is accepted
        QCOMPARE(page.cbNumPads->currentIndex(), 3);
        Click(page.btnNumPadAdd); // "Abbrechen"
        QCOMPARE(f.Work().FNumPadsList.Count(), 4);
        Click(page.btnNumPadRename);
        QCOMPARE(f.prompts.log.last(),
                 QStringLiteral("Input: Ziffernblockbelegung umbennen / Neuer Name [Laufen]"));
        QCOMPARE(f.Work().FNumPadsList.Items(3).Name, QByteArray(100, 'x'));

        // Deleting the last selects the new last; "&Nein" keeps; the only one gone: nothing.
        f.prompts.answers << IPrompts::Answer::Yes << IPrompts::Answer::No;
        Click(page.btnNumPadDelete);
        QCOMPARE(page.cbNumPads->currentText(), QStringLiteral("Alternativ"));
        Click(page.btnNumPadDelete);
        QCOMPARE(f.Work().FNumPadsList.Count(), 3);
        Choose(page.cbNumPads, 0);
        f.prompts.answers << IPrompts::Answer::Yes << IPrompts::Answer::Yes
                          << IPrompts::Answer::Yes;
        for (int i = 0; i < 3; ++i)
            Click(page.btnNumPadDelete);
        QCOMPARE(page.cbNumPads->currentIndex(), -1);
        QVERIFY(!page.grpAssignment->isEnabled());
        QVERIFY(!page.btnNumPadRename->isEnabled() && !page.btnNumPadDelete->isEnabled());
        f.Alt({Qt::Key_Left}); // no layout: no navigation
        QCOMPARE(page.grpPadKeys->checkedId(), 15);
    }

    void addingRefusesTakenNames_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("alias named like a path")
            << 0 << "weg" << "Warning: Kürzel bereits belegt.";
        QTest::newRow("path name holding a slash")
            << 2 << "a/b" << "Warning: Ein Kürzel darf kein \"/\" enthalten.";
        QTest::newRow("word differing in case")
            << 1 << "DRACHE" << "Warning: Ergänzung existiert bereits.";
    }

    void addingRefusesTakenNames()
    {
        QFETCH(int, list);
        QFETCH(QString, name);
        QFETCH(QString, message);
        TSettingsFixture f;
        f.config.FAliases = {"gg/sage gute Nacht"};
        f.config.FPaths = {"weg/n;o;"};
        f.config.FTabs = {"drache", "zwerg"};
        TListsPage& page = *f.Open(spLists).PageLists;
        Choose(page.cbLists, list);
        const QStringList before = Rows(page.lbShortcuts);
        const int selected = page.lbShortcuts->currentRow();

        f.prompts.inputs << name;
        Click(page.btnListAdd);
        QCOMPARE(f.prompts.log.last(), message);
        QCOMPARE(Rows(page.lbShortcuts), before);
        QCOMPARE(page.lbShortcuts->currentRow(), selected);
        QCOMPARE(f.Work().FAliases.size() + f.Work().FPaths.size() + f.Work().FTabs.size() +
                     f.Work().FSessions.size(),
                 4);
    }

    void listsEditedRenamedAddedAndDeleted()
    {
        TSettingsFixture f;
        f.config.FAliases = {"a/1", "b/2"};
        f.config.FTabs = {"Drache", "Zwerg"};
        f.config.FSessions = {"alt/h.de/23"};
        f.config.FPaths = {"p/n;", "q/s;", "r/o;"};
        TListsPage& page = *f.Open(spLists).PageLists;
        // A value typed and another entry clicked: "&Ja" stores it where it was typed.
        QTest::keyClicks(page.edtValue, "1");
        f.prompts.answers << IPrompts::Answer::Yes;
        ClickRow(page.lbShortcuts, 1);
        QCOMPARE(f.Work().FAliases, (TStringList{"a/11", "b/2"}));
        QCOMPARE(page.edtShortCut->text() + page.edtValue->text(), QStringLiteral("b2"));

        f.prompts.inputs << "b" << "a" << "c";
        Click(page.btnListRename); // its own name is found too
        QCOMPARE(
            f.prompts.log.last(),
            QStringLiteral("Error: Kann Alias nicht umbenennen.\r\nKürzel ist bereits vergeben."));
        Click(page.btnListRename);
        QCOMPARE(f.Work().FAliases, (TStringList{"a/11", "b/2"}));
        Click(page.btnListRename);
        QCOMPARE(Rows(page.lbShortcuts), (QStringList{"a", "c"}));

        Choose(page.cbLists, TListsPage::lcTabs);
        f.prompts.inputs << "zwerg";
        Click(page.btnListRename);
        QCOMPARE(f.prompts.log.last(),
                 QStringLiteral("Error: Kann Ergänzung nicht umbenennen, da eine "
                                "\r\nErgänzung mit gleichem Namen existiert."));

        // A new session has no host until one is entered.
        Choose(page.cbLists, TListsPage::lcSessions);
        QCOMPARE(page.edtSessionHost->text(), QStringLiteral("h.de"));
        f.prompts.inputs << "vez";
        Click(page.btnListAdd);
        QCOMPARE(page.edtSessionHost->text() + page.edtSessionPort->text(), QStringLiteral("7600"));
        QCOMPARE(f.Work().FSessions, (TStringList{"alt/h.de/23", "vez"}));
        QTest::keyClicks(page.edtSessionHost, "mud.vezoriza.de");
        page.edtSessionPort->selectAll();
        QTest::keyClicks(page.edtSessionPort, "4711");
        Click(page.btnSessionChange);
        QCOMPARE(f.Work().FSessions.last(), QByteArray("vez/mud.vezoriza.de/4711"));

        // Deleting selects the same row, else the new last, else none.
        Choose(page.cbLists, TListsPage::lcPaths);
        ClickRow(page.lbShortcuts, 2);
        f.prompts.answers << IPrompts::Answer::No << IPrompts::Answer::Yes << IPrompts::Answer::Yes
                          << IPrompts::Answer::Yes;
        Click(page.btnListDelete);
        QCOMPARE(f.Work().FPaths.size(), 3);
        Click(page.btnListDelete);
        QCOMPARE(f.prompts.log.last(),
                 QStringLiteral("Confirm2: Möchtest Du diesen Eintrag löschen?"));
        QCOMPARE(page.edtValue->text(), QStringLiteral("s;")); // the new last
        ClickRow(page.lbShortcuts, 0);
        Click(page.btnListDelete);
        QCOMPARE(page.edtShortCut->text(), QStringLiteral("q")); // the same row
        Click(page.btnListDelete);
        QVERIFY(f.Work().FPaths.isEmpty());
        QCOMPARE(page.lbShortcuts->currentRow(), -1);
        QVERIFY(!page.btnListRename->isEnabled() && !page.btnListDelete->isEnabled());
        QCOMPARE(page.edtShortCut->text(), QString());
    }

    void highlightsAddedChangedDeleted()
    {
        TSettingsFixture f;
        f.config.FHighlights = {"Drache/10/1", "Ork/3/1"};
        THighlightsPage& page = *f.Open(spHighlights).PageHighlights;
        QCOMPARE(page.cbVGColor->currentText(), QStringLiteral("Schwarz"));

        for (const char* text : {"  drache ", "ein/aus", "   "}) {
            page.edtHighlight->setText(text);
            Click(page.btnHighlightAdd);
        }
        QCOMPARE(f.prompts.log,
                 (QStringList{"Warning: " + THighlightsPage::kDuplicate,
                              "Warning: Eine Hervorhebung darf kein \"/\" enthalten."}));
        Choose(page.cbVGColor, 11);
        page.edtHighlight->setText(" Zwerg ");
        Click(page.btnHighlightAdd);
        QCOMPARE(f.Work().FHighlights, (TStringList{"Drache/10/1", "Ork/3/1", "Zwerg/9/1"}));
        QCOMPARE(page.edtHighlight->palette().color(QPalette::Base), QColor(Qt::black));

        // A colour chosen and another entry clicked: "&Ja" stores into the entry shown.
        ClickRow(page.lbHighlightList, 0);
        Choose(page.cbBGColor, 15);
        QVERIFY(page.btnHighlightChange->isEnabled());
        f.prompts.answers << IPrompts::Answer::Yes;
        ClickRow(page.lbHighlightList, 2);
        QCOMPARE(f.Work().FHighlights.mid(0, 2), (TStringList{"Drache/10/16", "Ork/3/1"}));
        page.edtHighlight->selectAll();
        QTest::keyClicks(page.edtHighlight, "drache");
        Click(page.btnHighlightChange);
        QCOMPARE(f.prompts.log.last(), "Warning: " + THighlightsPage::kDuplicate);
        page.edtHighlight->selectAll();
        QTest::keyClicks(page.edtHighlight, "Zwerge ");
        Click(page.btnHighlightChange);
        QCOMPARE(page.lbHighlightList->item(2)->text(), QStringLiteral("Zwerge"));

        f.prompts.answers << IPrompts::Answer::No << IPrompts::Answer::Yes;
        Click(page.btnHighlightDelete);
        QCOMPARE(f.Work().FHighlights.size(), 3);
        Click(page.btnHighlightDelete);
        QCOMPARE(f.Work().FHighlights, (TStringList{"Drache/10/16", "Ork/3/1"}));
        QCOMPARE(page.cbVGColor->currentText(), QStringLiteral("Grün")); // "Ork" shown
    }
};

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
