#pragma once
// The main window's parts seen through the small interfaces the rest of the client uses.

#include "display/console/ConsoleWriterAdapter.h"
#include "net/Connection.h"

class TTnCnx;

class TTelnetConnection final : public IConnection {
public:
    explicit TTelnetConnection(TTnCnx& telnet) : FTelnet(telnet) {}
    bool IsConnected() const override;
    void SendText(const QByteArray& text) override;
    void Connect(const QByteArray& host, const QByteArray& port) override;
    void Close() override;
    QByteArray Host() const override;
    QByteArray Port() const override;

private:
    TTnCnx& FTelnet;
};
