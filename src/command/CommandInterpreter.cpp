#include "CommandInterpreter.h"

#include "CommandTable.h"
#include "PathRecorder.h"
#include "config/MudConfig.h"
#include "display/output/OutputSink.h"
#include "net/Connection.h"
#include "platform/Win1252.h"

namespace
{
QByteArray Quoted(const QByteArray& text)
{
    return '"' + text + '"';
}
} // namespace

TCommandInterpreter::TCommandInterpreter(TCommandEnv env, TPathRecorder& recorder)
    : FEnv(env), FRecorder(recorder)
{
}

void TCommandInterpreter::ExecuteCommand(int index, TStringList words)
{
    if (index < 0 || index >= kCommandCount || words.isEmpty()) return;
    if (index == ciHighlight || index == ciHigh || index == ciUnhighlight || index == ciUnhigh)
        GroupBraces(words);
    const int count = int(words.size());
    const TWordRange range = CommandWordRange(index);
    if (count < range.MinWords || (range.MaxWords >= 0 && count > range.MaxWords)) {
        // Help with too many words is silently ignored rather than explained.
        if (index != ciHelp && index != ciQuestion) ShowHelp(index);
        return;
    }
    const QByteArray rest = count > 2 ? JoinWords(words, 2) : QByteArray();
    Dispatch(index, words, rest);
}

void TCommandInterpreter::Dispatch(int index, const TStringList& words, const QByteArray& rest)
{
    const QByteArray arg = words.value(1);
    switch (index) {
    case ciAlias:
        DoAlias(words, rest);
        break;
    case ciAliasDelete:
        DoAliasDelete(arg);
        break;
    case ciTabAdd:
        DoTabAdd(arg);
        break;
    case ciTabDelete:
        DoTabDelete(arg);
        break;
    case ciSession:
        DoSession(words, rest);
        break;
    case ciSessionDelete:
        DoSessionDelete(arg);
        break;
    case ciMark:
        FRecorder.Mark();
        break;
    case ciPath:
        FRecorder.StorePath(arg);
        break;
    case ciPathDelete:
        DoPathDelete(arg);
        break;
    case ciSwitchPath:
        SwitchPath(arg, words.value(2));
        break;
    case ciHighlight:
    case ciHigh:
        DoHighlight(words);
        break;
    case ciUnhighlight:
    case ciUnhigh:
        DoUnhighlight(words);
        break;
    case ciLoad:
        FEnv.Host.LoadConfiguration(arg);
        break;
    case ciSave:
        FEnv.Host.SaveConfiguration(arg);
        break;
    case ciClose:
        DoClose();
        break;
    case ciOpen:
        DoOpen(words);
        break;
    default:
        DispatchMore(index, words);
        break;
    }
}

void TCommandInterpreter::DispatchMore(int index, const TStringList& words)
{
    switch (index) {
    case ciLog:
        DoLog(words);
        break;
    case ciEcho:
        DoEcho(words.value(1));
        break;
    case ciExit:
        FEnv.Host.QuitApplication();
        break;
    case ciKillAll:
        DoKillAll();
        break;
    case ciInfo:
        DoInfo();
        break;
    case ciHelp:
    case ciQuestion:
        DoHelp(words);
        break;
    case ciMap:
        FRecorder.MapStep(words.value(1));
        break;
    case ciShowPath:
        FRecorder.ShowPath();
        break;
    case ciVersion:
        FEnv.Host.ShowBannerAgain();
        break;
    case ciDir:
        DoDir(words);
        break;
    case ciAutoMap:
        FRecorder.ToggleAutoMap();
        break;
    case ciClear:
        DoClear();
        break;
    case ciNotiz:
        DoNotiz(words);
        break;
    default:
        break;
    }
}

void TCommandInterpreter::ShowReported(bool ok, const QByteArray& okText,
                                       const QByteArray& failText)
{
    if (ok)
        FEnv.Sink.ShowInfo(okText);
    else
        FEnv.Sink.ShowError(failText);
}

void TCommandInterpreter::RefreshIfShown(bool ok, int listType)
{
    if (ok && FEnv.Host.ListType() == listType) FEnv.Host.RefreshList();
}

void TCommandInterpreter::DoAlias(const TStringList& words, const QByteArray& rest)
{
    const QByteArray& name = words[1];
    if (RefusedName(name)) return;
    const bool ok = FEnv.Config.SetAlias(name, rest);
    ShowReported(ok, Quoted(name) + " aliases " + Quoted(rest),
                 "Kuerzel " + Quoted(name) + " bereits belegt.");
    RefreshIfShown(ok, lkAlias);
}

