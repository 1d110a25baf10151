#include "Win1252.h"

namespace {

// 0x80..0x9F are the only positions where Windows-1252 differs from Latin-1.
const char16_t kHighTable[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

char fromCodePoint(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return char(u);
    for (int i = 0; i < 32; ++i)
        if (kHighTable[i] == u && u != 0xFFFD)
            return char(0x80 + i);
    return '?';
}

} // namespace

namespace Win1252 {

QString toUnicode(const QByteArray& bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar* dst = out.data();
    for (unsigned char c : bytes)
        *dst++ = (c >= 0x80 && c <= 0x9F) ? QChar(kHighTable[c - 0x80]) : QChar(c);
    return out;
}

QByteArray fromUnicode(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i; // one character outside the BMP, one "?"
            out.append('?');
            continue;
        }
        out.append(fromCodePoint(ch.unicode()));
    }
    return out;
}

QByteArray upperCase(const QByteArray& s)
{
    QByteArray r(s);
    for (char& c : r)
        c = upCase(c);
    return r;
}

QByteArray lowerCase(const QByteArray& s)
{
    QByteArray r(s);
    for (char& c : r)
        c = lowCase(c);
    return r;
}

bool sameText(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (upCase(a[i]) != upCase(b[i]))
            return false;
    return true;
}

QByteArray trim(const QByteArray& s)
{
    int b = 0, e = int(s.size());
    while (b < e && static_cast<unsigned char>(s[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32)
        --e;
    return s.mid(b, e - b);
}

} // namespace Win1252
