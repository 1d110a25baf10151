#pragma once
// The client's own output: red and green messages, echoed and sent command lines, and
// the output history FOutputLines that the scroll-back view shows and tab completion
// searches.

#include <QByteArray>
#include <QList>
#include <QObject>

#include "platform/Color.h"

class IConsoleWriter;
class IConnection;

class TOutputSink : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxHistory = 400;

    // Neither is owned; connection may be null (nothing is ever sent).
    TOutputSink(IConsoleWriter& console, IConnection* connection, QObject* parent = nullptr);

    // Never empty; the last line is the one being assembled.
    QList<QByteArray> FOutputLines{QByteArray()};
    bool FLocalEcho = true;
    bool FHelpActive = false;
    bool EchoOn() const { return FLocalEcho || FHelpActive; }
    // The server echoes what is typed (it asks for a password): what the player sends
    // is neither echoed nor kept, whatever FLocalEcho says. Ends with the session.
    bool FRemoteEcho = false;

    void ShowError(const QByteArray& text); // red, on a line of its own
    void ShowInfo(const QByteArray& text);  // green, ended by a line break
    void EchoLine(const QByteArray& text);
    // Echoes (unless the server does) and sends the text with CR LF.
    void SendCommandLine(const QByteArray& text);
    void AddOutputLines(const QByteArray& text);
    void TrimOutputLines();

    // For the incoming text: the line being assembled, and a new empty line.
    QByteArray& LastLine() { return FOutputLines.last(); }
    void AddEmptyLine();

    void SetConnection(IConnection* connection) { FConnection = connection; }
    IConsoleWriter& Console() { return FConsole; }

signals:
    // Lines were added or the last one grew; views refresh lazily.
    void HistoryChanged();

private:
    void ShowColored(const QByteArray& text, TColor color, bool leadingBreak);
    void AddLine(const QByteArray& line);

    IConsoleWriter& FConsole;
    IConnection* FConnection;
};
