#pragma once
// Page "Allgemein": start-up, log, auto-save and case options.

#include "dialogs/settings/SettingsSupport.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QSpinBox;

class TGeneralPage : public QWidget
{
    Q_OBJECT
public:
    TGeneralPage(TSettingsContext& context, QWidget* parent);

    void Load();
    // The options that are read only when the dialog is confirmed.
    void Store(TMudConfig& config) const;

    QCheckBox* cbxMudinputClear;
    QCheckBox* cbxLogOverWrite;
    QCheckBox* cbxAutoLog;
    QLineEdit* edtLogFile;
    QCheckBox* cbxAutoConnect;
    QLineEdit* edtHost;
    QLineEdit* edtPort;
    QCheckBox* cbxAutoSave;
    QSpinBox* speAutoSaveInterval;
    QCheckBox* cbxAliasCase;
    QCheckBox* cbxTabCase;

private:
    void BuildControls();
    void ConnectControls();

    TSettingsContext& FContext;
};
