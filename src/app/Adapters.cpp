#include "Adapters.h"

#include "net/TnCnx.h"

bool TTelnetConnection::IsConnected() const { return FTelnet.IsConnected(); }
void TTelnetConnection::SendText(const QByteArray& text) { FTelnet.SendText(text); }

void TTelnetConnection::Connect(const QByteArray& host, const QByteArray& port)
{
    FTelnet.SetHost(host);
    FTelnet.SetPort(port);
    FTelnet.Connect();
}

void TTelnetConnection::Close() { FTelnet.Close(); }
QByteArray TTelnetConnection::Host() const { return FTelnet.Host(); }
QByteArray TTelnetConnection::Port() const { return FTelnet.Port(); }
