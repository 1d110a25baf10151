// The telnet component against a server that asks "IAC DO 99" over and over (three
// bytes, each answered with three) and never reads a byte. Reports how much the
// client's resident memory grew while it read the requests, and the longest stall of
// a 20 ms timer meanwhile. It only reports.
//
// Usage: bench_neverreading [megabytes]   (default 31; 1 MB = 2^20 bytes of requests)

#include "FloodText.h"
#include "Loopback.h"
#include "net/TnCnx.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

// Sends the requests, then holds the line open until told to stop; never reads.
class NeverReadingServer {
public:
    explicit NeverReadingServer(qsizetype bytes)
    {
        FListen = Loopback::Listen(Port, "server");
        QByteArray requests;
        requests.reserve(bytes);
        while (requests.size() + 3 <= bytes)
            requests += "\xFF\xFD\x63";
        FThread = std::thread([this, requests] { Serve(requests); });
    }
    ~NeverReadingServer()
    {
        Stop = true;
        FThread.join();
        ::close(FListen);
    }

    quint16 Port = 0;
    std::atomic<bool> Stop{false};

private:
    void Serve(const QByteArray& requests)
    {
        const int fd = ::accept(FListen, nullptr, nullptr);
        if (fd < 0)
            return;
        Loopback::SendAll(fd, requests, &Stop);
        while (!Stop)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ::close(fd);
    }

    int FListen = -1;
    std::thread FThread;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int megabytes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
    const qsizetype bytes = qsizetype(megabytes) << 20;
    NeverReadingServer server(bytes);
    const qsizetype requests = bytes / 3 * 3;

    TTnCnx telnet;
    bool closed = false;
    telnet.OnSessionClosed = [&](TTnCnx*, quint16) { closed = true; };
    telnet.SetHost("127.0.0.1");
    telnet.SetPort(QByteArray::number(server.Port));

    QElapsedTimer clock;
    clock.start();
    qint64 lastBeat = 0, longestStall = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        longestStall = qMax(longestStall, clock.elapsed() - lastBeat);
        lastBeat = clock.elapsed();
    });
    beat.start(20);

    const long rssBefore = Loopback::ResidentKb();
    telnet.Connect();
    const auto read = [&] { return telnet.Socket() ? telnet.Socket()->ReadCount() : 0; };
    while (!closed && read() < requests && clock.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const qint64 seconds = clock.elapsed();
    const long rssAfter = Loopback::ResidentKb();

    std::printf("requests read     %lld of %lld bytes in %.1f s%s\n", (long long)read(),
                (long long)requests, seconds / 1000.0, closed ? " (connection closed)" : "");
    std::printf("resident memory   %ld kB before, %ld kB after: growth %ld kB\n", rssBefore,
                rssAfter, rssAfter - rssBefore);
    std::printf("peak resident     %ld kB\n", FloodText::PeakRssKb());
    std::printf("longest stall     %lld ms of a 20 ms timer\n", (long long)longestStall);
    server.Stop = true;
    telnet.Close();
    return 0;
}
