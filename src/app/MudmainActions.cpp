// What the menu items, tool buttons, status lights, lists panel and keys of the main
// window do.
#include "Kompass.h"
#include "Mudmain.h"
#include "StatusLight.h"

#include "command/CommandProcessor.h"
#include "dialogs/settings/mudconf.h"
#include "dialogs/small/Mudopen.h"
#include "dialogs/small/mudabout.h"
#include "dialogs/small/mudedl.h"
#include "dialogs/small/mudnbook.h"
#include "dialogs/small/mudpsw.h"
#include "display/console/ColorConsole.h"
#include "display/controls/tbedit.h"
#include "display/output/OutputSink.h"
#include "display/output/SessionLog.h"
#include "net/TnCnx.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/Win1252.h"
#include "stats/ui/Mudvorka.h"

#include <QApplication>

#include <algorithm>
#include <iterator>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QToolButton>

namespace {

QByteArray Bytes(const QString& s) { return Win1252::fromUnicode(s); }

} // namespace

void TMudMainFrm::MenuClick(int tag)
{
    switch (tag) {
    case 1: ConnectDialog(); break;
    case 2: Telnet->Close(); break;
    case 9: QuitApplication(); break;
    case 10: Copy(); break;
    case 11: MudInput->paste(); break;
    case 12:
        if (MudInput->hasFocus())
            MudInput->cut();
        break;
    case 20: AliasFromInput(); break;
    case 21: FCommands->Completer().AddLastWord(); break;
    case 22: StartLogDialog(); break;
    case 23: FLog->StopLog(); break;
    case 24: FCommands->DefinePath(); break;
    case 25: {
        QByteArray oldName, newName;
        TMudPathSwitchFrm dialog(this);
        if (dialog.Execute(FConfig, oldName, newName))
            FCommands->Interpreter().SwitchPath(oldName, newName);
        break;
    }
    case 30:
    case 31:
        (tag == 30 ? pnlToolbar : pnlStatusFooter)->setVisible((tag == 30 ? mnuViewToolbar : mnuViewStatus)->isChecked());
        LayoutPanels();
        break;
    case 32: ToggleLists(); break;
    case 33: FNotebook->OpenNotebook(FConfig); break;
    case 34: PlaceStatusIndicators(mnuViewStatusPos->isChecked()); break;
    case 35: TVorkaOMaticFrm::Execute(FVorkaOMatic, this); break;
    case 40:
        for (QWidget* w : findChildren<QWidget*>())
            if (w->property("hint").isValid())
                w->setToolTip(mnuOptionsHelp->isChecked() ? w->property("hint").toString() : QString());
        break;
    case 41: OpenSettings(-1); break;
    case 42: LoadDialog(); break;
    case 43: SaveDialog(); break;
    case 44: OpenSettings(3); break;
    case 45: OpenSettings(4); break;
    case 50: {
        TMudAboutFrm about(this);
        about.Execute(QString::fromLatin1(KMC_REVISION));
        break;
    }
    default: break;
    }
}

void TMudMainFrm::SpeedbuttonClick(int tag)
{
    switch (tag) {
    case 1: ConnectDialog(); break;
    case 2: Telnet->Close(); break;
    case 10: FCommands->DefinePath(); break;
    case 20: ToggleLists(); break;
    case 30: OpenSettings(-1); break;
    case 31: OpenSettings(3); break;
    case 32: OpenSettings(4); break;
    case 999: QuitApplication(); break;
    default: break;
    }
}

void TMudMainFrm::ConnectDialog()
{
    TMudOpenFrm dialog(this);
    if (dialog.Execute()) {
        Telnet->SetHost(Bytes(dialog.edtHost->text()));
        Telnet->SetPort(Bytes(dialog.edtPort->text()));
        Telnet->Connect();
    }
}

void TMudMainFrm::OpenSettings(int page)
{
    if (TMudConfFrm::ExecuteAt(FConfig, page, this, FPrompts))
        ApplySettings();
}

