#include "WSocket.h"

#include "platform/Prompts.h"
#include "platform/Win1252.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QSocketNotifier>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

using namespace SocketErrors;

namespace {

// Long enough to drain a normal burst in one pass, short enough that a flood leaves
// the event loop room for timers, painting and keys between passes.
constexpr qint64 ReadSliceMs = 10;

bool StartsWithDigit(const QByteArray& s) { return !s.isEmpty() && s[0] >= '0' && s[0] <= '9'; }

// The number formed by the leading digits, saturated so absurd texts cannot overflow.
qint64 LeadingNumber(const QByteArray& s)
{
    qint64 n = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            break;
        n = std::min<qint64>(n * 10 + (c - '0'), 0x7FFFFFFF);
    }
    return n;
}

QString Quoted(const char* prefix, const QByteArray& text)
{
    return QString::fromLatin1(prefix) + Win1252::toUnicode(text) + QLatin1Char('\'');
}

// Dotted address or the first IPv4 address of a host name; false when unknown.
bool ResolveHost(const QByteArray& text, in_addr& addr)
{
    const QByteArray host = Win1252::trim(text);
    if (host.isEmpty() || host.contains('\0'))
        return false;
    if (inet_pton(AF_INET, host.constData(), &addr) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.constData(), nullptr, &hints, &found) != 0 || !found)
        return false;
    addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

// Outcomes that a loopback connect may return at once; callers expect every outcome
// of an attempt as OnSessionConnected, so these are delivered the same way.
bool FinishesLater(int err)
{
    return err == ECONNREFUSED || err == ETIMEDOUT || err == ENETUNREACH || err == EHOSTUNREACH
           || err == ECONNRESET;
}

} // namespace

TWSocket::TWSocket(QObject* owner) : QObject(owner) { FSin.sin_family = AF_INET; }

TWSocket::~TWSocket()
{
    FDestroying = true;
    // Subscribers are often torn down together with the socket; none is called now.
    OnSessionConnected = nullptr;
    OnSessionClosed = nullptr;
    OnDataAvailable = nullptr;
    OnDataSent = nullptr;
    OnChangeState = nullptr;
    OnError = nullptr;
    try {
        if (FState != wsClosed || FHSocket >= 0)
            Close();
    } catch (const std::exception&) {
        // Nothing can be reported from a destructor; the handle is released below.
    }
    if (FHSocket >= 0)
        ::close(FHSocket);
}

void TWSocket::ResetFields()
{
    FPortAssigned = false;
    FAddrAssigned = false;
    FProtoAssigned = true;
    FProtoStr = "tcp";
    FAddrStr.clear();
    FPortStr.clear();
    FPortNo = 0;
    FProto = IPPROTO_TCP;
    FType = SOCK_STREAM;
    FAddrFormat = AF_INET;
    FBufList.clear();
    FBufSize = TSendChunk::DefaultSize;
    FSendFlags = wsSendNormal;
    FLastError = 0;
    FLingerOnOff = wsLingerOn;
    FLingerTimeout = 0;
    FAllSent = true;
    FBuffered = 0;
    FCloseInvoked = false;
    FReadCount = 0;
    FPeekedError = 0;
    FSin = sockaddr_in{};
    FSin.sin_family = AF_INET;
}

void TWSocket::ChangeState(TSocketState newState)
{
    const TSocketState oldState = FState;
    FState = newState;
    if (oldState != newState && OnChangeState)
        OnChangeState(this, oldState, newState);
}

void TWSocket::SetProto(const QByteArray& text)
{
    if (FState != wsClosed) {
        RaiseException(QStringLiteral("Cannot change Proto if not closed"));
        return;
    }
    if (FProtoAssigned && text == FProtoStr)
        return;
    FProtoStr = text;
    FProtoAssigned = false;
    if (StartsWithDigit(text)) {
        FProto = int(LeadingNumber(text));
    } else {
        const protoent* p = text.contains('\0') ? nullptr : getprotobyname(text.constData());
        if (!p) {
            RaiseException(Quoted("SetProto: Cannot convert protocol '", text));
            return;
        }
        FProto = p->p_proto;
    }
    FType = FProto == IPPROTO_UDP ? SOCK_DGRAM : SOCK_STREAM;
    FProtoAssigned = true;
}

