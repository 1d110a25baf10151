#pragma once
// What the rest of the client needs of the connection to send text: the main window
// hands its telnet component to the output and command parts through this interface,
// so they can be tested with a recording substitute.

#include <QByteArray>

class IConnection {
public:
    virtual ~IConnection() = default;
    virtual bool IsConnected() const = 0;
    // Application data; the connection escapes telnet's IAC bytes itself.
    virtual void SendText(const QByteArray& text) = 0;
};
