#pragma once
// What the rest of the client needs of the connection: the main window hands its
// telnet component to the output and command parts through this interface, so they
// can be tested with a recording substitute.

#include <QByteArray>

class IConnection {
public:
    virtual ~IConnection() = default;
    virtual bool IsConnected() const = 0;
    // Application data, sent as one block; the connection escapes telnet's IAC bytes.
    virtual void SendText(const QByteArray& text) = 0;
    // Sets host and port, then starts connecting; progress arrives as notifications.
    virtual void Connect(const QByteArray& host, const QByteArray& port) = 0;
    virtual void Close() = 0;
    virtual QByteArray Host() const = 0;
    virtual QByteArray Port() const = 0;
};