void TWSocket::SetPort(const QByteArray& text)
{
    if (FState != wsClosed) {
        RaiseException(QStringLiteral("Cannot change Port if not closed"));
        return;
    }
    if (FPortAssigned && text == FPortStr)
        return;
    FPortStr = text;
    FPortAssigned = false;
    const QString failure = Quoted("SetPort: Cannot convert port '", text);
    if (StartsWithDigit(text)) {
        const qint64 number = LeadingNumber(text);
        if (number > 0xFFFF) {
            RaiseException(failure);
            return;
        }
        FPortNo = quint16(number);
    } else {
        const QByteArray name = Win1252::trim(text);
        const protoent* proto = getprotobynumber(FProto);
        const servent* service = name.contains('\0') ? nullptr
            : getservbyname(name.constData(), proto ? proto->p_name : nullptr);
        if (!service) {
            RaiseException(failure);
            return;
        }
        FPortNo = ntohs(quint16(service->s_port));
    }
    FPortAssigned = true;
}

void TWSocket::SetAddr(const QByteArray& text)
{
    if (FState != wsClosed) {
        RaiseException(QStringLiteral("Cannot change Addr if not closed"));
        return;
    }
    if (FAddrAssigned && text == FAddrStr)
        return;
    FAddrStr = text;
    FAddrAssigned = false;
    in_addr addr{};
    if (!ResolveHost(text, addr))
        throw ESocketException(Quoted("SetAddr: Cannot convert host address '", text));
    FSin.sin_addr = addr;
    FAddrAssigned = true;
}

void TWSocket::Connect()
{
    if (FHSocket >= 0 && FState != wsClosed) {
        RaiseException(QStringLiteral("Connect: Socket already in use"));
        return;
    }
    const char* missing = !FPortAssigned ? "Connect: No Port Specified"
                          : !FAddrAssigned ? "Connect: No IP Address Specified"
                          : !FProtoAssigned ? "Connect: No Protocol Specified"
                                            : nullptr;
    if (missing) {
        RaiseException(QString::fromLatin1(missing));
        return;
    }
    FSin.sin_family = sa_family_t(FAddrFormat);
    FSin.sin_port = htons(FPortNo);
    FHSocket = ::socket(FAddrFormat, FType | SOCK_CLOEXEC, FProto);
    if (FHSocket < 0) {
        SocketError(FromErrno(errno), "Connect (socket)");
        return;
    }
    ++FSerial;
    ChangeState(wsOpened);
    if (FType == SOCK_STREAM) {
        SetLingerOption();
        const int on = 1;
        if (::setsockopt(FHSocket, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) < 0) {
            SocketError(FromErrno(errno), "setsockopt(SO_KEEPALIVE)");
            return;
        }
        if (::setsockopt(FHSocket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) < 0) {
            SocketError(FromErrno(errno), "setsockopt(SO_REUSEADDR)");
            return;
        }
    }
    const int flags = ::fcntl(FHSocket, F_GETFL);
    if (flags < 0 || ::fcntl(FHSocket, F_SETFL, flags | O_NONBLOCK) < 0) {
        SocketError(FromErrno(errno), "WSAAsyncSelect");
        return;
    }
    FReadNotifier = new QSocketNotifier(FHSocket, QSocketNotifier::Read, this);
    FReadNotifier->setEnabled(false);
    connect(FReadNotifier, &QSocketNotifier::activated, this, &TWSocket::ReadNotified);
    FWriteNotifier = new QSocketNotifier(FHSocket, QSocketNotifier::Write, this);
    FWriteNotifier->setEnabled(false);
    connect(FWriteNotifier, &QSocketNotifier::activated, this, &TWSocket::WriteNotified);
    StartConnect();
}

