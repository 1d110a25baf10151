#include "dialogs/settings/PageHighlights.h"

#include "display/controls/FnpComboColor.h"
#include "platform/Prompts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

const QString THighlightsPage::kDuplicate =
    QStringLiteral("Eine Hervorhebung dieser Art ist bereits definiert!");

namespace
{
constexpr int kLightGrey = 9; // colour-table indexes
constexpr int kBlack = 1;
constexpr int kWhite = 16;
} // namespace

THighlightsPage::THighlightsPage(TSettingsContext& context, QWidget* parent)
    : QWidget(parent), FContext(context)
{
    BuildControls();
    ConnectControls();
}

void THighlightsPage::BuildControls()
{
    auto* group = new QGroupBox(QStringLiteral("Hervorhebungen"), this);
    auto* grid = new QGridLayout(group);

    edtHighlight = new QLineEdit(group);
    edtHighlight->setObjectName(QStringLiteral("edtHighlight"));
    auto* label = new QLabel(QStringLiteral("Hervorzuhebende(s) &Wort / Wörter"), group);
    label->setBuddy(edtHighlight);
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(edtHighlight, 1, 0, 1, 2);

    lbHighlightList = new QListWidget(group);
    lbHighlightList->setObjectName(QStringLiteral("lbHighlightList"));
    lbHighlightList->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->addWidget(lbHighlightList, 2, 0, 4, 1);

    btnHighlightAdd = Settings::MakeButton(QStringLiteral("&Hinzufügen"),
                                           QStringLiteral("btnHighlightAdd"), group);
    btnHighlightChange = Settings::MakeButton(QStringLiteral("Ä&ndern"),
                                              QStringLiteral("btnHighlightChange"), group);
    btnHighlightDelete = Settings::MakeButton(QStringLiteral("&Löschen"),
                                              QStringLiteral("btnHighlightDelete"), group);
    btnHighlightChange->setEnabled(false);
    btnHighlightDelete->setEnabled(false);
    grid->addWidget(btnHighlightAdd, 2, 1);
    grid->addWidget(btnHighlightChange, 3, 1);
    grid->addWidget(btnHighlightDelete, 4, 1);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(0, 1);

    const auto addColor = [&](TFnpComboColor*& combo, const QString& name, const QString& caption,
                              int row) {
        combo = new TFnpComboColor(group);
        combo->setObjectName(name);
        auto* colorLabel = new QLabel(caption, group);
        colorLabel->setBuddy(combo);
        grid->addWidget(colorLabel, row, 0, 1, 2);
        grid->addWidget(combo, row + 1, 0, 1, 2);
    };
    addColor(cbVGColor, QStringLiteral("cbVGColor"), QStringLiteral("&Vordergrundfarbe"), 6);
    addColor(cbBGColor, QStringLiteral("cbBGColor"), QStringLiteral("Hintergrund&farbe"), 8);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
}

void THighlightsPage::ConnectControls()
{
    connect(lbHighlightList, &QListWidget::currentRowChanged, this, [this] { ShowSelected(); });
    connect(edtHighlight, &QLineEdit::textEdited, this, [this] {
        FPending = true;
        btnHighlightChange->setEnabled(FShownIndex >= 0);
    });
    connect(cbVGColor, &QComboBox::activated, this, &THighlightsPage::ColorChosen);
    connect(cbBGColor, &QComboBox::activated, this, &THighlightsPage::ColorChosen);
    connect(btnHighlightChange, &QPushButton::clicked, this, &THighlightsPage::ChangeClicked);
    connect(btnHighlightAdd, &QPushButton::clicked, this, &THighlightsPage::AddHighlight);
    connect(btnHighlightDelete, &QPushButton::clicked, this, &THighlightsPage::DeleteHighlight);
}

void THighlightsPage::Load()
{
    Settings::FillColorCombo(*cbVGColor);
    Settings::FillColorCombo(*cbBGColor);
    {
        const QSignalBlocker blocker(lbHighlightList);
        lbHighlightList->clear();
        for (const QByteArray& entry : FContext.Config.FHighlights)
            lbHighlightList->addItem(Settings::Text(Settings::EntryName(entry)));
    }
    FPending = false;
    FShownIndex = -1;
    ShowSelected();
}

void THighlightsPage::Select(int row)
{
    {
        const QSignalBlocker blocker(lbHighlightList);
        lbHighlightList->setCurrentRow(row);
    }
    ShowSelected();
}

void THighlightsPage::SetPreview(TColor foreground, TColor background)
{
    QPalette palette = edtHighlight->palette();
    palette.setColor(QPalette::Text, Settings::ToQColor(foreground, *edtHighlight));
    palette.setColor(QPalette::Base, Settings::ToQColor(background, *edtHighlight));
    edtHighlight->setPalette(palette);
}

