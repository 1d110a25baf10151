#include "TelnetProtocol.h"

#include "platform/Win1252.h"

#include <QLoggingCategory>

#include <atomic>
#include <cstring>

using namespace Telnet;

namespace {
QByteArray Bytes(std::initializer_list<quint8> values)
{
    QByteArray out;
    for (quint8 v : values)
        out += char(v);
    return out;
}
} // namespace

Q_LOGGING_CATEGORY(lcTelnet, "kmc.telnet", QtInfoMsg)

void WriteTelnetTrace(const QByteArray& line)
{
    static std::atomic<unsigned> sequence{0};
    const unsigned number = (++sequence) & 0xFFFF;
    QByteArray text = QByteArray::number(number, 16).toUpper().rightJustified(4, '0');
    text += ' ';
    text += line;
    if (text.endsWith("\r\n"))
        text.chop(2);
    qCDebug(lcTelnet).noquote() << Win1252::toUnicode(text);
}

TTelnetProtocol::TTelnetProtocol() : FBuffer(new char[BufferSize]) {}

TTelnetProtocol::~TTelnetProtocol() = default;

void TTelnetProtocol::Receive(const char* data, int len)
{
    FParser.Feed(data, len);
    Flush();
}

void TTelnetProtocol::ResetSession()
{
    FParser.Reset();
    FCount = 0;
    FRemoteEcho = false;
}

void TTelnetProtocol::EndSession()
{
    Flush();
    ResetSession();
}

void TTelnetProtocol::TelnetData(quint8 b)
{
    FBuffer[FCount++] = char(b);
    if (FCount >= BufferSize)
        Flush();
}

void TTelnetProtocol::TelnetDataRun(const char* data, int len)
{
    while (len > 0) {
        const int n = qMin(len, BufferSize - FCount);
        std::memcpy(FBuffer.get() + FCount, data, size_t(n));
        FCount += n;
        data += n;
        len -= n;
        if (FCount >= BufferSize)
            Flush();
    }
}

void TTelnetProtocol::Flush()
{
    if (FCount < 1)
        return;
    const int len = FCount;
    FCount = 0;
    if (!DeliverBlock)
        return;
    const QByteArray block(FBuffer.get(), len);  // owns a 0 byte after the data
    DeliverBlock(block.constData(), len);
}

void TTelnetProtocol::TelnetNegotiate(quint8 verb, quint8 option)
{
    switch (option) {
    case optBinary:
        if (verb == WILL) {
            Reply(DO, option);
            FRemoteBinary = FLocalBinary = true;
        } else if (verb == WONT && FRemoteBinary) {
            FRemoteBinary = FLocalBinary = false;
        }
        return;
    case optEcho:
        if (verb == WILL) {
            // Before the reply: a reply that ends the session clears it again.
            LocalEcho = false;
            FRemoteEcho = true;
            Reply(DO, option);
        } else if (verb == WONT) {
            LocalEcho = true;
            FRemoteEcho = false;
        }
        Raise(EchoNegotiated);
        return;
    case optSuppressGoAhead:
        if (verb == WILL) {
            Reply(DO, option);
            FGoAheadSuppressed = true;
        }
        return;
    case optSendLocation:
        if (verb == DO) {
            Reply(WILL, option);
            Raise(SendingLocation);
            SendSub(option, Location);
        }
        return;
    case optTerminalType:
    case optEndOfRecord:
        if (verb == DO) {
            Reply(WILL, option);
            FTerminalType = true;
        }
        return;
    default:
        Reply(verb == WILL ? DONT : WONT, option);
        return;
    }
}

void TTelnetProtocol::TelnetSubNegotiation(const QByteArray& collected)
{
    if (collected.size() < 2 || quint8(collected[0]) != optTerminalType
        || quint8(collected[1]) != ttSend)
        return;
    Raise(SendingTermType);
    SendSub(optTerminalType, Bytes({ttIs}) + TermType);
}

void TTelnetProtocol::TelnetEndOfRecord() { Raise(EndOfRecord); }

void TTelnetProtocol::TelnetTrace(const QByteArray& line) { WriteTelnetTrace(line); }

void TTelnetProtocol::Reply(quint8 verb, quint8 option)
{
    // No allocation: a flooding server asks millions of times, and most answers are
    // dropped unsent.
    const char reply[3] = {char(IAC), char(verb), char(option)};
    if (SendReply)
        SendReply(QByteArray::fromRawData(reply, 3));
}

void TTelnetProtocol::SendSub(quint8 option, const QByteArray& body)
{
    if (SendReply)
        SendReply(Bytes({IAC, SB, option}) + body + Bytes({IAC, SE}));
}

void TTelnetProtocol::Raise(const std::function<void()>& notification)
{
    if (notification)
        notification();
}
