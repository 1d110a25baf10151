#include "OutputSink.h"

#include "ConsoleWriter.h"
#include "net/Connection.h"

namespace {
constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x008000;
const QByteArray kCrLf = "\r\n";
} // namespace

TOutputSink::TOutputSink(IConsoleWriter& console, IConnection* connection, QObject* parent)
    : QObject(parent), FConsole(console), FConnection(connection)
{
}

void TOutputSink::ShowColored(const QByteArray& text, TColor color, bool leadingBreak)
{
    const TColor saved = FConsole.FontColor();
    if (leadingBreak)
        FConsole.WriteString(kCrLf);
    FConsole.SetFontColor(color);
    FConsole.WriteString(text);
    FConsole.WriteString(kCrLf);
    FConsole.SetFontColor(saved);
}

void TOutputSink::ShowError(const QByteArray& text) { ShowColored(text, kRed, true); }

void TOutputSink::ShowInfo(const QByteArray& text) { ShowColored(text, kGreen, false); }

void TOutputSink::EchoLine(const QByteArray& text)
{
    if (!EchoOn())
        return;
    AddOutputLines(text);
    FConsole.WriteString(text + kCrLf);
}

void TOutputSink::SendCommandLine(const QByteArray& text)
{
    if (EchoOn() && !FRemoteEcho) {
        FConsole.WriteString(kCrLf);
        EchoLine(text);
    }
    if (FConnection && FConnection->IsConnected())
        FConnection->SendText(text + kCrLf);
}

void TOutputSink::TrimOutputLines()
{
    if (FOutputLines.size() > kMaxHistory)
        FOutputLines.removeFirst();
}

void TOutputSink::AddLine(const QByteArray& line)
{
    // Trimmed before every line, not once per text: a long wrapped text would
    // otherwise let the history grow past its bound for good.
    TrimOutputLines();
    FOutputLines.append(line);
}

void TOutputSink::AddOutputLines(const QByteArray& text)
{
    QByteArray rest = text;
    while (rest.size() >= 81) {
        qsizetype cut = -1;
        for (qsizetype i = 69; i < rest.size(); ++i) {
            if (rest[i] == ' ' || rest[i] == '\r') {
                cut = i + 1;
                break;
            }
        }
        if (cut < 0)
            break;
        AddLine(rest.left(cut));
        rest.remove(0, cut);
    }
    AddLine(rest);
    emit HistoryChanged();
}

void TOutputSink::AddEmptyLine()
{
    // The line trimmed off lends its storage to the new one: received text adds a line
    // at every line feed.
    QByteArray line;
    if (FOutputLines.size() > kMaxHistory) {
        line = std::move(FOutputLines.first());
        FOutputLines.removeFirst();
        line.resize(0);
    }
    FOutputLines.append(std::move(line));
}
