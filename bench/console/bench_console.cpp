// Writes 20 MB of MUD-like text with frequent colour changes into an 82 x 25 colour
// console, running the event loop after every 2 KB as between two network reads, and
// reports throughput, the share of time spent painting and the peak memory.
//
// Usage: bench_console [megabytes]

#include "ColorConsole.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QRandomGenerator>

#include <sys/resource.h>

#include <cstdio>
#include <vector>

namespace {

class TTimedConsole : public TColorConsole {
public:
    qint64 PaintNs = 0;
    int Paints = 0;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QElapsedTimer t;
        t.start();
        TColorConsole::paintEvent(e);
        PaintNs += t.nsecsElapsed();
        ++Paints;
    }
};

struct Segment {
    TColor Color;
    TFontStyles Style;
    QByteArray Text;
};

const TColor Ansi[] = {0xC0C0C0, 0x0000C0, 0x00C000, 0x00C0C0, 0xC00000, 0xC000C0, 0xC0C000, 0xFFFFFF,
                       0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00};

const char* const Words[] = {"Der", "Ork", "greift", "dich", "an", "und", "trifft", "hart.", "Du", "siehst",
                             "einen", "Drachen", "im", "Norden,", "Sueden", "Gold", "Schwert", "Zauberer",
                             "murmelt", "etwas.", "Ein", "kalter", "Wind", "weht", "durch", "die", "Gassen.",
                             "Es", "gibt", "hier", "Ausgaenge:", "osten", "westen", "oben", "[Kampf]",
                             "<42/120>", "tot!", "Schaden", "gross", "Heiltrank"};

// About a megabyte of text in segments of a few words, each in its own colour.
std::vector<Segment> makePattern()
{
    QRandomGenerator rng(2024);
    std::vector<Segment> out;
    qsizetype total = 0;
    int column = 0;
    while (total < (1 << 20)) {
        Segment s;
        s.Color = Ansi[rng.bounded(int(std::size(Ansi)))];
        s.Style = rng.bounded(6) == 0 ? fsBold : 0;
        const int words = 2 + int(rng.bounded(4));
        for (int i = 0; i < words; ++i) {
            const QByteArray w = Words[rng.bounded(int(std::size(Words)))];
            if (column + w.size() + 1 > 72) {
                s.Text += "\r\n";
                column = 0;
            }
            s.Text += w + ' ';
            column += int(w.size()) + 1;
        }
        total += s.Text.size();
        out.push_back(std::move(s));
    }
    return out;
}

long peakKb()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 target = (argc > 1 ? QByteArray(argv[1]).toLongLong() : 20) << 20;

    TTimedConsole console;
    console.SetCols(82);
    console.Font().SetName(QStringLiteral("Courier New"));
    console.Font().SetSize(10);
    console.Font().SetBkColor(0);
    console.Clear();
    console.resize(console.sizeHint());
    console.show();
    while (console.UpdatePending() || !console.isVisible())
        app.processEvents();

    const std::vector<Segment> pattern = makePattern();
    qint64 written = 0;
    qint64 loopNs = 0;
    long earlyKb = 0;
    size_t next = 0;
    QElapsedTimer all;
    all.start();
    while (written < target) {
        qint64 block = 0;
        while (block < 2048) {
            const Segment& s = pattern[next];
            next = next + 1 == pattern.size() ? 0 : next + 1;
            console.Font().SetColor(s.Color);
            console.Font().SetStyle(s.Style);
            console.WriteString(s.Text);
            block += s.Text.size();
        }
        written += block;
        QElapsedTimer t;
        t.start();
        app.processEvents();
        loopNs += t.nsecsElapsed();
        if (earlyKb == 0 && written >= (2 << 20))
            earlyKb = peakKb();
    }
    while (console.UpdatePending())
        app.processEvents();
    app.processEvents();
    const double seconds = double(all.nsecsElapsed()) / 1e9;
    const double mb = double(written) / double(1 << 20);
    std::printf("written        %.1f MB in %.2f s: %.1f MB/s\n", mb, seconds, mb / seconds);
    std::printf("painting       %.1f %% of the time (%d paints, %.2f ms each)\n",
                100.0 * double(console.PaintNs) / 1e9 / seconds, console.Paints,
                console.Paints ? double(console.PaintNs) / 1e6 / console.Paints : 0.0);
    std::printf("event loop     %.1f %% of the time (painting, scrolling, flushing included)\n",
                100.0 * double(loopNs) / 1e9 / seconds);
    std::printf("peak memory    %ld kB after 2 MB, %ld kB at the end\n", earlyKb, peakKb());
    std::printf("attributes     %d slots\n", console.AttrManager().Count());
    return 0;
}
