#include "TelnetParser.h"

#include <cstring>

using namespace Telnet;

void TTelnetParser::Reset()
{
    Clear();
    ++FResets;
}

void TTelnetParser::Clear()
{
    FState = TState::Data;
    FVerb = 0;
    FCollector.clear();
}

void TTelnetParser::Feed(quint8 b)
{
    switch (FState) {
    case TState::Verb: {
        const quint8 verb = FVerb;
        Clear();
        FSink.TelnetNegotiate(verb, b);
        return;
    }
    case TState::Sb:
        if (b == SE) {
            QByteArray collected;
            collected.swap(FCollector);
            FState = TState::Data;
            FSink.TelnetSubNegotiation(collected);
        } else if (FCollector.size() < MaxSubNegotiation) {
            FCollector.append(char(b));
        }
        return;
    case TState::Iac:
        FState = TState::Data;
        Command(b);
        return;
    case TState::Data:
        Plain(b);
        return;
    }
}

void TTelnetParser::Feed(const char* data, int len)
{
    const auto* p = reinterpret_cast<const quint8*>(data);
    const auto* const end = p + len;
    const quint32 resets = FResets;
    while (p < end && FResets == resets) {
        if (FState == TState::Data) {
            // Below IP no byte means anything outside a command; ASCII text, eight bytes
            // at a time, is the common case.
            const quint8* const run = p;
            while (end - p >= 8) {
                quint64 w;
                std::memcpy(&w, p, sizeof w);
                if (w & 0x8080808080808080ull)
                    break;
                p += 8;
            }
            while (p < end && *p < IP)
                ++p;
            if (p > run)
                FSink.TelnetDataRun(reinterpret_cast<const char*>(run), int(p - run));
            if (p == end || FResets != resets)
                return;
        }
        Feed(*p++);
    }
}

void TTelnetParser::Command(quint8 b)
{
    if (b == EOR) {
        FSink.TelnetTrace("TNCH_EOR\r\n");
        FSink.TelnetEndOfRecord();
    } else if (b == SB) {
        FState = TState::Sb;
    } else if (b >= WILL && b <= DONT) {
        FVerb = b;
        FState = TState::Verb;
    } else if (b == IAC) {
        FSink.TelnetData(b);
    } else {
        static const char hex[] = "0123456789ABCDEF";
        QByteArray line("Unknown ");
        line += hex[b >> 4];
        line += hex[b & 15];
        line += " '";
        line += char(b);
        line += "'\r\n";
        FSink.TelnetTrace(line);
    }
}

void TTelnetParser::Plain(quint8 b)
{
    static const char* const names[] = {"TNCH_IP\r\n", "TNCH_AO\r\n", "TNCH_AYT\r\n",
                                        "TNCH_EC\r\n", "TNCH_EL\r\n"};
    if (b == IAC) {
        FState = TState::Iac;
        return;
    }
    if (b >= IP && b <= EL)
        FSink.TelnetTrace(names[b - IP]);
    FSink.TelnetData(b);
}
