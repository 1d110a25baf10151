#include "AttrManager.h"

#include <cmath>

TAttr::TAttr(const TFixedFont& font)
{
    TFixedFont::operator=(font);
    TextColor = ColorToQColor(Color());
    BackColor = ColorToQColor(BkColor());
    Remeasure();
}

void TAttr::Reset(const TFixedFont& font)
{
    const int measured = RealHandle();
    TFixedFont::operator=(font);
    RefCount = 0;
    TextColor = ColorToQColor(Color());
    BackColor = ColorToQColor(BkColor());
    if (RealHandle() != measured)
        Remeasure();
}

void TAttr::Remeasure()
{
    const TTextMetric& tm = FontRegistry::Metrics(RealHandle());
    Overhang = quint8(qBound(0, tm.Overhang, 255));
    const int shift = tm.Ascent > 0 ? int(std::lround(double(tm.Descent) * tm.Overhang / tm.Ascent)) : 0;
    ItalicShift = qint8(qBound(-128, shift, 127));
}

int TAttrManager::Lookup(const TFixedFont& font)
{
    int& hint = FHints[HintSlot(font)];
    for (size_t i = 0; i < FSlots.size(); ++i) {
        TAttr* a = FSlots[i].Attr.get();
        if (FSlots[i].Live && SameKey(*a, font)) {
            FLastAttr = a;
            FLastIndex = int(i);
            hint = FLastIndex;
            return FLastIndex;
        }
    }
    int index;
    if (FFreeHead >= 0) {
        index = FFreeHead;
        FFreeHead = FSlots[size_t(index)].NextFree;
    } else {
        index = int(FSlots.size());
        FSlots.emplace_back();
    }
    Slot& slot = FSlots[size_t(index)];
    if (slot.Attr)
        slot.Attr->Reset(font);
    else
        slot.Attr = std::make_unique<TAttr>(font);
    slot.Live = true;
    slot.NextFree = -1;
    FLastAttr = slot.Attr.get();
    FLastIndex = index;
    hint = index;
    return index;
}

void TAttrManager::Free(int index)
{
    Slot& s = FSlots[size_t(index)];
    s.Live = false;
    s.NextFree = FFreeHead;
    FFreeHead = index;
    FLastAttr = nullptr;
    FLastIndex = index;
}

int TAttrManager::LiveCount() const
{
    int n = 0;
    for (const Slot& s : FSlots)
        n += s.Live ? 1 : 0;
    return n;
}

void TAttrManager::Clear()
{
    FSlots.clear();
    FLastAttr = nullptr;
    FLastIndex = -1;
    FFreeHead = -1;
    FHints.fill(-1);
}

void TAttrManager::SetSize(int points)
{
    for (Slot& s : FSlots) {
        if (s.Live) {
            s.Attr->SetSize(points);
            s.Attr->Remeasure();
        }
    }
    FHints.fill(-1);
}
