#include "MudClient.h"

#include <QElapsedTimer>
#include <QTest>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

MudClient::~MudClient()
{
    close();
}

bool MudClient::connectTo(quint16 port)
{
    close();
    FFd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    FPeerClosed = false;
    return FFd >= 0 && ::connect(FFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
}

void MudClient::close()
{
    if (FFd >= 0)
        ::close(FFd);
    FFd = -1;
}

bool MudClient::send(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(FFd, bytes.constData() + done, bytes.size() - done,
                                 MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool MudClient::receiveSome(int timeoutMs)
{
    if (FFd < 0 || FPeerClosed)
        return false;
    pollfd pfd{FFd, POLLIN, 0};
    if (::poll(&pfd, 1, timeoutMs) <= 0)
        return false;
    char buf[64 * 1024];
    const ssize_t n = ::recv(FFd, buf, sizeof buf, 0);
    if (n <= 0) {
        FPeerClosed = true;
        return false;
    }
    FBuffer.append(buf, n);
    FTranscript.append(buf, n);
    return true;
}

QByteArray MudClient::readUntil(const QByteArray& needle, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const qsizetype at = FBuffer.indexOf(needle);
        if (at >= 0) {
            const QByteArray head = FBuffer.left(at + needle.size());
            FBuffer.remove(0, head.size());
            return head;
        }
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || !receiveSome(int(left))) {
            qWarning("MudClient: no \"%s\" within %d ms", needle.toPercentEncoding().constData(),
                     timeoutMs);
            return {};
        }
    }
}

QByteArray MudClient::readFor(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs && receiveSome(int(timeoutMs - clock.elapsed()))) {
    }
    QByteArray all;
    all.swap(FBuffer);
    return all;
}

bool MudClient::closedByPeer(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!FPeerClosed && clock.elapsed() < timeoutMs)
        receiveSome(int(timeoutMs - clock.elapsed()));
    return FPeerClosed;
}

QByteArray MudClient::login(const QByteArray& name, const QByteArray& termType)
{
    QByteArray seen = readUntil(QByteArray("Wie heisst Du? \xFF\xF9"));
    send(iac(251, 24));
    seen += readUntil(QByteArray("\xFF\xFA\x18\x01\xFF\xF0", 6));
    send(QByteArray("\xFF\xFA\x18\x00", 4) + termType + QByteArray("\xFF\xF0", 2));
    send(name + "\r\n");
    seen += readUntil(QByteArray("Passwort: \xFF\xF9"));
    send("geheim\r\n");
    seen += readUntil(gamePrompt());
    return seen;
}

QByteArray MudClient::iac(int verb, int option)
{
    return QByteArray{} + char(255) + char(verb) + char(option);
}

QByteArray MudClient::gamePrompt()
{
    return QByteArray("> \xFF\xF9");
}
