#pragma once
// The receiving half of the telnet layer without a socket: it runs the byte parser,
// answers option negotiation by the client's fixed policy and collects data bytes
// into blocks. TTnCnx wires it to its socket; tests and the fuzzer drive it directly.
//
// Policy (RFC 855 option negotiation; the client never starts a negotiation):
//   WILL BINARY -> DO (RFC 856)      WILL ECHO -> DO, LocalEcho off (RFC 857)
//   WONT ECHO   -> LocalEcho on      WILL SUPPRESS-GO-AHEAD -> DO (RFC 858)
//   DO SEND-LOCATION -> WILL, then IAC SB 23 <Location> IAC SE (RFC 779)
//   DO TERMINAL-TYPE -> WILL; IAC SB 24 SEND IAC SE -> IAC SB 24 IS <TermType> IAC SE
//   (RFC 1091)       DO END-OF-RECORD -> WILL (RFC 885)
//   any other option: WILL -> DONT, WONT/DO/DONT -> WONT.
// Replies are sent as they are, without IAC doubling.

#include "TelnetParser.h"

#include <QByteArray>

#include <functional>
#include <memory>

class TTelnetProtocol : private ITelnetSink {
public:
    // Data bytes collected before a block is handed on; with reads of at most 2048
    // bytes and a flush after each, a full buffer is only a safeguard.
    static constexpr int BufferSize = 2049;

    TTelnetProtocol();
    ~TTelnetProtocol() override;

    // Parses the bytes of one read, in order, then hands on what data they held.
    void Receive(const char* data, int len);
    // Forgets what belongs to one connection: a command cut off, data not yet handed
    // on, the rest of a read being parsed (when called from an output) and the server's
    // echo. The option flags stay.
    void ResetSession();
    // The connection ended: hands on the data parsed so far, then ResetSession, so
    // nothing of it can arrive after the end or in the next connection.
    void EndSession();

    QByteArray Location = "TNCNX";
    QByteArray TermType = "VT100";
    bool LocalEcho = false;  // the server will not echo, so the client has to
    // The server echoes what is typed (WILL ECHO, until WONT ECHO or the session ends),
    // as it does while it asks for a password.
    bool RemoteEcho() const { return FRemoteEcho; }

    bool RemoteBinary() const { return FRemoteBinary; }
    bool LocalBinary() const { return FLocalBinary; }
    bool GoAheadSuppressed() const { return FGoAheadSuppressed; }
    bool TerminalTypeAgreed() const { return FTerminalType; }

    // Outputs. SendReply must be set for replies to go anywhere. DeliverBlock gets
    // data[len] == 0 (not counted) and the block lives until it returns; when it is
    // empty the bytes are discarded. A throwing DeliverBlock loses only its block.
    std::function<void(const QByteArray& bytes)> SendReply;
    std::function<void(const char* data, int len)> DeliverBlock;
    std::function<void()> EndOfRecord;
    std::function<void()> SendingLocation;
    std::function<void()> SendingTermType;
    std::function<void()> EchoNegotiated;

private:
    void TelnetData(quint8 b) override;
    void TelnetDataRun(const char* data, int len) override;
    void TelnetNegotiate(quint8 verb, quint8 option) override;
    void TelnetSubNegotiation(const QByteArray& collected) override;
    void TelnetEndOfRecord() override;
    void TelnetTrace(const QByteArray& line) override;

    void Flush();
    void Reply(quint8 verb, quint8 option);
    void SendSub(quint8 option, const QByteArray& body);
    static void Raise(const std::function<void()>& notification);

    TTelnetParser FParser{*this};
    std::unique_ptr<char[]> FBuffer;  // on the heap so an overrun cannot hide
    int FCount = 0;
    bool FRemoteBinary = false;
    bool FLocalBinary = false;
    bool FGoAheadSuppressed = false;
    bool FTerminalType = false;
    bool FRemoteEcho = false;
};

// Writes a diagnostic line, numbered program-wide with four upper-case hex digits, to
// the logging category "kmc.telnet" (debug level, off by default).
void WriteTelnetTrace(const QByteArray& line);
