#include "dialogs/settings/PageLists.h"

#include "platform/Prompts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace
{

// UTF-8, as this source file is.
struct TListWords {
    const char* AddCaption;
    const char* AddPrompt;
    const char* RenameRefusal;
};

const TListWords kWords[] = {
    {"Alias hinzufügen", "Kürzel", "Kann Alias nicht umbenennen."},
    {"Ergänzung hinzufügen", "Ergänzung",
     "Kann Ergänzung nicht umbenennen, da eine \r\nErgänzung mit gleichem Namen existiert."},
    {"Pfad hinzufügen", "Kürzel", "Kann Pfad nicht umbenennen."},
    {"Sitzung hinzufügen", "Kürzel", "Kann Sitzung nicht umbenennen."},
};

int NameSpaceKind(int choice)
{
    return choice == TListsPage::lcPaths      ? lkPath
           : choice == TListsPage::lcSessions ? lkSession
                                              : lkAlias;
}

QLabel* MakeLabel(const QString& caption, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TListsPage::TListsPage(TSettingsContext& context, QWidget* parent)
    : QWidget(parent), FContext(context)
{
    BuildControls();
    ConnectControls();
}

void TListsPage::BuildControls()
{
    auto* group = new QGroupBox(QStringLiteral("Listen"), this);
    auto* grid = new QGridLayout(group);

    cbLists = new QComboBox(group);
    cbLists->setObjectName(QStringLiteral("cbLists"));
    cbLists->addItems({QStringLiteral("Aliase"), QStringLiteral("Ergänzungen"),
                       QStringLiteral("Pfade"), QStringLiteral("Sitzungen")});
    grid->addWidget(cbLists, 0, 0);

    lbShortcuts = new QListWidget(group);
    lbShortcuts->setObjectName(QStringLiteral("lbShortcuts"));
    lbShortcuts->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->addWidget(lbShortcuts, 1, 0, 5, 1);

    edtShortCut = new QLineEdit(group);
    edtShortCut->setObjectName(QStringLiteral("edtShortCut"));
    edtShortCut->setReadOnly(true);
    lblShortcut = MakeLabel(QStringLiteral("Kürzel"), edtShortCut, group);
    lblShortcut->setObjectName(QStringLiteral("lblShortcut"));
    grid->addWidget(lblShortcut, 0, 1);
    grid->addWidget(edtShortCut, 1, 1);

    btnListAdd =
        Settings::MakeButton(QStringLiteral("&Hinzufügen"), QStringLiteral("btnListAdd"), group);
    btnListRename =
        Settings::MakeButton(QStringLiteral("&Umbennen"), QStringLiteral("btnListRename"), group);
    btnListDelete =
        Settings::MakeButton(QStringLiteral("&Löschen"), QStringLiteral("btnListDelete"), group);
    grid->addWidget(btnListAdd, 2, 1);
    grid->addWidget(btnListRename, 3, 1);
    grid->addWidget(btnListDelete, 4, 1);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(0, 1);

    auto* panels = new QVBoxLayout;
    panels->setContentsMargins(0, 0, 0, 0);
    panels->addWidget(BuildValuePanel(group));
    panels->addWidget(BuildSessionPanel(group));
    grid->addLayout(panels, 6, 0, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
}

QWidget* TListsPage::BuildValuePanel(QWidget* parent)
{
    pnlAliasAndPath = new QWidget(parent);
    pnlAliasAndPath->setObjectName(QStringLiteral("pnlAliasAndPath"));
    auto* row = new QHBoxLayout(pnlAliasAndPath);
    row->setContentsMargins(0, 0, 0, 0);
    edtValue = new QLineEdit(pnlAliasAndPath);
    edtValue->setObjectName(QStringLiteral("edtValue"));
    btnValueChange = Settings::MakeButton(QStringLiteral("Ä&ndern"),
                                          QStringLiteral("btnValueChange"), pnlAliasAndPath);
    row->addWidget(MakeLabel(QStringLiteral("&Wert"), edtValue, pnlAliasAndPath));
    row->addWidget(edtValue, 1);
    row->addWidget(btnValueChange);
    return pnlAliasAndPath;
}

QWidget* TListsPage::BuildSessionPanel(QWidget* parent)
{
    pnlSession = new QWidget(parent);
    pnlSession->setObjectName(QStringLiteral("pnlSession"));
    auto* row = new QGridLayout(pnlSession);
    row->setContentsMargins(0, 0, 0, 0);
    edtSessionHost = new QLineEdit(pnlSession);
    edtSessionHost->setObjectName(QStringLiteral("edtSessionHost"));
    edtSessionPort = new QLineEdit(pnlSession);
    edtSessionPort->setObjectName(QStringLiteral("edtSessionPort"));
    edtSessionPort->setMaximumWidth(
        edtSessionPort->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 7 + 12);
    btnSessionChange = Settings::MakeButton(QStringLiteral("Ändern"),
                                            QStringLiteral("btnSessionChange"), pnlSession);
    row->addWidget(MakeLabel(QStringLiteral("Host"), edtSessionHost, pnlSession), 0, 0);
    row->addWidget(edtSessionHost, 0, 1);
    row->addWidget(MakeLabel(QStringLiteral("Port"), edtSessionPort, pnlSession), 0, 2);
    row->addWidget(edtSessionPort, 0, 3);
    row->addWidget(btnSessionChange, 0, 4);
    row->setColumnStretch(1, 1);
    return pnlSession;
}

void TListsPage::ConnectControls()
{
    connect(cbLists, &QComboBox::activated, this, &TListsPage::ListChosen);
    connect(lbShortcuts, &QListWidget::currentRowChanged, this, [this] { ShowSelected(); });
    connect(edtValue, &QLineEdit::textEdited, this, [this] {
        FPending = true;
        btnValueChange->setEnabled(true);
    });
    const auto sessionEdited = [this] {
        FPending = true;
        btnSessionChange->setEnabled(true);
    };
    connect(edtSessionHost, &QLineEdit::textEdited, this, sessionEdited);
    connect(edtSessionPort, &QLineEdit::textEdited, this, sessionEdited);
    connect(btnValueChange, &QPushButton::clicked, this, &TListsPage::StoreValue);
    connect(btnSessionChange, &QPushButton::clicked, this, &TListsPage::StoreSession);
    connect(btnListAdd, &QPushButton::clicked, this, &TListsPage::AddEntry);
    connect(btnListRename, &QPushButton::clicked, this, &TListsPage::RenameEntry);
    connect(btnListDelete, &QPushButton::clicked, this, &TListsPage::DeleteEntry);
}

void TListsPage::Load()
{
    FPending = false;
    FListKind = -1;
    cbLists->setCurrentIndex(lcAliases);
    ListChosen(lcAliases);
}

TStringList& TListsPage::CurrentList()
{
    TMudConfig& config = FContext.Config;
    switch (FListKind) {
    case lcTabs:
        return config.FTabs;
    case lcPaths:
        return config.FPaths;
    case lcSessions:
        return config.FSessions;
    default:
        return config.FAliases;
    }
}

QByteArray& TListsPage::EntryAt(int index)
{
    return CurrentList()[index];
}

void TListsPage::ListChosen(int choice)
{
    if (choice == FListKind) return; // the list shown, and any edit in it, stays
    if (FPending && choice != FListKind &&
        FContext.Prompts.Confirm(Settings::kChangedQuestion, false) == IPrompts::Answer::Yes)
        StorePending();
    FPending = false;
    FListKind = choice;
    pnlAliasAndPath->hide();
    pnlSession->hide();
    lblShortcut->setText(choice == lcTabs ? QStringLiteral("Ergänzung") : QStringLiteral("Kürzel"));

    {
        const QSignalBlocker blocker(lbShortcuts);
        lbShortcuts->clear();
        for (const QByteArray& entry : CurrentList())
            lbShortcuts->addItem(
                Settings::Text(choice == lcTabs ? entry : Settings::EntryName(entry)));
    }
    if (choice == lcAliases || choice == lcPaths) pnlAliasAndPath->show();
    if (choice == lcSessions) pnlSession->show();
    FShownIndex = -1;
    Select(lbShortcuts->count() > 0 ? 0 : -1);
}

void TListsPage::Select(int row)
{
    {
        const QSignalBlocker blocker(lbShortcuts);
        lbShortcuts->setCurrentRow(row);
    }
    ShowSelected();
}

void TListsPage::ShowSelected()
{
    if (FPending &&
        FContext.Prompts.Confirm(Settings::kChangedQuestion, false) == IPrompts::Answer::Yes)
        StorePending();
    for (QLineEdit* field : {edtShortCut, edtValue, edtSessionHost, edtSessionPort})
        field->clear();
    FPending = false;

    const int index = lbShortcuts->currentRow();
    FShownIndex = index >= 0 && index < CurrentList().size() ? index : -1;
    const bool selected = FShownIndex >= 0;
    btnListRename->setEnabled(selected);
    btnListDelete->setEnabled(selected);
    btnValueChange->setEnabled(false);
    btnSessionChange->setEnabled(false);
    if (!selected) return;

    edtShortCut->setText(lbShortcuts->item(index)->text());
    const TMudConfig& config = FContext.Config;
    int at = index;
    if (FListKind == lcAliases || FListKind == lcPaths) {
        TMAlias rec;
        FListKind == lcAliases ? config.GetAlias(QByteArray(), at, rec)
                               : config.GetPath(QByteArray(), at, rec);
        edtValue->setText(Settings::Text(rec.Value));
    } else if (FListKind == lcSessions) {
        TMSession rec;
        config.GetSession(QByteArray(), at, rec);
        edtSessionHost->setText(Settings::Text(rec.Host));
        edtSessionPort->setText(Settings::Text(rec.Port));
    }
}

void TListsPage::StorePending()
{
    if (FListKind == lcSessions)
        StoreSession();
    else if (FListKind == lcAliases || FListKind == lcPaths)
        StoreValue();
}

void TListsPage::StoreValue()
{
    if (FShownIndex >= 0 && (FListKind == lcAliases || FListKind == lcPaths)) {
        const TMAlias rec{Settings::EntryName(EntryAt(FShownIndex)),
                          Settings::Bytes(edtValue->text())};
        edtShortCut->setText(Settings::Text(rec.Name));
        FListKind == lcAliases ? FContext.Config.PutAlias(FShownIndex, rec)
                               : FContext.Config.PutPath(FShownIndex, rec);
    }
    btnValueChange->setEnabled(false);
    FPending = false;
}

void TListsPage::StoreSession()
{
    if (FShownIndex >= 0 && FListKind == lcSessions) {
        const TMSession rec{Settings::EntryName(EntryAt(FShownIndex)),
                            Settings::Bytes(edtSessionHost->text()),
                            Settings::Bytes(edtSessionPort->text())};
        FContext.Config.PutSession(FShownIndex, rec);
    }
    btnSessionChange->setEnabled(false);
    FPending = false;
}

bool TListsPage::NameTaken(const QByteArray& name) const
{
    if (FListKind == lcTabs) {
        for (const QByteArray& word : FContext.Config.FTabs)
            if (Win1252::sameText(word, name)) return true;
        return false;
    }
    return FContext.Config.FindNameSlot(name, NameSpaceKind(FListKind)) != -1;
}

void TListsPage::AddEntry()
{
    const TListWords& words = kWords[FListKind];
    QString answer;
    if (!FContext.Prompts.InputQuery(QString::fromUtf8(words.AddCaption),
                                     QString::fromUtf8(words.AddPrompt), answer))
        return;
    const QByteArray name = Settings::Bytes(answer);
    if (FListKind != lcTabs && name.contains('/')) {
        // The first "/" of an entry ends its name; such a name would split on reading.
        FContext.Prompts.Warning(Settings::kSlashInName);
        return;
    }
    if (NameTaken(name)) {
        FContext.Prompts.Warning(FListKind == lcTabs
                                     ? QStringLiteral("Ergänzung existiert bereits.")
                                     : QStringLiteral("Kürzel bereits belegt."));
        return;
    }
    CurrentList().append(name);
    lbShortcuts->blockSignals(true);
    lbShortcuts->addItem(answer);
    lbShortcuts->blockSignals(false);
    Select(lbShortcuts->count() - 1);
    FPending = false;
    if (FListKind == lcAliases || FListKind == lcPaths) {
        edtValue->setFocus();
    } else if (FListKind == lcSessions) {
        edtSessionHost->clear();
        edtSessionPort->setText(QStringLiteral("7600"));
        edtSessionHost->setFocus();
    }
}

void TListsPage::RenameEntry()
{
    const int index = FShownIndex;
    if (index < 0) return;
    QString answer = edtShortCut->text();
    if (!FContext.Prompts.InputQuery(QStringLiteral("Umbenennen"), QStringLiteral("Neues Kürzel"),
                                     answer) ||
        answer.isEmpty())
        return;
    const QByteArray name = Settings::Bytes(answer);
    const QString refusal = QString::fromUtf8(kWords[FListKind].RenameRefusal);
    if (FListKind != lcTabs && name.contains('/')) {
        FContext.Prompts.Error(refusal + QStringLiteral("\r\n") + Settings::kSlashInName);
        return;
    }
    if (NameTaken(name)) {
        FContext.Prompts.Error(FListKind == lcTabs
                                   ? refusal
                                   : refusal + QStringLiteral("\r\nKürzel ist bereits vergeben."));
        return;
    }
    TMudConfig& config = FContext.Config;
    int at = index;
    if (FListKind == lcTabs) {
        EntryAt(index) = name;
    } else if (FListKind == lcSessions) {
        TMSession rec;
        config.GetSession(QByteArray(), at, rec);
        config.PutSession(index, {name, rec.Host, rec.Port});
    } else {
        TMAlias rec;
        FListKind == lcAliases ? config.GetAlias(QByteArray(), at, rec)
                               : config.GetPath(QByteArray(), at, rec);
        rec.Name = name;
        FListKind == lcAliases ? config.PutAlias(index, rec) : config.PutPath(index, rec);
    }
    lbShortcuts->item(index)->setText(answer);
    Select(index);
}

void TListsPage::DeleteEntry()
{
    const int index = FShownIndex;
    if (index < 0) return;
    if (FContext.Prompts.Confirm(Settings::kDeleteQuestion, false) == IPrompts::Answer::No) return;
    // A pending edit belongs to the entry that goes; there is nothing left to store it in.
    FPending = false;
    FShownIndex = -1;
    CurrentList().removeAt(index);
    {
        const QSignalBlocker blocker(lbShortcuts);
        delete lbShortcuts->takeItem(index);
    }
    const int count = lbShortcuts->count();
    Select(count == 0 ? -1 : qMin(index, count - 1));
}
