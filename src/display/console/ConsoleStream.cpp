#include "ConsoleStream.h"

#include "Console.h"

TConsoleStreamBuf::TConsoleStreamBuf(TConsole& console, bool input) : FConsole(console)
{
    if (input)
        setg(FBuf, FBuf, FBuf);
    else
        setp(FBuf, FBuf + sizeof FBuf);
}

TConsoleStreamBuf::~TConsoleStreamBuf()
{
    FlushOut();
}

void TConsoleStreamBuf::FlushOut()
{
    if (pbase() && pptr() > pbase())
        FConsole.WriteBuf(pbase(), pptr() - pbase());
    if (pbase())
        setp(FBuf, FBuf + sizeof FBuf);
}

TConsoleStreamBuf::int_type TConsoleStreamBuf::overflow(int_type ch)
{
    FlushOut();
    if (traits_type::eq_int_type(ch, traits_type::eof()))
        return traits_type::not_eof(ch);
    *pptr() = traits_type::to_char_type(ch);
    pbump(1);
    return ch;
}

int TConsoleStreamBuf::sync()
{
    FlushOut();
    return 0;
}

// A line ends in CR LF, 0 or Ctrl+Z; C++ text input wants a bare LF, and Ctrl+Z ends
// the stream.
TConsoleStreamBuf::int_type TConsoleStreamBuf::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    int n = FConsole.ReadBuf(FBuf, int(sizeof FBuf));
    if (n >= 2 && FBuf[n - 2] == '\r' && FBuf[n - 1] == '\n')
        FBuf[--n - 1] = '\n';
    else if (n >= 1 && FBuf[n - 1] == 26)
        --n;
    else if (n >= 1 && FBuf[n - 1] == 0)
        FBuf[n - 1] = '\n';
    if (n <= 0)
        return traits_type::eof();
    setg(FBuf, FBuf, FBuf + n);
    return traits_type::to_int_type(*gptr());
}
