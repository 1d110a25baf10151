#pragma once
// Page "Listen": aliases, completion words ("Ergänzungen"), paths and sessions.
// A list-box row is always the entry's index in its configuration list.

#include "dialogs/settings/SettingsSupport.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class TListsPage : public QWidget
{
    Q_OBJECT
public:
    // Positions in cbLists.
    enum TListChoice { lcAliases = 0, lcTabs = 1, lcPaths = 2, lcSessions = 3 };

    TListsPage(TSettingsContext& context, QWidget* parent);

    void Load();
    bool EditPending() const { return FPending; }

    QComboBox* cbLists;
    QLabel* lblShortcut;
    QListWidget* lbShortcuts;
    QLineEdit* edtShortCut;
    QPushButton* btnListAdd;
    QPushButton* btnListRename;
    QPushButton* btnListDelete;
    QWidget* pnlAliasAndPath;
    QLineEdit* edtValue;
    QPushButton* btnValueChange;
    QWidget* pnlSession;
    QLineEdit* edtSessionHost;
    QLineEdit* edtSessionPort;
    QPushButton* btnSessionChange;

private:
    void BuildControls();
    QWidget* BuildValuePanel(QWidget* parent);
    QWidget* BuildSessionPanel(QWidget* parent);
    void ConnectControls();

    void ListChosen(int choice);
    void Select(int row);
    void ShowSelected();
    void StorePending();
    void StoreValue();
    void StoreSession();
    void AddEntry();
    void RenameEntry();
    void DeleteEntry();
    bool NameTaken(const QByteArray& name) const;
    QByteArray& EntryAt(int index);
    TStringList& CurrentList();

    TSettingsContext& FContext;
    bool FPending = false;
    int FListKind = lcAliases;
    // The entry whose values the fields hold: the list box's current row has already
    // moved on when a click offers a pending edit, and the edit belongs to this one.
    int FShownIndex = -1;
};
