#include "InputProcessor.h"

#include "CommandInterpreter.h"
#include "CommandTable.h"
#include "PathRecorder.h"
#include "config/MudConfig.h"
#include "display/output/ConsoleWriter.h"
#include "display/output/OutputSink.h"
#include "net/Connection.h"
#include "platform/Prompts.h"
#include "platform/Win1252.h"

#include <Qt>

namespace
{

const QByteArray kCrLf = "\r\n";
constexpr int kHistoryListType = 3;

QByteArray Placeholder(int n)
{
    return '%' + QByteArray::number(n);
}

// Every piece is cut to its field size and the buffer never grows past its own, so
// long arguments shorten the line instead of running over it.
void AppendPiece(QByteArray& buffer, const QByteArray& piece)
{
    buffer += CutTo(piece, TInputProcessor::kMaxPiece);
    buffer.truncate(qMin<qsizetype>(buffer.size(), TInputProcessor::kAliasBufferSize - 2));
}

} // namespace

TInputProcessor::TInputProcessor(TCommandEnv env, TCommandInterpreter& interpreter,
                                 TPathRecorder& recorder)
    : FEnv(env), FInterpreter(interpreter), FRecorder(recorder)
{
}

bool TInputProcessor::MudInputKeyPress(char ch)
{
    if (FSkipKeyPress) {
        FSkipKeyPress = false;
        return true;
    }
    if (ch != '\r') return false;
    const QByteArray text = FEnv.Host.InputText();
    if (FEnv.Sink.FRemoteEcho) {
        SendSecret(text);
        return true;
    }
    if (!text.isEmpty()) AddToHistory(text);
    for (const QByteArray& piece : SplitString('|', Win1252::trim(text)))
        ProcessInputLine(piece);
    if (FEnv.Config.FClearInput)
        FEnv.Host.SetInputText(QByteArray());
    else
        FEnv.Host.SelectAllInput();
    return true;
}

// While the server echoes it asks for a password: the line must not stay anywhere a
// bystander or the arrow keys could bring it back (the input line is emptied first, so
// a failing send leaves nothing), and it goes out as typed, one line, "|" and all. Only
// a client command the player types there is carried out.
void TInputProcessor::SendSecret(const QByteArray& text)
{
    FEnv.Host.SetInputText(QByteArray());
    int index = 0;
    if (FindCommand(SplitString(' ', Win1252::trim(text)).first(), index))
        ProcessInputLine(Win1252::trim(text));
    else
        FEnv.Sink.SendCommandLine(text);
}

bool TInputProcessor::MudInputKeyDown(int key)
{
    if (key == Qt::Key_Up)
        --FHistoryPos;
    else if (key == Qt::Key_Down)
        ++FHistoryPos;
    else
        return false;
    if (FHistoryPos > FHistory.size() - 1) {
        FHistoryPos = int(FHistory.size());
        FEnv.Host.SetInputText(QByteArray());
    } else {
        FHistoryPos = qMax(FHistoryPos, 0);
        if (!FHistory.isEmpty()) FEnv.Host.SetInputText(FHistory[FHistoryPos]);
    }
    return true;
}

void TInputProcessor::AddToHistory(const QByteArray& line)
{
    if (FHistory.isEmpty() || FHistory.last() != line) FHistory.append(line);
    while (FHistory.size() > kMaxHistory)
        FHistory.removeFirst();
    if (FEnv.Host.ListType() == kHistoryListType) FEnv.Host.RefreshList();
    FHistoryPos = int(FHistory.size());
}

void TInputProcessor::ProcessInputLine(const QByteArray& line)
{
    for (const QByteArray& piece : SplitString('|', line))
        ProcessPiece(piece);
}

void TInputProcessor::ProcessPiece(const QByteArray& piece)
{
    if (piece.isEmpty()) {
        FEnv.Sink.SendCommandLine(QByteArray());
        return;
    }
    const TStringList words = SplitString(' ', piece);
    const QByteArray& first = words.first();
    if (first.startsWith('#')) {
        int index = 0;
        if (FindCommand(first, index))
            FInterpreter.ExecuteCommand(index, words);
        else
            FEnv.Sink.ShowError("Unbekannter Befehl \"" + first + "\"!");
        return;
    }
    if (FRecorder.AutoRecording()) {
        FRecorder.AutoRecord(piece);
        SendPlain(piece);
        return;
    }
    int kind = 0, index = 0;
    if (FEnv.Config.FindCommandName(first, kind, index)) {
        switch (kind) {
        case lkAlias:
            ExpandAlias(words, index);
            break;
        case lkPath:
            WalkPath(words, index);
            break;
        default:
            OpenSession(words, index);
            break;
        }
        return;
    }
    SendPlain(piece);
}

