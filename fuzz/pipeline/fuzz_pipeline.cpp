// Fuzzes the whole road of received bytes: telnet parser -> incoming-text pipeline ->
// colour console, with the block boundaries taken from the input. Invariants: no crash
// or overrun; the attribute runs of every row cover it in order, each differing from
// the one before; every attribute's reference count equals the runs that name it.
#include "config/MudConfig.h"
#include "display/console/ConsoleWriterAdapter.h"
#include "display/output/IncomingText.h"
#include "display/output/OutputSink.h"
#include "display/output/SessionLog.h"
#include "net/TelnetProtocol.h"
#include "platform/Prompts.h"
#include "stats/ConnectTime.h"

#include <QApplication>

#include <cstdlib>
#include <vector>

namespace {

struct Rig {
    TMudConfig config;
    TColorConsole console;
    TConsoleWriter writer{console};
    TOutputSink sink{writer, nullptr};
    TSessionLog log{sink, Prompts()};
    TConnectTime clock;
    TVorkaOMatic stats;
    TIncomingText text{writer, sink, log, config, clock, stats};
    TTelnetProtocol telnet;

    Rig()
    {
        config.FHighlights = {"a/10/1", "ab c/3/16", "x/0/99", "junk/x/1"};
        console.SetCols(20);
        console.SetRows(6);
        telnet.DeliverBlock = [this](const char* d, int n) { text.TelnetDataAvailable(d, n); };
        telnet.SendReply = [](const QByteArray&) {};
    }
};

void CheckRuns(const TColorConsole& c)
{
    std::vector<int> counted(size_t(c.AttrManager().Count()), 0);
    for (int row = 0; row < c.Rows(); ++row) {
        int col = 0;
        int prev = -1;
        for (const TAttrRun& run : c.RowRuns(row)) {
            if (run.Start != col || run.Length < 1 || run.Attr == prev || run.Attr < 0
                || run.Attr >= int(counted.size()) || !c.AttrManager().Get(run.Attr))
                abort();
            ++counted[size_t(run.Attr)];
            col = run.End();
            prev = run.Attr;
        }
        if (col != c.Cols())
            abort();
    }
    for (size_t i = 0; i < counted.size(); ++i)
        if (c.AttrManager().Get(int(i)) && c.AttrManager().Get(int(i))->RefCount != counted[i])
            abort();
}

Rig* rig = nullptr;

void Feed(const uint8_t* data, size_t size)
{
    // The first byte sets the block size, so the fuzzer also explores the cuts.
    const size_t block = 1 + data[0] % 64;
    for (size_t at = 1; at < size; at += block)
        rig->telnet.Receive(reinterpret_cast<const char*>(data) + at, int(std::min(block, size - at)));
}

} // namespace

// Present only in builds with the leak checker.
extern "C" __attribute__((weak)) void __lsan_disable();
extern "C" __attribute__((weak)) void __lsan_enable();

// The application, the rig and what the fonts and the console allocate once for good
// are set up before the first input, with the leak checker looking away: the font
// library keeps its one-time allocations where the checker cannot see them, and the
// check after each run must find only what that run leaked.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (__lsan_disable)
        __lsan_disable();
    // Its own arguments: Qt must not take options out of the fuzzer's.
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    rig = new Rig;
    static const uint8_t warmUp[] = "\x07\x1b[1;31mab c\x1b[0m x\r\n\x1b[7mzz\x1b[K\r\n";
    Feed(warmUp, sizeof warmUp - 1);
    rig->text.TelnetSessionConnected("fuzz");
    if (__lsan_enable)
        __lsan_enable();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    Feed(data, size);
    if (rig->text.FEscLength >= TIncomingText::kEscBufferMax)
        abort();
    CheckRuns(rig->console);
    if (data[0] == 0xFF)
        rig->text.TelnetSessionConnected("fuzz");
    return 0;
}
