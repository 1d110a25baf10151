#pragma once
// Benchmark text for "flood <KB>": German-looking lines of 40 to 100 characters, about a
// third of them coloured, made on demand so a flood of any size costs no memory.

#include <cstdint>
#include <string>

class Flood {
public:
    static constexpr std::uint64_t MaxKilobytes = 1024 * 1024;

    Flood() = default;
    explicit Flood(std::uint64_t bytes, std::uint32_t seed = 1);

    bool active() const { return FLeft > 0; }
    std::uint64_t left() const { return FLeft; }

    // Appends whole lines to out until it holds at least want bytes or the flood is
    // spent. The flood yields exactly the byte count it was made with, CR LF included.
    void fill(std::string& out, std::size_t want);

private:
    std::string makeLine();
    std::uint32_t random(std::uint32_t bound);

    std::uint64_t FLeft = 0;
    std::uint32_t FState = 1;
};