void TInputProcessor::SendPlain(const QByteArray& piece)
{
    FEnv.Sink.SendCommandLine(piece);
    FEnv.Sink.AddEmptyLine();
}

int TInputProcessor::CountPlaceholders(const QByteArray& value)
{
    int count = 0;
    for (int n = 1; n <= 9; ++n)
        count += value.contains(Placeholder(n)) ? 1 : 0;
    return count;
}

bool TInputProcessor::BuildAliasText(const QByteArray& value, const TStringList& words,
                                     QByteArray& buffer)
{
    buffer.clear();
    const int arguments = int(words.size()) - 1;
    if (arguments < CountPlaceholders(value)) return false;
    QByteArray rest = value;
    int last = 0;
    for (int n = 1; n <= 9 && n <= arguments; ++n) {
        const QByteArray holder = Placeholder(n);
        for (qsizetype at = rest.indexOf(holder); at >= 0; at = rest.indexOf(holder)) {
            AppendPiece(buffer, rest.left(at));
            AppendPiece(buffer, words[n]);
            rest = rest.mid(at + holder.size());
            last = n;
        }
    }
    if (last == 0) {
        QByteArray plain = value + ' ';
        for (int i = 1; i <= arguments; ++i)
            plain += words[i] + ' ';
        AppendPiece(buffer, Win1252::trim(plain));
    } else if (!rest.isEmpty()) {
        AppendPiece(buffer, rest);
        QByteArray extra;
        for (int i = last + 1; i <= arguments; ++i)
            extra += ' ' + words[i];
        AppendPiece(buffer, extra);
    }
    return true;
}

void TInputProcessor::ExpandAlias(const TStringList& words, int index)
{
    TMAlias alias;
    FEnv.Config.GetAlias(QByteArray(), index, alias);
    if (index < 0) return;
    QByteArray buffer;
    if (!BuildAliasText(alias.Value, words, buffer)) {
        FEnv.Sink.ShowError("Der Alias \"" + alias.Name + "\" benoetigt " +
                            QByteArray::number(CountPlaceholders(alias.Value)) + " Parameter!");
        return;
    }
    if (FEnv.Connected()) {
        buffer += kCrLf;
        FEnv.Connection->SendText(buffer);
    }
    EchoAliasBuffer(buffer);
}

void TInputProcessor::EchoAliasBuffer(const QByteArray& buffer)
{
    if (!FEnv.Sink.FLocalEcho || FEnv.Sink.FRemoteEcho) return;
    IConsoleWriter& console = FEnv.Sink.Console();
    const int cols = console.Cols();
    const auto flush = [&](QByteArray& line) {
        console.WriteString(line + kCrLf);
        FEnv.Sink.AddOutputLines(line);
        line.clear();
    };
    console.WriteString(kCrLf);
    QByteArray line;
    for (const char c : buffer) {
        if (line.size() > cols) flush(line);
        line += c;
    }
    if (!line.isEmpty()) flush(line);
}

void TInputProcessor::WalkPath(const TStringList& /*words*/, int index)
{
    TMPath path;
    FEnv.Config.GetPath(QByteArray(), index, path);
    if (index < 0) return;
    FEnv.Sink.EchoLine(QByteArray());
    FEnv.Sink.EchoLine(path.Value);
    QByteArray rest = path.Value;
    for (qsizetype at = rest.indexOf(';'); at >= 0; at = rest.indexOf(';')) {
        const QByteArray step = rest.left(at);
        rest = rest.mid(at + 1);
        if (FEnv.Connected()) FEnv.Connection->SendText(step + kCrLf);
    }
}

void TInputProcessor::OpenSession(const TStringList& /*words*/, int index)
{
    TMSession session;
    FEnv.Config.GetSession(QByteArray(), index, session);
    if (index < 0 || !FEnv.Connection) return;
    if (FEnv.Connection->IsConnected()) {
        const auto answer = FEnv.Prompts.Confirm(
            QStringLiteral("Es besteht eine Online-Verbindung. Verbindung beenden?"), false);
        if (answer != IPrompts::Answer::Yes) return;
        FEnv.Connection->Close();
    }
    FEnv.Connection->Connect(session.Host, session.Port);
}