void TMudMainFrm::StatusLightClick(int tag)
{
    switch (tag) {
    case 1: FCommands->Input().ProcessInputLine("#mark"); break;
    case 2: FCommands->Input().ProcessInputLine("#automap"); break;
    case 3:
        if (FLog->LogActive())
            StatusbarText->setText(FLog->FLogFileName);
        break;
    case 4:
        if (Telnet->IsConnected())
            StatusbarText->setText(Win1252::toUnicode(Telnet->Host()));
        break;
    default: break;
    }
}

void TMudMainFrm::StatusLightDblClick(int tag)
{
    if (tag == 3) {
        if (FLog->LogActive())
            FLog->StopLog();
        else if (!FLog->FLogFileName.isEmpty())
            FLog->StartLog(false);
    } else if (tag == 4) {
        if (!Telnet->IsConnected())
            ConnectDialog();
        else if (FPrompts.Confirm("Verbindung schließen ?", false) == IPrompts::Answer::Yes)
            Telnet->Close();
    }
}

void TMudMainFrm::OnlineChanged(bool online)
{
    sbConnect->setEnabled(!online);
    sbDisconnect->setEnabled(online);
    pnlConnect->SetLightColor(online ? clLime : clRed);
    pnlConnect->repaint();
    mnuFileOpen->setEnabled(!online);
    mnuFileClose->setEnabled(online);
}

void TMudMainFrm::LogStateChanged(bool active)
{
    pnlLog->SetLightColor(active ? clLime : clSilver);
    mnuActionStopLog->setEnabled(active);
    mnuActionStartLog->setEnabled(!active);
}

void TMudMainFrm::RecordingStateChanged(bool recording, bool autoMap)
{
    pnlMark->SetLightColor(recording ? clLime : clSilver);
    pnlAutomap->SetLightColor(autoMap ? clYellow : clSilver);
    sbtnPath->setEnabled(recording);
    mnuActionPath->setEnabled(recording);
    pnlMark->repaint();
    pnlAutomap->repaint();
}

// --- lists panel ---

void TMudMainFrm::RefreshList()
{
    CommandsList->clear();
    const int type = cbListType->currentIndex();
    const TStringList* list = type == 0 ? &FConfig.FAliases : type == 1 ? &FConfig.FPaths
                              : type == 2 ? &FConfig.FSessions : nullptr;
    if (list) {
        for (const QByteArray& entry : *list) {
            const qsizetype slash = entry.indexOf('/');
            CommandsList->addItem(Win1252::toUnicode(slash < 0 ? entry : entry.left(slash)));
        }
    } else if (type == 3 && FCommands) {
        for (const QByteArray& line : FCommands->Input().FHistory)
            CommandsList->addItem(Win1252::toUnicode(line));
    }
}

void TMudMainFrm::CommandsListClick()
{
    const int row = CommandsList->currentRow();
    const int type = cbListType->currentIndex();
    QByteArray text;
    int index = row;
    if (row < 0 || type == 3) {
        StatusbarText->clear();
        return;
    }
    if (type == 0) {
        TMAlias a;
        FConfig.GetAlias("", index, a);
        text = a.Value;
    } else if (type == 1) {
        TMPath p;
        FConfig.GetPath("", index, p);
        text = p.Value;
    } else {
        TMSession s;
        FConfig.GetSession("", index, s);
        text = s.Host + ' ' + s.Port;
    }
    StatusbarText->setText(Win1252::toUnicode(text));
}

void TMudMainFrm::CommandsListExecute()
{
    if (QListWidgetItem* item = CommandsList->currentItem())
        FCommands->Input().ProcessInputLine(Bytes(item->text()));
}

void TMudMainFrm::CommandsListAppend()
{
    QListWidgetItem* item = CommandsList->currentItem();
    if (!item)
        return;
    const QString text = MudInput->text() + item->text() + ' ';
    if (text.size() > 255) {
        FPrompts.Warning("Text in Eingabezeile ist zu lang!");
        return;
    }
    MudInput->setText(text);
}

