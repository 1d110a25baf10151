#pragma once
// What the command classes work on, as recording substitutes: configuration, console,
// connection, output sink, session log, prompts, and a host recording the window's calls.

#include "RecordingConsole.h"
#include "ScriptedPrompts.h"
#include "command/CommandProcessor.h"
#include "config/MudConfig.h"
#include "display/output/OutputSink.h"
#include "display/output/SessionLog.h"

#include <QStringList>

class FakeCommandHost : public ICommandHost
{
public:
    QByteArray Text;
    int Cursor = 0;
    bool AllSelected = false;
    int Lists = 0; // list type shown in the lists panel
    QStringList Calls;           // everything else, in order
    QList<QByteArray> PathNames; // answers of AskPathName; empty name = cancel

    QByteArray InputText() const override { return Text; }
    int InputCursor() const override { return Cursor; }
    void SetInputText(const QByteArray& text) override
    {
        Text = text;
        Cursor = int(text.size());
        AllSelected = false;
    }
    void SetInputCursor(int position) override { Cursor = position; }
    void SelectAllInput() override { AllSelected = true; }
    int ListType() const override { return Lists; }
    void FocusInput() override { Calls << "FocusInput"; }
    void FocusNextControl() override { Calls << "FocusNext"; }
    void FocusMainWindow() override { Calls << "FocusMain"; }
    void RefreshList() override { Calls << "RefreshList"; }
    void LoadConfiguration(const QByteArray& name) override { Calls << "Load " + name; }
    void SaveConfiguration(const QByteArray& name) override { Calls << "Save " + name; }
    void ShowBannerAgain() override { Calls << "Banner"; }
    void QuitApplication() override { Calls << "Quit"; }
    void ClearConsole() override { Calls << "ClearConsole"; }
    void NoteAdded(const QByteArray&, const QByteArray& text) override { Calls << "Note " + text; }
    void RecordingStateChanged(bool recording, bool autoMap) override
    {
        Calls << QStringLiteral("Lights %1%2").arg(recording ? "M" : "-", autoMap ? "A" : "-");
    }
    bool AskPathName(const QByteArray& path, QByteArray& name) override
    {
        Calls << "AskPathName " + path;
        name = PathNames.isEmpty() ? QByteArray() : PathNames.takeFirst();
        return !name.isEmpty();
    }
};

struct CommandFixture {
    TMudConfig Config;
    RecordingConsole Console;
    RecordingConnection Connection;
    ScriptedPrompts Prompts;
    FakeCommandHost Host;
    TOutputSink Sink{Console, &Connection};
    TSessionLog Log{Sink, Prompts};
    TCommandProcessor Commands{TCommandEnv{Config, Sink, Log, &Connection, Prompts, Host}};

    CommandFixture() { Connection.Connected = true; }
    ~CommandFixture() { Log.StopLog(); }

    void Line(const QByteArray& line) { Commands.Input().ProcessInputLine(line); }
    // Types the text into the input line and presses Enter.
    void Enter(const QByteArray& text)
    {
        Host.SetInputText(text);
        Commands.KeyPress(Qt::Key_Return, Qt::NoModifier, "\r", true);
    }

    // The red ("E:") and green ("I:") console lines in order.
    QStringList Messages() const
    {
        QStringList out;
        TColor last = 0;
        for (const RecordedCell& c : Console.Cells) {
            const bool red = c.Color == TColor(0x0000FF);
            const bool shown = (red || c.Color == TColor(0x008000)) && c.Ch != '\r' && c.Ch != '\n';
            if (shown && c.Color != last) out << (red ? "E:" : "I:");
            if (shown) out.last() += QLatin1Char(c.Ch);
            last = shown ? c.Color : 0;
        }
        return out;
    }
    // The lines sent to the MUD, CR LF removed, in order.
    QList<QByteArray> SentLines() const
    {
        QList<QByteArray> lines = QByteArray(Connection.Sent).replace("\r\n", "\n").split('\n');
        lines.removeLast();
        return lines;
    }
    void Reset()
    {
        Console.Cells.clear();
        Connection.Sent.clear();
        Connection.Blocks.clear();
        Host.Calls.clear();
        Prompts.log.clear();
    }
};
