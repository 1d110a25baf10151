#pragma once
// The server's side of the telnet stream: a byte parser that separates commands from
// data, and a line reader that turns the data into lines.

#include <cstddef>
#include <cstdint>
#include <string>

namespace telnet {

constexpr unsigned char SE = 240;
constexpr unsigned char GA = 249;
constexpr unsigned char SB = 250;
constexpr unsigned char WILL = 251;
constexpr unsigned char WONT = 252;
constexpr unsigned char DO = 253;
constexpr unsigned char DONT = 254;
constexpr unsigned char IAC = 255;

constexpr unsigned char OPT_ECHO = 1;
constexpr unsigned char OPT_TTYPE = 24;
constexpr unsigned char TTYPE_IS = 0;
constexpr unsigned char TTYPE_SEND = 1;

// Three-byte negotiation and the tiny sequences the game sends.
std::string command(unsigned char verb, unsigned char option);
std::string goAhead();
std::string ttypeSend();

// Doubles every byte 255 so data can never be mistaken for a command.
std::string escapeData(const std::string& data);

class Handler {
public:
    virtual ~Handler() = default;
    virtual void onData(unsigned char byte) = 0;
    virtual void onNegotiation(unsigned char verb, unsigned char option) = 0;
    virtual void onSubnegotiation(const std::string& payload) = 0;
};

class Parser {
public:
    // A sub-negotiation longer than this is cut; nothing the game asks for comes close.
    static constexpr std::size_t MaxSubnegotiation = 256;

    void feed(const char* bytes, std::size_t count, Handler& handler);

private:
    enum class State { Data, Iac, Verb, Sb, SbIac };
    void step(unsigned char b, Handler& handler);
    void collect(unsigned char b);

    State FState = State::Data;
    unsigned char FVerb = 0;
    std::string FSub;
};

// Splits data bytes into lines. CR LF, LF alone, CR alone and CR NUL all end a line, so
// every client's idea of a line end gives exactly one line.
class LineReader {
public:
    static constexpr std::size_t MaxLine = 4096;

    // True when the byte completed a line; it is then in line() until the next call.
    bool add(unsigned char byte);
    const std::string& line() const { return FDone; }
    // The completed line lost bytes beyond MaxLine.
    bool truncated() const { return FDoneTruncated; }

private:
    std::string FLine;
    std::string FDone;
    bool FOverflow = false;
    bool FDoneTruncated = false;
    bool FAfterCr = false;
};

} // namespace telnet
