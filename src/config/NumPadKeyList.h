#pragma once
// Keypad layouts and the function-key texts of a configuration.
// Keypad slots: 1..10 are keypad 0..9, 11 "*", 12 "+", 13 "-", 14 the decimal key,
// 15 "/"; slot 0 is unused.

#include <QByteArray>
#include <QList>
#include <array>

constexpr int kFuncKeyCount = 21;  // 0 unused, 1..10 F1..F10, 11..20 Shift+F1..F10
using TFuncKeysArray = std::array<QByteArray, kFuncKeyCount>;

constexpr int kNumPadSlots = 16;
constexpr int kNumPadKeyLength = 25;
constexpr int kNumPadNameLength = 100;

struct TNumPadLayout {
    QByteArray Name;
    std::array<QByteArray, kNumPadSlots> Keys;
    int Option = 0; // 0: the text is sent at once; 1: it is added to the input line
};

class TNumPadKeyList {
public:
    int Count() const { return int(FItems.size()); }
    TNumPadLayout& Items(int index) { return FItems[index]; }
    const TNumPadLayout& Items(int index) const { return FItems[index]; }

    // Appends a layout with the name cut to 100 characters, empty keys, option 0.
    int AddLayout(const QByteArray& name);
    // Out-of-range indexes are ignored.
    void DeleteLayout(int index);
    void ClearLayouts() { FItems.clear(); }
    void Assign(const TNumPadKeyList& source);

    // "Laufen", "Klettern", "Alternativ", as every new configuration has them.
    void AddDefaultLayouts();

private:
    QList<TNumPadLayout> FItems;
};
