// Start, configuration files, settings and shutdown of the main window.
#include "Adapters.h"
#include "Banner.h"
#include "Kompass.h"
#include "MainCommandHost.h"
#include "Mudmain.h"
#include "StatusLight.h"

#include "command/CommandProcessor.h"
#include "dialogs/small/mudnbook.h"
#include "display/controls/ColorValue.h"
#include "display/controls/FontValue.h"
#include "display/console/ColorConsole.h"
#include "display/controls/Shader.h"
#include "display/controls/tbedit.h"
#include "display/output/IncomingText.h"
#include "display/output/OutputSink.h"
#include "display/output/SessionLog.h"
#include "net/TnCnx.h"
#include "platform/EndSignals.h"
#include "platform/Errors.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/Win1252.h"
#include "stats/ConnectTime.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

const char* const KMC_CAPTION = "Kelmoth's Mud-Client (KMC) V1.0b1";
const char* const KMC_REVISION = "$Revision: 1.35 $";

TMudMainFrm::TMudMainFrm(IPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), FPrompts(prompts)
{
    setWindowTitle(QString::fromLatin1(KMC_CAPTION));
    resize(597, 476);
    BuildMenus();
    BuildToolbar();
    BuildStatusFooter();
    BuildWorkArea();
    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(pnlToolbar);
    column->addWidget(pnlWork, 1);
    column->addWidget(pnlStatusFooter);
    setCentralWidget(central);

    CreateParts();
    WireControls();
    TKompass::InstallAccessibility();
    TConsole::InstallAccessibility();
    NameControlsForScreenReaders();
    qApp->installEventFilter(this);
    LogMemo->clear();
    cbActiveNumPad->clear();
    EnsureFolders();
    int loaded = 0;
    if (QFileInfo::exists(ProgramFolder::file("conf/default.mud")))
        loaded = LoadFile("default");
    ApplySettings();
    Mudoutput->Clear();
    // A default configuration that could not be read is reported after the clear,
    // where the player sees it.
    if (loaded != 0)
        ReportLoad(loaded);
    cbListType->setCurrentIndex(0);
    RefreshList();
    if (FConfig.FAutoLog) {
        QString name = Win1252::toUnicode(ProgramFolder::normalizeSeparators(FConfig.FLogFile));
        // A relative name would land in whatever folder the program was started from:
        // it lies beside the program, a bare name in its log/ folder.
        if (!name.startsWith('/'))
            name = ProgramFolder::file((name.contains('/') ? "" : "log/") + name);
        FLog->FLogFileName = name;
        FLog->StartLog(true);
    }
}

TMudMainFrm::~TMudMainFrm()
{
    qApp->removeEventFilter(this);
    // The base destructor still moves the focus while it tears the controls down; the
    // scroll-back handler must not run on a half-destroyed window then.
    disconnect(qApp, nullptr, this, nullptr);
    // The connection goes first, without notifications into parts being destroyed.
    if (Telnet) {
        Telnet->OnSessionClosed = nullptr;
        Telnet->OnDataAvailable = nullptr;
        Telnet->OnSessionConnected = nullptr;
        Telnet->OnLocalEcho = nullptr;
    }
    FCommands.reset();
}

void TMudMainFrm::CreateParts()
{
    FConnectTime = new TConnectTime(this);
    FConnectTime->OnTick = [this](QObject*) {
        const QString time = QString::fromLatin1(FConnectTime->AsString());
        lblTime->setText(time);
        lblTime->setAccessibleName("Onlinezeit " + time);
    };
    FVorkaOMatic.LoadFromFile();
    Telnet = new TTnCnx(this);
    FConnection = std::make_unique<TTelnetConnection>(*Telnet);
    FConsoleWriter = std::make_unique<TConsoleWriter>(*Mudoutput);
    FSink = new TOutputSink(*FConsoleWriter, FConnection.get(), this);
    FLog = new TSessionLog(*FSink, FPrompts, this);
    FIncoming = new TIncomingText(*FConsoleWriter, *FSink, *FLog, FConfig, *FConnectTime,
                                  FVorkaOMatic, this);
    FIncoming->OnBeep = [] { QApplication::beep(); };
    connect(FIncoming, &TIncomingText::OnlineChanged, this, &TMudMainFrm::OnlineChanged);
    connect(FLog, &TSessionLog::LogStarting, this, [this] { pnlLog->SetLightColor(clLime); });
    connect(FLog, &TSessionLog::LogStateChanged, this, &TMudMainFrm::LogStateChanged);
    FHost = std::make_unique<TMainCommandHost>(*this);
    FCommands = std::make_unique<TCommandProcessor>(
        TCommandEnv{FConfig, *FSink, *FLog, FConnection.get(), FPrompts, *FHost});
    WireTelnet();
    AutoSave = new QTimer(this);
    connect(AutoSave, &QTimer::timeout, this, [this] { SaveConfiguration(FConfig.FFileName, TSaveMode::Auto); });
    FHost->Wire();
    FNotebook = new TMudNoteBookFrm(this, &FPrompts);
    // Logout and shutdown end the session as a close of the window with nobody to
    // answer questions.
    connect(new TEndSignals(this), &TEndSignals::Received, this, [this] {
        FUnattended = true;
        if (close())
            QCoreApplication::quit();
    });
}

