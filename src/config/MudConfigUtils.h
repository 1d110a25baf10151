#pragma once
// Free helpers of the configuration module: the colour table shared by highlights,
// client commands, the settings dialog and the frame gradient; SplitString; PointInRect.

#include <QByteArray>
#include <QList>

#include "platform/Color.h"

using TStringList = QList<QByteArray>;

// Colour values: red in the lowest byte, then green, then blue.
struct TColorEntry {
    const char* Name;
    TColor Value;
};
constexpr int kColorCount = 16;
// Colour indexes are 1-based (1 "Schwarz" .. 16 "Weiss"); kColorTable[0] is index 1.
extern const TColorEntry kColorTable[kColorCount];

// The colour of a 1-based table index; indexes outside 1..16 give black.
TColor IndexToColor(int index);
// 1-based index of the first entry with exactly this value; -1 if none.
int ColorToIndex(TColor color);
// ASCII case-insensitive name match ("gruen" finds 3, an umlaut spelling does not).
bool ColorNameToIndex(const QByteArray& name, int& index);

// Clears list; pieces before each separator are dropped when empty and otherwise
// trimmed of blanks and control characters (so a piece of blanks stays, empty); the
// text after the last separator is added unchanged, even when empty.
void SplitString(char separator, const QByteArray& text, TStringList& list);
TStringList SplitString(char separator, const QByteArray& text);

struct TRect {
    int Left, Top, Right, Bottom;
};
// Strictly inside: the border lines do not count.
bool PointInRect(const TRect& rect, int x, int y);
