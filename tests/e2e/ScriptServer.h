#pragma once
// A server on the loopback that plays one script against the first client to connect,
// on a thread of its own, so the client's event loop runs undisturbed in the test.
// The script gets the connected socket; helpers send, read and wait with timeouts so
// that a client that misbehaves fails the test instead of hanging it.

#include <QByteArray>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

class ScriptServer {
public:
    using Script = std::function<void(ScriptServer& server, int fd)>;

    // Listens at once. A receive buffer (bytes) other than 0 is set before listening, so
    // the connection starts with that window instead of shrinking it later.
    explicit ScriptServer(Script script, int receiveBuffer = 0);
    ~ScriptServer();                        // ends waits, closes the client, joins

    quint16 Port() const { return FPort; }
    bool Finished() const { return FFinished; }
    // What the client sent so far, collected by the read helpers.
    QByteArray Received() const;
    // The client closed its side (seen by a read helper).
    bool ClientClosed() const { return FClientClosed; }

    // For scripts. Sends everything (no delay: each call is its own segment).
    bool Send(int fd, const QByteArray& bytes);
    // Reads until at least count bytes have arrived in total, the client closes or
    // timeoutMs pass; false unless the count was reached.
    bool ReadAtLeast(int fd, qsizetype count, int timeoutMs);
    // Reads until the client closes or the server is destroyed.
    void ReadUntilClosed(int fd);
    // Keeps the connection open, reading nothing, until the server is destroyed.
    void Hold();
    // The close after the script then resets the connection (RST) instead of ending it
    // in order.
    static void ArmReset(int fd);
    static void Pause(int ms);

    // A well-behaved MUD: greets once, then keeps the line open.
    static Script Greeting(const QByteArray& text);

private:
    void Serve(const Script& script);
    bool ReadSome(int fd, int waitMs);

    int FListen = -1;
    quint16 FPort = 0;
    std::atomic<bool> FStop{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FClientClosed{false};
    std::atomic<int> FClient{-1};
    mutable std::mutex FLock;
    QByteArray FReceived;
    std::thread FThread;
};
