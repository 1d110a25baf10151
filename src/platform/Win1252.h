#pragma once
// Windows-1252 text: every string of the model, the wire and the files is a byte
// string in this character set; QString appears only at the widget boundary.

#include <QByteArray>
#include <QString>

namespace Win1252 {

// Bytes without a Windows-1252 character (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+FFFD.
QString toUnicode(const QByteArray& bytes);
// Characters outside Windows-1252 become "?".
QByteArray fromUnicode(const QString& text);

// ASCII-only case folding: a-z and A-Z, umlauts stay as they are.
inline char upCase(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline char lowCase(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
QByteArray upperCase(const QByteArray& s);
QByteArray lowerCase(const QByteArray& s);
bool sameText(const QByteArray& a, const QByteArray& b);

// Removes leading and trailing blanks and control characters (bytes <= 32).
QByteArray trim(const QByteArray& s);

} // namespace Win1252