void TWSocket::StartConnect()
{
    const int rc = ::connect(FHSocket, reinterpret_cast<const sockaddr*>(&FSin), sizeof FSin);
    const int err = rc == 0 ? 0 : errno;
    const int code = FromErrno(err);
    if (rc != 0 && code != WouldBlock && !FinishesLater(err)) {
        FLastError = code;
        SocketError(code, "Connect");
        return;
    }
    ChangeState(wsConnecting);
    if (rc != 0 && code != WouldBlock) {
        const quint32 serial = FSerial;
        QMetaObject::invokeMethod(
            this,
            [this, serial, code] {
                if (SameConnection(serial) && FState == wsConnecting)
                    AtEventEdge([this, code] { HandleEvent(ekConnect, quint16(code)); });
            },
            Qt::QueuedConnection);
        return;
    }
    // Completion shows as the first writability; SO_ERROR then tells the outcome.
    EnableWriteNotifier(true);
}

void TWSocket::SetLingerOption()
{
    if (FLingerOnOff == wsLingerNoSet)
        return;
    if (FHSocket < 0) {
        RaiseException(QStringLiteral("Cannot set linger option at this time"));
        return;
    }
    linger value{};
    value.l_onoff = FLingerOnOff == wsLingerOn ? 1 : 0;
    value.l_linger = FLingerTimeout;
    if (::setsockopt(FHSocket, SOL_SOCKET, SO_LINGER, &value, sizeof value) < 0)
        SocketError(FromErrno(errno), "setsockopt(SO_LINGER)");
}

template <typename F> void TWSocket::AtEventEdge(F&& handler)
{
    // Nothing thrown while an event is handled may cross Qt's event loop.
    try {
        handler();
    } catch (const KmcError& e) {
        Prompts().Error(e.Message());
    } catch (const std::exception& e) {
        Prompts().Error(QString::fromLocal8Bit(e.what()));
    }
}

void TWSocket::ReadNotified()
{
    AtEventEdge([this] {
        if (FHSocket < 0)
            return;
        int avail = 0;
        if (::ioctl(FHSocket, FIONREAD, &avail) == 0 && avail > 0) {
            HandleEvent(ekRead, 0);
            return;
        }
        // Readable with nothing to read: the peer has closed or the connection failed.
        char probe;
        const ssize_t n = ::recv(FHSocket, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
        if (n > 0)
            HandleEvent(ekRead, 0);
        else if (n == 0)
            HandleEvent(ekClose, 0);
        else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            // The probe has taken the error from the socket; the read reports it.
            FPeekedError = FromErrno(errno);
            HandleEvent(ekClose, quint16(FPeekedError));
        }
    });
}

void TWSocket::WriteNotified()
{
    AtEventEdge([this] {
        if (FHSocket < 0)
            return;
        if (FState != wsConnecting) {
            HandleEvent(ekWrite, 0);
            return;
        }
        int err = 0;
        socklen_t len = sizeof err;
        if (::getsockopt(FHSocket, SOL_SOCKET, SO_ERROR, &err, &len) < 0)
            err = errno;
        EnableWriteNotifier(false);
        HandleEvent(ekConnect, quint16(err ? FromErrno(err) : 0));
    });
}

