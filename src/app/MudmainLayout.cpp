// The controls of the main window and their placement.
#include "Kompass.h"
#include "Mudmain.h"
#include "StatusLight.h"
#include "ToolIcons.h"

#include "display/console/ColorConsole.h"
#include "display/controls/Shader.h"
#include "display/controls/tbedit.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kToolbarHeight = 33;
constexpr int kFooterHeight = 21;
constexpr int kInputHeight = 30;
constexpr int kListsWidth = 122;
constexpr int kToolbarRightWidth = 272;
constexpr int kCompassPanel = 114;
constexpr int kScrollBackConsoleHeight = 150;

QAction* AddItem(QMenu* menu, const QString& caption, const QKeySequence& shortcut, int tag,
                 const QString& hint)
{
    QAction* a = menu->addAction(caption);
    a->setShortcut(shortcut);
    a->setData(tag);
    a->setStatusTip(hint);
    return a;
}

} // namespace

void TMudMainFrm::BuildMenus()
{
    QMenu* file = menuBar()->addMenu("&Datei");
    mnuFileOpen = AddItem(file, "Verbindung aufbauen ...", QKeySequence("Ctrl+O"), 1,
                          "Verbindung zu MUD herstellen");
    mnuFileClose = AddItem(file, "Verbindung beenden", {}, 2, "Verbindung zu MUD beenden");
    mnuFileClose->setEnabled(false);
    file->addSeparator();
    mnuFileExit = AddItem(file, "&Beenden", QKeySequence("Alt+X"), 9, "Anwendung beenden");

    QMenu* edit = menuBar()->addMenu("&Bearbeiten");
    mnuEditCut = AddItem(edit, "&Ausschneiden", QKeySequence("Ctrl+X"), 12,
                         "Markierten Text aus Eingabezeile ausschneiden");
    mnuEditPaste = AddItem(edit, "&Einfügen", QKeySequence("Ctrl+V"), 11,
                           "Inhalt der Zwischenablage in Eingabezeile einfügen");
    mnuEditCopy = AddItem(edit, "&Kopieren", QKeySequence("Ctrl+C"), 10,
                          "Markierten Text in Zwischenablage kopieren");

    QMenu* actions = menuBar()->addMenu("&Aktionen");
    Alias1 = AddItem(actions, "&Alias", QKeySequence("Ctrl+A"), 20,
                     "Eingabezeile als Alias hinzufuegen");
    mnuActionPath = AddItem(actions, "&Pfad", QKeySequence("Ctrl+P"), 24,
                            "Kürzel für Pfad einrichten, sofern Pfad-Aufzeichnung gestartet wurde");
    mnuActionPath->setEnabled(false);
    mnuActionSwitchPath = AddItem(actions, "Pfad umkehren", QKeySequence("Ctrl+W"), 25, QString());
    mnuActionComplete = AddItem(actions, "&Tab-Ergänzung", QKeySequence("Ctrl+T"), 21,
                                "Letztes Wort in Eingabezeile als Komplementierung hinzufügen");
    actions->addSeparator();
    mnuActionStartLog = AddItem(actions, "Starte &Log ...", {}, 22, "Mitschneiden starten");
    mnuActionStopLog = AddItem(actions, "&Stoppe Log", {}, 23, "Mitschneiden beenden");
    mnuActionStopLog->setEnabled(false);

    QMenu* view = menuBar()->addMenu("An&sicht");
    mnuViewNavigationbar = AddItem(view, "&Navigationsleiste", QKeySequence("Ctrl+N"), 32,
                                   "Linke Navigationsleiste ein- bzw. ausschalten");
    mnuViewNavigationbar->setCheckable(true);
    mnuViewNotebook = AddItem(view, "Notiz&buch", QKeySequence("Ctrl+B"), 33, "Notizen betrachten");
    mnuViewStatus = AddItem(view, "&Statuszeile", {}, 31, "Statuszeile anzeigen / verbergen");
    mnuViewStatusPos = AddItem(view, "Statusanzeigen unten", {}, 34,
                               "Statusanzeigen unten oder oben anzeigen");
    mnuViewVorka = AddItem(view, "Ternu-O-Matic(tm) ...", QKeySequence("Ctrl+M"), 35,
                           "Onlinezeiten je MUD anzeigen");
    mnuViewToolbar = AddItem(view, "&Werkzeugleiste", {}, 30, "Werkzeugleiste anzeigen / verbergen");
    for (QAction* a : {mnuViewStatus, mnuViewStatusPos, mnuViewToolbar}) {
        a->setCheckable(true);
        a->setChecked(true);
    }

    QMenu* options = menuBar()->addMenu("&Optionen");
    mnuOptionsGlobal = AddItem(options, "&Einstellungen ...", QKeySequence("Ctrl+K"), 41,
                               "Einstellungen ändern");
    options->addSeparator();
    mnuOptionsFuncKeys = AddItem(options, "&Funktionstasten ...", QKeySequence("Ctrl+F"), 44,
                                 "Funktionstastenbelegung einstellen");
    mnuOptionsNumpad = AddItem(options, "&Ziffernblockbelegung ...", QKeySequence("Ctrl+Z"), 45,
                               "Ziffernblockbelegung anpassen");
    options->addSeparator();
    mnuFileLoad = AddItem(options, "Konfiguration &laden ...", QKeySequence("Ctrl+L"), 42,
                          "Konfiguration laden");
    mnuFileSave = AddItem(options, "Konfiguration &speichern ...", QKeySequence("Ctrl+S"), 43,
                          "Aktuelle Konfigruration sichern");
    options->addSeparator();
    mnuOptionsHelp = AddItem(options, "Bubble-&Hilfe", {}, 40, "Schnellhilfe anzeigen / verbergen");
    mnuOptionsHelp->setCheckable(true);
    mnuOptionsHelp->setChecked(true);

    QMenu* help = menuBar()->addMenu("&Hilfe");
    mnuHelpAbout = AddItem(help, "Ü&ber", {}, 50, QString());

    for (QAction* a : menuBar()->actions())
        for (QAction* item : a->menu()->actions())
            if (!item->isSeparator())
                connect(item, &QAction::triggered, this, [this, item] { MenuClick(item->data().toInt()); });
}

