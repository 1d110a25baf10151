#include "dialogs/settings/PageNumPad.h"

#include "platform/Prompts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

const std::array<int, 15> TNumPadPage::kButtonOrder = {15, 11, 13, 8, 9, 10, 12, 5,
                                                       6,  7,  2,  3, 4, 1,  14};

namespace
{

struct TPadKey {
    int Key;
    const char* Caption;
    int Row, Column, RowSpan, ColumnSpan;
};

// Keypad shape: Num Lock's place stays free, "+" is two rows high, "0" two columns wide.
constexpr TPadKey kPadKeys[] = {
    {15, "/", 0, 1, 1, 1}, {11, "*", 0, 2, 1, 1}, {13, "-", 0, 3, 1, 1}, {8, "7", 1, 0, 1, 1},
    {9, "8", 1, 1, 1, 1},  {10, "9", 1, 2, 1, 1}, {12, "+", 1, 3, 2, 1}, {5, "4", 2, 0, 1, 1},
    {6, "5", 2, 1, 1, 1},  {7, "6", 2, 2, 1, 1},  {2, "1", 3, 0, 1, 1},  {3, "2", 3, 1, 1, 1},
    {4, "3", 3, 2, 1, 1},  {1, "0", 4, 0, 1, 2},  {14, ",", 4, 2, 1, 1},
};

constexpr int kPadButtonWidth = 46;
constexpr int kPadButtonHeight = 26;

const QString kLayoutDeleteQuestion =
    QStringLiteral("Möchtest Du diesen Eintrag wirklich löschen?");

} // namespace

TNumPadPage::TNumPadPage(TSettingsContext& context, QWidget* parent)
    : QWidget(parent), FContext(context)
{
    BuildControls();
    ConnectControls();
    ShowCaptions();
}

void TNumPadPage::BuildControls()
{
    auto* pads = new QGroupBox(QStringLiteral("Ziffernblock"), this);
    auto* padsLayout = new QGridLayout(pads);
    cbNumPads = new QComboBox(pads);
    cbNumPads->setObjectName(QStringLiteral("cbNumPads"));
    padsLayout->addWidget(cbNumPads, 0, 0, 1, 3);
    btnNumPadAdd =
        Settings::MakeButton(QStringLiteral("&Hinzufügen"), QStringLiteral("btnNumPadAdd"), pads);
    btnNumPadRename = Settings::MakeButton(QStringLiteral("&Umbenennen"),
                                           QStringLiteral("btnNumPadRename"), pads);
    btnNumPadDelete =
        Settings::MakeButton(QStringLiteral("&Löschen"), QStringLiteral("btnNumPadDelete"), pads);
    padsLayout->addWidget(btnNumPadAdd, 1, 0);
    padsLayout->addWidget(btnNumPadRename, 1, 1);
    padsLayout->addWidget(btnNumPadDelete, 1, 2);

    grpAssignment = new QGroupBox(QStringLiteral("Belegung"), this);
    grpAssignment->setObjectName(QStringLiteral("grpAssignment"));
    auto* assignment = new QGridLayout(grpAssignment);
    assignment->addWidget(BuildKeypad(grpAssignment), 0, 0, 3, 1, Qt::AlignTop);

    btnShowLayout = new QToolButton(grpAssignment);
    btnShowLayout->setObjectName(QStringLiteral("btnShowLayout"));
    btnShowLayout->setText(QStringLiteral("Anzeigen"));
    btnShowLayout->setToolTip(QStringLiteral("Aktuelle Belegung anzeigen"));
    btnShowLayout->setCheckable(true);
    assignment->addWidget(btnShowLayout, 0, 1, Qt::AlignTop | Qt::AlignLeft);

    auto* optionBox = new QGroupBox(QStringLiteral("Option"), grpAssignment);
    auto* optionLayout = new QVBoxLayout(optionBox);
    rgOption = new QButtonGroup(optionBox);
    rgOption->setObjectName(QStringLiteral("rgOption"));
    const QString options[] = {QStringLiteral("&Direkt an den Server schicken"),
                               QStringLiteral("An &Eingabezeile schicken")};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(options[i], optionBox);
        radio->setObjectName(QStringLiteral("rbOption%1").arg(i));
        rgOption->addButton(radio, i);
        optionLayout->addWidget(radio);
    }
    rgOption->button(0)->setChecked(true);
    assignment->addWidget(optionBox, 1, 1, 2, 1, Qt::AlignTop);

    edtDirection = new QLineEdit(grpAssignment);
    edtDirection->setObjectName(QStringLiteral("edtDirection"));
    edtDirection->setMaxLength(kNumPadKeyLength);
    btnNumPadChange = Settings::MakeButton(QStringLiteral("Än&dern"),
                                           QStringLiteral("btnNumPadChange"), grpAssignment);
    btnNumPadChange->setEnabled(false);
    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(edtDirection, 1);
    valueRow->addWidget(btnNumPadChange);
    assignment->addLayout(valueRow, 3, 0, 1, 2);
    assignment->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pads);
    layout->addWidget(grpAssignment);
    layout->addStretch();
}