void TMudMainFrm::WireTelnet()
{
    Telnet->OnSessionConnected = [this](TTnCnx*, quint16) { FIncoming->TelnetSessionConnected(Telnet->Host()); };
    Telnet->OnSessionClosed = [this](TTnCnx*, quint16) { FIncoming->TelnetSessionClosed(); };
    Telnet->OnDataAvailable = [this](TTnCnx*, const char* buffer, int len) {
        FIncoming->TelnetDataAvailable(buffer, len);
    };
    Telnet->OnLocalEcho = [this](TTnCnx*) { FSink->FRemoteEcho = Telnet->RemoteEcho(); };
}

void TMudMainFrm::EnsureFolders()
{
    const QString conf = ProgramFolder::file("conf");
    const QString log = ProgramFolder::file("log");
    if (!QFileInfo::exists(conf) && !QFileInfo::exists(log)) {
        QDir().mkpath(conf);
        QDir().mkpath(log);
    }
}

void TMudMainFrm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FShownOnce)
        return;
    FShownOnce = true;
    if (QScreen* shown = screen())
        move(shown->availableGeometry().center() - frameGeometry().center() + pos());
    LayoutPanels();
    MudInput->setFocus();
    ShowBanner();
    if (FConfig.FAutoConnect)
        FConnection->Connect(FConfig.FHost, FConfig.FPort);
}

void TMudMainFrm::ShowBanner()
{
    if (FBannerShown)
        return;
    FBannerShown = true;
    Banner::Write(*FConsoleWriter, *FSink);
}

void TMudMainFrm::SetCaptionWithFile()
{
    setWindowTitle(QString::fromLatin1(KMC_CAPTION) + " [" + FConfig.FFileName + "]");
}

void TMudMainFrm::LoadConfiguration(const QString& name)
{
    if (!OfferSaveBeforeLoad())
        return;
    const QString current = FConfig.FFileName;
    const int result = LoadFile(name);
    ReportLoad(result);
    // A failed load leaves the lists as they were: they still belong to their own file,
    // and a later save must not put them under the name that failed.
    if (result != 0)
        FConfig.FFileName = current;
}

// Changes to the default configuration are dropped without a question.
bool TMudMainFrm::OfferSaveBeforeLoad()
{
    if (TMudConfig::IsDefaultFile(FConfig.FFileName) || !FConfig.FModified)
        return true;
    const IPrompts::Answer a = FPrompts.Confirm("Aktuelle Konfiguration wurde geändert. Speichern?", true);
    if (a != IPrompts::Answer::Yes)
        return a == IPrompts::Answer::No;
    // The changes would be lost with the load; let the player decide.
    return SaveConfiguration(FConfig.FFileName) ||
           FPrompts.Confirm("Die Konfiguration wurde nicht gespeichert. Trotzdem laden?", false) ==
               IPrompts::Answer::Yes;
}

int TMudMainFrm::LoadFile(const QString& name)
{
    const int result = FConfig.LoadFromFile(name);
    // A file that is there but could not be read is the player's; it is not written
    // over without asking (SaveConfiguration).
    if (result == -2 || result == -3)
        FUnreadFile = FConfig.FFileName;
    else if (result == 0)
        FUnreadFile.clear();
    if (result == 0) {
        ApplySettings();
        SetCaptionWithFile();
    }
    return result;
}

void TMudMainFrm::ReportLoad(int result)
{
    const QByteArray file = Win1252::fromUnicode(FConfig.FFileName);
    switch (result) {
    case 0: FSink->ShowInfo("Konfiguration \"" + file + "\" geladen."); break;
    case -1: FSink->ShowError("Datei \"" + file + "\" existiert nicht!"); break;
    case -2: FSink->ShowError("Datei \"" + file + "\": Falsche Versionsnummer!"); break;
    default: FSink->ShowError("Fehler beim Laden von Datei \"" + file + "\"!"); break;
    }
}

bool TMudMainFrm::SaveConfiguration(const QString& name, TSaveMode mode)
{
    if (!FUnreadFile.isEmpty() && TMudConfig::ResolveFileName(name) == FUnreadFile) {
        const bool ask = mode == TSaveMode::Player && !FUnattended;
        if (!ask || FPrompts.Confirm(QStringLiteral("Die Datei %1 konnte nicht gelesen werden. "
                                                    "Trotzdem überschreiben?")
                                         .arg(FUnreadFile),
                                     false) != IPrompts::Answer::Yes)
            return false;
    }
    int result = -3;
    try {
        result = FConfig.SaveToFile(name);
    } catch (const KmcError& e) {
        FPrompts.Error(e.Message());
    }
    const QByteArray file = Win1252::fromUnicode(FConfig.FFileName);
    if (result == 0) {
        if (FConfig.FFileName == FUnreadFile)
            FUnreadFile.clear();
        SetCaptionWithFile();
        FSink->ShowInfo("Konfiguration unter \"" + file + "\" gespeichert.");
        return true;
    }
    FSink->ShowError("Fehler beim Schreiben der Datei \"" + file + "\"!");
    return false;
}

