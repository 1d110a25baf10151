#include "CommandProcessor.h"

#include "net/Connection.h"

bool TCommandEnv::Connected() const
{
    return Connection && Connection->IsConnected();
}

TCommandProcessor::TCommandProcessor(TCommandEnv env)
    : FEnv(env), FRecorder(env), FInterpreter(env, FRecorder), FInput(env, FInterpreter, FRecorder),
      FWalker(env, FInput), FCompleter(env)
{
}

bool TCommandProcessor::KeyPress(int key, Qt::KeyboardModifiers modifiers, const QByteArray& text,
                                 bool inputHasFocus)
{
    bool consumed = FWalker.FormKeyDown(key, modifiers);
    if (!inputHasFocus) return consumed;
    if (!consumed && (key == Qt::Key_Up || key == Qt::Key_Down)) return FInput.MudInputKeyDown(key);
    const char ch = (key == Qt::Key_Return || key == Qt::Key_Enter)
                        ? '\r'
                        : (text.isEmpty() ? '\0' : text.at(0));
    if (ch != '\0' && FInput.MudInputKeyPress(ch)) consumed = true;
    return consumed;
}

void TCommandProcessor::DefinePath()
{
    if (FRecorder.FRecordedPath.isEmpty()) return;
    QByteArray name;
    // Stored directly: through the command line, "heim|quit" would store "heim" and
    // send "quit" to the MUD.
    if (FEnv.Host.AskPathName(FRecorder.FRecordedPath, name) && !name.isEmpty())
        FRecorder.StorePath(name);
}
