#pragma once
// The 32 client command words, their argument-count rules and small word helpers shared
// by the command classes.

#include "config/MudConfigUtils.h"

#include <QByteArray>

enum TCommandIndex {
    ciAlias,
    ciAliasDelete,
    ciTabAdd,
    ciTabDelete,
    ciSession,
    ciSessionDelete,
    ciMark,
    ciPath,
    ciPathDelete,
    ciSwitchPath,
    ciHighlight,
    ciHigh,
    ciUnhighlight,
    ciUnhigh,
    ciLoad,
    ciSave,
    ciClose,
    ciOpen,
    ciLog,
    ciEcho,
    ciExit,
    ciKillAll,
    ciInfo,
    ciHelp,
    ciMap,
    ciShowPath,
    ciVersion,
    ciDir,
    ciAutoMap,
    ciClear,
    ciQuestion,
    ciNotiz,
    kCommandCount
};

// Upper-case table entry of a command index; empty outside 0..31.
QByteArray CommandName(int index);

// word without its first character, upper-cased (ASCII), against the table in order.
// A lone "#" or an unknown word gives false.
bool FindCommand(const QByteArray& word, int& index);

// Allowed word counts, the command word included. maxWords < 0: no upper bound.
struct TWordRange {
    int MinWords, MaxWords;
};
TWordRange CommandWordRange(int index);

// Words from..last joined with single blanks; empty when from is past the end.
QByteArray JoinWords(const TStringList& words, int from);

// Keeps a piece of the command language within its field size.
inline QByteArray CutTo(const QByteArray& text, int size)
{
    return text.left(size);
}

// Why name cannot name an alias, path or session; empty when it can. A "/" would end
// the name early in the stored "name/value" entry and turn the rest into a wrong value;
// a blank or "|" (possible only in names typed into dialogs) would give a name that
// no command line can call.
inline QByteArray ShortcutNameError(const QByteArray& name)
{
    if (name.contains('/'))
        return "Kuerzel \"" + name + "\" darf kein \"/\" enthalten!";
    if (name.contains(' ') || name.contains('|'))
        return "Kuerzel \"" + name + "\" darf keine Leerzeichen und kein \"|\" enthalten!";
    return QByteArray();
}
