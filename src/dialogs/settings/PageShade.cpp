#include "dialogs/settings/PageShade.h"

#include "display/controls/FnpComboColor.h"
#include "display/controls/Shader.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TShadePage::TShadePage(TSettingsContext& context, QWidget* parent)
    : QWidget(parent), FContext(context)
{
    BuildControls();
    ConnectControls();
}

void TShadePage::BuildControls()
{
    auto* group = new QGroupBox(QStringLiteral("Rahmen"), this);
    auto* grid = new QGridLayout(group);

    Shader1 = new TShader(group);
    Shader1->setObjectName(QStringLiteral("Shader1"));
    Shader1->setFixedSize(109, 233);
    grid->addWidget(Shader1, 0, 0, 8, 1, Qt::AlignTop);

    const auto addLabelled = [&](const QString& caption, QWidget* field, int row) {
        auto* label = new QLabel(caption, group);
        label->setBuddy(field);
        grid->addWidget(label, row, 1);
        grid->addWidget(field, row + 1, 1);
    };
    ShaderFromColor = new TFnpComboColor(group);
    ShaderFromColor->setObjectName(QStringLiteral("ShaderFromColor"));
    addLabelled(QStringLiteral("&Verlauffarbe 1"), ShaderFromColor, 0);
    ShaderToColor = new TFnpComboColor(group);
    ShaderToColor->setObjectName(QStringLiteral("ShaderToColor"));
    addLabelled(QStringLiteral("Verlauf&farbe 2"), ShaderToColor, 2);
    ShaderSteps = new QSpinBox(group);
    ShaderSteps->setObjectName(QStringLiteral("ShaderSteps"));
    ShaderSteps->setRange(0, 200);
    ShaderSteps->setValue(20);
    addLabelled(QStringLiteral("&Schritte"), ShaderSteps, 4);

    auto* directionBox = new QGroupBox(QStringLiteral("&Farbverlauf"), group);
    auto* directionLayout = new QVBoxLayout(directionBox);
    rgShadeDirection = new QButtonGroup(directionBox);
    rgShadeDirection->setObjectName(QStringLiteral("rgShadeDirection"));
    const QString directions[] = {QStringLiteral("von oben nach unten"),
                                  QStringLiteral("von links nach rechts")};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(directions[i], directionBox);
        radio->setObjectName(QStringLiteral("rbShadeDirection%1").arg(i));
        rgShadeDirection->addButton(radio, i);
        directionLayout->addWidget(radio);
    }
    rgShadeDirection->button(0)->setChecked(true);
    grid->addWidget(directionBox, 6, 1);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
}

void TShadePage::ConnectControls()
{
    connect(ShaderFromColor, &QComboBox::activated, this, [this](int index) {
        Shader1->SetFromColor(ShaderFromColor->ColorAt(index));
        FFromColor = index + 1;
    });
    connect(ShaderToColor, &QComboBox::activated, this, [this](int index) {
        Shader1->SetToColor(ShaderToColor->ColorAt(index));
        FToColor = index + 1;
    });
    connect(ShaderSteps, &QSpinBox::valueChanged, this, [this](int value) {
        FSteps = value;
        Shader1->SetSteps(quint16(value));
    });
    connect(rgShadeDirection, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked) return;
        FDirection = id == 1;
        Shader1->SetDirection(FDirection);
    });
    Settings::FilterKeys(ShaderSteps, [this](QKeyEvent* event) { return StepsKey(event); });
}

bool TShadePage::StepsKey(QKeyEvent* event)
{
    const QString text = event->text();
    if (event->key() == Qt::Key_Backspace) return true;
    if (text.isEmpty() || !text.at(0).isPrint()) return false;
    const QChar c = text.at(0);
    const int value = ShaderSteps->value();
    // "+" and "-" step by one but never onto a limit; the spin buttons reach the limits.
    if (c == QLatin1Char('+')) {
        if (value + 1 < ShaderSteps->maximum()) ShaderSteps->setValue(value + 1);
        return true;
    }
    if (c == QLatin1Char('-')) {
        if (value - 1 > ShaderSteps->minimum()) ShaderSteps->setValue(value - 1);
        return true;
    }
    return !(c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

void TShadePage::Load()
{
    const TMudConfig& config = FContext.Config;
    FFromColor = config.FShadeFromColor;
    FToColor = config.FShadeToColor;
    FSteps = config.FShadeSteps;
    FDirection = config.FShadeDirection;
    Settings::FillColorCombo(*ShaderFromColor);
    Settings::FillColorCombo(*ShaderToColor);
    ShaderFromColor->setCurrentIndex(FFromColor >= 1 && FFromColor <= kColorCount ? FFromColor - 1
                                                                                  : -1);
    ShaderToColor->setCurrentIndex(FToColor >= 1 && FToColor <= kColorCount ? FToColor - 1 : -1);
    // The preview shows the configured gradient from the start, not a default of its own.
    Shader1->SetFromColor(IndexToColor(FFromColor));
    Shader1->SetToColor(IndexToColor(FToColor));
    ShaderSteps->setValue(FSteps);
    Shader1->SetSteps(quint16(qBound(0, FSteps, 200)));
    rgShadeDirection->button(FDirection ? 1 : 0)->setChecked(true);
    Shader1->SetDirection(FDirection);
    FSteps = config.FShadeSteps;
}

void TShadePage::Store(TMudConfig& config) const
{
    config.FShadeFromColor = FFromColor;
    config.FShadeToColor = FToColor;
    config.FShadeSteps = FSteps;
    config.FShadeDirection = FDirection;
}
