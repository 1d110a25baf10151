#include "AttrManager.h"

#include <cmath>

TAttr::TAttr(const TFixedFont& font)
{
    TFixedFont::operator=(font);
    TextColor = ColorToQColor(Color());
    BackColor = ColorToQColor(BkColor());
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
    for (size_t i = 0; i < FSlots.size(); ++i) {
        TAttr* a = FSlots[i].Attr.get();
        if (a && SameKey(*a, font)) {
            FLastAttr = a;
            FLastIndex = int(i);
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
    FSlots[size_t(index)].Attr = std::make_unique<TAttr>(font);
    FSlots[size_t(index)].NextFree = -1;
    FLastAttr = FSlots[size_t(index)].Attr.get();
    FLastIndex = index;
    return index;
}

void TAttrManager::Free(int index)
{
    Slot& s = FSlots[size_t(index)];
    s.Attr.reset();
    s.NextFree = FFreeHead;
    FFreeHead = index;
    FLastAttr = nullptr;
    FLastIndex = index;
}

int TAttrManager::LiveCount() const
{
    int n = 0;
    for (const Slot& s : FSlots)
        n += s.Attr ? 1 : 0;
    return n;
}

void TAttrManager::Clear()
{
    FSlots.clear();
    FLastAttr = nullptr;
    FLastIndex = -1;
    FFreeHead = -1;
}
