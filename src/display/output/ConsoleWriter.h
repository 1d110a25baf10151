#pragma once
// What the output parts need of the output console: its pen (text colour, background,
// style) and writing. Whoever writes sets the pen first; the console handles control
// codes itself. The main window adapts the real console; tests record.

#include <QByteArray>

#include "platform/Color.h"

class IConsoleWriter {
public:
    virtual ~IConsoleWriter() = default;

    virtual TColor FontColor() const = 0;
    virtual void SetFontColor(TColor color) = 0;
    virtual TColor FontBkColor() const = 0;
    virtual void SetFontBkColor(TColor color) = 0;
    virtual int FontStyle() const = 0; // TFontStyleBit set
    virtual void SetFontStyle(int style) = 0;

    // A run of bytes in the current pen, exactly as if written one by one.
    virtual void WriteBuf(const char* data, qsizetype len) = 0;
    void WriteChar(char c) { WriteBuf(&c, 1); }
    void WriteString(const QByteArray& s) { WriteBuf(s.constData(), s.size()); }

    virtual int Cols() const = 0;
};
