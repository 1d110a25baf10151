// The way back: a stored path in reverse order with every known direction turned round.
#include "MudConfig.h"

#include "platform/Win1252.h"

namespace {

struct Opposite {
    const char* Step;
    const char* Back;
};

// One-character steps match either case.
const Opposite kShort[] = {{"N", "s"}, {"S", "n"}, {"O", "w"}, {"W", "o"}, {"H", "r"}, {"R", "h"}};

// Longer steps match upper-cased, as whole steps only.
const Opposite kLong[] = {
    {"NW", "so"},           {"SW", "no"},          {"NO", "sw"},          {"SO", "nw"},
    {"REIN", "raus"},       {"RAUS", "rein"},      {"HOCH", "runter"},    {"RUNTER", "hoch"},
    {"LINKS", "rechts"},    {"RECHTS", "links"},   {"VORNE", "zurueck"},  {"ZURUECK", "vorne"},
    {"LINKSUNTEN", "rechtsoben"}, {"RECHTSUNTEN", "linksoben"},
    {"RECHTSOBEN", "linksunten"}, {"LINKSOBEN", "rechtsunten"},
};

QByteArray ReverseStep(const QByteArray& step)
{
    const QByteArray upper = Win1252::upperCase(step);
    if (step.size() == 1) {
        for (const Opposite& o : kShort)
            if (upper == o.Step)
                return o.Back;
        return step;
    }
    for (const Opposite& o : kLong)
        if (upper == o.Step)
            return o.Back;
    return step;
}

} // namespace

int TMudConfig::ReversePath(const QByteArray& name, const QByteArray& newName)
{
    int index = -1;
    TMPath source;
    GetPath(name, index, source);
    if (index < 0)
        return -1;
    if (FindNameSlot(newName, lkPath) != -1)
        return -2;
    const TStringList steps = SplitString(';', source.Value);
    QByteArray result;
    for (qsizetype i = steps.size() - 1; i >= 0; --i) {
        if (steps[i].isEmpty())
            continue;
        result += ReverseStep(steps[i]) + ';';
    }
    return SetPath(newName, result) ? 0 : -3;
}