QWidget* TNumPadPage::BuildKeypad(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("pnlNumPad"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    grpPadKeys = new QButtonGroup(panel);
    grpPadKeys->setExclusive(true);
    for (const TPadKey& pad : kPadKeys) {
        auto* button = new QToolButton(panel);
        button->setObjectName(QStringLiteral("btnPad%1").arg(pad.Key));
        button->setCheckable(true);
        button->setFixedSize(kPadButtonWidth * pad.ColumnSpan + 2 * (pad.ColumnSpan - 1),
                             kPadButtonHeight * pad.RowSpan + 2 * (pad.RowSpan - 1));
        FLabels[pad.Key] = QString::fromLatin1(pad.Caption).left(kNumPadKeyLength);
        grpPadKeys->addButton(button, pad.Key);
        grid->addWidget(button, pad.Row, pad.Column, pad.RowSpan, pad.ColumnSpan);
    }
    return panel;
}

void TNumPadPage::ConnectControls()
{
    connect(cbNumPads, &QComboBox::activated, this, &TNumPadPage::LayoutChosen);
    connect(grpPadKeys, &QButtonGroup::idClicked, this, &TNumPadPage::KeyClicked);
    connect(btnShowLayout, &QToolButton::toggled, this, &TNumPadPage::ShowCaptions);
    connect(edtDirection, &QLineEdit::textEdited, this, [this] {
        FPending = true;
        btnNumPadChange->setEnabled(true);
    });
    connect(btnNumPadChange, &QPushButton::clicked, this, &TNumPadPage::StoreEdit);
    connect(rgOption, &QButtonGroup::idClicked, this, [this](int option) {
        if (TNumPadLayout* layout = CurrentLayout()) layout->Option = option;
    });
    connect(btnNumPadAdd, &QPushButton::clicked, this, &TNumPadPage::AddLayout);
    connect(btnNumPadRename, &QPushButton::clicked, this, &TNumPadPage::RenameLayout);
    connect(btnNumPadDelete, &QPushButton::clicked, this, &TNumPadPage::DeleteLayout);
}

void TNumPadPage::Load()
{
    const TNumPadKeyList& layouts = FContext.Config.FNumPadsList;
    cbNumPads->clear();
    for (int i = 0; i < layouts.Count(); ++i)
        cbNumPads->addItem(Settings::Text(layouts.Items(i).Name));
    ShowLayout(layouts.Count() > 0 ? 0 : -1);
}

TNumPadLayout* TNumPadPage::CurrentLayout()
{
    TNumPadKeyList& layouts = FContext.Config.FNumPadsList;
    return FLayoutIndex >= 0 && FLayoutIndex < layouts.Count() ? &layouts.Items(FLayoutIndex)
                                                               : nullptr;
}

bool TNumPadPage::NavigationEnabled() const
{
    return grpAssignment->isEnabled();
}

void TNumPadPage::LayoutChosen(int index)
{
    if (index == FLayoutIndex) return;
    // The typed text belongs to the layout shown so far; it is offered before that
    // layout goes out of view rather than dropped.
    OfferPending(false);
    ShowLayout(index);
}

void TNumPadPage::ShowLayout(int index)
{
    cbNumPads->setCurrentIndex(index);
    FLayoutIndex = cbNumPads->currentIndex();
    TNumPadLayout* layout = CurrentLayout();
    grpAssignment->setEnabled(layout);
    btnNumPadRename->setEnabled(layout);
    btnNumPadDelete->setEnabled(layout);
    FCurrentKey = 15;
    grpPadKeys->button(FCurrentKey)->setChecked(true);
    if (layout) rgOption->button(layout->Option == 1 ? 1 : 0)->setChecked(true);
    ShowKey();
    ShowCaptions();
}

void TNumPadPage::ShowKey()
{
    const TNumPadLayout* layout = CurrentLayout();
    edtDirection->setText(layout ? Settings::Text(layout->Keys[FCurrentKey]) : QString());
    FPending = false;
    btnNumPadChange->setEnabled(false);
}

void TNumPadPage::ShowCaptions()
{
    const TNumPadLayout* layout = btnShowLayout->isChecked() ? CurrentLayout() : nullptr;
    for (QAbstractButton* button : grpPadKeys->buttons()) {
        const int key = grpPadKeys->id(button);
        const QString text = layout ? Settings::Text(layout->Keys[key]) : FLabels[key];
        // Long texts are elided on the small buttons; the hint shows them whole.
        button->setText(
            button->fontMetrics().elidedText(text, Qt::ElideRight, button->width() - 6));
        button->setToolTip(text);
        button->setStatusTip(text);
    }
}

void TNumPadPage::KeyClicked(int key)
{
    if (!CurrentLayout()) return;
    OfferPending(false);
    FCurrentKey = key;
    ShowKey();
}

bool TNumPadPage::OfferPending(bool withCancel)
{
    return Settings::OfferPending(FContext.Prompts, FPending, withCancel, [this] { StoreEdit(); });
}

void TNumPadPage::StoreEdit()
{
    if (TNumPadLayout* layout = CurrentLayout()) {
        layout->Keys[FCurrentKey] = Settings::Bytes(edtDirection->text()).left(kNumPadKeyLength);
        ShowCaptions();
    }
    FPending = false;
    btnNumPadChange->setEnabled(false);
}

void TNumPadPage::Navigate(int key)
{
    if (!OfferPending(true)) return;
    const int count = int(kButtonOrder.size());
    int position = 0;
    for (int i = 0; i < count; ++i)
        if (kButtonOrder[i] == grpPadKeys->checkedId()) position = i;
    switch (key) {
    case Qt::Key_Left:
        position = (position + count - 1) % count;
        break;
    case Qt::Key_Right:
        position = (position + 1) % count;
        break;
    case Qt::Key_Up:
        position = 0;
        break;
    case Qt::Key_Down:
        position = count - 1;
        break;
    default:
        return;
    }
    grpPadKeys->button(kButtonOrder[position])->setChecked(true);
    if (CurrentLayout()) {
        FCurrentKey = kButtonOrder[position];
        ShowKey();
    }
}

void TNumPadPage::AddLayout()
{
    QString name;
    if (!FContext.Prompts.InputQuery(QStringLiteral("Ziffernblockbelegung hinzufügen"),
                                     QStringLiteral("Name"), name))
        return;
    OfferPending(false);
    TNumPadKeyList& layouts = FContext.Config.FNumPadsList;
    const int index = layouts.AddLayout(Settings::Bytes(name));
    cbNumPads->addItem(Settings::Text(layouts.Items(index).Name));
    ShowLayout(index);
}

void TNumPadPage::RenameLayout()
{
    TNumPadLayout* layout = CurrentLayout();
    if (!layout) return;
    QString name = Settings::Text(layout->Name);
    if (!FContext.Prompts.InputQuery(QStringLiteral("Ziffernblockbelegung umbennen"),
                                     QStringLiteral("Neuer Name"), name))
        return;
    layout->Name = Settings::Bytes(name).left(kNumPadNameLength);
    cbNumPads->setItemText(FLayoutIndex, Settings::Text(layout->Name));
}

void TNumPadPage::DeleteLayout()
{
    if (!CurrentLayout()) return;
    if (FContext.Prompts.Confirm(kLayoutDeleteQuestion, false) == IPrompts::Answer::No) return;
    const int index = FLayoutIndex;
    FContext.Config.FNumPadsList.DeleteLayout(index);
    FLayoutIndex = -1; // its pending text went with it
    cbNumPads->removeItem(index);
    const int count = cbNumPads->count();
    ShowLayout(count == 0 ? -1 : qMin(index, count - 1));
}
