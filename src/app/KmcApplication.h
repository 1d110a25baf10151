#pragma once
// The application object. Errors raised while an event is handled never cross Qt's
// event loop: notify() catches them and shows their text in a message box.

#include <QApplication>

class TKmcApplication : public QApplication {
    Q_OBJECT
public:
    TKmcApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
