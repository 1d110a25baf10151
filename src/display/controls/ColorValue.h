#pragma once
// Colour values as the configuration stores them: 32 bits, red in the lowest byte, then
// green, then blue (0x0000FF is red). A value with the high bit set names a system colour
// by its index in the low byte; it has no RGB of its own and is resolved against the
// palette of the widget that draws it.

#include <QColor>
#include <QPalette>
#include <QtGlobal>

#include "platform/Color.h"

// The colour to paint with. Unknown system colour indexes fall back to the window colour.
QColor ResolveColor(TColor value, const QPalette& palette);
