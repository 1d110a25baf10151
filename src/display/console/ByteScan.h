#pragma once
// Block-at-a-time scanning for the received-text paths. Nearly all received text is
// printable, so sixteen bytes (eight without SSE2) are tested at once, and the bit
// mask of a block gives the first control byte directly.

#include <QtGlobal>

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ByteScan {

// Index of the first byte below 32 in data[from, end), or end. data[0, end) must be
// readable: the last block may be read again from before from.
inline qsizetype SkipPrintable(const char* data, qsizetype from, qsizetype end)
{
#if defined(__SSE2__)
    const __m128i below = _mm_set1_epi8(31);
    // A byte is below 32 exactly when the unsigned minimum with 31 leaves it unchanged.
    const auto controls = [&](qsizetype at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, below), v)));
    };
    while (end - from >= 16) {
        if (const unsigned mask = controls(from))
            return from + __builtin_ctz(mask);
        from += 16;
    }
    if (from < end && end >= 16) {
        const qsizetype at = end - 16;
        if (const unsigned mask = controls(at) >> (from - at))
            return from + __builtin_ctz(mask);
        return end;
    }
#else
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
#endif
    while (from < end && static_cast<unsigned char>(data[from]) >= 32)
        ++from;
    return from;
}

} // namespace ByteScan