void TWSocket::HandleEvent(int kinds, quint16 error)
{
    const QPointer<TWSocket> self(this);
    const quint32 serial = FSerial;
    const auto alive = [&] { return !self.isNull() && SameConnection(serial); };

    if (kinds & ekConnect) {
        ChangeState(wsConnected);
        if (!alive())
            return;
        if (error == 0 && FReadNotifier)
            FReadNotifier->setEnabled(true);
        if (OnSessionConnected)
            OnSessionConnected(this, error);
        if (error != 0 && alive() && FState != wsClosed)
            Close();
    }
    if ((kinds & ekRead) && alive())
        ReadLoop(error);
    if ((kinds & ekWrite) && alive()) {
        TryToSend();
        if (alive()) {
            EnableWriteNotifier(!FAllSent);
            if (FAllSent && OnDataSent)
                OnDataSent(this, error);
        }
    }
    if ((kinds & ekClose) && alive() && FState != wsConnecting) {
        ReadLoop(error);
        // A handler that closed the socket has already raised OnSessionClosed.
        if (!alive())
            return;
        if (OnSessionClosed && !FCloseInvoked) {
            FCloseInvoked = true;
            OnSessionClosed(this, error);
        }
        if (alive() && FState != wsClosed)
            Close();
    }
}

void TWSocket::ReadLoop(quint16 error)
{
    const QPointer<TWSocket> self(this);
    const quint32 serial = FSerial;
    QElapsedTimer slice;
    slice.start();
    for (;;) {
        FLastError = 0;
        const quint64 callsBefore = FReceiveCalls;
        if (OnDataAvailable) {
            try {
                OnDataAvailable(this, error);
            } catch (...) {
                // A failing data handler must not take the connection down with it.
                break;
            }
            if (self.isNull() || !SameConnection(serial))
                return;
        }
        if (FLastError != 0)
            break;
        int avail = 0;
        if (::ioctl(FHSocket, FIONREAD, &avail) < 0) {
            FLastError = FromErrno(errno);
            break;
        }
        if (avail <= 0)
            return;
        // Level-triggered readiness would fire forever for bytes nobody takes.
        if (FReceiveCalls == callsBefore) {
            if (FReadNotifier)
                FReadNotifier->setEnabled(false);
            return;
        }
        if (slice.elapsed() >= ReadSliceMs)
            return;
    }
}

int TWSocket::Receive(void* buffer, int size)
{
    ++FReceiveCalls;
    if (FHSocket < 0) {
        FLastError = NotSocket;
        return -1;
    }
    if (FPeekedError != 0) {
        FLastError = std::exchange(FPeekedError, 0);
        return -1;
    }
    const ssize_t n = ::recv(FHSocket, buffer, size_t(std::max(size, 0)), 0);
    if (n < 0) {
        FLastError = FromErrno(errno);
        return -1;
    }
    FReadCount += n;
    if (FReadNotifier && FState == wsConnected)
        FReadNotifier->setEnabled(true);
    return int(n);
}

int TWSocket::Send(const void* data, int len)
{
    if (FState != wsConnected) {
        SocketError(NotConnected, "Send");
        return -1;
    }
    if (len > 0 && FBuffered + len > MaxBuffered) {
        Fail(NoBufferSpace, "Send");
        return -1;
    }
    // Older bytes waiting means the network takes nothing now; the writable
    // notification sends them and these after them.
    const bool waiting = FBuffered > 0;
    FAllSent = false;
    if (len > 0) {
        FBuffered += len;
        const char* p = static_cast<const char*>(data);
        int left = len;
        if (FBufList.empty())
            FBufList.emplace_back(FBufSize);
        while (left > 0) {
            const int taken = FBufList.back().Write(p, left);
            p += taken;
            left -= taken;
            if (left > 0)
                FBufList.emplace_back(FBufSize);
        }
    }
    if (!waiting)
        TryToSend();
    if (FAllSent)
        QueueWritableEvent();
    else
        EnableWriteNotifier(true);
    return std::max(len, 0);
}

void TWSocket::QueueWritableEvent()
{
    // One is enough however many sends come before it: a flood of small replies would
    // otherwise post an event each.
    if (FWritablePending)
        return;
    FWritablePending = true;
    const quint32 serial = FSerial;
    QMetaObject::invokeMethod(
        this,
        [this, serial] {
            FWritablePending = false;
            if (SameConnection(serial))
                AtEventEdge([this] { HandleEvent(ekWrite, 0); });
        },
        Qt::QueuedConnection);
}

