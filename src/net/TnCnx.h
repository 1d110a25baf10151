#pragma once
// TTnCnx: the telnet connection of the main window (RFC 854). It owns a TWSocket,
// strips the telnet protocol from what arrives, answers option negotiation by a fixed
// policy (see TelnetProtocol.h) and hands the remaining data bytes on in blocks.
//
// Contracts
// - Notifications receive this component first; an empty std::function is not raised.
// - OnDataAvailable gets at most 2049 data bytes per call (normally one block per read
//   of at most 2048 bytes), followed by a 0 byte that Len does not count; the block is
//   valid only during the call. CR and LF are passed on untouched.
// - Connect and Send let socket errors (ESocketException) through to the caller: an
//   unknown host, sending while not connected. A refused or failed attempt is not
//   thrown; it arrives as OnSessionConnected with the error code, then OnSessionClosed.
// - Send doubles every byte 255 of the application's data (RFC 854), so the server
//   reads it as data; negotiation replies of the component are sent as they are.
// - The parser's state and the data not yet handed on belong to one connection: they
//   start afresh on Connect, and nothing of a connection is handed on after its
//   OnSessionClosed (a read that the session ends in the middle of is not parsed on).
//   The negotiated option flags carry over from one connection to the next.
// - While more than ReplyQueueLimit bytes wait to be sent, negotiation replies are
//   dropped: a server that does not read needs no answers, and they would pile up.

#include "TelnetProtocol.h"
#include "WSocket.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>

#include <functional>

class TTnCnx : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 ReplyQueueLimit = 64 * 1024;

    using TSessionEvent = std::function<void(TTnCnx* Sender, quint16 Error)>;
    using TDataAvailableEvent = std::function<void(TTnCnx* Sender, const char* Buffer, int Len)>;
    using TDisplayEvent = std::function<void(TTnCnx* Sender, const QByteArray& Str)>;
    using TNotifyEvent = std::function<void(TTnCnx* Sender)>;

    explicit TTnCnx(QObject* owner = nullptr);
    ~TTnCnx() override;  // frees the socket without raising OnSessionClosed

    QByteArray Host() const { return FHost; }
    void SetHost(const QByteArray& host) { FHost = host; }
    QByteArray Port() const { return FPort; }  // service name or number, "23" at start
    void SetPort(const QByteArray& port) { FPort = port; }
    QByteArray Location() const { return FProtocol.Location; }
    void SetLocation(const QByteArray& text) { FProtocol.Location = text; }
    QByteArray TermType() const { return FProtocol.TermType; }
    void SetTermType(const QByteArray& text) { FProtocol.TermType = text; }
    bool LocalEcho() const { return FProtocol.LocalEcho; }
    void SetLocalEcho(bool on) { FProtocol.LocalEcho = on; }
    // The server echoes what is typed, as while it asks for a password (see
    // TTelnetProtocol); OnLocalEcho follows every change, the session's end aside.
    bool RemoteEcho() const { return FProtocol.RemoteEcho(); }
    bool RemoteBinary() const { return FProtocol.RemoteBinary(); }
    bool LocalBinary() const { return FProtocol.LocalBinary(); }
    bool GoAheadSuppressed() const { return FProtocol.GoAheadSuppressed(); }
    bool TerminalTypeAgreed() const { return FProtocol.TerminalTypeAgreed(); }

    // The owned socket, or null once it has been deleted from outside.
    TWSocket* Socket() const { return FSocket; }

    // Closes an open connection first (raising its OnSessionClosed), then resolves
    // Host at once and starts connecting to Host:Port. Nothing happens without socket.
    void Connect();
    void Close();
    bool IsConnected() const;
    // Returns len (0 for len <= 0) once the bytes are queued, -1 without a socket or
    // when an error was reported through the socket's OnError.
    int Send(const void* data, int len);
    int SendText(const QByteArray& str);

    TSessionEvent OnSessionConnected;
    TSessionEvent OnSessionClosed;
    TDataAvailableEvent OnDataAvailable;
    TDisplayEvent OnDisplay;
    TNotifyEvent OnEndOfRecord;
    TNotifyEvent OnSendLoc;
    TNotifyEvent OnTermType;
    TNotifyEvent OnLocalEcho;

private:
    void SocketDataAvailable(TWSocket* sender);
    void SocketSessionClosed(TWSocket* sender, quint16 error);
    void SendReply(const QByteArray& bytes);
    void Raise(const TNotifyEvent& notification);
    void Display(const QByteArray& text);

    QPointer<TWSocket> FSocket;
    QByteArray FPort = "23";
    QByteArray FHost;
    TTelnetProtocol FProtocol;
};
