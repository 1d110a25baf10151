#pragma once
// SIGTERM and SIGHUP (the desktop logs out, the system shuts down, the terminal goes)
// as a Qt signal on the user-interface thread, so the client can save what the player
// made before it ends. One object at a time catches them; its destructor restores the
// default actions.

#include <QObject>

class QSocketNotifier;

class TEndSignals : public QObject {
    Q_OBJECT
public:
    explicit TEndSignals(QObject* parent = nullptr);
    ~TEndSignals() override;

signals:
    void Received(int signalNumber);

private:
    int FPipe[2] = {-1, -1};
    QSocketNotifier* FNotifier = nullptr;
};
