#include "FloodText.h"

#include <QRandomGenerator>

#include <sys/resource.h>

namespace {

const char* const kWords[] = {
    "Der", "Ork", "greift", "dich", "an", "und", "trifft", "dich", "hart.", "Du", "siehst",
    "einen", "Drachen", "im", "Norden.", "Ein", "kalter", "Wind", "weht", "durch", "die",
    "Gassen.", "Es", "gibt", "hier", "Ausgaenge:", "osten,", "westen", "und", "oben.",
    "Gold", "Schwert", "Zauberer", "murmelt", "etwas.", "Heiltrank", "Schaden", "tot!"};
const char* const kColors[] = {"\x1b[1;31m", "\x1b[32m", "\x1b[1;33m", "\x1b[34m",
                               "\x1b[35m",   "\x1b[36m", "\x1b[1m",    "\x1b[0;37;44m"};

} // namespace

namespace FloodText {

QByteArray Make(qsizetype bytes, quint32 seed, int lineLength)
{
    QRandomGenerator rng(seed);
    QByteArray out;
    out.reserve(bytes + qMax(lineLength, 100) + 256);  // the last line may run over
    const int words = int(sizeof(kWords) / sizeof(*kWords));
    while (out.size() < bytes) {
        const int drawn = 40 + int(rng.bounded(61));
        const int length = lineLength > 0 ? lineLength : drawn;
        const bool colored = rng.bounded(3) == 0;
        int visible = 0;
        while (visible < length) {
            if (colored && rng.bounded(4) == 0)
                out += kColors[rng.bounded(8)];
            const QByteArray w = kWords[rng.bounded(words)];
            const QByteArray piece = visible == 0 ? w : ' ' + w;
            out += piece.left(length - visible);
            visible += int(qMin<qsizetype>(piece.size(), length - visible));
        }
        if (colored)
            out += "\x1b[0m";
        out += "\r\n";
    }
    out.truncate(bytes);
    return out;
}

long PeakRssKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

} // namespace FloodText
