#pragma once
// A configured font as Qt draws it: face, points and the four style bits, with a
// fixed-pitch hint so an unknown face falls back to a monospaced one.

#include "config/MudConfig.h"

#include <QFont>

QFont ToQFont(const TFontSpec& face);
