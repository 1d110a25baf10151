#include "MainWindowHarness.h"

#include "display/console/ColorConsole.h"
#include "display/controls/tbedit.h"
#include "platform/ProgramFolder.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

DemoMud::DemoMud(const QString& recordFile) : FRecord(recordFile)
{
    FProcess.setProgram(QStringLiteral(DEMO_MUD));
    FProcess.setArguments({"--record", recordFile, "0"});
    FProcess.setProcessChannelMode(QProcess::SeparateChannels);
    FProcess.start();
    if (!FProcess.waitForStarted(20000))
        return;
    QDeadlineTimer deadline(20000);
    while (!FProcess.canReadLine() && !deadline.hasExpired())
        FProcess.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    const QByteArray first = FProcess.readLine().trimmed();
    const QByteArray prefix = "listening on 127.0.0.1:";
    if (first.startsWith(prefix))
        FPort = first.mid(prefix.size()).toInt();
}

DemoMud::~DemoMud()
{
    FProcess.terminate();
    if (!FProcess.waitForFinished(10000))
        FProcess.kill();
}

QByteArray DemoMud::Received() const
{
    QFile f(FRecord);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

MainWindowHarness::MainWindowHarness(const std::function<void(const QString&)>& prepare)
{
    ProgramFolder::setOverride(folder.path());
    if (prepare)
        prepare(folder.path());
    FWindow = std::make_unique<TMudMainFrm>(prompts);
}

MainWindowHarness::~MainWindowHarness()
{
    FWindow.reset(); // before the folder goes
    ProgramFolder::setOverride(QString());
}

bool MainWindowHarness::Show()
{
    FWindow->show();
    FWindow->activateWindow();
    if (!QTest::qWaitForWindowExposed(FWindow.get(), 20000))
        return false;
    return Activate();
}

bool MainWindowHarness::Activate()
{
    QApplication::setActiveWindow(FWindow.get());
    FWindow->MudInput->setFocus();
    QDeadlineTimer deadline(20000);
    while (QApplication::focusWidget() != FWindow->MudInput && !deadline.hasExpired())
        QTest::qWait(10);
    return QApplication::focusWidget() == FWindow->MudInput;
}

void MainWindowHarness::Type(const QString& text) { QTest::keyClicks(FWindow->MudInput, text); }

void MainWindowHarness::Enter(const QString& line)
{
    Type(line);
    QTest::keyClick(FWindow->MudInput, Qt::Key_Return);
}

QPoint MainWindowHarness::FindInConsole(const QByteArray& text) const
{
    const TColorConsole* c = FWindow->Mudoutput;
    for (int r = c->Rows() - 1; r >= 0; --r) {
        const qsizetype col = c->RowText(r).indexOf(text);
        if (col >= 0)
            return {int(col), r};
    }
    return {-1, -1};
}

const TAttr* MainWindowHarness::AttrOf(const QByteArray& text) const
{
    const QPoint at = FindInConsole(text);
    return at.x() >= 0 ? FWindow->Mudoutput->AttrAt(at.x(), at.y()) : nullptr;
}

QStringList ListItems(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

void WhenModalWidget(const std::function<bool(QWidget*)>& fill)
{
    auto* timer = new QTimer(qApp);
    auto deadline = std::make_shared<QDeadlineTimer>(30000);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, fill, deadline] {
        QWidget* modal = QApplication::activeModalWidget();
        if ((modal && fill(modal)) || deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}
