#include "Telnet.h"

namespace telnet {

std::string command(unsigned char verb, unsigned char option)
{
    return std::string{char(IAC), char(verb), char(option)};
}

std::string goAhead()
{
    return std::string{char(IAC), char(GA)};
}

std::string ttypeSend()
{
    return std::string{char(IAC), char(SB), char(OPT_TTYPE), char(TTYPE_SEND), char(IAC),
                       char(SE)};
}

std::string escapeData(const std::string& data)
{
    std::string out;
    out.reserve(data.size());
    for (char c : data) {
        out += c;
        if (static_cast<unsigned char>(c) == IAC)
            out += c;
    }
    return out;
}

void Parser::feed(const char* bytes, std::size_t count, Handler& handler)
{
    for (std::size_t i = 0; i < count; ++i)
        step(static_cast<unsigned char>(bytes[i]), handler);
}

void Parser::collect(unsigned char b)
{
    if (FSub.size() < MaxSubnegotiation)
        FSub += char(b);
}

void Parser::step(unsigned char b, Handler& handler)
{
    switch (FState) {
    case State::Data:
        if (b == IAC)
            FState = State::Iac;
        else
            handler.onData(b);
        break;
    case State::Iac:
        FState = State::Data;
        if (b == IAC) {
            handler.onData(b);
        } else if (b >= WILL) {
            FVerb = b;
            FState = State::Verb;
        } else if (b == SB) {
            FSub.clear();
            FState = State::Sb;
        }
        // GA, NOP, AYT and the like carry nothing this server acts on.
        break;
    case State::Verb:
        FState = State::Data;
        handler.onNegotiation(FVerb, b);
        break;
    case State::Sb:
        if (b == IAC)
            FState = State::SbIac;
        else
            collect(b);
        break;
    case State::SbIac:
        if (b == SE) {
            FState = State::Data;
            handler.onSubnegotiation(FSub);
            FSub.clear();
        } else {
            // IAC IAC is an escaped 255; any other byte after IAC is malformed and
            // kept as data of the sub-negotiation rather than derailing the stream.
            collect(b);
            FState = State::Sb;
        }
        break;
    }
}

bool LineReader::add(unsigned char byte)
{
    const bool afterCr = FAfterCr;
    FAfterCr = false;
    if (byte == '\r' || byte == '\n') {
        if (byte == '\n' && afterCr)
            return false;
        FAfterCr = byte == '\r';
        FDone.swap(FLine);
        FLine.clear();
        FDoneTruncated = FOverflow;
        FOverflow = false;
        return true;
    }
    if (byte == 0 && afterCr)
        return false;
    if (FLine.size() < MaxLine)
        FLine += char(byte);
    else
        FOverflow = true;
    return false;
}

} // namespace telnet
