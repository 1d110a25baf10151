#pragma once
// The shared, reference-counted table of text attributes of the colour console. Each
// cell holds an index into this table; an attribute lives exactly as long as some
// cell names it.

#include "FixedFont.h"

#include <memory>
#include <vector>

// One attribute: the font and colours of a run of cells.
class TAttr : public TFixedFont {
public:
    // Copies the font (without its change handler) and measures it.
    explicit TAttr(const TFixedFont& font);

    int RefCount = 0;
    quint8 Overhang = 0;
    qint8 ItalicShift = 0;  // pixels the run is drawn to the left (slanted glyphs)

    // Colours resolved once for painting.
    QColor TextColor;
    QColor BackColor;

    // Re-resolves the handle and shift after a size change.
    void Remeasure();
};

class TAttrManager {
public:
    TAttrManager() = default;
    TAttrManager(const TAttrManager&) = delete;
    TAttrManager& operator=(const TAttrManager&) = delete;

    // Index of the attribute with the font's colours and shape, created with a
    // RefCount of 0 when absent. Consecutive lookups of one pen hit a cache.
    int FindOrAdd(const TFixedFont& font);
    // Adds delta to the count; an attribute whose count falls below 1 is freed and its
    // slot is the next one reused.
    void AddRef(int index, int delta);
    // Nullptr for a free slot or an index out of range.
    TAttr* Get(int index) const;
    // Slots, free ones included.
    int Count() const { return int(FSlots.size()); }
    // Number of live attributes.
    int LiveCount() const;
    void Clear();

private:
    struct Slot {
        std::unique_ptr<TAttr> Attr;
        int NextFree = -1;
    };
    std::vector<Slot> FSlots;
    TAttr* FLastAttr = nullptr;
    int FLastIndex = -1;
    int FFreeHead = -1;
};
