#include "Loopback.h"

#include <QByteArray>
#include <QFile>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace Loopback {

int Listen(quint16& port, const char* who)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 1) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        std::perror(who);
        std::exit(2);
    }
    port = ntohs(a.sin_port);
    return fd;
}

void SendAll(int fd, const QByteArray& bytes, const std::atomic<bool>* stop)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0 && !(stop && *stop)) {
        const ssize_t n = ::send(fd, p, size_t(qMin<qsizetype>(left, 65536)), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        p += n;
        left -= n;
    }
}

long ResidentKb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

} // namespace Loopback
