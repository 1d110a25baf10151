#pragma once
// Colour values and font styles shared by the configuration, the consoles and the
// controls. A colour is 32 bits with red in the lowest byte, then green, then blue
// (0x0000FF is red). It is signed, as the .mud files store it: a value with the high
// bit set is negative and names a system colour by its low byte, resolved when drawn.

#include <QtGlobal>

using TColor = qint32;
constexpr TColor clSystemColor = TColor(0x80000000u);
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;

enum TFontStyle : quint8 { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = quint8;
