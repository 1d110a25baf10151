#pragma once
// Page "Funktionstasten": the texts of F1 ... F10 and, with "Umschalt-&Taste", of
// Shift+F1 ... Shift+F10.

#include "dialogs/settings/SettingsSupport.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

class TFuncKeysPage : public QWidget
{
    Q_OBJECT
public:
    TFuncKeysPage(TSettingsContext& context, QWidget* parent);

    void Load();
    // Alt+Left/Right/Up/Down: previous, next, first, last key button, with wrap.
    // A pending edit is offered with "Abbrechen", which leaves everything as it was.
    void Navigate(int key);

    int CurrentKey() const { return FCurrentKey; }
    bool EditPending() const { return FPending; }

    QButtonGroup* grpKeys; // ids 1..10
    QLineEdit* edtFuncValue;
    QPushButton* btnFuncKeyChange;
    QCheckBox* cbxShift;

private:
    void KeyClicked(int number);
    void ShiftToggled(bool checked);
    // Offers a pending edit; false when the player cancelled (only with withCancel).
    bool OfferPending(bool withCancel);
    void StoreEdit();
    void ShowKey();
    void ShowKeyForEditing();

    TSettingsContext& FContext;
    bool FPending = false;
    int FCurrentKey = -1; // 1..20, -1 when none
};
