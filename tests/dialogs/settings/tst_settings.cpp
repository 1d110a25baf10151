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

} // namespace

class TstSettings : public QObject
{
    Q_OBJECT
private slots:
    void okHandsBackAndCancelDiscards_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Ok") << true;
        QTest::newRow("Abbruch") << false;
    }

    // The general and shade pages copy their fields only on "&Ok"; texts and function keys
    // go into the working copy at once.
    void okHandsBackAndCancelDiscards()
    {
        QFETCH(bool, ok);
        TSettingsFixture f;
        f.config.FModified = false;
        f.config.FAutoLog = true;
        f.config.FHost = "alt.example";
        f.config.FPort = "23";
        TMudConfFrm& dlg = f.Open(spGeneral);
        TGeneralPage& page = *dlg.PageGeneral;
        QCOMPARE(page.edtHost->text() + ':' + page.edtPort->text(), QString("alt.example:23"));
        QTRY_VERIFY(dlg.isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), dlg.btnCancel); // loading moves no focus
        page.cbxAutoSave->click();
        QCOMPARE(QApplication::focusWidget(), page.speAutoSaveInterval); // the player's does
        page.speAutoSaveInterval->setValue(45);
        page.cbxTabCase->setChecked(false);
        QTest::keyClicks(page.edtLogFile, "sitzung.log");
        QVERIFY(f.Work().FLogFile == "sitzung.log" && !f.Work().FAutoSave);
        dlg.PageShade->ShaderSteps->setValue(33);
        Choose(dlg.PageShade->ShaderFromColor, 4); // "Dunkelblau", index 5
        Choose(dlg.PageShade->ShaderToColor, 2);
        dlg.ShowPage(spFuncKeys);
        QTest::keyClicks(dlg.PageFuncKeys->edtFuncValue, "sage hallo");
        Click(dlg.PageFuncKeys->btnFuncKeyChange);

        Click(ok ? dlg.btnOk : dlg.btnCancel);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.TakeResult(f.config), ok);
        const TMudConfig& c = f.config;
        QCOMPARE(QList<bool>({c.FAutoSave, c.FTabCase, c.FModified}), QList<bool>({ok, !ok, ok}));
        QCOMPARE(c.GetFuncKey(1) == "sage hallo" && c.FLogFile == "sitzung.log", ok);
        if (ok)
            QCOMPARE(
                QList<int>({c.FSaveInterval, c.FShadeSteps, c.FShadeFromColor, c.FShadeToColor}),
                QList<int>({45, 33, 5, 3}));
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
        QCOMPARE(f.prompts.log.size(), 1); // no notice but the first

        // Shade steps: "+" and "-" stop short of the limits; the preview follows at once.
        f.dlg->ShowPage(spShade);
        TShadePage& shade = *f.dlg->PageShade;
        QSpinBox* steps = shade.ShaderSteps;
        steps->setValue(199);
        QTest::keyClick(steps, '+');
        QCOMPARE(steps->value(), 199);
        QTest::keyClick(steps, '-');
        QCOMPARE(shade.Shader1->Steps(), quint16(198));
        steps->setValue(1);
        QTest::keyClick(steps, '-');
        QCOMPARE(steps->value(), 1);
    }

    // A typed text and another key: a click offers Yes/No, Alt+arrow also Cancel.
    void functionKeysPendingEditAndAltArrows()
    {
        TSettingsFixture f;
        f.config.SetFuncKey(2, "alt");
        f.config.SetFuncKey(10, "zehn");
        f.config.SetFuncKey(11, "umschalt eins");
        TFuncKeysPage& page = *f.Open(spFuncKeys).PageFuncKeys;
        Click(page.grpKeys->button(2));
        QTest::keyClicks(page.edtFuncValue, "neu");
        f.prompts.answers << IPrompts::Answer::Cancel << IPrompts::Answer::No
                          << IPrompts::Answer::Yes;
        f.Alt({Qt::Key_Right}); // "Abbrechen" stays
        QVERIFY(page.CurrentKey() == 2 && page.EditPending());
        Click(page.grpKeys->button(5)); // "Nein" drops
        Click(page.grpKeys->button(2));
        QTest::keyClicks(page.edtFuncValue, "neu");
        Click(page.grpKeys->button(5)); // "Ja" stores
        QCOMPARE(f.Work().GetFuncKey(2), QByteArray("altneu"));
        const QString asked = "Daten wurden verändert. Übernehmen?";
        QCOMPARE(f.prompts.log,
                 (QStringList{"Confirm3: " + asked, "Confirm2: " + asked, "Confirm2: " + asked}));

        f.Alt({Qt::Key_Up, Qt::Key_Left}); // F1, then round to F10
        QCOMPARE(page.edtFuncValue->text(), QStringLiteral("zehn"));
        QTRY_VERIFY(page.edtFuncValue->hasFocus()); // as if clicked: focus and caret in the text
        QCOMPARE(page.edtFuncValue->cursorPosition(), 4);
        f.Alt({Qt::Key_Right, Qt::Key_Down}); // round to F1, then F10
        page.cbxShift->click();               // F10 with Shift is 20; Up wraps to 11
        f.Alt({Qt::Key_Up});
        QCOMPARE(page.edtFuncValue->text(), QStringLiteral("umschalt eins"));
        // Without Alt the arrows belong to the focused control.
        QTest::keyClick(f.dlg->btnCancel, Qt::Key_Left);
        QCOMPARE(page.CurrentKey(), 11);
    }

    void keypadKeysInButtonOrderAndLayouts()
    {
        TSettingsFixture f;
        TNumPadPage& page = *f.Open(spNumPad).PageNumPad;
        f.Alt({Qt::Key_Left}); // from "/" back to ","
        QCOMPARE(page.CurrentKey(), 14);
        f.Alt({Qt::Key_Up, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});
        QCOMPARE(page.edtDirection->text(), QStringLiteral("nw")); // "/", "*", "-", "7"

        // "Anzeigen" puts the layout's texts on the buttons.
        Click(page.btnShowLayout);
        Choose(page.cbNumPads, 1);
        QCOMPARE(page.grpPadKeys->button(9)->toolTip(), QStringLiteral("kletter hoch"));

        f.prompts.inputs << "Laufen" << QString(120, QLatin1Char('x'));
        Click(page.btnNumPadAdd); // a duplicate name is accepted, and shown
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
        QVERIFY(!page.grpAssignment->isEnabled() && !page.btnNumPadDelete->isEnabled());
        f.Alt({Qt::Key_Left}); // no layout: no navigation
        QCOMPARE(page.grpPadKeys->checkedId(), 15);
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

        f.prompts.inputs << "b" << "c";
        Click(page.btnListRename); // its own name is found too
        QCOMPARE(
            f.prompts.log.last(),
            QStringLiteral("Error: Kann Alias nicht umbenennen.\r\nKürzel ist bereits vergeben."));
        Click(page.btnListRename);
        QCOMPARE(f.Work().FAliases, (TStringList{"a/11", "c/2"}));

        Choose(page.cbLists, TListsPage::lcTabs);
        f.prompts.inputs << "zwerg";
        Click(page.btnListRename);
        QCOMPARE(f.prompts.log.last(),
                 QStringLiteral("Error: Kann Ergänzung nicht umbenennen, da eine "
                                "\r\nErgänzung mit gleichem Namen existiert."));

        // A name taken in any list, or one holding a slash, is refused and nothing is added.
        const std::tuple<int, const char*, const char*> refused[] = {
            {TListsPage::lcAliases, "p", "Warning: Kürzel bereits belegt."}, // a path's name
            {TListsPage::lcPaths, "a/b", "Warning: Ein Kürzel darf kein \"/\" enthalten."},
            {TListsPage::lcTabs, "DRACHE", "Warning: Ergänzung existiert bereits."}};
        for (const auto& [list, name, message] : refused) {
            Choose(page.cbLists, list);
            f.prompts.inputs << name;
            Click(page.btnListAdd);
            QCOMPARE(f.prompts.log.last(), QString(message));
        }
        QCOMPARE(f.Work().FAliases.size() + f.Work().FPaths.size() + f.Work().FTabs.size() +
                     f.Work().FSessions.size(),
                 8);

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
    }

    void highlightsAddedChangedDeleted()
    {
        TSettingsFixture f;
        f.config.FHighlights = {"Drache/10/1", "Ork/3/1"};
        THighlightsPage& page = *f.Open(spHighlights).PageHighlights;

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

        // A colour chosen and another entry clicked: "&Ja" stores into the entry shown.
        ClickRow(page.lbHighlightList, 0);
        Choose(page.cbBGColor, 15);
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
        QCOMPARE(f.Work().FHighlights.last(), QByteArray("Zwerge/9/1"));

        f.prompts.answers << IPrompts::Answer::No << IPrompts::Answer::Yes;
        Click(page.btnHighlightDelete);
        Click(page.btnHighlightDelete);
        QCOMPARE(f.Work().FHighlights, (TStringList{"Drache/10/16", "Ork/3/1"}));
        QCOMPARE(page.cbVGColor->currentText(), QStringLiteral("Grün")); // "Ork" shown
    }
};

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
