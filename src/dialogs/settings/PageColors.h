#pragma once
// Page "Farben 1": font and background colour of the output window, the log window
// and the notebook, shown on ten lines of sample output.

#include "dialogs/settings/SettingsSupport.h"

#include <QWidget>

class QComboBox;
class QPlainTextEdit;
class QPushButton;

class TColorsPage : public QWidget
{
    Q_OBJECT
public:
    TColorsPage(TSettingsContext& context, QWidget* parent);

    void Load();

    QComboBox* cbWindow;
    QPushButton* btnFont;
    QPushButton* btnBackground;
    QPlainTextEdit* memExample;

    static const QString kRestartNotice;

private:
    TOutputWindow& ChosenWindow();
    void ShowWindow();
    void ShowExample(const TOutputWindow& window);
    void ChooseFont();
    void ChooseBackground();

    TSettingsContext& FContext;
    // Kept apart from the memo's palette so a system colour stays a system colour.
    TColor FExampleColor = 0;
    TFontSpec FExampleFont;
};
