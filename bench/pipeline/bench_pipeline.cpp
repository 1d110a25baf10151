// Feeds a flood through the telnet parser, the incoming-text pipeline (colours, three
// highlights, output history) and an 82 x 25 colour console, in reads of 2048 bytes as
// the socket delivers them. Twice: without painting (the console hidden) and with
// painting (shown offscreen, the event loop running between reads as on screen).
// Prints MB/s for both and the peak memory.
//
// Usage: bench_pipeline [megabytes]   (default 20)

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

namespace {

double Run(const QByteArray& flood, bool paint)
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
    for (qsizetype at = 0; at < flood.size(); at += 2048) {
        telnet.Receive(flood.constData() + at, int(qMin<qsizetype>(2048, flood.size() - at)));
        if (paint)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    const double seconds = timer.nsecsElapsed() / 1e9;
    text.TelnetSessionClosed();
    return flood.size() / 1e6 / seconds;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int megabytes = argc > 1 ? qMax(1, atoi(argv[1])) : 20;
    const QByteArray flood = FloodText::Make(qsizetype(megabytes) << 20);
    std::printf("flood: %d MB, lines of 40-100 characters, a third coloured, 3 highlights\n",
                megabytes);
    const double model = Run(flood, false);
    std::printf("parser + pipeline + console model, no painting: %7.1f MB/s\n", model);
    const long afterModel = FloodText::PeakRssKb();
    const double painted = Run(flood, true);
    std::printf("the same with painting (offscreen, event loop per read): %7.1f MB/s\n", painted);
    std::printf("peak memory: %ld kB after the first run, %ld kB at the end\n", afterModel,
                FloodText::PeakRssKb());
    return 0;
}
