#include "NumPadKeyList.h"

namespace {

struct DefaultLayout {
    const char* Name;
    const char* Keys[kNumPadSlots];
};

// Slot order: -, 0, 1..9, *, +, -, decimal, /.
const DefaultLayout kDefaults[3] = {
    {"Laufen",
     {"", "", "sw", "s", "so", "w", "schaue", "o", "nw", "n", "no", "raus", "r", "h", "", "rein"}},
    {"Klettern",
     {"", "", "kletter linksunten", "kletter runter", "kletter rechtsunten", "kletter links",
      "schaue", "kletter rechts", "kletter linksoben", "kletter hoch", "kletter rechtsoben", "",
      "", "", "", ""}},
    {"Alternativ",
     {"", "", "linksunten", "zurueck", "rechtsunten", "links", "schaue", "rechts", "linksoben",
      "vorne", "rechtsoben", "raus", "runter", "hoch", "", "rein"}},
};

} // namespace

int TNumPadKeyList::AddLayout(const QByteArray& name)
{
    TNumPadLayout layout;
    layout.Name = name.left(kNumPadNameLength);
    FItems.append(layout);
    return int(FItems.size()) - 1;
}

void TNumPadKeyList::DeleteLayout(int index)
{
    if (index >= 0 && index < FItems.size())
        FItems.removeAt(index);
}

void TNumPadKeyList::Assign(const TNumPadKeyList& source)
{
    if (&source == this)
        return;
    ClearLayouts();
    for (const TNumPadLayout& src : source.FItems) {
        const int i = AddLayout(src.Name);
        FItems[i].Keys = src.Keys;
        FItems[i].Option = src.Option;
    }
}

void TNumPadKeyList::AddDefaultLayouts()
{
    for (const DefaultLayout& d : kDefaults) {
        const int i = AddLayout(d.Name);
        for (int k = 0; k < kNumPadSlots; ++k)
            FItems[i].Keys[k] = d.Keys[k];
    }
}
