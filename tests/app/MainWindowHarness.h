#pragma once
// The real main window in a temporary program folder, driven by synthesized input, and
// the practice MUD as a real server on 127.0.0.1.

#include "FileRig.h"
#include "ScriptedPrompts.h"
#include "TempProgramFolder.h"

#include "app/Mudmain.h"

#include <QByteArray>
#include <QListWidget>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TAttr;

// kmc-demo-mud on a free port, recording every line it receives.
class DemoMud {
public:
    explicit DemoMud(const QString& recordFile);
    ~DemoMud();
    bool Started() const { return FPort > 0; }
    QByteArray Port() const { return QByteArray::number(FPort); }
    // Everything received so far, one line per received line, ended by "\n".
    QByteArray Received() const;

private:
    QProcess FProcess;
    QString FRecord;
    int FPort = 0;
};

class MainWindowHarness {
public:
    // prepare runs in the empty program folder before the window is created.
    explicit MainWindowHarness(const std::function<void(const QString& folder)>& prepare = {});
    ~MainWindowHarness();

    TMudMainFrm& w() { return *FWindow; }
    ScriptedPrompts prompts;
    TempProgramFolder folder;

    // Shows the window and waits until the input line has the focus.
    bool Show();
    // Makes the window active with the focus in the input line again, as the window
    // manager does when a dialog closes (the offscreen platform does not).
    bool Activate();
    void Type(const QString& text);
    void Enter(const QString& line); // types the line and presses Enter
    // Row and column of the last occurrence of text in the console, (-1, -1) if none.
    QPoint FindInConsole(const QByteArray& text) const;
    bool ConsoleHas(const QByteArray& text) const { return FindInConsole(text).x() >= 0; }
    // The attribute of the first character of the last occurrence of text.
    const TAttr* AttrOf(const QByteArray& text) const;

private:
    std::unique_ptr<TMudMainFrm> FWindow;
};

QStringList ListItems(const QListWidget* list);

// Runs fill on the next modal dialog of type T as soon as it is shown. Gives up after
// a generous time so that a missing dialog fails the test instead of hanging it.
void WhenModalWidget(const std::function<bool(QWidget*)>& fill);
template <class T>
void WhenModal(std::function<void(T*)> fill)
{
    WhenModalWidget([fill](QWidget* w) {
        T* d = qobject_cast<T*>(w);
        if (d)
            fill(d);
        return d != nullptr;
    });
}
