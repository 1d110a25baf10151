#pragma once
// TMudConfFrm: the modal settings dialog "KMC Einstellungen". It edits a private copy
// of the whole configuration on seven pages and hands it back with Assign only when the
// player leaves with "&Ok"; "&Abbruch", Esc and the close box discard every change,
// including list entries and keypad layouts added, renamed or deleted.
//
// Every question goes through the IPrompts given; the font and colour choosers through
// the ICommonDialogs given. Neither is owned and both must outlive the dialog.

#include "config/MudConfig.h"
#include "dialogs/settings/SettingsSupport.h"

#include <QDialog>

#include <memory>

class ICommonDialogs;
class IPrompts;
class QPushButton;
class QTabWidget;
class TColorsPage;
class TFuncKeysPage;
class TGeneralPage;
class THighlightsPage;
class TListsPage;
class TNumPadPage;
class TShadePage;

// Pages of the notebook, by the index the main window asks for.
enum TSettingsPage {
    spGeneral = 0,
    spColors = 1,
    spShade = 2,
    spFuncKeys = 3,
    spNumPad = 4,
    spLists = 5,
    spHighlights = 6
};

class TMudConfFrm : public QDialog
{
    Q_OBJECT
public:
    // Copies config and fills every control once, on the first page.
    TMudConfFrm(const TMudConfig& config, IPrompts& prompts, ICommonDialogs& dialogs,
                QWidget* parent = nullptr);
    ~TMudConfFrm() override;

    // Edit a copy of config, opening on the first page or the given one (0 ... 6; other
    // values open the first). True and config replaced by the edited copy (which marks
    // it modified) when confirmed; false and config untouched otherwise.
    static bool Execute(TMudConfig& config, QWidget* parent, IPrompts& prompts);
    static bool ExecuteAt(TMudConfig& config, int page, QWidget* parent, IPrompts& prompts);
    static bool ExecuteAt(TMudConfig& config, int page, QWidget* parent, IPrompts& prompts,
                          ICommonDialogs& dialogs);

    void ShowPage(int page);
    // After the dialog closed: if it was confirmed, reads the controls that count only
    // then, copies the working configuration into config and answers true.
    bool TakeResult(TMudConfig& config);

    const TMudConfig& WorkingConfig() const { return FConfig; }

    QTabWidget* TabbedNotebook1;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    TGeneralPage* PageGeneral;
    TColorsPage* PageColors;
    TShadePage* PageShade;
    TFuncKeysPage* PageFuncKeys;
    TNumPadPage* PageNumPad;
    TListsPage* PageLists;
    THighlightsPage* PageHighlights;

protected:
    // The dialog's key preview: Alt+arrows move among the key buttons of the function
    // key and keypad pages, whichever control has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FillControls();
    bool NavigationKey(QKeyEvent* event);

    TMudConfig FConfig;
    TSettingsContext FContext;
};
