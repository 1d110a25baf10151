#include "dialogs/settings/PageColors.h"

#include "dialogs/settings/CommonDialogs.h"
#include "platform/Prompts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

const QString TColorsPage::kRestartNotice =
    QStringLiteral("Änderung wird erst beim nächsten Neustart aktiv!");

namespace
{

const char* const kExampleLines[] = {
    "Du stehst auf dem Marktplatz von Vezoriza.",
    "Haendler preisen lautstark ihre Waren an.",
    "Es gibt vier sichtbare Ausgaenge: norden, sueden, osten, westen.",
    "Ein kleiner Junge.",
    "Ein rostiges Schwert.",
    "Kelmoth kommt an.",
    "Kelmoth sagt: Hallo zusammen!",
    "Der Junge stiehlt Dir einen Apfel und rennt davon.",
    "Du hast 42 Lebenspunkte und 17 Konzentrationspunkte.",
    "> ",
};

} // namespace

TColorsPage::TColorsPage(TSettingsContext& context, QWidget* parent)
    : QWidget(parent), FContext(context)
{
    auto* group = new QGroupBox(QStringLiteral("Farben"), this);
    auto* grid = new QGridLayout(group);

    cbWindow = new QComboBox(group);
    cbWindow->setObjectName(QStringLiteral("cbWindow"));
    cbWindow->addItems({QStringLiteral("Ausgabe-Fenster"), QStringLiteral("Log-Fenster"),
                        QStringLiteral("Notizbuch")});
    grid->addWidget(cbWindow, 0, 0, 1, 2);

    btnFont =
        Settings::MakeButton(QStringLiteral("&Schriftart..."), QStringLiteral("btnFont"), group);
    btnBackground = Settings::MakeButton(QStringLiteral("&Hintergrundfarbe..."),
                                         QStringLiteral("btnBackground"), group);
    grid->addWidget(btnFont, 1, 0);
    grid->addWidget(btnBackground, 1, 1);

    memExample = new QPlainTextEdit(group);
    memExample->setObjectName(QStringLiteral("memExample"));
    memExample->setReadOnly(true);
    memExample->setLineWrapMode(QPlainTextEdit::NoWrap);
    QStringList lines;
    for (const char* line : kExampleLines)
        lines << Settings::Text(line);
    memExample->setPlainText(lines.join(QLatin1Char('\n')));
    grid->addWidget(memExample, 2, 0, 1, 2);
    grid->setRowStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);

    connect(cbWindow, &QComboBox::activated, this, [this] { ShowWindow(); });
    connect(btnFont, &QPushButton::clicked, this, [this] { ChooseFont(); });
    connect(btnBackground, &QPushButton::clicked, this, [this] { ChooseBackground(); });
}

void TColorsPage::Load()
{
    cbWindow->setCurrentIndex(0);
    ShowWindow();
}

TOutputWindow& TColorsPage::ChosenWindow()
{
    switch (cbWindow->currentIndex()) {
    case 1:
        return FContext.Config.FLogWindow;
    case 2:
        return FContext.Config.FNoteWindow;
    default:
        return FContext.Config.FOutputWindow;
    }
}

void TColorsPage::ShowWindow()
{
    ShowExample(ChosenWindow());
}

void TColorsPage::ShowExample(const TOutputWindow& window)
{
    FExampleColor = window.BGColor;
    FExampleFont = window.FFont;
    QPalette palette = memExample->palette();
    palette.setColor(QPalette::Base, Settings::ToQColor(FExampleColor, *memExample));
    palette.setColor(QPalette::Text, Settings::ToQColor(FExampleFont.Color, *memExample));
    memExample->setPalette(palette);
    memExample->setFont(ToQFont(FExampleFont));
}

void TColorsPage::ChooseFont()
{
    TFontSpec font = FExampleFont;
    if (!FContext.Dialogs.ChooseFont(font, window())) return;
    TOutputWindow& chosen = ChosenWindow();
    chosen.FFont = font;
    ShowExample(chosen);
}

void TColorsPage::ChooseBackground()
{
    TColor color = FExampleColor;
    if (!FContext.Dialogs.ChooseColor(color, window())) return;
    TOutputWindow& chosen = ChosenWindow();
    chosen.BGColor = color;
    ShowExample(chosen);
    if (&chosen == &FContext.Config.FOutputWindow) FContext.Prompts.Information(kRestartNotice);
}
