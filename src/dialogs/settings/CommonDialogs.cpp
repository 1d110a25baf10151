#include "dialogs/settings/CommonDialogs.h"

#include "dialogs/settings/SettingsSupport.h"
#include "display/controls/ColorValue.h"
#include "display/controls/FnpComboColor.h"

#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

bool TQtCommonDialogs::ChooseFont(TFontSpec& font, QWidget* parent)
{
    // QFontDialog has no colour of its own; the colour box beside it offers the table
    // colours, plus the preset when it is none of them.
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Schriftart"));
    auto* layout = new QVBoxLayout(&dialog);

    auto* fonts = new QFontDialog(&dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::MonospacedFonts);
    // Preset with the family fontconfig resolves the name to ("Courier New" may be an
    // alias): a name missing from the list would leave its first family and style chosen.
    QFont preset = ToQFont(font);
    preset.setFamily(QFontInfo(preset).family());
    fonts->setCurrentFont(preset);
    layout->addWidget(fonts);
    fonts->show();

    auto* colorRow = new QFormLayout;
    auto* colors = new TFnpComboColor(&dialog);
    Settings::FillColorCombo(*colors);
    if (ColorToIndex(font.Color) < 0) colors->AddColor("Benutzerdefiniert", font.Color);
    colors->SelectColor(font.Color);
    auto* colorLabel = new QLabel(QStringLiteral("&Farbe"), &dialog);
    colorLabel->setBuddy(colors);
    colorRow->addRow(colorLabel, colors);
    layout->addLayout(colorRow);

    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);

    if (dialog.exec() != QDialog::Accepted) return false;
    font = Settings::FromQFont(fonts->currentFont(), colors->SelectedColor());
    return true;
}

bool TQtCommonDialogs::ChooseColor(TColor& color, QWidget* parent)
{
    const QColor chosen =
        QColorDialog::getColor(ResolveColor(color, parent ? parent->palette() : QPalette()), parent,
                               QStringLiteral("Farbe"));
    if (!chosen.isValid()) return false;
    color = Settings::FromQColor(chosen);
    return true;
}
