#pragma once
// Page "Farben 2": the gradient of the frame around the output window, with a preview.

#include "dialogs/settings/SettingsSupport.h"

#include <QWidget>

class QButtonGroup;
class QRadioButton;
class QSpinBox;
class TFnpComboColor;
class TShader;

class TShadePage : public QWidget
{
    Q_OBJECT
public:
    TShadePage(TSettingsContext& context, QWidget* parent);

    void Load();
    // The four gradient values, read only when the dialog is confirmed.
    void Store(TMudConfig& config) const;

    TShader* Shader1;
    TFnpComboColor* ShaderFromColor;
    TFnpComboColor* ShaderToColor;
    QSpinBox* ShaderSteps;
    QButtonGroup* rgShadeDirection;

private:
    void BuildControls();
    void ConnectControls();
    bool StepsKey(QKeyEvent* event);

    TSettingsContext& FContext;
    int FFromColor = 12; // 1-based colour-table indexes
    int FToColor = 1;
    int FSteps = 20;
    bool FDirection = false;
};