void TMudMainFrm::ApplySettings()
{
    const int remembered = qMax(0, cbActiveNumPad->currentIndex());
    cbActiveNumPad->blockSignals(true);
    cbActiveNumPad->clear();
    for (int i = 0; i < FConfig.FNumPadsList.Count(); ++i)
        cbActiveNumPad->addItem(Win1252::toUnicode(FConfig.FNumPadsList.Items(i).Name));
    cbActiveNumPad->setCurrentIndex(cbActiveNumPad->count() == 0 ? -1
                                                                 : qMin(remembered, cbActiveNumPad->count() - 1));
    cbActiveNumPad->blockSignals(false);
    FCommands->Walker().SetActiveNumPad(cbActiveNumPad->currentIndex());

    TFixedFont font = Mudoutput->Font();
    try {
        font.SetName(Win1252::toUnicode(FConfig.FOutputWindow.FFont.Name));
        font.SetSize(FConfig.FOutputWindow.FFont.Size);
        font.SetStyle(TFontStyles(FConfig.FOutputWindow.FFont.Style));
        font.SetColor(FConfig.FOutputWindow.FFont.Color);
        font.SetBkColor(FConfig.FOutputWindow.BGColor);
        Mudoutput->SetFont(font);
        // Where the window is larger than the grid, the console's own colour shows.
        Mudoutput->SetColor(FConfig.FOutputWindow.BGColor);
    } catch (const KmcError& e) {
        FSink->ShowError(Win1252::fromUnicode(e.Message()));
    }
    FIncoming->DefaultsChanged();
    LayoutPanels();

    LogMemo->setFont(ToQFont(FConfig.FLogWindow.FFont));
    QPalette memo = LogMemo->palette();
    memo.setColor(QPalette::Base, ResolveColor(FConfig.FLogWindow.BGColor, LogMemo->palette()));
    memo.setColor(QPalette::Text, ResolveColor(FConfig.FLogWindow.FFont.Color, LogMemo->palette()));
    LogMemo->setPalette(memo);

    AutoSave->setInterval(qBound(1, FConfig.FSaveInterval, 35791) * 60000);
    if (FConfig.FAutoSave)
        AutoSave->start();
    else
        AutoSave->stop();

    pnlMudOutput->SetDirection(FConfig.FShadeDirection);
    pnlMudOutput->SetFromColor(IndexToColor(FConfig.FShadeFromColor));
    pnlMudOutput->SetToColor(IndexToColor(FConfig.FShadeToColor));
    pnlMudOutput->SetSteps(quint16(qBound(0, FConfig.FShadeSteps, 65535)));
    FLog->FLogOverwrite = FConfig.FLogOverwrite;
    RefreshList();
}

void TMudMainFrm::QuitApplication()
{
    if (Telnet->IsConnected())
        Telnet->Close();
    close();
}

// Unattended (logout, shutdown) nothing is asked and everything changed is kept:
// the notebook and the configuration are saved, except over a file that could not be read.
bool TMudMainFrm::FormCloseQuery()
{
    if (FUnattended)
        FNotebook->SaveIfModified();
    else if (!FNotebook->CloseQuery())
        return false;
    if (!FConfig.FModified)
        return true;
    bool saved = true;
    if (FUnattended || TMudConfig::IsDefaultFile(FConfig.FFileName)) {
        saved = SaveConfiguration(FConfig.FFileName);
    } else {
        const IPrompts::Answer a = FPrompts.Confirm("Konfiguration wurde geändert. Speichern?", true);
        if (a == IPrompts::Answer::Cancel)
            return false;
        if (a == IPrompts::Answer::Yes)
            saved = SaveConfiguration(FConfig.FFileName);
    }
    // A save that failed would lose the changes with the window; let the player decide.
    return saved || FUnattended ||
           FPrompts.Confirm("Die Konfiguration wurde nicht gespeichert. Trotzdem beenden?", false) ==
               IPrompts::Answer::Yes;
}

void TMudMainFrm::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        FUnattended = false;
        event->ignore();
        return;
    }
    // However the window closes (close box, Alt+F4, logout), a running session is
    // recorded as #exit records it: the connection ends first, then the statistics
    // are saved.
    if (Telnet->IsConnected())
        Telnet->Close();
    if (FVorkaOMatic.FModified && !FVorkaOMatic.SaveToFile() && !FUnattended)
        FPrompts.Error(QStringLiteral("Die Statistik konnte nicht nach %1 geschrieben werden.")
                           .arg(FVorkaOMatic.FFileName));
    if (FLog->LogActive())
        FLog->StopLog();
    event->accept();
}
