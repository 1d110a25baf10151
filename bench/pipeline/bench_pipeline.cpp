// Feeds a flood through the telnet parser, the incoming-text pipeline (colours, three
// highlights, output history) and an 82 x 25 colour console, in reads of 2048 bytes as
// the socket delivers them. Twice: without painting (the console hidden) and with
// painting (shown offscreen, the event loop running between reads as on screen).
// Prints MB/s for both (by the wall clock and per second of this process's CPU time,
// which a busy machine disturbs less) and the peak memory.
//
// Usage: bench_pipeline [megabytes] [model|paint|both] [line length]
//   default 20 MB, both runs (one run alone keeps profiles apart), lines of 40-100
//   characters; a line length makes every line that long (1048576: lines of 1 MB).
// bench/instructions.sh counts the instructions spent in FeedFlood.

#include "FloodText.h"

#include "config/MudConfig.h"
#include "display/console/ConsoleWriterAdapter.h"
#include "display/output/IncomingText.h"
#include "display/output/OutputSink.h"
#include "display/output/SessionLog.h"
#include "net/TelnetProtocol.h"
#include "platform/Prompts.h"
#include "stats/ConnectTime.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <ctime>

namespace {

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

struct TRate {
    double Wall, Cpu;
};

// Everything received, in reads of 2048 bytes as the socket delivers them.
Q_NEVER_INLINE void FeedFlood(TTelnetProtocol& telnet, const QByteArray& flood, bool paint)
{
    for (qsizetype at = 0; at < flood.size(); at += 2048) {
        telnet.Receive(flood.constData() + at, int(qMin<qsizetype>(2048, flood.size() - at)));
        if (paint)
            QCoreApplication::processEvents();
    }
}

TRate Run(const QByteArray& flood, bool paint)
{
    TMudConfig config;
    config.FHighlights = {"Drache/10/1", "Ork/12/1", "Heiltrank/11/1"};
    TColorConsole console;
    console.SetCols(82);
    console.SetRows(25);
    console.resize(console.sizeHint());
    if (paint)
        console.show();
    TConsoleWriter writer(console);
    TOutputSink sink(writer, nullptr);
    TSessionLog log(sink, Prompts());
    TConnectTime clock;
    TVorkaOMatic stats;
    TIncomingText text(writer, sink, log, config, clock, stats);
    TTelnetProtocol telnet;
    telnet.DeliverBlock = [&](const char* data, int len) { text.TelnetDataAvailable(data, len); };
    text.TelnetSessionConnected("bench");

    QElapsedTimer timer;
    timer.start();
    const double cpuStart = CpuSeconds();
    FeedFlood(telnet, flood, paint);
    QCoreApplication::processEvents();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpu = CpuSeconds() - cpuStart;
    text.TelnetSessionClosed();
    return {flood.size() / 1e6 / seconds, flood.size() / 1e6 / cpu};
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int megabytes = argc > 1 ? qMax(1, atoi(argv[1])) : 20;
    const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    const int lineLength = argc > 3 ? qMax(1, atoi(argv[3])) : 0;
    const QByteArray flood = FloodText::Make(qsizetype(megabytes) << 20, 4711, lineLength);
    const QByteArray lines = lineLength > 0
                                 ? "lines of " + QByteArray::number(lineLength) + " characters"
                                 : QByteArray("lines of 40-100 characters");
    std::printf("flood: %d MB, %s, a third coloured, 3 highlights\n", megabytes, lines.constData());
    const long before = FloodText::PeakRssKb();
    if (only != "paint") {
        const TRate r = Run(flood, false);
        std::printf("parser + pipeline + console model, no painting: %7.1f MB/s (%.1f per CPU s)\n",
                    r.Wall, r.Cpu);
    }
    const long afterModel = FloodText::PeakRssKb();
    if (only != "model") {
        const TRate r = Run(flood, true);
        std::printf("the same with painting (offscreen, event loop per read): %7.1f MB/s (%.1f per CPU s)\n",
                    r.Wall, r.Cpu);
    }
    std::printf("peak memory: %ld kB with the flood made, %ld kB after the first run, "
                "%ld kB at the end\n",
                before, afterModel, FloodText::PeakRssKb());
    return 0;
}
