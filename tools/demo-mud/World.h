#pragma once
// A small German village to walk around in. Texts are UTF-8 with colour marks (see
// Text.h); the game converts them on the way out.

#include <string>
#include <vector>

namespace world {

enum Direction { N, S, O, W, NO, NW, SO, SW, H, R, REIN, RAUS, DirectionCount };

struct DirectionInfo {
    const char* name;    // how the exit list shows it
    const char* leaving; // "Anna geht <leaving>."
    std::vector<const char*> words; // what the player may type, short form first
};

const DirectionInfo& info(Direction d);

// The direction a typed word names (ASCII case ignored), or DirectionCount.
Direction parseDirection(const std::string& word);

struct Room {
    const char* title;
    const char* description;
    int exits[DirectionCount]; // target room index or -1
};

const std::vector<Room>& rooms();
constexpr int StartRoom = 0;

} // namespace world
