#include "ScriptServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

ScriptServer::ScriptServer(Script script, int receiveBuffer)
{
    FListen = ::socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0)
        ::setsockopt(FListen, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (FListen >= 0 && ::bind(FListen, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0
        && ::listen(FListen, 4) == 0
        && ::getsockname(FListen, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        FPort = ntohs(a.sin_port);
    FThread = std::thread([this, script = std::move(script)] { Serve(script); });
}

ScriptServer::~ScriptServer()
{
    FStop = true;
    FThread.join();
    if (FListen >= 0)
        ::close(FListen);
}

void ScriptServer::Serve(const Script& script)
{
    int fd = -1;
    while (fd < 0 && !FStop && FPort != 0) {
        pollfd p{FListen, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0)
            fd = ::accept(FListen, nullptr, nullptr);
    }
    if (fd >= 0) {
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        FClient = fd;
        script(*this, fd);
        if (FClient.exchange(-1) >= 0)
            ::close(fd);
    }
    FFinished = true;
}

QByteArray ScriptServer::Received() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FReceived;
}

bool ScriptServer::Send(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0 && !FStop) {
        pollfd w{fd, POLLOUT, 0};
        if (::poll(&w, 1, 20) <= 0)
            continue;
        const ssize_t n = ::send(fd, p, size_t(left), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return left == 0;
}

bool ScriptServer::ReadSome(int fd, int waitMs)
{
    pollfd r{fd, POLLIN, 0};
    if (::poll(&r, 1, waitMs) <= 0)
        return true;
    char buffer[4096];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return true;
    if (n <= 0) {
        FClientClosed = true;
        return false;
    }
    std::lock_guard<std::mutex> guard(FLock);
    FReceived.append(buffer, qsizetype(n));
    return true;
}

bool ScriptServer::ReadAtLeast(int fd, qsizetype count, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!FStop && std::chrono::steady_clock::now() < end) {
        if (Received().size() >= count)
            return true;
        if (!ReadSome(fd, 20))
            break;
    }
    return Received().size() >= count;
}

void ScriptServer::ReadUntilClosed(int fd)
{
    while (!FStop && ReadSome(fd, 20)) {
    }
}

void ScriptServer::Hold()
{
    while (!FStop)
        Pause(20);
}

void ScriptServer::ArmReset(int fd)
{
    const linger hard{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
}

void ScriptServer::Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

ScriptServer::Script ScriptServer::Greeting(const QByteArray& text)
{
    return [text](ScriptServer& s, int fd) {
        if (s.Send(fd, text))
            s.ReadUntilClosed(fd);
    };
}
