#pragma once
// The running clock of the current connection, shown in the main window's time label.

#include <QObject>
#include <QTimer>

#include <functional>

class TConnectTime : public QObject {
    Q_OBJECT
public:
    explicit TConnectTime(QObject* parent = nullptr);

    int Hours = 0;   // unbounded
    int Minutes = 0; // 0..59
    int Seconds = 0; // 0..59
    // Called after every counted second with the timer as sender.
    std::function<void(QObject* sender)> OnTick;

    void Start() { FTimer.start(); }
    void Stop() { FTimer.stop(); }
    void Reset();
    bool Running() const { return FTimer.isActive(); }
    // "07:05:09"; hours of 100 and more in full ("123:00:01").
    QByteArray AsString() const;

    // One counted second; the timer calls it, tests may too.
    void TimerTick();

private:
    QTimer FTimer;
};