void THighlightsPage::ShowSelected()
{
    if (FPending &&
        FContext.Prompts.Confirm(Settings::kChangedQuestion, false) == IPrompts::Answer::Yes)
        StoreShown();
    FPending = false;
    btnHighlightChange->setEnabled(false);

    int index = lbHighlightList->currentRow();
    TMHighlight rec;
    QString error;
    if (index >= 0 && !FContext.Config.TryGetHighlight(QByteArray(), index, rec, &error))
        FContext.Prompts.Error(error); // a hand-edited entry; shown with the colours it has
    FShownIndex = index;
    btnHighlightDelete->setEnabled(index >= 0);
    if (index < 0) {
        edtHighlight->clear();
        cbVGColor->setCurrentIndex(kBlack - 1);
        cbBGColor->setCurrentIndex(kWhite - 1);
        SetPreview(IndexToColor(kBlack), IndexToColor(kWhite));
        return;
    }
    edtHighlight->setText(Settings::Text(rec.Text));
    cbVGColor->setCurrentIndex(
        rec.Foreground >= 1 && rec.Foreground <= kColorCount ? rec.Foreground - 1 : -1);
    cbBGColor->setCurrentIndex(
        rec.Background >= 1 && rec.Background <= kColorCount ? rec.Background - 1 : -1);
    SetPreview(IndexToColor(rec.Foreground), IndexToColor(rec.Background));
}

void THighlightsPage::ColorChosen()
{
    SetPreview(cbVGColor->SelectedColor(), cbBGColor->SelectedColor());
    FPending = true;
    btnHighlightChange->setEnabled(FShownIndex >= 0);
}

bool THighlightsPage::Refused(const QByteArray& text, int exceptRow)
{
    if (text.contains('/')) {
        // The first "/" ends the text of an entry; the colours would be read from the rest.
        FContext.Prompts.Warning(QStringLiteral("Eine Hervorhebung darf kein \"/\" enthalten."));
        return true;
    }
    for (int row = 0; row < lbHighlightList->count(); ++row)
        if (row != exceptRow &&
            Win1252::sameText(Settings::Bytes(lbHighlightList->item(row)->text()), text)) {
            FContext.Prompts.Warning(kDuplicate);
            return true;
        }
    return false;
}

bool THighlightsPage::StoreShown()
{
    const int index = FShownIndex;
    if (index < 0) return false;
    const QByteArray text = Win1252::trim(Settings::Bytes(edtHighlight->text()));
    // Two entries with one text could not be told apart by the highlighting, and
    // deleting by text would hit the wrong one.
    if (Refused(text, index)) return false;
    const int foreground = ColorToIndex(cbVGColor->SelectedColor());
    const int background = ColorToIndex(cbBGColor->SelectedColor());
    TMHighlight rec;
    rec.Text = text;
    rec.Foreground = quint8(foreground > 0 ? foreground : kLightGrey);
    rec.Background = quint8(background > 0 ? background : kBlack);
    FContext.Config.PutHighlight(index, rec);
    lbHighlightList->item(index)->setText(Settings::Text(text));
    FPending = false;
    return true;
}

void THighlightsPage::ChangeClicked()
{
    const int index = FShownIndex;
    if (StoreShown()) Select(index);
}

void THighlightsPage::AddHighlight()
{
    const QByteArray text = Win1252::trim(Settings::Bytes(edtHighlight->text()));
    if (text.isEmpty() || Refused(text, -1)) return;
    cbVGColor->setCurrentIndex(kLightGrey - 1);
    cbBGColor->setCurrentIndex(kBlack - 1);
    FContext.Config.SetHighlight(text,
                                 QByteArray::number(kLightGrey) + '/' + QByteArray::number(kBlack));
    {
        const QSignalBlocker blocker(lbHighlightList);
        lbHighlightList->addItem(Settings::Text(text));
    }
    FPending = false;
    Select(lbHighlightList->count() - 1);
}

void THighlightsPage::DeleteHighlight()
{
    const int index = FShownIndex;
    if (index < 0) return;
    if (FContext.Prompts.Confirm(Settings::kDeleteQuestion, false) != IPrompts::Answer::Yes) return;
    TStringList& highlights = FContext.Config.FHighlights;
    // By position, not by text: the row is the entry, even if a hand-edited file holds
    // its text twice.
    if (index >= highlights.size()) {
        FContext.Prompts.Error(QStringLiteral("Hervorhebung konnte nicht entfernt werden!"));
        return;
    }
    highlights.removeAt(index);
    FContext.Config.FModified = true;
    {
        const QSignalBlocker blocker(lbHighlightList);
        delete lbHighlightList->takeItem(index);
    }
    edtHighlight->clear();
    FPending = false;
    FShownIndex = -1;
    const int count = lbHighlightList->count();
    Select(count == 0 ? -1 : qMin(index, count - 1));
}
