#pragma once
// The session log: every received character shown in the console, framed by a start
// and a stop line. The status light and the two menu items follow LogStateChanged.

#include <QByteArray>
#include <QFile>
#include <QObject>

class TOutputSink;
class IPrompts;

class TSessionLog : public QObject {
    Q_OBJECT
public:
    TSessionLog(TOutputSink& sink, IPrompts& prompts, QObject* parent = nullptr);

    QString FLogFileName; // full path, set by the caller before StartLog
    bool FLogOverwrite = false; // the configuration's choice, kept current by the owner
    bool LogActive() const { return FLogActive; }

    // Opens the log (anew when overwrite or FLogOverwrite), writes the start line.
    // Failure: the error dialog, and the log stays closed.
    void StartLog(bool overwrite);
    // Writes the stop line and an empty line and closes; nothing when no log is open.
    void StopLog();
    // Received characters as shown. A write failure stops the log and tells the
    // player once; the caller goes on showing its text.
    void Append(const char* data, qsizetype len);

signals:
    // The light turns on before the file is opened, so it is lit while an error about
    // the file is shown, and off again with LogStateChanged(false).
    void LogStarting();
    void LogStateChanged(bool active);

private:
    void Close();
    void FailWrite();

    TOutputSink& FSink;
    IPrompts& FPrompts;
    QFile FFile;
    bool FLogActive = false;
};
