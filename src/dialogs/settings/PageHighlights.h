#pragma once
// Page "Hervorhebungen": words recoloured in the incoming text. A list-box row is
// always the entry's index in FHighlights.

#include "dialogs/settings/SettingsSupport.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;
class TFnpComboColor;

class THighlightsPage : public QWidget
{
    Q_OBJECT
public:
    THighlightsPage(TSettingsContext& context, QWidget* parent);

    void Load();
    bool EditPending() const { return FPending; }

    QLineEdit* edtHighlight;
    QListWidget* lbHighlightList;
    QPushButton* btnHighlightAdd;
    QPushButton* btnHighlightChange;
    QPushButton* btnHighlightDelete;
    TFnpComboColor* cbVGColor;
    TFnpComboColor* cbBGColor;

    static const QString kDuplicate;

private:
    void BuildControls();
    void ConnectControls();

    void Select(int row);
    void ShowSelected();
    void SetPreview(TColor foreground, TColor background);
    void ColorChosen();
    bool Refused(const QByteArray& text, int exceptRow);
    // Stores the field into the shown entry; false when refused.
    bool StoreShown();
    void ChangeClicked();
    void AddHighlight();
    void DeleteHighlight();

    TSettingsContext& FContext;
    bool FPending = false;
    // The entry the field shows; a click has already moved the current row when the
    // pending edit of this one is offered.
    int FShownIndex = -1;
};