void TCommandInterpreter::DoAliasDelete(const QByteArray& name)
{
    const bool ok = FEnv.Config.DeleteAlias(name);
    ShowReported(ok, "Alias " + Quoted(name) + " enfernt",
                 "Ein Alias mit dem Kuerzel " + Quoted(name) + " existiert nicht.");
    RefreshIfShown(ok, lkAlias);
}

void TCommandInterpreter::DoTabAdd(const QByteArray& word)
{
    ShowReported(FEnv.Config.AddTab(word), "Tab-Ergaenzung " + Quoted(word) + " hinzugefuegt.",
                 "Tab-Ergaenzung " + Quoted(word) + " bereits vorhanden!");
    FEnv.Host.FocusInput();
}

void TCommandInterpreter::DoTabDelete(const QByteArray& word)
{
    ShowReported(FEnv.Config.DeleteTab(word), "Ergaenzung " + Quoted(word) + " entfernt.",
                 "Ergaenzung " + Quoted(word) + " existiert nicht.");
    FEnv.Host.FocusInput();
}

void TCommandInterpreter::DoSession(const TStringList& words, const QByteArray& rest)
{
    const QByteArray& name = words[1];
    if (RefusedName(name)) return;
    const bool ok = FEnv.Config.SetSession(name, rest);
    ShowReported(ok, "Sitzung " + Quoted(name) + " hinzugefuegt.",
                 "Kuerzel " + Quoted(name) + " bereits belegt.");
    RefreshIfShown(ok, lkSession);
}

void TCommandInterpreter::DoSessionDelete(const QByteArray& name)
{
    const bool ok = FEnv.Config.DeleteSession(name);
    ShowReported(ok, "Sitzung " + Quoted(name) + " entfernt.",
                 "Sitzung " + Quoted(name) + " existiert nicht.");
    RefreshIfShown(ok, lkSession);
}

void TCommandInterpreter::DoPathDelete(const QByteArray& name)
{
    const bool ok = FEnv.Config.DeletePath(name);
    ShowReported(ok, "Pfad " + Quoted(name) + " entfernt.",
                 "Ein Pfad mit dem Kuerzel " + Quoted(name) + " existiert nicht.");
    RefreshIfShown(ok, lkPath);
}

bool TCommandInterpreter::RefusedName(const QByteArray& name)
{
    const QByteArray error = ShortcutNameError(name);
    if (!error.isEmpty()) FEnv.Sink.ShowError(error);
    return !error.isEmpty();
}

void TCommandInterpreter::SwitchPath(const QByteArray& oldName, const QByteArray& newName)
{
    if (RefusedName(newName)) return;
    switch (FEnv.Config.ReversePath(oldName, newName)) {
    case 0:
        FEnv.Sink.ShowInfo("Pfad " + Quoted(oldName) +
                           " erfolgreich umgegekehrt. Neuen Pfad unter " + Quoted(newName) +
                           " abgespeichert.");
        FEnv.Host.RefreshList();
        break;
    case -1:
        FEnv.Sink.ShowError("Pfad " + Quoted(oldName) + " existiert nicht!");
        break;
    case -2:
        FEnv.Sink.ShowError("Kuerzel " + Quoted(newName) + " ist bereits belegt!");
        break;
    default:
        FEnv.Sink.ShowError("Neuer Pfad " + Quoted(newName) + " konnte nicht eingerichtet werden");
        break;
    }
}

void TCommandInterpreter::GroupBraces(TStringList& words)
{
    int open = -1, close = -1;
    for (int i = 0; i < words.size(); ++i) {
        if (words[i].contains('{')) open = i;
        if (words[i].contains('}')) close = i;
    }
    if (open < 0) return;
    if (close < open) close = int(words.size()) - 1;
    QByteArray joined = words[open];
    for (int i = open + 1; i <= close; ++i)
        joined += ' ' + words[i];
    joined.remove(joined.indexOf('{'), 1);
    const qsizetype brace = joined.indexOf('}');
    if (brace >= 0) joined.remove(brace, 1);
    words.remove(open, close - open + 1);
    words.insert(open, joined);
}

