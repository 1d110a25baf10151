#include "MudConfig.h"

#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/Prompts.h"
#include "platform/Win1252.h"

const char* const TMudConfig::kClearListsQuestion =
    "Alle Aliase, Ergaenzungen, Hervorhebungen, Pfade\r\nund Sitzungen werden nun gelöscht."
    "\r\n\r\nWeiter?";

QByteArray EntryKey(const QByteArray& entry)
{
    const qsizetype slash = entry.indexOf('/');
    return slash < 0 ? QByteArray() : entry.left(slash);
}

namespace {

// Scans by name (ASCII case-insensitive) or checks a caller's index; -1 when nothing.
int ResolveIndex(const TStringList& list, const QByteArray& name, int index)
{
    if (!name.isEmpty()) {
        index = -1;
        for (int i = 0; i < list.size(); ++i) {
            if (Win1252::sameText(EntryKey(list[i]), name)) {
                index = i;
                break;
            }
        }
    }
    if (index > list.size() - 1)
        index = -1;
    return index;
}

// Name before the first "/", the rest after it; no "/" at all: the whole entry is the name.
void SplitNameValue(const QByteArray& entry, QByteArray& name, QByteArray& rest, bool& hadSlash)
{
    const qsizetype slash = entry.indexOf('/');
    hadSlash = slash >= 0;
    name = hadSlash ? entry.left(slash) : entry;
    rest = hadSlash ? entry.mid(slash + 1) : QByteArray();
}

bool ParseColorField(const QByteArray& text, quint8& value, QString* error)
{
    int v = 0;
    if (!TIniFile::ParseInteger(text, v)) {
        if (error)
            *error = QStringLiteral("'%1' ist kein gültiger Integerwert")
                         .arg(Win1252::toUnicode(text));
        return false;
    }
    value = quint8(v & 0xFF);
    return true;
}

} // namespace

TMudConfig::TMudConfig() { FNumPadsList.AddDefaultLayouts(); }

void TMudConfig::Assign(const TMudConfig& source)
{
    FModified = true;
    if (&source == this)
        return;
    FLogWindow = source.FLogWindow;
    FOutputWindow = source.FOutputWindow;
    FNoteWindow = source.FNoteWindow;
    FNumPadsList.Assign(source.FNumPadsList);
    FFuncKeys = source.FFuncKeys;
    FAliases = source.FAliases;
    FHighlights = source.FHighlights;
    FPaths = source.FPaths;
    FSessions = source.FSessions;
    FTabs = source.FTabs;
    FAliasCase = source.FAliasCase;
    FAutoConnect = source.FAutoConnect;
    FAutoLog = source.FAutoLog;
    FAutoSave = source.FAutoSave;
    FFileName = source.FFileName;
    FHost = source.FHost;
    FLogFile = source.FLogFile;
    FLogOverwrite = source.FLogOverwrite;
    FClearInput = source.FClearInput;
    FPort = source.FPort;
    FSaveInterval = source.FSaveInterval;
    FShadeFromColor = source.FShadeFromColor;
    FShadeToColor = source.FShadeToColor;
    FShadeSteps = source.FShadeSteps;
    FShadeDirection = source.FShadeDirection;
    FTabCase = source.FTabCase;
}

// --- records ---

void TMudConfig::GetAlias(const QByteArray& name, int& index, TMAlias& rec) const
{
    rec = TMAlias{};
    index = ResolveIndex(FAliases, name, index);
    if (index < 0)
        return;
    bool slash = false;
    SplitNameValue(FAliases[index], rec.Name, rec.Value, slash);
}

void TMudConfig::GetPath(const QByteArray& name, int& index, TMPath& rec) const
{
    rec = TMPath{};
    index = ResolveIndex(FPaths, name, index);
    if (index < 0)
        return;
    bool slash = false;
    SplitNameValue(FPaths[index], rec.Name, rec.Value, slash);
}

void TMudConfig::GetSession(const QByteArray& name, int& index, TMSession& rec) const
{
    rec = TMSession{};
    index = ResolveIndex(FSessions, name, index);
    if (index < 0)
        return;
    QByteArray rest;
    bool slash = false;
    SplitNameValue(FSessions[index], rec.Name, rest, slash);
    if (!slash) {
        rec.Port = "7600";
        return;
    }
    const qsizetype second = rest.indexOf('/');
    rec.Host = second < 0 ? rest : rest.left(second);
    rec.Port = second < 0 ? QByteArray() : rest.mid(second + 1);
}

bool TMudConfig::TryGetHighlight(const QByteArray& name, int& index, TMHighlight& rec,
                                 QString* error) const
{
    rec = TMHighlight{};
    index = ResolveIndex(FHighlights, name, index);
    if (index < 0)
        return true;
    QByteArray rest;
    bool slash = false;
    SplitNameValue(FHighlights[index], rec.Text, rest, slash);
    if (!slash)
        return true;
    const qsizetype second = rest.indexOf('/');
    const QByteArray fg = second < 0 ? rest : rest.left(second);
    const QByteArray bg = second < 0 ? QByteArray() : rest.mid(second + 1);
    return ParseColorField(fg, rec.Foreground, error) && ParseColorField(bg, rec.Background, error);
}

void TMudConfig::GetHighlight(const QByteArray& name, int& index, TMHighlight& rec) const
{
    QString error;
    if (!TryGetHighlight(name, index, rec, &error))
        throw EConvertError(error);
}

void TMudConfig::PutAlias(int index, const TMAlias& rec)
{
    if (index >= 0 && index < FAliases.size())
        FAliases[index] = rec.Name + '/' + rec.Value;
}