QToolButton* TMudMainFrm::AddToolButton(QWidget* parent, int x, int width, int tag,
                                        const QString& hint, int icon)
{
    auto* b = new QToolButton(parent);
    b->setGeometry(x, 4, width, 25);
    b->setIcon(ToolIcons::Make(ToolIcons::Kind(icon)));
    b->setIconSize(QSize(18, 18));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setProperty("hint", hint);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    connect(b, &QToolButton::clicked, this, [this, tag] { SpeedbuttonClick(tag); });
    return b;
}

void TMudMainFrm::BuildToolbar()
{
    pnlToolbar = new QWidget;
    pnlToolbar->setFixedHeight(kToolbarHeight);
    sbConnect = AddToolButton(pnlToolbar, 4, 25, 1, "Mit MUD verbinden", ToolIcons::Connect);
    sbDisconnect = AddToolButton(pnlToolbar, 28, 25, 2, "Verbindung beenden", ToolIcons::Disconnect);
    sbDisconnect->setEnabled(false);
    sbtnPath = AddToolButton(pnlToolbar, 92, 21, 10, "Pfad speichern", ToolIcons::Path);
    sbtnPath->setEnabled(false);
    sbtnCommandCenter = AddToolButton(pnlToolbar, 160, 25, 20, "Navigationsleiste ein- / auschalten",
                                      ToolIcons::CommandCenter);
    sbtnCommandCenter->setCheckable(true);
    sbtnSettings = AddToolButton(pnlToolbar, 208, 25, 30, "Einstellungen", ToolIcons::Settings);
    sbtnFuncKeys = AddToolButton(pnlToolbar, 232, 25, 31, "Funktionstasten konfigurieren",
                                 ToolIcons::FuncKeys);
    sbtnNumpad = AddToolButton(pnlToolbar, 256, 25, 32, "Ziffernblockbelegung konfigurieren",
                               ToolIcons::Numpad);
    pnlToolbarRight = new QWidget(pnlToolbar);
    sbClose = AddToolButton(pnlToolbarRight, 244, 25, 999, "Anwendung beenden", ToolIcons::Close);
}

