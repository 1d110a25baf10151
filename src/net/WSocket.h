#pragma once
// TWSocket: a non-blocking IPv4 socket whose progress arrives as notifications on the
// user-interface thread (readiness through QSocketNotifier). Nothing blocks except the
// host lookup when Addr is set and a close that would block.
//
// Contracts
// - Notifications receive the socket first; an empty std::function is "unsubscribed"
//   and is not raised. Handlers may call Receive, Send and Close re-entrantly.
// - Failures are reported either through OnError (when subscribed; the text is not
//   passed on) or by throwing ESocketException with an English message. Errors of the
//   operating system use the Windows Sockets numbers (SocketErrors.h) so users see the
//   same codes and texts on every platform.
// - An exception raised while a readiness event is handled never leaves the event
//   handler: its text is shown through Prompts().Error() and the client runs on.
// - Close returns every field to its default, so Port and Addr must be set again
//   before the next Connect. OnSessionClosed is raised at most once per connection.
// - At most MaxBuffered bytes wait to be sent. A Send that would queue more closes the
//   connection as failed: OnSessionClosed(10055), then error 10055 is reported for
//   "Send" like any other error. While older bytes wait, Send only queues; the
//   writable notification sends them in order.
// - One pass of the read loop lasts about 10 ms at most; data still waiting then is
//   taken on the next pass of the event loop, so a flooding peer cannot starve timers,
//   painting or input. A handler of OnDataAvailable that does not call Receive pauses
//   readability notifications until the next Receive.

#include "SendChunk.h"
#include "SocketErrors.h"

#include <QByteArray>
#include <QObject>

#include <deque>
#include <functional>
#include <netinet/in.h>

class QSocketNotifier;

enum TSocketState {
    wsInvalidState,
    wsOpened,
    wsBound,
    wsConnecting,
    wsConnected,
    wsAccepting,
    wsListening,
    wsClosed
};
enum TSocketLingerOnOff { wsLingerOff, wsLingerOn, wsLingerNoSet };
enum TSocketSendFlags { wsSendNormal, wsSendUrgent };

class TWSocket : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 MaxBuffered = 1024 * 1024;

    using TSessionEvent = std::function<void(TWSocket* Sender, quint16 Error)>;
    using TChangeStateEvent =
        std::function<void(TWSocket* Sender, TSocketState OldState, TSocketState NewState)>;

    explicit TWSocket(QObject* owner = nullptr);
    ~TWSocket() override;  // closes without raising any notification

    // Setters report "Cannot change ... if not closed" unless the state is wsClosed.
    // Proto: a leading digit gives the protocol number, otherwise the protocol database
    // is asked; 17 selects datagrams, anything else streams.
    void SetProto(const QByteArray& text);
    // Port: leading digits give the number, otherwise a service name of the protocol.
    void SetPort(const QByteArray& text);
    // Addr: resolved at once (dotted address or blocking lookup of the first IPv4
    // address). An unknown host always throws ESocketException, never via OnError.
    void SetAddr(const QByteArray& text);
    QByteArray Proto() const { return FProtoStr; }
    QByteArray Port() const { return FPortStr; }
    QByteArray Addr() const { return FAddrStr; }
    quint16 PortNo() const { return FPortNo; }  // host order, 0 until assigned

    TSocketState State() const { return FState; }
    int LastError() const { return FLastError; }
    qint64 ReadCount() const { return FReadCount; }
    qint64 BufferedBytes() const { return FBuffered; }  // queued, not yet sent
    TSocketLingerOnOff LingerOnOff() const { return FLingerOnOff; }
    void SetLingerOnOff(TSocketLingerOnOff value) { FLingerOnOff = value; }
    quint16 LingerTimeout() const { return FLingerTimeout; }
    void SetLingerTimeout(quint16 seconds) { FLingerTimeout = seconds; }
    TSocketSendFlags SendFlags() const { return FSendFlags; }
    void SetSendFlags(TSocketSendFlags flags) { FSendFlags = flags; }

    // Starts connecting and returns at once; the outcome arrives as OnSessionConnected.
    void Connect();
    // Shuts down and closes; raises OnSessionClosed(0) unless already raised.
    void Close();
    // Reads at most size bytes: count read (>= 1), 0 when the peer has closed, -1 on
    // failure with LastError set (10035 when nothing is waiting).
    int Receive(void* buffer, int size);
    // Queues len bytes and writes what the network takes now; returns len (0 for
    // len <= 0). Not connected: error 10057 (throws; -1 when OnError is subscribed);
    // more than MaxBuffered waiting: 10055 and the connection closed (see above).
    int Send(const void* data, int len);

    TSessionEvent OnSessionConnected;
    TSessionEvent OnSessionClosed;
    TSessionEvent OnDataAvailable;
    TSessionEvent OnDataSent;
    TChangeStateEvent OnChangeState;
    std::function<void(TWSocket* Sender)> OnError;

private:
    enum TEventKind { ekConnect = 1, ekRead = 2, ekWrite = 4, ekClose = 8 };

    void ResetFields();
    void ChangeState(TSocketState newState);
    void SetLingerOption();
    void StartConnect();
    void HandleEvent(int kinds, quint16 error);
    void ReadLoop(quint16 error);
    void TryToSend();
    void QueueWritableEvent();
    void ReadNotified();
    void WriteNotified();
    template <typename F> void AtEventEdge(F&& handler);
    bool SameConnection(quint32 serial) const { return FHSocket >= 0 && FSerial == serial; }
    void DropNotifiers();
    void EnableWriteNotifier(bool on);
    void RaiseException(const QString& message);
    void SocketError(int code, const char* context);
    void Fail(int code, const char* context);

    int FHSocket = -1;
    bool FPortAssigned = false;
    bool FAddrAssigned = false;
    bool FProtoAssigned = true;
    QByteArray FProtoStr = "tcp";
    QByteArray FAddrStr;
    QByteArray FPortStr;
    quint16 FPortNo = 0;
    int FProto = 6;
    int FType = 1;
    int FAddrFormat = 2;
    TSocketState FState = wsClosed;
    std::deque<TSendChunk> FBufList;
    int FBufSize = TSendChunk::DefaultSize;
    TSocketSendFlags FSendFlags = wsSendNormal;
    int FLastError = 0;
    TSocketLingerOnOff FLingerOnOff = wsLingerOn;
    quint16 FLingerTimeout = 0;
    bool FAllSent = true;
    qint64 FBuffered = 0;
    bool FCloseInvoked = false;
    qint64 FReadCount = 0;
    sockaddr_in FSin{};

    QSocketNotifier* FReadNotifier = nullptr;
    QSocketNotifier* FWriteNotifier = nullptr;
    quint32 FSerial = 0;           // tells apart connections that reuse a handle number
    quint64 FReceiveCalls = 0;     // lets the read loop see whether a handler read
    int FPeekedError = 0;          // taken by the probe for a close; Receive reports it
    bool FWritablePending = false; // a queued writable event is on its way
    bool FDestroying = false;
};
