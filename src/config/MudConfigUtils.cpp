#include "MudConfigUtils.h"

#include "platform/Win1252.h"

const TColorEntry kColorTable[kColorCount] = {
    {"Schwarz", 0x000000},   {"Dunkelrot", 0x000080}, {"Gruen", 0x008000},
    {"Ocker", 0x008080},     {"Dunkelblau", 0x800000}, {"Purpurrot", 0x800080},
    {"Blaugruen", 0x808000}, {"Grau", 0x808080},       {"Hellgrau", 0xC0C0C0},
    {"Rot", 0x0000FF},       {"Hellgruen", 0x00FF00},  {"Gelb", 0x00FFFF},
    {"Blau", 0xFF0000},      {"Lila", 0xFF00FF},       {"Aquamarin", 0xFFFF00},
    {"Weiss", 0xFFFFFF},
};

TColor IndexToColor(int index)
{
    return (index >= 1 && index <= kColorCount) ? kColorTable[index - 1].Value : 0;
}

int ColorToIndex(TColor color)
{
    for (int i = 0; i < kColorCount; ++i)
        if (kColorTable[i].Value == color)
            return i + 1;
    return -1;
}

bool ColorNameToIndex(const QByteArray& name, int& index)
{
    for (int i = 0; i < kColorCount; ++i) {
        if (Win1252::sameText(name, kColorTable[i].Name)) {
            index = i + 1;
            return true;
        }
    }
    return false;
}

void SplitString(char separator, const QByteArray& text, TStringList& list)
{
    list.clear();
    qsizetype start = 0;
    qsizetype sep;
    while ((sep = text.indexOf(separator, start)) >= 0) {
        // A piece of blanks is kept (as an empty one): "n| |s" sends an empty line.
        if (sep > start)
            list.append(Win1252::trim(text.mid(start, sep - start)));
        start = sep + 1;
    }
    list.append(text.mid(start));
}

TStringList SplitString(char separator, const QByteArray& text)
{
    TStringList list;
    SplitString(separator, text, list);
    return list;
}

bool PointInRect(const TRect& r, int x, int y)
{
    return r.Left < x && x < r.Right && r.Top < y && y < r.Bottom;
}