void TMudMainFrm::LayoutToolbar()
{
    pnlToolbarRight->setGeometry(pnlToolbar->width() - kToolbarRightWidth, 0, kToolbarRightWidth,
                                 kToolbarHeight);
}

void TMudMainFrm::BuildStatusFooter()
{
    pnlStatusFooter = new QWidget;
    pnlStatusFooter->setFixedHeight(kFooterHeight);
    auto* row = new QHBoxLayout(pnlStatusFooter);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    StatusbarText = new QLabel;
    StatusbarText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusbarText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StatusbarText->setMinimumWidth(1);
    row->addWidget(StatusbarText, 1);

    pnlStatusPos = new QWidget;
    pnlStatusPos->setFixedWidth(180);
    auto* pos = new QHBoxLayout(pnlStatusPos);
    pos->setContentsMargins(0, 0, 0, 0);
    pos->setSpacing(0);
    lblTime = new QLabel("00:00:00");
    lblTime->setAlignment(Qt::AlignCenter);
    lblTime->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblTime->setToolTip("Onlinezeit");
    lblTime->setStatusTip("Onlinezeit");
    lblTime->setProperty("hint", "Onlinezeit");
    pos->addWidget(lblTime, 1);
    pnlLights = new QWidget;
    pnlLights->setFixedWidth(124);
    auto* lights = new QHBoxLayout(pnlLights);
    lights->setContentsMargins(0, 0, 0, 0);
    lights->setSpacing(0);
    pnlMark = new TStatusLight("M", 1);
    pnlAutomap = new TStatusLight("A", 2);
    pnlLog = new TStatusLight("L", 3);
    pnlConnect = new TStatusLight("C", 4);
    pnlConnect->SetLightColor(clRed);
    const char* hints[4] = {"Pfadaufzeichnung aktiviert / deaktiviert",
                            "Automap-Funktion aktiviert / deaktiviert", "Log aktiviert / deaktiviert",
                            "Verbindung aktiv / inaktiv"};
    int i = 0;
    for (TStatusLight* light : {pnlMark, pnlAutomap, pnlLog, pnlConnect}) {
        light->setFixedWidth(i == 0 ? 34 : 30);
        light->setToolTip(hints[i]);
        light->setStatusTip(hints[i]);
        light->setProperty("hint", hints[i++]);
        lights->addWidget(light);
        connect(light, &TStatusLight::Clicked, this, &TMudMainFrm::StatusLightClick);
        connect(light, &TStatusLight::DoubleClicked, this, &TMudMainFrm::StatusLightDblClick);
    }
    pos->addWidget(pnlLights);
    row->addWidget(pnlStatusPos);
}

void TMudMainFrm::PlaceStatusIndicators(bool inStatusBar)
{
    if (inStatusBar) {
        pnlStatusFooter->layout()->addWidget(pnlStatusPos);
        pnlStatusPos->setFixedSize(180, kFooterHeight);
    } else {
        pnlStatusPos->setParent(pnlToolbarRight);
        pnlStatusPos->setFixedSize(kToolbarRightWidth - 32, 19);
        pnlStatusPos->move(0, 7);
    }
    pnlStatusPos->show();
}

