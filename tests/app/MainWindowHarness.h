#pragma once
// The real main window in a temporary program folder, driven by synthesized input, and
// the practice MUD as a real server on 127.0.0.1.

#include "DemoMud.h"
#include "FileRig.h"
#include "ScriptedPrompts.h"
#include "TempProgramFolder.h"

#include "app/Mudmain.h"
#include "display/console/ColorConsole.h"
#include "display/controls/tbedit.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

class MainWindowHarness {
public:
    // prepare runs in the empty program folder before the window is created.
    explicit MainWindowHarness(const std::function<void(const QString& folder)>& prepare = {})
    {
        if (prepare)
            prepare(folder.path());
        FWindow = std::make_unique<TMudMainFrm>(prompts);
    }

    TMudMainFrm& w() { return *FWindow; }
    ScriptedPrompts prompts;
    TempProgramFolder folder;

    // Shows the window and waits until the input line has the focus.
    bool Show()
    {
        FWindow->show();
        FWindow->activateWindow();
        return QTest::qWaitForWindowExposed(FWindow.get(), 20000) && Activate();
    }
    // Makes the window active with the focus in the input line again, as the window
    // manager does when a dialog closes (the offscreen platform does not).
    bool Activate()
    {
        QApplication::setActiveWindow(FWindow.get());
        FWindow->MudInput->setFocus();
        const auto focused = [this] { return QApplication::focusWidget() == FWindow->MudInput; };
        return QTest::qWaitFor(focused, 20000);
    }
    void Type(const QString& text) { QTest::keyClicks(FWindow->MudInput, text); }
    void Enter(const QString& line)
    {
        Type(line);
        QTest::keyClick(FWindow->MudInput, Qt::Key_Return);
    }
    // The attribute of the first character of the last occurrence of text in the console,
    // nullptr if there is none.
    const TAttr* AttrOf(const QByteArray& text) const
    {
        const TColorConsole* c = FWindow->Mudoutput;
        for (int r = c->Rows() - 1; r >= 0; --r)
            if (const qsizetype col = c->RowText(r).indexOf(text); col >= 0)
                return c->AttrAt(int(col), r);
        return nullptr;
    }
    bool ConsoleHas(const QByteArray& text) const { return AttrOf(text) != nullptr; }

private:
    std::unique_ptr<TMudMainFrm> FWindow; // goes before the folder
};

inline QStringList ListItems(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

// Runs fill on the next modal dialog of type T as soon as it is shown. Gives up after
// a generous time so that a missing dialog fails the test instead of hanging it.
template <class T> void WhenModal(std::function<void(T*)> fill)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, fill, end = QDeadlineTimer(30000)] {
        T* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (modal)
            fill(modal);
        if (modal || end.hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}
