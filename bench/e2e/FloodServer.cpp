#include "FloodServer.h"
#include "Loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

FloodServer::FloodServer(QByteArray flood) : FFlood(std::move(flood))
{
    FListen = Loopback::Listen(FPort, "flood server");
    FThread = std::thread([this] { Serve(); });
}

FloodServer::~FloodServer()
{
    Join();
    if (FListen >= 0)
        ::close(FListen);
}

void FloodServer::Join()
{
    if (FThread.joinable())
        FThread.join();
}

std::map<int, FloodServer::Clock::time_point> FloodServer::PingArrivals() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FPings;
}

void FloodServer::Serve()
{
    const int fd = ::accept(FListen, nullptr, nullptr);
    if (fd < 0)
        return;
    std::thread reader([this, fd] { ReadClient(fd); });
    Loopback::SendAll(fd, FFlood);
    ::shutdown(fd, SHUT_WR);
    reader.join();
    ::close(fd);
}

void FloodServer::ReadClient(int fd)
{
    QByteArray pending;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        const Clock::time_point now = Clock::now();
        pending.append(buffer, int(n));
        qsizetype eol;
        while ((eol = pending.indexOf("\r\n")) >= 0) {
            const QByteArray line = pending.left(eol);
            pending.remove(0, eol + 2);
            if (line.startsWith("say ping ")) {
                std::lock_guard<std::mutex> guard(FLock);
                FPings.emplace(line.mid(9).toInt(), now);
            }
        }
    }
}