// --- dialogs of the menu ---

void TMudMainFrm::FinishInputLine()
{
    if (FConfig.FClearInput)
        MudInput->clear();
    else
        MudInput->selectAll();
    MudInput->setFocus();
}

void TMudMainFrm::AliasFromInput()
{
    if (MudInput->text().isEmpty())
        return;
    QByteArray name, value = Bytes(MudInput->text());
    TMudEditFields dialog(this);
    if (dialog.Execute(name, value, 0) && !FCommands->Interpreter().RefusedName(name)) {
        if (FConfig.SetAlias(name, value)) {
            FSink->ShowInfo("\"" + name + "\" aliases \"" + value + "\"");
            if (cbListType->currentIndex() == 0)
                RefreshList();
        } else {
            FSink->ShowError("Kuerzel \"" + name + "\" bereits belegt.");
        }
    }
    FinishInputLine();
}

QString TMudMainFrm::ChooseFile(const TFileDialogRequest& request)
{
    QString file;
    if (FChooseFile) {
        file = FChooseFile(request);
    } else {
        QFileDialog dialog(this, request.Caption, request.Folder, request.Filter);
        dialog.setDefaultSuffix(request.DefaultSuffix);
        if (request.Kind == TFileDialogKind::Load) {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFile);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            if (request.Kind == TFileDialogKind::StartLog)
                dialog.setOption(QFileDialog::DontConfirmOverwrite);
        }
        if (!request.Preset.isEmpty())
            dialog.selectFile(request.Preset);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            file = dialog.selectedFiles().constFirst();
    }
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty())
        file += '.' + request.DefaultSuffix;
    return file;
}

void TMudMainFrm::StartLogDialog()
{
    const QString file = ChooseFile({TFileDialogKind::StartLog, "Starte Log", ProgramFolder::file("log"),
                                     QString(), "LOG-Dateien (*.log);;Alle Dateien (*)", "log"});
    if (file.isEmpty())
        return;
    FLog->FLogFileName = file;
    if (!QFileInfo::exists(file)) {
        FLog->StartLog(false);
        return;
    }
    const IPrompts::Answer a =
        FPrompts.Confirm(QStringLiteral("Datei %1 existiert bereits. Überschreiben?").arg(file), true);
    if (a != IPrompts::Answer::Cancel)
        FLog->StartLog(a == IPrompts::Answer::Yes);
}

// The dialogs open in conf/ with the current file preselected; a configuration that was
// never loaded or saved carries a bare name, which would otherwise point into whatever
// folder the program was started from.
QString TMudMainFrm::ConfigPreset() const
{
    return TMudConfig::ResolveFileName(FConfig.FFileName);
}

void TMudMainFrm::LoadDialog()
{
    const QString file = ChooseFile({TFileDialogKind::Load, "Konfiguration laden", ProgramFolder::file("conf"),
                                     ConfigPreset(), "MUD-Dateien (*.mud);;Alle Dateien (*)", "mud"});
    if (!file.isEmpty())
        LoadConfiguration(file);
}

void TMudMainFrm::SaveDialog()
{
    const QString file = ChooseFile({TFileDialogKind::Save, "Konfiguration speichern", ProgramFolder::file("conf"),
                                     ConfigPreset(), "MUD-Datei (*.mud);;Alle Dateien (*)", "mud"});
    if (!file.isEmpty())
        SaveConfiguration(file);
}

// --- clipboard and scroll-back ---

void TMudMainFrm::Copy()
{
    if (LogMemo->hasFocus())
        LogMemo->copy();
    else if (MudInput->hasFocus())
        MudInput->copy();
}

