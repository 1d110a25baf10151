#include "TnCnx.h"

TTnCnx::TTnCnx(QObject* owner) : QObject(owner), FSocket(new TWSocket(this))
{
    FSocket->OnSessionConnected = [this](TWSocket*, quint16 error) {
        if (OnSessionConnected)
            OnSessionConnected(this, error);
    };
    FSocket->OnDataAvailable = [this](TWSocket* sender, quint16) { SocketDataAvailable(sender); };
    FSocket->OnSessionClosed = [this](TWSocket* sender, quint16 error) {
        SocketSessionClosed(sender, error);
    };
    FProtocol.SendReply = [this](const QByteArray& bytes) { SendReply(bytes); };
    FProtocol.DeliverBlock = [this](const char* data, int len) {
        if (OnDataAvailable)
            OnDataAvailable(this, data, len);
    };
    FProtocol.EndOfRecord = [this] { Raise(OnEndOfRecord); };
    FProtocol.SendingLocation = [this] { Raise(OnSendLoc); };
    FProtocol.SendingTermType = [this] { Raise(OnTermType); };
    FProtocol.EchoNegotiated = [this] { Raise(OnLocalEcho); };
}

TTnCnx::~TTnCnx() { delete FSocket.data(); }

void TTnCnx::Connect()
{
    if (!FSocket)
        return;
    if (FSocket->State() != wsClosed)
        FSocket->Close();
    if (!FSocket)
        return;
    FProtocol.ResetSession();
    FSocket->SetProto("tcp");
    FSocket->SetPort(FPort);
    FSocket->SetAddr(FHost);
    FSocket->Connect();
}

void TTnCnx::Close()
{
    if (FSocket)
        FSocket->Close();
}

bool TTnCnx::IsConnected() const { return FSocket && FSocket->State() == wsConnected; }

int TTnCnx::Send(const void* data, int len)
{
    if (!FSocket)
        return -1;
    if (len <= 0)
        return FSocket->Send(data, 0);
    const char* bytes = static_cast<const char*>(data);
    QByteArray escaped;
    escaped.reserve(len);
    for (int i = 0; i < len; ++i) {
        escaped += bytes[i];
        if (quint8(bytes[i]) == Telnet::IAC)
            escaped += bytes[i];
    }
    const int queued = FSocket->Send(escaped.constData(), int(escaped.size()));
    return queued < 0 ? queued : len;
}

int TTnCnx::SendText(const QByteArray& str) { return Send(str.constData(), int(str.size())); }

void TTnCnx::SocketDataAvailable(TWSocket* sender)
{
    char block[2048];
    const int len = sender->Receive(block, int(sizeof block));
    if (len == 0) {
        Display("\r\n**** Remote has closed ****\r\n");
        return;
    }
    if (len < 0) {
        if (sender->LastError() != SocketErrors::WouldBlock)
            Display("\r\n**** ERROR: " + QByteArray::number(sender->LastError()) + " ****\r\n");
        return;
    }
    FProtocol.Receive(block, len);
}

void TTnCnx::SocketSessionClosed(TWSocket* sender, quint16 error)
{
    if (sender->State() != wsClosed)
        sender->Close();
    FProtocol.EndSession();
    if (OnSessionClosed)
        OnSessionClosed(this, error);
}

void TTnCnx::SendReply(const QByteArray& bytes)
{
    if (FSocket && FSocket->State() == wsConnected && FSocket->BufferedBytes() <= ReplyQueueLimit)
        FSocket->Send(bytes.constData(), int(bytes.size()));
}

void TTnCnx::Raise(const TNotifyEvent& notification)
{
    if (notification)
        notification(this);
}

void TTnCnx::Display(const QByteArray& text)
{
    if (OnDisplay)
        OnDisplay(this, text);
}
