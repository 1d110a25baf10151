#pragma once
// TMudConfig: everything the player configures. Plain data with list operations; it
// knows nothing of the connection or the windows. The main window owns the live
// instance; the settings dialog edits a second one and brings it back with Assign.
//
// List entries are single lines whose fields are separated by "/"; the first "/" ends
// the name. Alias, path and session names share one name space (FindNameSlot).
// All strings are Windows-1252 bytes; case folding is ASCII only.

#include "MudConfigUtils.h"
#include "NumPadKeyList.h"
#include "platform/Color.h"

#include <QByteArray>
#include <QString>

class IPrompts;

struct TFontSpec {
    QByteArray Name = "Courier New";
    int Size = 9;             // points
    TColor Color = 0xC0C0C0; // light grey
    int Style = 0;           // TFontStyle bits
};

struct TOutputWindow {
    TColor BGColor = 0;
    TFontSpec FFont;
};

struct TMAlias {
    QByteArray Name, Value;
};
using TMPath = TMAlias;
struct TMSession {
    QByteArray Name, Host, Port;
};
struct TMHighlight {
    QByteArray Text;
    quint8 Foreground = 9; // 1-based colour-table indexes
    quint8 Background = 1;
};

// List kinds of the shared name space.
enum TListKind { lkAlias = 0, lkPath = 1, lkSession = 2 };

class TMudConfig {
public:
    TMudConfig();

    // --- fields ---
    bool FAliasCase = true;
    bool FAutoConnect = false;
    bool FAutoLog = false;
    bool FAutoSave = false;
    bool FModified = false;
    TFuncKeysArray FFuncKeys;
    // A path as the file system gives it; only the names the player types are
    // Windows-1252 text (see ResolveFileName).
    QString FFileName = "default.mud";
    TStringList FHighlights;
    QByteArray FHost;
    QByteArray FLogFile;
    bool FLogOverwrite = false;
    TOutputWindow FLogWindow;
    bool FClearInput = false;
    TOutputWindow FNoteWindow;
    TNumPadKeyList FNumPadsList;
    TOutputWindow FOutputWindow;
    QByteArray FPort = "7600";
    TStringList FAliases;
    TStringList FPaths;
    int FSaveInterval = 1;
    TStringList FSessions;
    TStringList FTabs;
    bool FTabCase = true;
    int FShadeFromColor = 12;
    int FShadeToColor = 1;
    int FShadeSteps = 20;
    bool FShadeDirection = false;

    // Copies every setting of source and marks this configuration modified.
    void Assign(const TMudConfig& source);

    // --- .mud files ---
    // Results: 0 loaded; -1 no such file; -2 version is not "V1.0b1"; -3 read error.
    // FFileName holds the resolved name afterwards, whatever the result.
    int LoadFromFile(const QString& fileName);
    // 0 saved; -3 the existing file could not be read. A file that cannot be written
    // raises EWriteError ("Kann nicht nach %s schreiben"); the old file stays intact
    // and FModified stays set. Keys the player added by hand elsewhere are kept.
    int SaveToFile(const QString& fileName);
    // Bare names go to conf/ beside the program; the extension becomes ".mud"; "\"
    // separates folders like "/". A name the player typed is Windows-1252 text and
    // converted by the caller; the program's folder is taken as the system gives it.
    static QString ResolveFileName(const QString& fileName);
    // Whether fileName is conf/default.mud beside the program (case-insensitive).
    static bool IsDefaultFile(const QString& fileName);

    // --- records: look up by name (ASCII case-insensitive) or, with an empty name,
    // fetch by index; index becomes -1 and the record stays empty when not found ---
    void GetAlias(const QByteArray& name, int& index, TMAlias& rec) const;
    void GetPath(const QByteArray& name, int& index, TMPath& rec) const;
    void GetSession(const QByteArray& name, int& index, TMSession& rec) const;
    // Raises EConvertError ("'%s' ist kein gültiger Integerwert") when a colour field
    // of a hand-edited entry is no number.
    void GetHighlight(const QByteArray& name, int& index, TMHighlight& rec) const;
    // The same without raising: false and the message in error.
    bool TryGetHighlight(const QByteArray& name, int& index, TMHighlight& rec,
                         QString* error) const;
    // Replace the entry at index (negative: nothing); FModified is not touched.
    void PutAlias(int index, const TMAlias& rec);
    void PutPath(int index, const TMPath& rec);
    void PutSession(int index, const TMSession& rec);
    void PutHighlight(int index, const TMHighlight& rec);

    // --- shared name space ---
    // Aliases, then paths, then sessions; exact when FAliasCase, else ASCII upper-cased.
    // On no match returns false and leaves kind and index untouched.
    bool FindCommandName(const QByteArray& name, int& kind, int& index) const;
    // Index in the list of that kind; -1 nowhere; -2 the name belongs to another list.
    // Always exact.
    int FindNameSlot(const QByteArray& name, int kind) const;

    // --- changes: true means done and FModified set ---
    bool SetAlias(const QByteArray& name, const QByteArray& value);
    bool DeleteAlias(const QByteArray& name);
    bool SetPath(const QByteArray& name, const QByteArray& value);
    bool DeletePath(const QByteArray& name);
    // hostAndPort: host, a blank, port; without a blank the whole text is the port.
    bool SetSession(const QByteArray& name, const QByteArray& hostAndPort);
    bool DeleteSession(const QByteArray& name);
    // value is foreground "/" background; always true, always modifies.
    bool SetHighlight(const QByteArray& text, const QByteArray& value);
    bool DeleteHighlight(const QByteArray& text);
    bool AddTab(const QByteArray& word);
    bool DeleteTab(const QByteArray& word);
    // Asks the player first; No changes nothing and gives false.
    bool ClearLists(IPrompts& prompts);
    // 0 stored; -1 no such path; -2 new name taken; -3 storing failed.
    int ReversePath(const QByteArray& name, const QByteArray& newName);

    // --- function keys (index 0..20; others are ignored / give an empty text) ---
    QByteArray GetFuncKey(int index) const;
    void SetFuncKey(int index, const QByteArray& text);
    void ClearFuncKeys();

    static const char* const kClearListsQuestion;

private:
    TStringList& ListOfKind(int kind);
    const TStringList& ListOfKind(int kind) const;
    bool SetInList(int kind, const QByteArray& name, const QByteArray& entry);
    bool DeleteFromList(int kind, const QByteArray& name);
    void LoadLists(const class TIniFile& ini);
    void LoadNumPads(const class TIniFile& ini);
    void LoadSettings(const class TIniFile& ini);
    void SaveLists(class TIniFile& ini) const;
    void SaveNumPads(class TIniFile& ini) const;
    void SaveSettings(class TIniFile& ini) const;
};

// The key an entry is looked up by: the text before its first "/", empty without one.
QByteArray EntryKey(const QByteArray& entry);
