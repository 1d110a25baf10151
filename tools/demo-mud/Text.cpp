#include "Text.h"

#include <cstdint>

namespace text {

namespace {

char fromCodePoint(std::uint32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return char(cp);
    switch (cp) {
    case 0x20AC: return char(0x80); // euro sign
    case 0x201E: return char(0x84); // low double quote
    case 0x2026: return char(0x85); // ellipsis
    case 0x201C: return char(0x93);
    case 0x201D: return char(0x94);
    case 0x2013: return char(0x96); // en dash
    case 0x2014: return char(0x97);
    default: return '?';
    }
}

// Length of the UTF-8 sequence led by b, and the payload bits of the lead byte.
int sequenceLength(unsigned char b, std::uint32_t& bits)
{
    if (b < 0x80) { bits = b; return 1; }
    if ((b & 0xE0) == 0xC0) { bits = b & 0x1F; return 2; }
    if ((b & 0xF0) == 0xE0) { bits = b & 0x0F; return 3; }
    if ((b & 0xF8) == 0xF0) { bits = b & 0x07; return 4; }
    return 0;
}

} // namespace

std::string toCp1252(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        std::uint32_t cp = 0;
        int len = sequenceLength(static_cast<unsigned char>(utf8[i]), cp);
        if (len == 0 || i + len > utf8.size()) {
            out += '?';
            ++i;
            continue;
        }
        for (int k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += fromCodePoint(cp);
        i += len;
    }
    return out;
}

std::string mud(const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        std::size_t close = utf8[i] == '{' ? utf8.find('}', i) : std::string::npos;
        if (close == std::string::npos) {
            out += utf8[i];
            continue;
        }
        out += "\x1b[" + utf8.substr(i + 1, close - i - 1) + "m";
        i = close;
    }
    return toCp1252(out);
}

std::string lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

std::string trim(const std::string& s)
{
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    std::size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::string printable(const std::string& s)
{
    std::string out;
    for (char c : s) {
        unsigned char b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b != 0x7F)
            out += c;
    }
    return out;
}

} // namespace text
