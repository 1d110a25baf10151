#pragma once
// Page "Ziffernblockbelegung": the keypad layouts, their key texts and their option.

#include "dialogs/settings/SettingsSupport.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;

class TNumPadPage : public QWidget
{
    Q_OBJECT
public:
    TNumPadPage(TSettingsContext& context, QWidget* parent);

    void Load();
    // Alt+arrows among the keypad buttons, while a layout is selected.
    bool NavigationEnabled() const;
    void Navigate(int key);

    int CurrentKey() const { return FCurrentKey; }
    bool EditPending() const { return FPending; }

    QComboBox* cbNumPads;
    QPushButton* btnNumPadAdd;
    QPushButton* btnNumPadRename;
    QPushButton* btnNumPadDelete;
    QGroupBox* grpAssignment;   // "Belegung"
    QButtonGroup* grpPadKeys;   // ids are the key indexes 1..15
    QToolButton* btnShowLayout; // "Anzeigen"
    QLineEdit* edtDirection;
    QPushButton* btnNumPadChange;
    QButtonGroup* rgOption;

    // Key indexes in the order of the buttons, which is also the Alt+arrow order.
    static const std::array<int, 15> kButtonOrder;

private:
    void BuildControls();
    QWidget* BuildKeypad(QWidget* parent);
    void ConnectControls();

    TNumPadLayout* CurrentLayout();
    void LayoutChosen(int index);
    void ShowLayout(int index);
    void KeyClicked(int key);
    bool OfferPending(bool withCancel);
    void StoreEdit();
    void ShowKey();
    void ShowCaptions();
    void AddLayout();
    void RenameLayout();
    void DeleteLayout();

    TSettingsContext& FContext;
    bool FPending = false;
    int FCurrentKey = 15;
    int FLayoutIndex = -1;                     // the layout whose keys are shown; -1 none
    std::array<QString, kNumPadSlots> FLabels; // the buttons' own captions
};