void TMudMainFrm::ShowScrollBack(bool show)
{
    if (show == FScrollBackShown)
        return;
    FScrollBackShown = show;
    LogMemo->setVisible(show);
    if (show) {
        QStringList lines;
        for (const QByteArray& l : FSink->FOutputLines)
            lines << Win1252::toUnicode(l);
        LogMemo->setPlainText(lines.join('\n'));
        LogMemo->moveCursor(QTextCursor::End);
        // The end of a long last line would leave the view scrolled to the right.
        LogMemo->horizontalScrollBar()->setValue(0);
    }
    LayoutPanels();
}

void TMudMainFrm::ScrollBackTake()
{
    const QString selected = LogMemo->textCursor().selectedText();
    if (selected.isEmpty())
        return;
    LogMemo->copy();
    MudInput->insert(selected);
    MudInput->setFocus();
}

// --- the window sees keys before its controls ---

bool TMudMainFrm::IsMenuShortcut(QKeyCombination key) const
{
    const QKeySequence pressed(key);
    for (const QAction* bar : menuBar()->actions())
        for (const QAction* item : bar->menu()->actions())
            if (item->isEnabled() && !item->shortcut().isEmpty() && item->shortcut() == pressed)
                return true;
    return false;
}

bool TMudMainFrm::HandleWindowKey(QObject* watched, QKeyEvent* e)
{
    if (watched == LogMemo && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        ScrollBackTake();
        return true;
    }
    if (watched == CommandsList && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        if (e->modifiers() & Qt::ControlModifier)
            CommandsListAppend();
        else
            CommandsListExecute();
        return true;
    }
    if (e->key() == Qt::Key_Tab && watched == MudInput)
        return false; // the input line reports Tab itself
    // The key's first receiver is the focus widget; asking hasFocus() instead would
    // fail whenever the window is not the active one, and Enter would do nothing.
    return FCommands->KeyPress(e->key(), e->modifiers(), Bytes(e->text()), watched == MudInput);
}

bool TMudMainFrm::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // The window sees keys before its controls: they arrive here for the control
        // that has the focus, before it and before they travel up to its parents. The
        // application's focus widget cannot tell, as it is null while the window is
        // not the active one.
        const QObject* const controls[] = {MudInput,     CommandsList, LogMemo,
                                           Mudoutput,    cbActiveNumPad, cbListType};
        if (std::find(std::begin(controls), std::end(controls), watched) == std::end(controls))
            return false;
        return HandleWindowKey(watched, static_cast<QKeyEvent*>(event));
    }
    case QEvent::ShortcutOverride:
        // The menu's shortcuts win over the controls' own meaning of the same keys
        // (Ctrl+Z is undo, Ctrl+K delete-to-end in a line edit); the edit items act on
        // the input line themselves.
        return watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this &&
               IsMenuShortcut(static_cast<QKeyEvent*>(event)->keyCombination());
    case QEvent::StatusTip:
        if (watched == this) {
            StatusbarText->setText(static_cast<QStatusTipEvent*>(event)->tip());
            return true;
        }
        return false;
    case QEvent::Resize:
        // The outer layout sizes these panels after the window's own resize event.
        if (watched == pnlWork)
            LayoutPanels();
        else if (watched == pnlToolbar)
            LayoutToolbar();
        else if (watched == pnlLists) {
            const int h = pnlLists->height();
            pnlKompass->move(4, h - pnlKompass->height() - 2);
            CommandsList->setGeometry(4, 40, pnlLists->width() - 8,
                                      qMax(0, h - pnlKompass->height() - cbListType->height() - 20));
        }
        return false;
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(event);
        if (watched == LogMemo->viewport() && m->button() == Qt::MiddleButton) {
            ScrollBackTake();
            return true;
        }
        if (watched == CommandsList->viewport() && m->button() == Qt::RightButton) {
            if (QListWidgetItem* item = CommandsList->itemAt(m->position().toPoint())) {
                CommandsList->setCurrentItem(item);
                CommandsListAppend();
            }
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}
