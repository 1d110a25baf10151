#include "ConnectTime.h"

TConnectTime::TConnectTime(QObject* parent) : QObject(parent), FTimer(this)
{
    FTimer.setInterval(1000);
    connect(&FTimer, &QTimer::timeout, this, &TConnectTime::TimerTick);
}

void TConnectTime::Reset()
{
    FTimer.stop();
    Hours = Minutes = Seconds = 0;
}

QByteArray TConnectTime::AsString() const
{
    auto two = [](int v) { return (v < 10 ? QByteArray("0") : QByteArray()) + QByteArray::number(v); };
    return two(Hours) + ':' + two(Minutes) + ':' + two(Seconds);
}

void TConnectTime::TimerTick()
{
    if (++Seconds > 59) {
        ++Minutes;
        Seconds = 0;
    }
    if (Minutes > 59) {
        ++Hours;
        Minutes = 0;
    }
    if (OnTick)
        OnTick(&FTimer);
}
