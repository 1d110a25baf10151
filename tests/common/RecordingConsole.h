#pragma once
// A console that records what is written: every byte with the pen it was written in.

#include "display/output/ConsoleWriter.h"
#include "net/Connection.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct RecordedCell {
    char Ch;
    TColor Color, BkColor;
    int Style;
};

class RecordingConsole : public IConsoleWriter {
public:
    TColor Color = 0xC0C0C0, BkColor = 0;
    int Style = 0;
    int Columns = 80;
    QList<RecordedCell> Cells;

    TColor FontColor() const override { return Color; }
    void SetFontColor(TColor c) override { Color = c; }
    TColor FontBkColor() const override { return BkColor; }
    void SetFontBkColor(TColor c) override { BkColor = c; }
    int FontStyle() const override { return Style; }
    void SetFontStyle(int s) override { Style = s; }
    int Cols() const override { return Columns; }
    void WriteBuf(const char* data, qsizetype len) override
    {
        for (qsizetype i = 0; i < len; ++i)
            Cells.append({data[i], Color, BkColor, Style});
    }

    QByteArray Text() const { return Annotated(false); }
    // The text with "<colour/background/style>" wherever the pen changes.
    QByteArray Annotated(bool pens = true) const
    {
        QByteArray t;
        const RecordedCell* prev = nullptr;
        for (const RecordedCell& c : Cells) {
            if (pens && (!prev || prev->Color != c.Color || prev->BkColor != c.BkColor ||
                         prev->Style != c.Style))
                t += QStringLiteral("<%1/%2/%3>")
                         .arg(c.Color, 6, 16, QChar('0'))
                         .arg(c.BkColor, 6, 16, QChar('0'))
                         .arg(c.Style)
                         .toUpper()
                         .toLatin1();
            t.append(c.Ch);
            prev = &c;
        }
        return t;
    }
};

class RecordingConnection : public IConnection {
public:
    bool Connected = false;
    QByteArray Sent;
    QList<QByteArray> Blocks; // each SendText call
    QByteArray HostName, PortName;
    int Connects = 0, Closes = 0;
    bool IsConnected() const override { return Connected; }
    void SendText(const QByteArray& text) override
    {
        Sent += text;
        Blocks.append(text);
    }
    void Connect(const QByteArray& host, const QByteArray& port) override
    {
        HostName = host;
        PortName = port;
        ++Connects;
    }
    void Close() override
    {
        ++Closes;
        Connected = false;
    }
    QByteArray Host() const override { return HostName; }
    QByteArray Port() const override { return PortName; }
};
