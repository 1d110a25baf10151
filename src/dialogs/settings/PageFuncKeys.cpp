#include "dialogs/settings/PageFuncKeys.h"

#include "platform/Prompts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
constexpr int kKeyButtons = 10;
constexpr int kShiftOffset = 10;
} // namespace

TFuncKeysPage::TFuncKeysPage(TSettingsContext& context, QWidget* parent)
    : QWidget(parent), FContext(context)
{
    auto* group = new QGroupBox(QStringLiteral("Funktionstasten"), this);
    auto* layout = new QVBoxLayout(group);

    auto* keyRow = new QHBoxLayout;
    keyRow->setSpacing(2);
    grpKeys = new QButtonGroup(group);
    grpKeys->setExclusive(true);
    for (int number = 1; number <= kKeyButtons; ++number) {
        auto* button = new QToolButton(group);
        button->setObjectName(QStringLiteral("btnF%1").arg(number));
        button->setText(QStringLiteral("F%1").arg(number));
        button->setCheckable(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        grpKeys->addButton(button, number);
        keyRow->addWidget(button);
    }
    grpKeys->button(1)->setChecked(true);
    layout->addLayout(keyRow);

    edtFuncValue = new QLineEdit(group);
    edtFuncValue->setObjectName(QStringLiteral("edtFuncValue"));
    btnFuncKeyChange =
        Settings::MakeButton(QStringLiteral("Än&dern"), QStringLiteral("btnFuncKeyChange"), group);
    btnFuncKeyChange->setEnabled(false);
    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(edtFuncValue, 1);
    valueRow->addWidget(btnFuncKeyChange);
    layout->addLayout(valueRow);

    cbxShift = new QCheckBox(QStringLiteral("Umschalt-&Taste"), group);
    cbxShift->setObjectName(QStringLiteral("cbxShift"));
    layout->addWidget(cbxShift);
    layout->addStretch();

    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->addWidget(group);

    connect(grpKeys, &QButtonGroup::idClicked, this, &TFuncKeysPage::KeyClicked);
    connect(cbxShift, &QCheckBox::clicked, this, &TFuncKeysPage::ShiftToggled);
    connect(edtFuncValue, &QLineEdit::textEdited, this, [this] {
        FPending = true;
        btnFuncKeyChange->setEnabled(true);
    });
    connect(btnFuncKeyChange, &QPushButton::clicked, this, [this] {
        if (FPending) StoreEdit();
    });
}

void TFuncKeysPage::Load()
{
    grpKeys->button(1)->setChecked(true);
    FCurrentKey = 1;
    ShowKey();
}

bool TFuncKeysPage::OfferPending(bool withCancel)
{
    return Settings::OfferPending(FContext.Prompts, FPending, withCancel, [this] { StoreEdit(); });
}

void TFuncKeysPage::StoreEdit()
{
    if (FCurrentKey > 0)
        FContext.Config.SetFuncKey(FCurrentKey, Settings::Bytes(edtFuncValue->text()));
    FPending = false;
    btnFuncKeyChange->setEnabled(false);
}

void TFuncKeysPage::ShowKey()
{
    edtFuncValue->setText(Settings::Text(FContext.Config.GetFuncKey(FCurrentKey)));
    FPending = false;
    btnFuncKeyChange->setEnabled(false);
}

void TFuncKeysPage::KeyClicked(int number)
{
    OfferPending(false);
    FCurrentKey = number + (cbxShift->isChecked() ? kShiftOffset : 0);
    ShowKeyForEditing();
}

void TFuncKeysPage::ShowKeyForEditing()
{
    ShowKey();
    edtFuncValue->setFocus();
    edtFuncValue->end(false);
}

void TFuncKeysPage::ShiftToggled(bool checked)
{
    OfferPending(false);
    if (FCurrentKey > 0) {
        const int number = (FCurrentKey - 1) % kShiftOffset + 1;
        FCurrentKey = number + (checked ? kShiftOffset : 0);
    }
    ShowKey();
}

void TFuncKeysPage::Navigate(int key)
{
    if (!OfferPending(true)) return;
    const int down = grpKeys->checkedId() > 0 ? grpKeys->checkedId() : 1;
    int next = down;
    switch (key) {
    case Qt::Key_Left:
        next = down == 1 ? kKeyButtons : down - 1;
        break;
    case Qt::Key_Right:
        next = down == kKeyButtons ? 1 : down + 1;
        break;
    case Qt::Key_Up:
        next = 1;
        break;
    case Qt::Key_Down:
        next = kKeyButtons;
        break;
    default:
        return;
    }
    grpKeys->button(next)->setChecked(true);
    FCurrentKey = next + (cbxShift->isChecked() ? kShiftOffset : 0);
    ShowKeyForEditing(); // as if the button had been clicked
}