void TMudConfig::PutPath(int index, const TMPath& rec)
{
    if (index >= 0 && index < FPaths.size())
        FPaths[index] = rec.Name + '/' + rec.Value;
}

void TMudConfig::PutSession(int index, const TMSession& rec)
{
    if (index >= 0 && index < FSessions.size())
        FSessions[index] =
            rec.Name + '/' + rec.Host + '/' + (rec.Port.isEmpty() ? QByteArray("7600") : rec.Port);
}

void TMudConfig::PutHighlight(int index, const TMHighlight& rec)
{
    if (index >= 0 && index < FHighlights.size())
        FHighlights[index] = rec.Text + '/' + QByteArray::number(rec.Foreground) + '/' +
                             QByteArray::number(rec.Background);
}

// --- name space ---

TStringList& TMudConfig::ListOfKind(int kind)
{
    return kind == lkAlias ? FAliases : kind == lkPath ? FPaths : FSessions;
}

const TStringList& TMudConfig::ListOfKind(int kind) const
{
    return kind == lkAlias ? FAliases : kind == lkPath ? FPaths : FSessions;
}

bool TMudConfig::FindCommandName(const QByteArray& name, int& kind, int& index) const
{
    const QByteArray key = FAliasCase ? name : Win1252::upperCase(name);
    for (int k = lkAlias; k <= lkSession; ++k) {
        const TStringList& list = ListOfKind(k);
        for (int i = 0; i < list.size(); ++i) {
            const QByteArray entryName = EntryKey(list[i]);
            if ((FAliasCase ? entryName : Win1252::upperCase(entryName)) == key) {
                kind = k;
                index = i;
                return true;
            }
        }
    }
    return false;
}

int TMudConfig::FindNameSlot(const QByteArray& name, int kind) const
{
    for (int k = lkAlias; k <= lkSession; ++k) {
        const TStringList& list = ListOfKind(k);
        for (int i = 0; i < list.size(); ++i)
            if (EntryKey(list[i]) == name)
                return k == kind ? i : -2;
    }
    return -1;
}

// --- changes ---

bool TMudConfig::SetInList(int kind, const QByteArray& name, const QByteArray& entry)
{
    const int slot = FindNameSlot(name, kind);
    if (slot == -2)
        return false;
    TStringList& list = ListOfKind(kind);
    if (slot == -1)
        list.append(entry);
    else
        list[slot] = entry;
    FModified = true;
    return true;
}

bool TMudConfig::DeleteFromList(int kind, const QByteArray& name)
{
    const int slot = FindNameSlot(name, kind);
    if (slot < 0)
        return false;
    ListOfKind(kind).removeAt(slot);
    FModified = true;
    return true;
}

bool TMudConfig::SetAlias(const QByteArray& name, const QByteArray& value)
{
    return SetInList(lkAlias, name, name + '/' + value);
}

bool TMudConfig::DeleteAlias(const QByteArray& name) { return DeleteFromList(lkAlias, name); }

bool TMudConfig::SetPath(const QByteArray& name, const QByteArray& value)
{
    return SetInList(lkPath, name, name + '/' + value);
}

bool TMudConfig::DeletePath(const QByteArray& name) { return DeleteFromList(lkPath, name); }

bool TMudConfig::SetSession(const QByteArray& name, const QByteArray& hostAndPort)
{
    const qsizetype blank = hostAndPort.indexOf(' ');
    const QByteArray host = blank < 0 ? QByteArray() : hostAndPort.left(blank);
    const QByteArray port = blank < 0 ? hostAndPort : hostAndPort.mid(blank + 1);
    return SetInList(lkSession, name, name + '/' + host + '/' + port);
}

bool TMudConfig::DeleteSession(const QByteArray& name) { return DeleteFromList(lkSession, name); }

bool TMudConfig::SetHighlight(const QByteArray& text, const QByteArray& value)
{
    FModified = true;
    const QByteArray entry = text + '/' + value;
    for (QByteArray& e : FHighlights) {
        if (EntryKey(e) == text) {
            e = entry;
            return true;
        }
    }
    FHighlights.append(entry);
    return true;
}

bool TMudConfig::DeleteHighlight(const QByteArray& text)
{
    for (int i = 0; i < FHighlights.size(); ++i) {
        if (EntryKey(FHighlights[i]) == text) {
            FHighlights.removeAt(i);
            FModified = true;
            return true;
        }
    }
    return false;
}

bool TMudConfig::AddTab(const QByteArray& word)
{
    if (FTabs.contains(word))
        return false;
    FTabs.append(word);
    FModified = true;
    return true;
}

bool TMudConfig::DeleteTab(const QByteArray& word)
{
    if (!FTabs.removeOne(word))
        return false;
    FModified = true;
    return true;
}

bool TMudConfig::ClearLists(IPrompts& prompts)
{
    if (prompts.Confirm(QString::fromUtf8(kClearListsQuestion), false) != IPrompts::Answer::Yes)
        return false;
    FAliases.clear();
    FHighlights.clear();
    FPaths.clear();
    FSessions.clear();
    FTabs.clear();
    FModified = true;
    return true;
}

// --- function keys ---

QByteArray TMudConfig::GetFuncKey(int index) const
{
    return (index >= 0 && index < kFuncKeyCount) ? FFuncKeys[index] : QByteArray();
}

void TMudConfig::SetFuncKey(int index, const QByteArray& text)
{
    if (index >= 0 && index < kFuncKeyCount)
        FFuncKeys[index] = text;
}

void TMudConfig::ClearFuncKeys()
{
    for (QByteArray& k : FFuncKeys)
        k.clear();
}
