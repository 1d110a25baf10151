#pragma once
// The command layer of the main window in one object: it owns the path recorder, the
// command interpreter, the input processor, the keypad walker and the tab completer,
// wired to each other, and routes the window's key events to them.
//
// Wiring in the main window (which implements ICommandHost):
//   FCommands = std::make_unique<TCommandProcessor>(TCommandEnv{FConfig, sink, log,
//                                                   &telnet, prompts, *this});
//   key events (window-wide event filter):
//     if (FCommands->KeyPress(e->key(), e->modifiers(), Win1252::fromUnicode(e->text()),
//                             MudInput->hasFocus())) e->accept(), stop;
//   Tab in MudInput (TTbEdit):  FCommands->Completer().MudInputTabKeyPress(modifiers)
//   cbActiveNumPad change:      FCommands->Walker().SetActiveNumPad(currentIndex)
//   compass mouse press:        FCommands->Walker().KompassMouseDown(x, y)
//   sbtnPath, mnuActionPath:    FCommands->DefinePath()
//   mnuActionComplete (Ctrl+T): FCommands->Completer().AddLastWord()
//   function keys, lists panel, lights M/A, menu path dialog:
//                               FCommands->Input().ProcessInputLine(text)
//   mnuActionSwitchPath:        FCommands->Interpreter().SwitchPath(old, new)
//   RefreshList for "Historie": FCommands->Input().FHistory

#include "CommandHost.h"
#include "CommandInterpreter.h"
#include "InputProcessor.h"
#include "KeypadWalker.h"
#include "PathRecorder.h"
#include "TabCompleter.h"

class TCommandProcessor
{
public:
    explicit TCommandProcessor(TCommandEnv env);
    TCommandProcessor(const TCommandProcessor&) = delete;
    TCommandProcessor& operator=(const TCommandProcessor&) = delete;

    TPathRecorder& Recorder() { return FRecorder; }
    TCommandInterpreter& Interpreter() { return FInterpreter; }
    TInputProcessor& Input() { return FInput; }
    TKeypadWalker& Walker() { return FWalker; }
    TTabCompleter& Completer() { return FCompleter; }

    // One key event as the window sees it first: function keys and keypad walking,
    // then, when the input line has the focus, history browsing and the typed
    // character (Enter is text "\r"). Tab is left to the input line's own handler.
    // True when the event is consumed and must not reach the input line.
    bool KeyPress(int key, Qt::KeyboardModifiers modifiers, const QByteArray& text,
                  bool inputHasFocus);

    // sbtnPath and mnuActionPath: store the recorded path under a name the player gives.
    void DefinePath();

private:
    TCommandEnv FEnv;
    TPathRecorder FRecorder;
    TCommandInterpreter FInterpreter;
    TInputProcessor FInput;
    TKeypadWalker FWalker;
    TTabCompleter FCompleter;
};
