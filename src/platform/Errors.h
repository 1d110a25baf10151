#pragma once
// Errors that may reach the event loop's top level, where they end in a message box
// (a socket failure, a refused font). They are raised only where a result code cannot say it; the
// application's notify() override catches every KmcError so none crosses Qt's loop.

#include <QString>
#include <stdexcept>

class KmcError : public std::runtime_error {
public:
    explicit KmcError(const QString& message)
        : std::runtime_error(message.toStdString()), FMessage(message) {}
    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};

// A stored text that is no number or no date ("'x' ist kein gültiger Integerwert").
class EConvertError : public KmcError {
public:
    using KmcError::KmcError;
};

// A file that could not be written ("Kann nicht nach %s schreiben").
class EWriteError : public KmcError {
public:
    using KmcError::KmcError;
};
