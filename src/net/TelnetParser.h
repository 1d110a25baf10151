#pragma once
// The byte-level telnet state machine (RFC 854 commands, RFC 855 option negotiation
// and sub-negotiation). It only recognises; it hands data bytes, verbs, completed
// sub-negotiations and trace lines to its sink and never acts on them itself.

#include <QByteArray>
#include <QtGlobal>

namespace Telnet {
constexpr quint8 IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, GA = 249,
                 EL = 248, EC = 247, AYT = 246, AO = 245, IP = 244, SE = 240, EOR = 239;
// Options: RFC 856 binary, RFC 857 echo, RFC 858 suppress go-ahead, RFC 779 send
// location, RFC 1091 terminal type, RFC 885 end of record.
constexpr quint8 optBinary = 0, optEcho = 1, optSuppressGoAhead = 3, optSendLocation = 23,
                 optTerminalType = 24, optEndOfRecord = 25;
constexpr quint8 ttIs = 0, ttSend = 1;
} // namespace Telnet

class ITelnetSink {
public:
    virtual ~ITelnetSink() = default;
    virtual void TelnetData(quint8 b) = 0;
    // A run of data bytes, the same as handing them to TelnetData one by one.
    virtual void TelnetDataRun(const char* data, int len) = 0;
    // verb is WILL, WONT, DO or DONT.
    virtual void TelnetNegotiate(quint8 verb, quint8 option) = 0;
    // The bytes after IAC SB up to the closing SE, the IAC before SE included.
    virtual void TelnetSubNegotiation(const QByteArray& collected) = 0;
    virtual void TelnetEndOfRecord() = 0;
    // A diagnostic line ending in CR LF, without its sequence number.
    virtual void TelnetTrace(const QByteArray& line) = 0;
};

class TTelnetParser {
public:
    enum class TState {
        Data,  // outside any command
        Iac,   // IAC seen, the command byte comes next
        Verb,  // WILL/WONT/DO/DONT seen, the option byte comes next
        Sb     // inside IAC SB ... SE; IAC has no meaning here and SE alone ends it
    };

    // Only the option and its first sub-option byte carry meaning; a server that never
    // sends SE must not make the collector grow without end.
    static constexpr int MaxSubNegotiation = 256;

    explicit TTelnetParser(ITelnetSink& sink) : FSink(sink) {}

    // The sink is called after the parser has moved on, so a sink that throws leaves
    // the parser ready for the next byte.
    void Feed(quint8 b);
    // The same as feeding the bytes one by one; plain data goes to the sink in runs.
    // Stops early when the sink calls Reset: the rest belongs to a connection that ended.
    void Feed(const char* data, int len);
    void Reset();
    TState State() const { return FState; }

private:
    void Clear();
    void Command(quint8 b);
    void Plain(quint8 b);

    ITelnetSink& FSink;
    TState FState = TState::Data;
    quint8 FVerb = 0;
    QByteArray FCollector;
    quint32 FResets = 0;  // lets a Feed in progress see a Reset from its sink
};
