// The whole client under a flood: the real main window (offscreen, in a temporary
// program folder, three highlights, a session log open) connects to a local server that
// sends a coloured flood and then closes. Reports
//   - throughput from connect to the session-closed notification, CPU time, peak memory;
//   - whether the window stays alive: real paints of the console per second, and the
//     latency of a line typed every 100 ms until the server has read it;
//   - the CPU used and the timers that fire while the client sits idle afterwards.
// It only reports; the aims are printed beside the numbers.
//
// Usage: bench_e2e [megabytes]   (default 20; 1 MB = 2^20 bytes, rates in 10^6 bytes/s)

#include "FloodServer.h"
#include "FloodText.h"

#include "app/Mudmain.h"
#include "display/console/ColorConsole.h"
#include "display/controls/tbedit.h"
#include "display/output/SessionLog.h"
#include "net/TnCnx.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

using Clock = FloodServer::Clock;

// Nothing may wait for a player here; anything asked is printed and answered "no".
class QuietPrompts : public IPrompts {
public:
    Answer Confirm(const QString& text, bool) override { Say("question", text); return Answer::No; }
    void Warning(const QString& text) override { Say("warning", text); }
    void Error(const QString& text) override { Say("error", text); }
    void Information(const QString& text) override { Say("information", text); }
    bool InputQuery(const QString&, const QString& prompt, QString&) override
    {
        Say("input", prompt);
        return false;
    }

private:
    static void Say(const char* kind, const QString& text)
    {
        std::fprintf(stderr, "[%s] %s\n", kind, qPrintable(text));
    }
};

double CpuSeconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Counts the paint events the console's viewport really receives.
class PaintCounter : public QObject {
public:
    std::vector<Clock::time_point> Paints;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            Paints.push_back(Clock::now());
        return false;
    }
};

// Notes every timer event delivered on the user-interface thread except the ignored one.
class TimerWatch : public QObject {
public:
    QObject* Ignored = nullptr;
    std::map<QString, int> Fired;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::Timer || watched == Ignored)
            return false;
        QString name = QString::fromLatin1(watched->metaObject()->className());
        if (!watched->objectName().isEmpty())
            name += " \"" + watched->objectName() + "\"";
        if (auto* t = qobject_cast<QTimer*>(watched))
            name += QStringLiteral(" %1 ms").arg(t->interval());
        for (QObject* p = watched->parent(); p; p = p->parent())
            name += QStringLiteral(" in ") + p->metaObject()->className();
        ++Fired[name];
        return false;
    }
};

void Type(TMudMainFrm& w, const QString& line)
{
    QTest::keyClicks(w.MudInput, line);
    QTest::keyClick(w.MudInput, Qt::Key_Return);
}

struct Pings {
    std::vector<Clock::time_point> Due;    // the 100 ms slot a player pressed Enter in
    std::vector<Clock::time_point> Typed;  // when the window got the keys
};

void ReportLatency(const Pings& pings, const std::map<int, Clock::time_point>& arrivals)
{
    std::vector<double> fromDue, fromTyped;
    int lost = 0;
    for (size_t i = 0; i < pings.Typed.size(); ++i) {
        const auto at = arrivals.find(int(i));
        if (at == arrivals.end()) {
            ++lost;
            continue;
        }
        fromDue.push_back(Ms(at->second - pings.Due[i]));
        fromTyped.push_back(Ms(at->second - pings.Typed[i]));
    }
    std::printf("typed lines: %zu sent during the flood, %d never reached the server\n",
                pings.Typed.size(), lost);
    if (fromDue.empty())
        return;
    std::sort(fromDue.begin(), fromDue.end());
    std::sort(fromTyped.begin(), fromTyped.end());
    std::printf("  latency slot -> server (incl. wait for the event loop): median %.1f ms, max %.1f ms"
                "   (aim: within 100 ms)\n",
                fromDue[fromDue.size() / 2], fromDue.back());
    std::printf("  latency keys -> server (the window's own handling):     median %.1f ms, max %.1f ms\n",
                fromTyped[fromTyped.size() / 2], fromTyped.back());
}

void ReportPaints(const std::vector<Clock::time_point>& paints, Clock::time_point from, Clock::time_point to)
{
    int count = 0;
    double maxGap = 0;
    Clock::time_point last = from;
    for (const auto& p : paints) {
        if (p < from || p > to)
            continue;
        ++count;
        maxGap = std::max(maxGap, Ms(p - last));
        last = p;
    }
    maxGap = std::max(maxGap, Ms(to - last));
    const double seconds = Ms(to - from) / 1000;
    std::printf("console paints during the flood: %d in %.2f s = %.1f per second, longest gap %.0f ms"
                "   (aim: >= 20 per second)\n",
                count, seconds, count / seconds, maxGap);
}

