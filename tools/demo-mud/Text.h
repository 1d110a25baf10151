#pragma once
// The game's texts are written in UTF-8 in the sources and go out as Windows-1252, the
// character set the client reads. Colours are marked "{1;33}" in the texts and become
// the ANSI sequence ESC [ 1 ; 3 3 m.

#include <string>

namespace text {

// Code points below 256 map to the same byte (Windows-1252 agrees with Latin-1 there
// for everything printable); the few others the game could use have their own bytes,
// anything else becomes "?".
std::string toCp1252(const std::string& utf8);

// Expands the colour marks and converts to Windows-1252.
std::string mud(const std::string& utf8);

// ASCII-only lower case; umlauts are left alone.
std::string lower(std::string s);

std::string trim(const std::string& s);

// Drops control bytes, so what one player typed cannot steer another player's terminal.
std::string printable(const std::string& s);

} // namespace text
