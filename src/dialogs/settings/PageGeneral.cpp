#include "dialogs/settings/PageGeneral.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace
{

QCheckBox* MakeCheck(const QString& caption, const QString& name, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QLabel* MakeLabel(const QString& caption, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TGeneralPage::TGeneralPage(TSettingsContext& context, QWidget* parent)
    : QWidget(parent), FContext(context)
{
    BuildControls();
    ConnectControls();
}

void TGeneralPage::BuildControls()
{
    auto* group = new QGroupBox(QStringLiteral("Allgemein"), this);
    auto* grid = new QGridLayout(group);
    constexpr int kIndent = 20;
    int row = 0;

    cbxMudinputClear = MakeCheck(QStringLiteral("&Eingabezeile nach Kommando löschen"),
                                 QStringLiteral("cbxMudinputClear"), group);
    grid->addWidget(cbxMudinputClear, row++, 0, 1, 4);
    cbxLogOverWrite = MakeCheck(QStringLiteral("Log-&Dateien überschreiben"),
                                QStringLiteral("cbxLogOverWrite"), group);
    grid->addWidget(cbxLogOverWrite, row++, 0, 1, 4);

    cbxAutoLog = MakeCheck(QStringLiteral("Auto&log"), QStringLiteral("cbxAutoLog"), group);
    cbxAutoLog->setToolTip(
        QStringLiteral("Angegebenes Logfile beim Starten des Programms aktivieren"));
    grid->addWidget(cbxAutoLog, row++, 0, 1, 4);
    edtLogFile = new QLineEdit(group);
    edtLogFile->setObjectName(QStringLiteral("edtLogFile"));
    auto* logLabel = MakeLabel(QStringLiteral("Datei&name"), edtLogFile, group);
    logLabel->setContentsMargins(kIndent, 0, 0, 0);
    grid->addWidget(logLabel, row, 0);
    grid->addWidget(edtLogFile, row++, 1, 1, 3);

    cbxAutoConnect = MakeCheck(QStringLiteral("Beim &Start automatisch verbinden"),
                               QStringLiteral("cbxAutoConnect"), group);
    grid->addWidget(cbxAutoConnect, row++, 0, 1, 4);
    edtHost = new QLineEdit(group);
    edtHost->setObjectName(QStringLiteral("edtHost"));
    edtPort = new QLineEdit(QStringLiteral("7600"), group);
    edtPort->setObjectName(QStringLiteral("edtPort"));
    edtPort->setMaximumWidth(edtPort->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 7 +
                             12);
    auto* hostLabel = MakeLabel(QStringLiteral("&Host"), edtHost, group);
    hostLabel->setContentsMargins(kIndent, 0, 0, 0);
    grid->addWidget(hostLabel, row, 0);
    grid->addWidget(edtHost, row, 1);
    grid->addWidget(MakeLabel(QStringLiteral("&Port"), edtPort, group), row, 2);
    grid->addWidget(edtPort, row++, 3);

    cbxAutoSave = MakeCheck(QStringLiteral("&Konfiguration automatisch sichern nach"),
                            QStringLiteral("cbxAutoSave"), group);
    speAutoSaveInterval = new QSpinBox(group);
    speAutoSaveInterval->setObjectName(QStringLiteral("speAutoSaveInterval"));
    speAutoSaveInterval->setRange(1, 300);
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(cbxAutoSave);
    saveRow->addWidget(speAutoSaveInterval);
    saveRow->addWidget(MakeLabel(QStringLiteral("&Minuten"), speAutoSaveInterval, group));
    saveRow->addStretch();
    grid->addLayout(saveRow, row++, 0, 1, 4);

    cbxAliasCase = MakeCheck(QStringLiteral("Aliase unterscheiden &Groß-/Kleinschreibung"),
                             QStringLiteral("cbxAliasCase"), group);
    grid->addWidget(cbxAliasCase, row++, 0, 1, 4);
    cbxTabCase =
        MakeCheck(QStringLiteral("Ergänzungen (Tabs) unterscheiden Groß-/&Kleinschreibung"),
                  QStringLiteral("cbxTabCase"), group);
    grid->addWidget(cbxTabCase, row++, 0, 1, 4);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
}

void TGeneralPage::ConnectControls()
{
    // toggled follows every change (also while loading) and keeps the dependent fields
    // enabled right; clicked is the player's own click, the only time the focus moves.
    connect(cbxAutoLog, &QCheckBox::toggled, edtLogFile, &QWidget::setEnabled);
    connect(cbxAutoLog, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked && !FContext.Loading) edtLogFile->setFocus();
    });
    connect(cbxAutoConnect, &QCheckBox::toggled, this, [this](bool checked) {
        edtHost->setEnabled(checked);
        edtPort->setEnabled(checked);
    });
    connect(cbxAutoConnect, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked && !FContext.Loading) edtHost->setFocus();
    });
    connect(cbxAutoSave, &QCheckBox::toggled, speAutoSaveInterval, &QWidget::setEnabled);
    connect(cbxAutoSave, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked && !FContext.Loading) speAutoSaveInterval->setFocus();
    });

    connect(edtLogFile, &QLineEdit::textChanged, this,
            [this](const QString& text) { FContext.Config.FLogFile = Settings::Bytes(text); });
    const auto copyHostAndPort = [this] {
        FContext.Config.FHost = Settings::Bytes(edtHost->text());
        FContext.Config.FPort = Settings::Bytes(edtPort->text());
    };
    connect(edtHost, &QLineEdit::textChanged, this, copyHostAndPort);
    connect(edtPort, &QLineEdit::textChanged, this, copyHostAndPort);

    Settings::FilterKeys(speAutoSaveInterval, [](QKeyEvent* event) {
        if (event->key() == Qt::Key_Backspace) return true;
        const QString text = event->text();
        return !text.isEmpty() && text.at(0).isPrint() &&
               !(text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9'));
    });
}

