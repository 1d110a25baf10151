#pragma once
// A bare telnet peer for tests: a blocking-free POSIX socket on 127.0.0.1 that reads
// with deadlines, so a server that stops answering fails the test instead of hanging it.

#include <QByteArray>

class MudClient {
public:
    MudClient() = default;
    ~MudClient();
    MudClient(const MudClient&) = delete;
    MudClient& operator=(const MudClient&) = delete;

    bool connectTo(quint16 port);
    void close();
    bool send(const QByteArray& bytes);

    // Reads until needle has arrived and returns everything up to and including it;
    // the rest stays buffered. Empty (and the buffer kept) on timeout or close.
    QByteArray readUntil(const QByteArray& needle, int timeoutMs = 15000);
    // Reads whatever arrives within timeoutMs.
    QByteArray readFor(int timeoutMs);
    // True when the server closed the connection within timeoutMs.
    bool closedByPeer(int timeoutMs = 15000);
    // Everything received so far, including what readUntil has handed out.
    const QByteArray& transcript() const { return FTranscript; }

    // Answers the terminal-type question with termType, logs in and waits for the
    // first game prompt. Returns what was received during the login.
    QByteArray login(const QByteArray& name, const QByteArray& termType = "KMCTEST");

    static QByteArray iac(int verb, int option);
    static QByteArray gamePrompt();

private:
    // One poll and recv; false on timeout, close or error.
    bool receiveSome(int timeoutMs);

    int FFd = -1;
    bool FPeerClosed = false;
    QByteArray FBuffer;
    QByteArray FTranscript;
};
