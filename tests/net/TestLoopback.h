#pragma once
// The far end of a connection on 127.0.0.1 in plain POSIX sockets: driven from the test's
// own thread between event-loop turns (socket tests), or playing a script on a thread of
// its own so that the client's event loop runs undisturbed (end-to-end tests).

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// A socket on an ephemeral port; one that does not listen refuses every connection. A
// receive buffer (bytes) is set before listening, so connections start with that window.
class TTestListener {
public:
    explicit TTestListener(bool listening = true, int receiveBuffer = 0);
    ~TTestListener();
    quint16 Port() const { return FPort; }
    int Accept(int timeoutMs = 10000);  // the accepted descriptor or -1

private:
    int FFd = -1;
    quint16 FPort = 0;
};

// One accepted connection. Reads collect into Received(); every wait ends once Stop is set,
// so a client that misbehaves fails the test instead of hanging it.
class TTestPeer {
public:
    TTestPeer() = default;
    ~TTestPeer() { Close(); }
    TTestPeer(const TTestPeer&) = delete;
    TTestPeer& operator=(const TTestPeer&) = delete;

    void Attach(int fd);
    void SetReceiveBuffer(int bytes);
    bool Write(const QByteArray& data);  // everything, each call its own segment
    // Takes at most maxBytes of what has arrived, waiting up to waitMs for the first byte;
    // the size of Received() afterwards.
    int Poll(int maxBytes = 1 << 20, int waitMs = 0);
    bool ReadAtLeast(qsizetype count, int timeoutMs);  // false unless count arrived in total
    void ReadUntilClosed();
    void Hold();      // keeps the connection open, reading nothing
    void ArmReset();  // the close then resets the connection (RST)
    void Close();
    QByteArray Received() const;
    bool SawEnd() const { return FEnd; }  // the client closed and all it sent was read
    std::atomic<bool> Stop{false};

private:
    int FFd = -1;
    std::atomic<bool> FEnd{false};
    mutable std::mutex FLock;
    QByteArray FReceived;
};

// Plays one script against the first client to connect, on a thread of its own.
class ScriptServer {
public:
    using Script = std::function<void(TTestPeer& client)>;
    explicit ScriptServer(Script script, int receiveBuffer = 0);
    ~ScriptServer();  // ends waits, closes the client, joins
    quint16 Port() const { return FListener.Port(); }
    bool Finished() const { return FFinished; }
    QByteArray Received() const { return FClient.Received(); }
    bool ClientClosed() const { return FClient.SawEnd(); }
    static void Pause(int ms);
    // A well-behaved MUD: greets once, then keeps the line open.
    static Script Greeting(const QByteArray& text);

private:
    TTestListener FListener;
    TTestPeer FClient;
    std::atomic<bool> FFinished{false};
    std::thread FThread;
};

// Bytes 0..250 repeated, so a lost or reordered byte shows.
QByteArray Pattern(int size);