void TGeneralPage::Load()
{
    const TMudConfig& config = FContext.Config;
    // Host and port first: a change of either copies both, so the second must already
    // hold its loaded text when the first is set.
    const QString host = Settings::Text(config.FHost), port = Settings::Text(config.FPort);
    edtHost->blockSignals(true);
    edtHost->setText(host);
    edtHost->blockSignals(false);
    edtPort->setText(port);
    edtLogFile->setText(Settings::Text(config.FLogFile));

    cbxMudinputClear->setChecked(config.FClearInput);
    cbxLogOverWrite->setChecked(config.FLogOverwrite);
    cbxAutoLog->setChecked(config.FAutoLog);
    edtLogFile->setEnabled(config.FAutoLog);
    cbxAutoConnect->setChecked(config.FAutoConnect);
    edtHost->setEnabled(config.FAutoConnect);
    edtPort->setEnabled(config.FAutoConnect);
    cbxAutoSave->setChecked(config.FAutoSave);
    speAutoSaveInterval->setValue(config.FSaveInterval);
    speAutoSaveInterval->setEnabled(config.FAutoSave);
    cbxAliasCase->setChecked(config.FAliasCase);
    cbxTabCase->setChecked(config.FTabCase);
}

void TGeneralPage::Store(TMudConfig& config) const
{
    config.FAutoSave = cbxAutoSave->isChecked();
    config.FAutoConnect = cbxAutoConnect->isChecked();
    config.FAutoLog = cbxAutoLog->isChecked();
    config.FLogOverwrite = cbxLogOverWrite->isChecked();
    config.FClearInput = cbxMudinputClear->isChecked();
    config.FAliasCase = cbxAliasCase->isChecked();
    config.FTabCase = cbxTabCase->isChecked();
    config.FSaveInterval = speAutoSaveInterval->value();
}
