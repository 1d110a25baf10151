#pragma once
// The application object. Errors raised while an event is handled never cross Qt's
// event loop: notify() catches them and shows their text in a message box. Qt's own
// texts (file, colour, font and print dialogs, context menus) speak German.

#include <QApplication>

class TKmcApplication : public QApplication {
    Q_OBJECT
public:
    TKmcApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The name the per-user data folder is made from (~/.local/share/kmc/); also used by
    // kmc --help, which runs without this object.
    static void NameApplication(QCoreApplication& app);

    // Loads Qt's German translations into app; false when they are not installed (the
    // standard dialogs then stay English, nothing else changes).
    static bool InstallGermanQtTexts(QCoreApplication& app);
};
