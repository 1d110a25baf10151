#pragma once
// Word-at-a-time scanning for the received-text paths. Nearly all received text is
// printable, so eight bytes are tested at once and only a word that holds a control
// byte is looked at byte by byte.

#include <QtGlobal>

#include <cstdint>
#include <cstring>

namespace ByteScan {

// Index of the first byte below 32 in data[from, end), or end.
inline qsizetype SkipPrintable(const char* data, qsizetype from, qsizetype end)
{
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t highs = 0x8080808080808080ull;
    while (end - from >= 8) {
        std::uint64_t w;
        std::memcpy(&w, data + from, sizeof w);
        // Non-zero exactly when some byte is below 32 (borrows start only there).
        if (((w - ones * 32) & ~w & highs) != 0)
            break;
        from += 8;
    }
    while (from < end && static_cast<unsigned char>(data[from]) >= 32)
        ++from;
    return from;
}

} // namespace ByteScan
