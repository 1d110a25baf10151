#pragma once
// The main window. It owns the live parts of the client (configuration, connection,
// console, output, log, statistics, command processing) and wires them together; the
// logic stays in the parts. Controls keep their conventional prefixed names (mnu, sb,
// pnl, cb ...), which the handlers dispatch on.

#include "config/MudConfig.h"
#include "stats/VorkaOMatic.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QTimer;
class QToolButton;
class IPrompts;
class TColorConsole;
class TConnectTime;
class TConsoleWriter;
class TIncomingText;
class TKompass;
class TOutputSink;
class TSessionLog;
class TShader;
class TStatusLight;
class TTbEdit;
class TTelnetConnection;
class TTnCnx;
class TMainCommandHost;
class TCommandProcessor;
class TMudNoteBookFrm;

extern const char* const KMC_CAPTION;
extern const char* const KMC_REVISION;

class TMudMainFrm : public QMainWindow {
    Q_OBJECT
public:
    // FormCreate: creates the parts, the folders, loads "default.mud", applies it.
    explicit TMudMainFrm(IPrompts& prompts, QWidget* parent = nullptr);
    ~TMudMainFrm() override;

    void ShowBanner();
    // Names are paths or bare names of conf/ (see TMudConfig::ResolveFileName).
    void LoadConfiguration(const QString& name);
    // Player: a file that could not be read is written over only when the player says
    // so. Auto: such a file is left alone without a question.
    enum class TSaveMode { Player, Auto };
    bool SaveConfiguration(const QString& name, TSaveMode mode = TSaveMode::Player);
    void ApplySettings();
    void OpenSettings(int page);
    void QuitApplication();
    void LayoutPanels();
    void RefreshList();
    void ConnectDialog();

    // The parts, open to the end-to-end tests.
    TMudConfig FConfig;
    TVorkaOMatic FVorkaOMatic;
    TConnectTime* FConnectTime = nullptr;
    TTnCnx* Telnet = nullptr;
    TColorConsole* Mudoutput = nullptr;
    TOutputSink* FSink = nullptr;
    TSessionLog* FLog = nullptr;
    TIncomingText* FIncoming = nullptr;
    TCommandProcessor* Commands() const { return FCommands.get(); }
    bool FBannerShown = false;
    bool FScrollBackShown = false;

    // Controls.
    QAction *mnuFileOpen, *mnuFileClose, *mnuFileExit, *mnuEditCut, *mnuEditPaste, *mnuEditCopy;
    QAction *Alias1, *mnuActionPath, *mnuActionSwitchPath, *mnuActionComplete;
    QAction *mnuActionStartLog, *mnuActionStopLog, *mnuViewNavigationbar, *mnuViewNotebook;
    QAction *mnuViewStatus, *mnuViewStatusPos, *mnuViewVorka, *mnuViewToolbar;
    QAction *mnuOptionsGlobal, *mnuOptionsFuncKeys, *mnuOptionsNumpad, *mnuFileLoad, *mnuFileSave;
    QAction *mnuOptionsHelp, *mnuHelpAbout;
    QWidget *pnlToolbar, *pnlToolbarRight, *pnlStatusFooter, *pnlStatusPos, *pnlLights;
    QWidget *pnlWork, *pnlMudInput, *pnlLists, *Panel1, *pnlKompass;
    QToolButton *sbConnect, *sbDisconnect, *sbtnPath, *sbtnCommandCenter, *sbtnSettings;
    QToolButton *sbtnFuncKeys, *sbtnNumpad, *sbClose;
    QLabel *StatusbarText, *lblTime;
    TStatusLight *pnlMark, *pnlAutomap, *pnlLog, *pnlConnect;
    TTbEdit* MudInput;
    QComboBox *cbActiveNumPad, *cbListType;
    QListWidget* CommandsList;
    TKompass* Kompass;
    TShader* pnlMudOutput;
    QPlainTextEdit* LogMemo;
    QTimer* AutoSave;
    TMudNoteBookFrm* FNotebook = nullptr;

    // The file dialogs of the menu. Tests set FChooseFile to name the file themselves;
    // an empty result means the player cancelled.
    enum class TFileDialogKind { StartLog, Load, Save };
    struct TFileDialogRequest {
        TFileDialogKind Kind;
        QString Caption, Folder, Preset, Filter, DefaultSuffix;
    };
    std::function<QString(const TFileDialogRequest&)> FChooseFile;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TMainCommandHost;

    // Construction of the controls (layout file).
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusFooter();
    void BuildWorkArea();
    QToolButton* AddToolButton(QWidget* parent, int x, int width, int tag, const QString& hint,
                               int icon);
    void PlaceStatusIndicators(bool inStatusBar);
    void LayoutToolbar();
    void WireControls();
    void NameControlsForScreenReaders();

    // Wiring of the parts (lifecycle file).
    void CreateParts();
    void WireTelnet();
    void EnsureFolders();
    void SetCaptionWithFile();
    bool OfferSaveBeforeLoad();
    int LoadFile(const QString& name);
    void ReportLoad(int result);
    bool FormCloseQuery();

    // Handlers (actions file).
    void MenuClick(int tag);
    void SpeedbuttonClick(int tag);
    void StatusLightClick(int tag);
    void StatusLightDblClick(int tag);
    void CommandsListClick();
    void CommandsListExecute();
    void CommandsListAppend();
    void ToggleLists();
    void AliasFromInput();
    void StartLogDialog();
    void LoadDialog();
    void SaveDialog();
    QString ChooseFile(const TFileDialogRequest& request);
    QString ConfigPreset() const;
    void OnlineChanged(bool online);
    void LogStateChanged(bool active);
    void RecordingStateChanged(bool recording, bool autoMap);
    void ShowScrollBack(bool show);
    void ScrollBackTake();
    void Copy();
    void FinishInputLine();
    bool HandleWindowKey(QObject* watched, class QKeyEvent* event);
    bool IsMenuShortcut(QKeyCombination key) const;

    IPrompts& FPrompts;
    std::unique_ptr<TConsoleWriter> FConsoleWriter;
    std::unique_ptr<TTelnetConnection> FConnection;
    std::unique_ptr<TMainCommandHost> FHost;
    std::unique_ptr<TCommandProcessor> FCommands;
    bool FShownOnce = false;
    // A configuration file that exists but could not be read (wrong version, read
    // error); empty when there is none.
    QString FUnreadFile;
    // The window closes because the session ends (SIGTERM, SIGHUP): no questions.
    bool FUnattended = false;
};