void TWSocket::TryToSend()
{
    if (FHSocket < 0)
        return;
    const int flags = MSG_NOSIGNAL | (FSendFlags == wsSendUrgent ? MSG_OOB : 0);
    for (;;) {
        if (FBufList.empty()) {
            FAllSent = true;  // nothing queued is everything sent; keeps writability quiet
            return;
        }
        int len = 0;
        const char* p = FBufList.front().Peek(len);
        if (len <= 0) {
            if (FBufList.size() > 1) {
                FBufList.pop_front();
                continue;
            }
            FAllSent = true;
            return;
        }
        const ssize_t n = ::send(FHSocket, p, size_t(len), flags);
        if (n > 0) {
            FBuffered -= FBufList.front().Remove(int(n));
            if (n < len)
                return;
            continue;
        }
        if (n == 0)
            return;
        if (errno == EINTR)
            continue;
        const int code = FromErrno(errno);
        if (code == ConnReset || code == NotSocket || code == NotConnected || code == InvalidArgument) {
            Close();
            return;
        }
        if (code != WouldBlock)
            SocketError(code, "TryToSend failed");
        return;
    }
}

void TWSocket::Close()
{
    if (FHSocket < 0) {
        if (FState != wsClosed) {
            ChangeState(wsClosed);
            ResetFields();
        }
        return;
    }
    if (FState == wsClosed)
        return;
    DropNotifiers();
    ::shutdown(FHSocket, SHUT_RDWR);
    // Linux releases the descriptor even when close() is interrupted, so EINTR is done.
    while (::close(FHSocket) != 0 && errno != EINTR) {
        const int code = FromErrno(errno);
        if (code != WouldBlock) {
            FHSocket = -1;
            FLastError = code;
            SocketError(code, "Disconnect (closesocket)");
            return;
        }
        FLastError = code;
        QCoreApplication::processEvents();
    }
    FHSocket = -1;
    ChangeState(wsClosed);
    const QPointer<TWSocket> self(this);
    const quint32 serial = FSerial;
    if (!FDestroying && OnSessionClosed && !FCloseInvoked) {
        FCloseInvoked = true;
        OnSessionClosed(this, 0);
        // The handler may have gone away with its socket or started the next connection.
        if (self.isNull() || FSerial != serial)
            return;
    }
    ResetFields();
}

void TWSocket::Fail(int code, const char* context)
{
    const QPointer<TWSocket> self(this);
    const quint32 serial = FSerial;
    if (OnSessionClosed && !FCloseInvoked) {
        FCloseInvoked = true;
        OnSessionClosed(this, quint16(code));
        if (self.isNull())
            return;
    }
    // The handler may have closed already, or even started the next connection.
    if (FSerial == serial) {
        if (FState != wsClosed)
            Close();
        FLastError = code;
    }
    SocketError(code, context);
}

void TWSocket::DropNotifiers()
{
    for (QSocketNotifier** n : {&FReadNotifier, &FWriteNotifier}) {
        if (*n) {
            (*n)->setEnabled(false);
            (*n)->deleteLater();  // may be the very notifier whose signal is running
            *n = nullptr;
        }
    }
}

void TWSocket::EnableWriteNotifier(bool on)
{
    if (FWriteNotifier)
        FWriteNotifier->setEnabled(on);
}

void TWSocket::RaiseException(const QString& message)
{
    if (OnError) {
        OnError(this);
        return;
    }
    throw ESocketException(message);
}

void TWSocket::SocketError(int code, const char* context)
{
    const QString message = QStringLiteral("Error %1 in function %2\r\n%3")
                                .arg(code)
                                .arg(QLatin1String(context), QLatin1String(Description(code)));
    if (code == ConnReset || code == NotConnected) {
        if (FHSocket >= 0) {
            DropNotifiers();
            ::close(FHSocket);
            FHSocket = -1;
        }
        ChangeState(wsClosed);
    }
    RaiseException(message);
}