void TMudMainFrm::BuildWorkArea()
{
    pnlWork = new QWidget;
    Panel1 = new QWidget(pnlWork);
    pnlMudOutput = new TShader(Panel1);
    pnlMudOutput->setFocusPolicy(Qt::NoFocus);
    Mudoutput = new TColorConsole(pnlMudOutput);
    Mudoutput->SetCols(82);
    LogMemo = new QPlainTextEdit(pnlMudOutput);
    LogMemo->setReadOnly(true);
    LogMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    LogMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    LogMemo->hide();

    pnlMudInput = new QWidget(pnlWork);
    MudInput = new TTbEdit(pnlMudInput);
    MudInput->setMaxLength(255);
    MudInput->setGeometry(4, 4, 453, 22);
    cbActiveNumPad = new QComboBox(pnlMudInput);
    cbActiveNumPad->setFixedWidth(114);
    cbActiveNumPad->setToolTip("Ziffernblock Belegung");
    cbActiveNumPad->setStatusTip("Ziffernblock Belegung");
    cbActiveNumPad->setProperty("hint", "Ziffernblock Belegung");

    pnlLists = new QWidget(pnlWork);
    pnlLists->setAutoFillBackground(true);
    QPalette silver = pnlLists->palette();
    silver.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    pnlLists->setPalette(silver);
    cbListType = new QComboBox(pnlLists);
    cbListType->addItems({"Aliase", "Pfade", "Sitzungen", "Historie"});
    cbListType->setGeometry(4, 8, kListsWidth - 8, 22);
    CommandsList = new QListWidget(pnlLists);
    // The right button acts on press, before any context menu could open.
    CommandsList->setContextMenuPolicy(Qt::NoContextMenu);
    pnlKompass = new QWidget(pnlLists);
    pnlKompass->setFixedSize(kCompassPanel, kCompassPanel);
    Kompass = new TKompass(pnlKompass);
    Kompass->move(3, 3);
    pnlLists->hide();

    for (QWidget* w : {pnlWork, pnlLists, static_cast<QWidget*>(pnlMudOutput), pnlMudInput, pnlToolbar})
        w->installEventFilter(this);
}

// FormResize, pnlListsResize and the outer placement of the work area.
void TMudMainFrm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    LayoutPanels();
}

void TMudMainFrm::LayoutPanels()
{
    const int w = pnlWork->width(), h = pnlWork->height();
    const int lists = pnlLists->isVisible() ? kListsWidth : 0;
    pnlMudInput->setGeometry(0, h - kInputHeight, w, kInputHeight);
    cbActiveNumPad->move(w - cbActiveNumPad->width() - 5, 4);
    MudInput->setGeometry(4, 4, qMax(10, w - cbActiveNumPad->width() - 15), 22);
    pnlLists->setGeometry(w - lists, 0, kListsWidth, h - kInputHeight);
    Panel1->setGeometry(0, 0, w - lists, h - kInputHeight);
    pnlMudOutput->setGeometry(Panel1->rect());

    const int pw = pnlMudOutput->width(), ph = pnlMudOutput->height();
    const QPoint cell = Mudoutput->CharSize();
    // The two spare columns are meant for the vertical scroll bar and the frame; where
    // the style's scroll bar is wider than two cells, a needless horizontal bar would
    // otherwise take a line from the console.
    const int chrome = Mudoutput->verticalScrollBar()->sizeHint().width() + 2 * Mudoutput->frameWidth();
    const int fullW = qMax(cell.x() * (Mudoutput->Cols() + 2), cell.x() * Mudoutput->Cols() + chrome);
    const int fullH = cell.y() * (Mudoutput->Rows() + 2);
    const int width = qMin(pw, fullW);
    if (!FScrollBackShown) {
        const int height = qMin(ph, fullH);
        Mudoutput->setGeometry((pw - width) / 2, (ph - height) / 2, width, height);
    } else {
        const int memoHeight = qMax(0, ph - kScrollBackConsoleHeight);
        LogMemo->setHorizontalScrollBarPolicy(pw < fullW ? Qt::ScrollBarAlwaysOn
                                                          : Qt::ScrollBarAlwaysOff);
        LogMemo->setGeometry((pw - width) / 2, 0, width, memoHeight);
        Mudoutput->setGeometry((pw - width) / 2, memoHeight, width, kScrollBackConsoleHeight);
    }
    pnlMudOutput->update();
}

void TMudMainFrm::ToggleLists()
{
    const bool show = !pnlLists->isVisible();
    pnlLists->setVisible(show);
    mnuViewNavigationbar->setChecked(show);
    sbtnCommandCenter->setChecked(show);
    LayoutPanels();
}

