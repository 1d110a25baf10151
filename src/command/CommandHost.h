#pragma once
// What the command classes need of the main window. The window implements ICommandHost
// once and hands it, together with the objects it owns, to TCommandProcessor. Nothing
// here opens a window or touches the network, so tests answer it with a recording fake.

#include <QByteArray>

class TMudConfig;
class TOutputSink;
class TSessionLog;
class IConnection;
class IPrompts;

class ICommandHost
{
public:
    virtual ~ICommandHost() = default;

    // --- the input line MudInput (at most 255 characters, Windows-1252 bytes) ---
    virtual QByteArray InputText() const = 0;
    virtual int InputCursor() const = 0; // characters before the caret
    virtual void SetInputText(const QByteArray& text) = 0;
    virtual void SetInputCursor(int position) = 0;
    virtual void SelectAllInput() = 0;

    // --- focus ---
    virtual void FocusInput() = 0;
    virtual void FocusNextControl() = 0; // Ctrl+Tab: next control in tab order
    virtual void FocusMainWindow() = 0;

    // --- lists panel: the selected list type of cbListType (0 aliases, 1 paths,
    // 2 sessions, 3 history) and its refill ---
    virtual int ListType() const = 0;
    virtual void RefreshList() = 0;

    // --- recording state: lights pnlMark (lime/silver) and pnlAutomap (yellow/silver),
    // sbtnPath and mnuActionPath enabled exactly while recording; repaint at once ---
    virtual void RecordingStateChanged(bool recording, bool autoMap) = 0;

    // --- main-window lifecycle; each prints its own messages ---
    virtual void LoadConfiguration(const QByteArray& fileName) = 0;
    virtual void SaveConfiguration(const QByteArray& fileName) = 0;
    virtual void ShowBannerAgain() = 0; // clear FBannerShown, then ShowBanner
    virtual void QuitApplication() = 0;
    virtual void ClearConsole() = 0; // the console's Clear and a repaint

    // A note was appended to mudnotiz.txt (an empty line, date, text); an open
    // notebook shows it too, so that saving the notebook keeps it.
    virtual void NoteAdded(const QByteArray& date, const QByteArray& text) = 0;

    // The shortcut/value dialog in path mode (caption "Pfad erstellen", value shown
    // read-only). False when the player cancels; name receives the entered name.
    virtual bool AskPathName(const QByteArray& recordedPath, QByteArray& name) = 0;
};

// The objects of the main window the command classes work on. None is owned; all
// outlive the command classes. Connection may be null (nothing is sent then).
struct TCommandEnv {
    TMudConfig& Config;
    TOutputSink& Sink;
    TSessionLog& Log;
    IConnection* Connection;
    IPrompts& Prompts;
    ICommandHost& Host;

    bool Connected() const;
};
