#pragma once
// The far end of the connection for socket tests: plain POSIX sockets on 127.0.0.1,
// driven from the test's own thread between event-loop turns.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// A socket on an ephemeral port; one that does not listen refuses every connection.
class TTestListener {
public:
    explicit TTestListener(bool listening = true);
    ~TTestListener();
    quint16 Port() const { return FPort; }
    // Waits up to timeoutMs for a connection; the accepted descriptor or -1.
    int Accept(int timeoutMs = 10000);

private:
    int FFd = -1;
    quint16 FPort = 0;
};

// One accepted connection. Reads never block; they collect into Received.
class TTestPeer {
public:
    explicit TTestPeer(int fd = -1) : FFd(fd) {}
    ~TTestPeer();
    TTestPeer(const TTestPeer&) = delete;
    TTestPeer& operator=(const TTestPeer&) = delete;

    bool IsOpen() const { return FFd >= 0; }
    int Fd() const { return FFd; }
    void Attach(int fd);
    void SetReceiveBuffer(int bytes);
    // Writes everything (blocking), true on success.
    bool Write(const QByteArray& data);
    // Takes at most maxBytes of what has arrived; returns Received.size() afterwards.
    int Poll(int maxBytes = 1 << 20);
    // True once the client has closed and everything it sent has been read.
    bool SawEnd() const { return FEnd; }
    void Close();

    QByteArray Received;

private:
    int FFd = -1;
    bool FEnd = false;
};

// Bytes 0..250 repeated, so a lost or reordered byte shows.
QByteArray Pattern(int size);

// The message of the E that action throws.
template <class E, class F>
QString ThrownBy(F action)
{
    try {
        action();
    } catch (const E& e) {
        return e.Message();
    }
    return QStringLiteral("(nothing thrown)");
}
