#include "CommandTable.h"

#include "platform/Win1252.h"

namespace
{

const char* const kCommandNames[kCommandCount] = {
    "ALIAS",   "ALIASDELETE", "TABADD",     "TABDELETE", "SESSION",  "SESSIONDELETE", "MARK",
    "PATH",    "PATHDELETE",  "SWITCHPATH", "HIGHLIGHT", "HIGH",     "UNHIGHLIGHT",   "UNHIGH",
    "LOAD",    "SAVE",        "CLOSE",      "OPEN",      "LOG",      "ECHO",          "EXIT",
    "KILLALL", "INFO",        "HELP",       "MAP",       "SHOWPATH", "VERSION",       "DIR",
    "AUTOMAP", "CLEAR",       "?",          "NOTIZ",
};

const TWordRange kWordRanges[kCommandCount] = {
    {3, -1}, {2, 2},  {2, 2},  {2, 2},  {4, 4}, {2, 2}, // ALIAS .. SESSIONDELETE
    {1, 1},  {2, 2},  {2, 2},  {3, 3},                  // MARK .. SWITCHPATH
    {3, -1}, {3, -1}, {2, -1}, {2, -1},                 // HIGHLIGHT .. UNHIGH
    {2, 2},  {2, 2},  {1, 1},  {3, 3},  {1, 3}, {2, 2}, // LOAD .. ECHO
    {1, 1},  {1, 1},  {1, 1},  {1, 2},                  // EXIT .. HELP
    {2, 2},  {1, 1},  {1, 1},  {1, 2},  {1, 1}, {1, 1}, // MAP .. CLEAR
    {1, 2},  {2, -1},                                   // ? NOTIZ
};

} // namespace

QByteArray CommandName(int index)
{
    if (index < 0 || index >= kCommandCount) return {};
    return kCommandNames[index];
}

bool FindCommand(const QByteArray& word, int& index)
{
    const QByteArray name = Win1252::upperCase(word.mid(1));
    if (name.isEmpty()) return false;
    for (int i = 0; i < kCommandCount; ++i) {
        if (name == kCommandNames[i]) {
            index = i;
            return true;
        }
    }
    return false;
}

TWordRange CommandWordRange(int index)
{
    if (index < 0 || index >= kCommandCount) return {0, -1};
    return kWordRanges[index];
}

QByteArray JoinWords(const TStringList& words, int from)
{
    QByteArray joined;
    for (int i = from; i < words.size(); ++i) {
        if (i > from) joined += ' ';
        joined += words[i];
    }
    return joined;
}