// What a screen reader says of each control: a German name and a description.
void TMudMainFrm::NameControlsForScreenReaders()
{
    const struct {
        QToolButton* Button;
        const char* Description;
    } buttons[] = {
        {sbConnect, "Wie Datei, Verbindung aufbauen (Strg+O)"},
        {sbDisconnect, "Wie Datei, Verbindung beenden"},
        {sbtnPath, "Wie Aktionen, Pfad (Strg+P)"},
        {sbtnCommandCenter, "Wie Ansicht, Navigationsleiste (Strg+N)"},
        {sbtnSettings, "Wie Optionen, Einstellungen (Strg+K)"},
        {sbtnFuncKeys, "Wie Optionen, Funktionstasten (Strg+F)"},
        {sbtnNumpad, "Wie Optionen, Ziffernblockbelegung (Strg+Z)"},
        {sbClose, "Wie Datei, Beenden (Alt+X)"},
    };
    for (const auto& b : buttons) {
        b.Button->setAccessibleName(b.Button->property("hint").toString());
        b.Button->setAccessibleDescription(QString::fromUtf8(b.Description));
    }
    pnlMark->SetSpokenStates("Pfadaufzeichnung aktiv", "Pfadaufzeichnung aus", clSilver);
    pnlAutomap->SetSpokenStates("Automap aktiv", "Automap aus", clSilver);
    pnlLog->SetSpokenStates("Log aktiv", "Log aus", clSilver);
    pnlConnect->SetSpokenStates("verbunden", "nicht verbunden", clRed);
    for (TStatusLight* light : {pnlMark, pnlAutomap, pnlLog, pnlConnect})
        light->setAccessibleDescription(light->property("hint").toString());
    const struct {
        QWidget* Control;
        const char* Name;
        const char* Description;
    } controls[] = {
        {MudInput, "Eingabezeile", "Befehle an das MUD, mehrere durch | getrennt; Eingabe sendet"},
        {cbActiveNumPad, "Ziffernblock Belegung", "Belegung des Ziffernblocks und des Kompasses"},
        {pnlLists, "Navigationsleiste", "Listen der Kürzel und der Kompass"},
        {cbListType, "Listenart", "Aliase, Pfade, Sitzungen oder Historie"},
        {CommandsList, "Einträge",
         "Eingabe oder Doppelklick führt aus, Strg+Eingabe übernimmt in die Eingabezeile"},
        {Kompass, "Kompass", "Laufen mit der Ziffernblock-Belegung"},
        {LogMemo, "Rückblick",
         "Bisherige Ausgabe; Eingabe übernimmt die Markierung in die Eingabezeile"},
        {StatusbarText, "Statuszeile", "Hinweise und Anzeigen"},
        {lblTime, "Onlinezeit", "Dauer der laufenden Verbindung"},
    };
    for (const auto& c : controls) {
        c.Control->setAccessibleName(QString::fromUtf8(c.Name));
        c.Control->setAccessibleDescription(QString::fromUtf8(c.Description));
        // On Linux a combo box's name is its current entry; its label is what a screen
        // reader speaks before it. The label is for that alone and never shown.
        if (qobject_cast<QComboBox*>(c.Control)) {
            auto* label = new QLabel(QString::fromUtf8(c.Name), c.Control->parentWidget());
            label->setBuddy(c.Control);
            label->hide();
        }
    }
}

// Signals of the controls that are not menu items or tool buttons.
void TMudMainFrm::WireControls()
{
    connect(cbListType, &QComboBox::currentIndexChanged, this, [this] { RefreshList(); });
    connect(CommandsList, &QListWidget::currentRowChanged, this, [this] { CommandsListClick(); });
    connect(CommandsList, &QListWidget::itemClicked, this, [this] { CommandsListClick(); });
    connect(CommandsList, &QListWidget::itemDoubleClicked, this, [this] { CommandsListExecute(); });
    // Only a move to another control of this window closes the view: while another
    // window is active (a dialog, the notebook, Alt+Tab) the player keeps his place.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() == this)
            ShowScrollBack(pnlMudOutput->isAncestorOf(now));
    });
    LogMemo->viewport()->installEventFilter(this);
    CommandsList->viewport()->installEventFilter(this);
}
