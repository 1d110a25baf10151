#pragma once
// The shared, reference-counted table of text attributes of the colour console. The
// grid keeps the attributes of each row as runs of cells, and each run holds an index
// into this table.
//
// Invariant: an attribute's RefCount equals the number of runs (in all rows) that name
// it, so it lives exactly as long as some cell shows it; its slot is freed as soon as
// the count falls below 1 and is the next one reused.

#include "FixedFont.h"

#include <array>
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
    // Becomes a new attribute for the font, with a RefCount of 0.
    void Reset(const TFixedFont& font);
};

class TAttrManager {
public:
    TAttrManager() { FHints.fill(-1); }
    TAttrManager(const TAttrManager&) = delete;
    TAttrManager& operator=(const TAttrManager&) = delete;

    // Index of the attribute with the font's colours and shape (the first such slot),
    // created with a RefCount of 0 when absent. Consecutive lookups of one pen hit a
    // one-entry cache; other pens in use are found through a small index instead of
    // scanning the slots, with the scan's result.
    int FindOrAdd(const TFixedFont& font)
    {
        if (FLastAttr && SameKey(*FLastAttr, font))
            return FLastIndex;
        const int hint = FHints[HintSlot(font)];
        if (TAttr* a = Get(hint); a && SameKey(*a, font)) {
            FLastAttr = a;
            FLastIndex = hint;
            return hint;
        }
        return Lookup(font);
    }
    // Adds delta to the count; an attribute whose count falls below 1 is freed and its
    // slot is the next one reused.
    void AddRef(int index, int delta)
    {
        if (TAttr* a = Get(index)) {
            a->RefCount += delta;
            if (a->RefCount < 1)
                Free(index);
        }
    }
    // Nullptr for a free slot or an index out of range.
    TAttr* Get(int index) const
    {
        return index >= 0 && size_t(index) < FSlots.size() && FSlots[size_t(index)].Live
            ? FSlots[size_t(index)].Attr.get()
            : nullptr;
    }
    // Slots, free ones included.
    int Count() const { return int(FSlots.size()); }
    // Number of live attributes.
    int LiveCount() const;
    void Clear();
    // Every attribute takes the point size (colours, faces and styles stay).
    void SetSize(int points);

private:
    static bool SameKey(const TAttr& a, const TFixedFont& f)
    {
        return a.Color() == f.Color() && a.BkColor() == f.BkColor()
            && a.RealHandle() == f.RealHandle();
    }
    // The scan, and the creation of an attribute.
    int Lookup(const TFixedFont& font);
    void Free(int index);
    static size_t HintSlot(const TFixedFont& f)
    {
        const quint32 h = quint32(f.Color()) * 0x9E3779B1u ^ quint32(f.BkColor()) * 0x85EBCA77u
            ^ quint32(f.RealHandle()) * 0xC2B2AE3Du;
        return h >> 24;
    }

    // A free slot keeps its last attribute object for the next attribute placed there:
    // colours come and go as often as lines scroll off.
    struct Slot {
        std::unique_ptr<TAttr> Attr;
        bool Live = false;
        int NextFree = -1;
    };
    std::vector<Slot> FSlots;
    TAttr* FLastAttr = nullptr;
    int FLastIndex = -1;
    int FFreeHead = -1;
    // Slot found last for each hash of the key, -1 for none. A hint is taken only while
    // its slot still holds a matching attribute, and then it is the first match: no
    // attribute is created while a matching one lives, so none can appear before it.
    // Only SetSize makes keys equal afterwards, and it forgets the hints.
    std::array<int, 256> FHints;
};