void MeasureIdle(QApplication& app)
{
    TimerWatch watch;
    QTimer stop;
    stop.setSingleShot(true);
    watch.Ignored = &stop;
    QEventLoop loop;
    QObject::connect(&stop, &QTimer::timeout, &loop, &QEventLoop::quit);
    app.installEventFilter(&watch);
    const double before = CpuSeconds(RUSAGE_SELF);
    stop.start(2000);
    loop.exec();
    const double used = CpuSeconds(RUSAGE_SELF) - before;
    app.removeEventFilter(&watch);
    std::printf("idle for 2 s after the flood: %.1f ms CPU   (aim: ~0)\n", used * 1000);
    if (watch.Fired.empty())
        std::printf("  no timer fired\n");
    for (const auto& [name, count] : watch.Fired)
        std::printf("  timer fired %dx: %s\n", count, qPrintable(name));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int megabytes = argc > 1 ? qMax(1, atoi(argv[1])) : 20;
    QTemporaryDir folder;
    ProgramFolder::setOverride(folder.path());
    QuietPrompts prompts;
    SetPrompts(&prompts);

    const QByteArray flood = FloodText::Make(qsizetype(megabytes) << 20);
    std::printf("flood: %d MB, lines of 40-100 characters, a third coloured; 3 highlights, session log open\n",
                megabytes);
    FloodServer server(flood);

    TMudMainFrm w(prompts);
    w.FConfig.FHighlights = {"Drache/10/1", "Ork/12/1", "Heiltrank/11/1"};
    w.show();
    if (!QTest::qWaitForWindowActive(&w))
        std::fprintf(stderr, "the window did not become active; typed lines may get lost\n");
    Type(w, "#log bench");
    if (!w.FLog->LogActive())
        std::fprintf(stderr, "the session log did not open\n");
    const long rssBefore = FloodText::PeakRssKb();

    PaintCounter paints;
    w.Mudoutput->viewport()->installEventFilter(&paints);

    Pings pings;
    Clock::time_point connected, closed;
    QTimer typer;
    typer.setTimerType(Qt::PreciseTimer);
    typer.setInterval(100);
    QObject::connect(&typer, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        const auto slot = std::chrono::duration_cast<std::chrono::milliseconds>(now - connected).count() / 100;
        pings.Due.push_back(connected + std::chrono::milliseconds(slot * 100));
        pings.Typed.push_back(now);
        Type(w, QStringLiteral("say ping %1").arg(pings.Typed.size() - 1));
    });

    QEventLoop loop;
    double cpuStart = 0, cpuMainStart = 0, cpuEnd = 0, cpuMainEnd = 0;
    const auto onConnected = w.Telnet->OnSessionConnected;
    w.Telnet->OnSessionConnected = [&](TTnCnx* sender, quint16 error) {
        connected = Clock::now();
        cpuStart = CpuSeconds(RUSAGE_SELF);
        cpuMainStart = CpuSeconds(RUSAGE_THREAD);
        typer.start();
        onConnected(sender, error);
    };
    const auto onClosed = w.Telnet->OnSessionClosed;
    w.Telnet->OnSessionClosed = [&](TTnCnx* sender, quint16 error) {
        closed = Clock::now();
        cpuEnd = CpuSeconds(RUSAGE_SELF);
        cpuMainEnd = CpuSeconds(RUSAGE_THREAD);
        typer.stop();
        onClosed(sender, error);
        loop.quit();
    };
    Type(w, QStringLiteral("#open 127.0.0.1 %1").arg(server.Port()));
    loop.exec();
    server.Join();

    const double seconds = Ms(closed - connected) / 1000;
    std::printf("end to end: %.2f s = %.1f MB/s   (aim: >= 130 MB/s)\n", seconds,
                flood.size() / 1e6 / seconds);
    std::printf("CPU: %.2f s in the process, %.2f s of it on the window's thread\n", cpuEnd - cpuStart,
                cpuMainEnd - cpuMainStart);
    // On a shared machine the wall clock also counts other programs' turns.
    std::printf("per CPU second of the window's thread: %.1f MB/s (the rate without competition)\n",
                flood.size() / 1e6 / (cpuMainEnd - cpuMainStart));
    std::printf("session log: %lld bytes written\n",
                QFileInfo(w.FLog->FLogFileName).size());
    ReportPaints(paints.Paints, connected, closed);
    ReportLatency(pings, server.PingArrivals());
    std::printf("peak memory: %ld kB before connecting (flood text held by the server included), %ld kB after"
                "   (growth %ld kB)\n",
                rssBefore, FloodText::PeakRssKb(), FloodText::PeakRssKb() - rssBefore);
    w.Mudoutput->viewport()->removeEventFilter(&paints);
    MeasureIdle(app);
    w.FLog->StopLog();
    w.hide();  // a shown window runs its focus handler while it is being destroyed
    SetPrompts(nullptr);
    return 0;
}
