#include "Flood.h"

#include "Text.h"

#include <vector>

namespace {

const std::vector<std::string>& words()
{
    static const std::vector<std::string> all = [] {
        const char* utf8[] = {"der", "Drache", "schläft", "im", "Turm", "über", "dem",
                              "Fluss", "und", "träumt", "von", "Gold", "während",
                              "Zwerge", "Äxte", "schärfen", "ein", "Ork", "brüllt",
                              "laut", "Nebel", "zieht", "durch", "das", "Tal", "König",
                              "Schwert", "funkelt", "grün", "müde", "Wanderer", "ruhen"};
        std::vector<std::string> list;
        for (const char* w : utf8)
            list.push_back(text::toCp1252(w));
        return list;
    }();
    return all;
}

} // namespace

Flood::Flood(std::uint64_t bytes, std::uint32_t seed) : FLeft(bytes), FState(seed | 1) {}

std::uint32_t Flood::random(std::uint32_t bound)
{
    // xorshift32: deterministic, so two runs of a benchmark see the same text.
    FState ^= FState << 13;
    FState ^= FState >> 17;
    FState ^= FState << 5;
    return FState % bound;
}

std::string Flood::makeLine()
{
    const std::size_t target = 40 + random(61);
    const bool coloured = random(3) == 0;
    std::string visible;
    while (visible.size() < target) {
        if (!visible.empty())
            visible += ' ';
        visible += words()[random(std::uint32_t(words().size()))];
    }
    visible.resize(target);
    if (visible.back() == ' ')
        visible.back() = '.';
    if (!coloured)
        return visible + "\r\n";
    const std::size_t cut = 5 + random(std::uint32_t(target - 10));
    const std::string colour = std::to_string(30 + random(8));
    const std::string bold = random(2) ? "1;" : "";
    return "\x1b[" + bold + colour + "m" + visible.substr(0, cut) + "\x1b[0m" +
           visible.substr(cut) + "\r\n";
}

void Flood::fill(std::string& out, std::size_t want)
{
    while (FLeft > 0 && out.size() < want) {
        std::string line = makeLine();
        if (line.size() + 2 > FLeft) {
            // The tail: plain letters cut to fit, so the count comes out exact.
            const std::uint64_t len = FLeft > 102 ? FLeft - 50 : FLeft;
            line = len >= 2 ? std::string(std::size_t(len - 2), 'x') + "\r\n"
                            : std::string(std::size_t(len), '\n');
        }
        FLeft -= line.size();
        out += line;
    }
}