void TCommandInterpreter::DoHighlight(const TStringList& words)
{
    if (words.size() >= 5) {
        FEnv.Sink.ShowError("Falsche Parameter-Anzahl!");
        return;
    }
    const QByteArray& text = words[1];
    int fore = 0, back = 1;
    if (!ColorNameToIndex(words[2], fore)) {
        FEnv.Sink.ShowError(Quoted(words[2]) + " ist keine gueltige Vordergrund-Farbe!");
        return;
    }
    if (words.size() == 4 && !ColorNameToIndex(words[3], back)) {
        FEnv.Sink.ShowError(Quoted(words[3]) + " ist keine gueltige Hintergrund-Farbe!");
        return;
    }
    if (text.isEmpty() || text.contains('/')) {
        // An empty text would match everywhere and a "/" would split the stored entry.
        FEnv.Sink.ShowError("Hervorhebung " + Quoted(text) + " ist nicht zulaessig!");
        return;
    }
    FEnv.Config.SetHighlight(text, QByteArray::number(fore) + '/' + QByteArray::number(back));
    FEnv.Sink.ShowInfo(Quoted(text) + " wird nun " + Quoted(kColorTable[fore - 1].Name) + " auf " +
                       Quoted(kColorTable[back - 1].Name) + " dargestellt.");
}

void TCommandInterpreter::DoUnhighlight(const TStringList& words)
{
    const QByteArray& text = words[1];
    ShowReported(FEnv.Config.DeleteHighlight(text), "Hervorhebung " + Quoted(text) + " entfernt.",
                 "Hervorhebung " + Quoted(text) + " existiert nicht.");
}

void TCommandInterpreter::DoClose()
{
    if (!FEnv.Connected()) {
        FEnv.Sink.ShowError("Keine Sitzung aktiv!");
        return;
    }
    FEnv.Connection->Close();
    FEnv.Sink.ShowInfo("Sitzung geschlossen.");
}

void TCommandInterpreter::DoOpen(const TStringList& words)
{
    if (FEnv.Connected()) {
        FEnv.Sink.ShowError("Sitzung aktiv! Bitte erst Sitzung schliessen.");
        return;
    }
    FEnv.Sink.ShowInfo("Verbinde zu Host " + words[1] + "...");
    if (FEnv.Connection) FEnv.Connection->Connect(words[1], words[2]);
}

void TCommandInterpreter::DoEcho(const QByteArray& word)
{
    const QByteArray upper = Win1252::upperCase(word);
    if (upper.contains("ON"))
        FEnv.Sink.FLocalEcho = true;
    else if (upper.contains("OFF"))
        FEnv.Sink.FLocalEcho = false;
    else
        return;
    FEnv.Sink.ShowInfo(FEnv.Sink.FLocalEcho ? "Lokales Echo eingeschaltet."
                                            : "Lokales Echo ausgeschaltet.");
}

void TCommandInterpreter::DoKillAll()
{
    if (!FEnv.Config.ClearLists(FEnv.Prompts)) return;
    FEnv.Sink.ShowInfo("Alle Aliase, Ergaenzungen, Hervorhebungen, Pfade und Sitzungen geloescht.");
    // The panel would otherwise go on listing names that no longer exist.
    if (FEnv.Host.ListType() != 3) FEnv.Host.RefreshList();
}

void TCommandInterpreter::DoInfo()
{
    TOutputSink& sink = FEnv.Sink;
    const TMudConfig& c = FEnv.Config;
    sink.EchoLine("");
    sink.EchoLine("I N F O");
    sink.EchoLine("=====================");
    sink.EchoLine("Aliase         : " + QByteArray::number(c.FAliases.size()));
    sink.EchoLine("Ergaenzungen   : " + QByteArray::number(c.FTabs.size()));
    sink.EchoLine("Hervorhebungen : " + QByteArray::number(c.FHighlights.size()));
    sink.EchoLine("Pfade          : " + QByteArray::number(c.FPaths.size()));
    sink.EchoLine("Sitzungen      : " + QByteArray::number(c.FSessions.size()));
}

void TCommandInterpreter::DoHelp(const TStringList& words)
{
    if (words.size() == 1) {
        ShowHelp(ciHelp);
        return;
    }
    const QByteArray wanted = Win1252::upperCase(words[1]);
    for (int i = 0; i < kCommandCount; ++i) {
        if (wanted == CommandName(i)) {
            ShowHelp(i);
            return;
        }
    }
    FEnv.Sink.ShowError("Unbekannter Befehl: " + words[1]);
}

void TCommandInterpreter::DoClear()
{
    FEnv.Host.ClearConsole();
    FEnv.Sink.FOutputLines = {QByteArray()};
    emit FEnv.Sink.HistoryChanged();
}

void TCommandInterpreter::DoNotiz(const TStringList& words)
{
    if (AddNote(JoinWords(words, 1))) FEnv.Sink.ShowInfo("Notiz hinzugefuegt.");
}
