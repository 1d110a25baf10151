#include "TestPeer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

TTestListener::TTestListener(bool listening)
{
    FFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
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
    return ::accept4(FFd, nullptr, nullptr, SOCK_CLOEXEC);
}

TTestPeer::~TTestPeer() { Close(); }

void TTestPeer::Attach(int fd)
{
    Close();
    FFd = fd;
    FEnd = false;
    Received.clear();
}

void TTestPeer::SetReceiveBuffer(int bytes)
{
    ::setsockopt(FFd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

bool TTestPeer::Write(const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::send(FFd, data.constData() + done, size_t(data.size() - done),
                                 MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

int TTestPeer::Poll(int maxBytes)
{
    char block[4096];
    while (FFd >= 0 && maxBytes > 0 && !FEnd) {
        const ssize_t n = ::recv(FFd, block, size_t(std::min<int>(maxBytes, sizeof block)),
                                 MSG_DONTWAIT);
        if (n > 0) {
            Received.append(block, n);
            maxBytes -= int(n);
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            FEnd = true;  // orderly end or a reset: either way nothing more comes
        } else {
            break;
        }
    }
    return int(Received.size());
}

void TTestPeer::Close()
{
    if (FFd >= 0)
        ::close(FFd);
    FFd = -1;
}

QByteArray Pattern(int size)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char(i % 251);
    return out;
}
