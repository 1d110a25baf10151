#include "TestLoopback.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

TTestListener::TTestListener(bool listening, int receiveBuffer)
{
    FFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (receiveBuffer > 0)
        ::setsockopt(FFd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (FFd < 0 || ::bind(FFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
        || ::getsockname(FFd, reinterpret_cast<sockaddr*>(&addr), &len) != 0
        || (listening && ::listen(FFd, 8) != 0))
        qFatal("cannot set up a test socket: %d", errno);
    FPort = ntohs(addr.sin_port);
}

TTestListener::~TTestListener() { ::close(FFd); }

int TTestListener::Accept(int timeoutMs)
{
    pollfd p{FFd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) != 1)
        return -1;
    const int fd = ::accept4(FFd, nullptr, nullptr, SOCK_CLOEXEC);
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

void TTestPeer::Attach(int fd)
{
    Close();
    FFd = fd;
    FEnd = false;
    std::lock_guard<std::mutex> guard(FLock);
    FReceived.clear();
}

void TTestPeer::SetReceiveBuffer(int bytes)
{
    ::setsockopt(FFd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

bool TTestPeer::Write(const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size() && !Stop) {
        pollfd w{FFd, POLLOUT, 0};
        if (::poll(&w, 1, 20) <= 0)
            continue;
        const ssize_t n = ::send(FFd, data.constData() + done, size_t(data.size() - done),
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return done == data.size();
}

int TTestPeer::Poll(int maxBytes, int waitMs)
{
    pollfd r{FFd, POLLIN, 0};
    if (waitMs > 0)
        ::poll(&r, 1, waitMs);
    char block[4096];
    while (FFd >= 0 && maxBytes > 0 && !FEnd) {
        const ssize_t n = ::recv(FFd, block, size_t(std::min<int>(maxBytes, sizeof block)),
                                 MSG_DONTWAIT);
        if (n > 0) {
            std::lock_guard<std::mutex> guard(FLock);
            FReceived.append(block, n);
            maxBytes -= int(n);
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            FEnd = true;  // orderly end or a reset: either way nothing more comes
        } else {
            break;
        }
    }
    return int(Received().size());
}

bool TTestPeer::ReadAtLeast(qsizetype count, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Poll(1 << 20, 20) < count && !Stop && !FEnd && std::chrono::steady_clock::now() < end) {
    }
    return Received().size() >= count;
}

void TTestPeer::ReadUntilClosed()
{
    while (!Stop && !FEnd)
        Poll(1 << 20, 20);
}

void TTestPeer::Hold()
{
    while (!Stop)
        ScriptServer::Pause(20);
}

void TTestPeer::ArmReset()
{
    const linger hard{1, 0};
    ::setsockopt(FFd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
}

void TTestPeer::Close()
{
    if (FFd >= 0)
        ::close(FFd);
    FFd = -1;
}

QByteArray TTestPeer::Received() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FReceived;
}

ScriptServer::ScriptServer(Script script, int receiveBuffer) : FListener(true, receiveBuffer)
{
    FThread = std::thread([this, script = std::move(script)] {
        int fd = -1;
        while (fd < 0 && !FClient.Stop)
            fd = FListener.Accept(20);
        if (fd >= 0) {
            FClient.Attach(fd);
            script(FClient);
            FClient.Close();
        }
        FFinished = true;
    });
}

ScriptServer::~ScriptServer()
{
    FClient.Stop = true;
    FThread.join();
}

void ScriptServer::Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

ScriptServer::Script ScriptServer::Greeting(const QByteArray& text)
{
    return [text](TTestPeer& client) {
        if (client.Write(text))
            client.ReadUntilClosed();
    };
}

QByteArray Pattern(int size)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char(i % 251);
    return out;
}
