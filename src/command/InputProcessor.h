#pragma once
// The road of a typed line: Enter, the command history on Up/Down, and
// ProcessInputLine, which splits a line at "|" and hands each piece to the command
// interpreter, the automatic path recording, a shortcut (alias, path, session) or the
// MUD as plain text.

#include "CommandHost.h"
#include "config/MudConfigUtils.h"

class TCommandInterpreter;
class TPathRecorder;

class TInputProcessor
{
public:
    static constexpr int kMaxHistory = 30;
    static constexpr int kMaxPiece = 255;         // any one piece of an alias expansion
    static constexpr int kAliasBufferSize = 2048; // the whole expansion, CR LF included

    TInputProcessor(TCommandEnv env, TCommandInterpreter& interpreter, TPathRecorder& recorder);

    TStringList FHistory; // oldest first
    int FHistoryPos = 0;
    // Set when a keypad key walked; the character that key also produces is dropped.
    bool FSkipKeyPress = false;

    // A typed character; Enter is '\r'. True when the character was consumed.
    bool MudInputKeyPress(char ch);
    // Qt::Key_Up and Qt::Key_Down browse the history; true when consumed.
    bool MudInputKeyDown(int key);

    void ProcessInputLine(const QByteArray& line);
    void AddToHistory(const QByteArray& line);
    void ExpandAlias(const TStringList& words, int index);
    void WalkPath(const TStringList& words, int index);
    void OpenSession(const TStringList& words, int index);

    // The alias text to send, without CR LF, at most kAliasBufferSize - 2 bytes.
    // Empty result and false when fewer arguments than placeholders were given.
    static bool BuildAliasText(const QByteArray& value, const TStringList& words,
                               QByteArray& buffer);
    // Distinct placeholders "%1".."%9" in value.
    static int CountPlaceholders(const QByteArray& value);

private:
    void ProcessPiece(const QByteArray& piece);
    void SendSecret(const QByteArray& text);
    void SendPlain(const QByteArray& piece);
    void EchoAliasBuffer(const QByteArray& buffer);

    TCommandEnv FEnv;
    TCommandInterpreter& FInterpreter;
    TPathRecorder& FRecorder;
};
