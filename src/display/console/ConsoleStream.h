#pragma once
// A stream buffer that binds std::cin or std::cout to a console: output goes through
// WriteBuf in chunks of up to 128 bytes, input is read a line at a time with ReadBuf.

#include <streambuf>

class TConsole;

class TConsoleStreamBuf : public std::streambuf {
public:
    TConsoleStreamBuf(TConsole& console, bool input);
    ~TConsoleStreamBuf() override;

protected:
    int_type overflow(int_type ch) override;
    int sync() override;
    int_type underflow() override;

private:
    void FlushOut();

    TConsole& FConsole;
    char FBuf[128];
};
