#include "TabCompleter.h"

#include "CommandTable.h"
#include "config/MudConfig.h"
#include "display/output/OutputSink.h"
#include "platform/Win1252.h"

namespace
{

bool ContainsIgnoringCase(const TStringList& list, const QByteArray& word)
{
    for (const QByteArray& entry : list) {
        if (Win1252::sameText(entry, word)) return true;
    }
    return false;
}

} // namespace

TTabCompleter::TTabCompleter(TCommandEnv env) : FEnv(env) {}

void TTabCompleter::MudInputTabKeyPress(Qt::KeyboardModifiers modifiers)
{
    if ((modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        FEnv.Host.FocusNextControl();
        return;
    }
    const QByteArray text = FEnv.Host.InputText();
    if (!text.isEmpty()) CompleteWord(text, FEnv.Host.InputCursor());
}

bool TTabCompleter::StartsWith(const QByteArray& word, const QByteArray& prefix) const
{
    // An empty prefix offers nothing rather than everything.
    if (prefix.isEmpty()) return false;
    if (FEnv.Config.FTabCase) return word.startsWith(prefix);
    return Win1252::upperCase(word).startsWith(Win1252::upperCase(prefix));
}

QByteArray TTabCompleter::KeptCharacters(const QByteArray& word)
{
    QByteArray kept;
    for (const char c : word) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')
            kept += c;
    }
    return kept;
}

TStringList TTabCompleter::Candidates(const QByteArray& prefix) const
{
    TStringList found;
    for (const QByteArray& tab : FEnv.Config.FTabs) {
        if (StartsWith(tab, prefix)) found.append(tab);
    }
    if (!found.isEmpty()) return found;
    const QList<QByteArray>& lines = FEnv.Sink.FOutputLines;
    for (qsizetype i = qMax<qsizetype>(0, lines.size() - kSearchedOutputLines); i < lines.size();
         ++i) {
        for (const QByteArray& word : SplitString(' ', lines[i])) {
            // The raw word is looked up, so "Ork," and "Ork." both get in as "Ork".
            if (StartsWith(word, prefix) && !ContainsIgnoringCase(found, word))
                found.append(KeptCharacters(word));
        }
    }
    return found;
}

void TTabCompleter::CompleteWord(const QByteArray& text, int caret)
{
    const bool split = text.size() > caret && caret >= 0;
    const QByteArray before = split ? text.left(caret) : text;
    const QByteArray after = split ? text.mid(caret) : QByteArray();
    TStringList words = SplitString(' ', before);
    const TStringList found = Candidates(words.last());
    if (found.size() > 1) {
        FEnv.Sink.EchoLine(QByteArray());
        FEnv.Sink.EchoLine("Ergaenzung nicht eindeutig. Moegliche Werte:");
        for (const QByteArray& candidate : found)
            FEnv.Sink.EchoLine("--> " + candidate);
        return;
    }
    if (found.isEmpty()) return;
    words.last() = found.first();
    const QByteArray completed = JoinWords(words, 0) + after;
    FEnv.Host.SetInputText(completed);
    FEnv.Host.SetInputCursor(int(completed.size()));
    FEnv.Host.FocusInput();
}

void TTabCompleter::AddLastWord()
{
    const QByteArray text = Win1252::trim(FEnv.Host.InputText());
    // A line of blanks has no word to add; an empty completion word would be junk.
    if (text.isEmpty()) return;
    const QByteArray word = SplitString(' ', text).last();
    if (FEnv.Config.AddTab(word))
        FEnv.Sink.ShowInfo("Tab-Ergaenzung \"" + word + "\" hinzugefuegt.");
    else
        FEnv.Sink.ShowError("Tab-Ergaenzung \"" + word + "\" bereits vorhanden!");
    FEnv.Host.FocusMainWindow();
}
