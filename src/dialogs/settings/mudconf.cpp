#include "dialogs/settings/mudconf.h"

#include "dialogs/settings/CommonDialogs.h"
#include "dialogs/settings/PageColors.h"
#include "dialogs/settings/PageFuncKeys.h"
#include "dialogs/settings/PageGeneral.h"
#include "dialogs/settings/PageHighlights.h"
#include "dialogs/settings/PageLists.h"
#include "dialogs/settings/PageNumPad.h"
#include "dialogs/settings/PageShade.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace
{
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 338;
} // namespace

TMudConfFrm::TMudConfFrm(const TMudConfig& config, IPrompts& prompts, ICommonDialogs& dialogs,
                         QWidget* parent)
    : QDialog(parent), FContext{FConfig, prompts, dialogs}
{
    FConfig.Assign(config);
    BuildControls();
    FillControls();
    qApp->installEventFilter(this);
}

TMudConfFrm::~TMudConfFrm()
{
    qApp->removeEventFilter(this);
}

void TMudConfFrm::BuildControls()
{
    setObjectName(QStringLiteral("MudConfFrm"));
    setWindowTitle(QStringLiteral("KMC Einstellungen"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);

    TabbedNotebook1 = new QTabWidget(this);
    TabbedNotebook1->setObjectName(QStringLiteral("TabbedNotebook1"));
    TabbedNotebook1->setUsesScrollButtons(false);
    PageGeneral = new TGeneralPage(FContext, TabbedNotebook1);
    PageColors = new TColorsPage(FContext, TabbedNotebook1);
    PageShade = new TShadePage(FContext, TabbedNotebook1);
    PageFuncKeys = new TFuncKeysPage(FContext, TabbedNotebook1);
    PageNumPad = new TNumPadPage(FContext, TabbedNotebook1);
    PageLists = new TListsPage(FContext, TabbedNotebook1);
    PageHighlights = new THighlightsPage(FContext, TabbedNotebook1);
    TabbedNotebook1->addTab(PageGeneral, QStringLiteral("Allgemein"));
    TabbedNotebook1->addTab(PageColors, QStringLiteral("Farben 1"));
    TabbedNotebook1->addTab(PageShade, QStringLiteral("Farben 2"));
    TabbedNotebook1->addTab(PageFuncKeys, QStringLiteral("Funktionstasten"));
    TabbedNotebook1->addTab(PageNumPad, QStringLiteral("Ziffernblockbelegung"));
    TabbedNotebook1->addTab(PageLists, QStringLiteral("Listen"));
    TabbedNotebook1->addTab(PageHighlights, QStringLiteral("Hervorhebungen"));

    btnOk = Settings::MakeButton(QStringLiteral("&Ok"), QStringLiteral("btnOk"), this);
    btnCancel = Settings::MakeButton(QStringLiteral("&Abbruch"), QStringLiteral("btnCancel"), this);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* strip = new QHBoxLayout;
    strip->addStretch();
    strip->addWidget(btnOk);
    strip->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TabbedNotebook1);
    layout->addLayout(strip);
    // Fixed border: the size the German captions need, at least the dialog's classic client area.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    TabbedNotebook1->setMinimumSize(kClientWidth - 2 * layout->contentsMargins().left(),
                                    kClientHeight - btnOk->sizeHint().height() - layout->spacing() -
                                        2 * layout->contentsMargins().top());
    btnCancel->setFocus();
}

void TMudConfFrm::FillControls()
{
    FContext.Loading = true;
    TabbedNotebook1->setCurrentIndex(spGeneral);
    PageGeneral->Load();
    PageColors->Load();
    PageShade->Load();
    PageFuncKeys->Load();
    PageNumPad->Load();
    PageLists->Load();
    PageHighlights->Load();
    FContext.Loading = false;
    btnCancel->setFocus();
}

void TMudConfFrm::ShowPage(int page)
{
    TabbedNotebook1->setCurrentIndex(page >= spGeneral && page <= spHighlights ? page : spGeneral);
    btnCancel->setFocus();
}

bool TMudConfFrm::TakeResult(TMudConfig& config)
{
    if (result() != QDialog::Accepted) return false;
    PageGeneral->Store(FConfig);
    PageShade->Store(FConfig);
    config.Assign(FConfig);
    return true;
}

bool TMudConfFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && isVisible() &&
        NavigationKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool TMudConfFrm::NavigationKey(QKeyEvent* event)
{
    const int key = event->key();
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier ||
        (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down))
        return false;
    const int page = TabbedNotebook1->currentIndex();
    if (page == spFuncKeys) {
        PageFuncKeys->Navigate(key);
        return true;
    }
    if (page == spNumPad && PageNumPad->NavigationEnabled()) {
        PageNumPad->Navigate(key);
        return true;
    }
    return false;
}

bool TMudConfFrm::Execute(TMudConfig& config, QWidget* parent, IPrompts& prompts)
{
    return ExecuteAt(config, spGeneral, parent, prompts);
}

bool TMudConfFrm::ExecuteAt(TMudConfig& config, int page, QWidget* parent, IPrompts& prompts)
{
    TQtCommonDialogs dialogs;
    return ExecuteAt(config, page, parent, prompts, dialogs);
}

bool TMudConfFrm::ExecuteAt(TMudConfig& config, int page, QWidget* parent, IPrompts& prompts,
                            ICommonDialogs& dialogs)
{
    TMudConfFrm dialog(config, prompts, dialogs, parent);
    dialog.ShowPage(page);
    dialog.exec();
    return dialog.TakeResult(config);
}
