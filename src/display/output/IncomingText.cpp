#include "IncomingText.h"

#include "ConsoleWriter.h"
#include "OutputSink.h"
#include "SessionLog.h"
#include "config/MudConfig.h"
#include "stats/ConnectTime.h"

#include <cmath>
#include <cstring>

namespace {

// SGR 30-37 and 40-47; cyan is the dark one, beside the dark green of the table.
const TColor kAnsiColors[8] = {0x000000, 0x0000FF, 0x008000, 0x00FFFF,
                                0xFF0000, 0x800080, 0x808000, 0xFFFFFF};
constexpr TColor kWhite = 0xFFFFFF;

bool IsSeparator(char c) { return c == 7 || c == 9 || c == 10 || c == 13; }

} // namespace

TIncomingText::TIncomingText(IConsoleWriter& console, TOutputSink& sink, TSessionLog& log,
                             const TMudConfig& config, TConnectTime& clock, TVorkaOMatic& stats,
                             QObject* parent)
    : QObject(parent), FConsole(console), FSink(sink), FLog(log), FConfig(config), FClock(clock),
      FStats(stats)
{
    FShown.reserve(kCellCount);
    ResetState();
}

TCellAttr TIncomingText::DefaultAttr() const
{
    return {FConfig.FOutputWindow.FFont.Color, FConfig.FOutputWindow.BGColor, 0};
}

void TIncomingText::ResetState()
{
    FCurrentAttr = DefaultAttr();
    FEscActive = false;
    FEscBuffer.clear();
}

// --- escape sequences ---

TIncomingText::EscAction TIncomingText::Classify(const QByteArray& buffer, char c)
{
    const qsizetype l = buffer.size();
    if (l == 0 && c != 0 && std::strchr("\x07\x08<=>DEHM", c))
        return EscAction::Complete;
    if (l == 1 && std::strchr("()*+", buffer[0]))
        return EscAction::Complete;
    if (c == ' ' || (c >= '0' && c <= '9') || c == ';' || c == '?')
        return EscAction::Collect;
    if (l == 0 && c != 0 && std::strchr("()*+[", c))
        return EscAction::Collect;
    return EscAction::Complete;
}

void TIncomingText::EscapeByte(char c)
{
    if (Classify(FEscBuffer, c) == EscAction::Complete) {
        if (c == 'm' && FEscBuffer.startsWith('['))
            ApplySgr(FEscBuffer.mid(1));
        FEscBuffer.clear();
        FEscActive = false;
        return;
    }
    FEscBuffer.append(c);
    if (FEscBuffer.size() >= kEscBufferMax) {
        if (OnBeep)
            OnBeep();
        FEscBuffer.clear();
        FEscActive = false;
    }
}

void TIncomingText::ApplySgr(const QByteArray& params)
{
    qsizetype i = 0;
    const qsizetype n = params.size();
    bool stop = false;
    while (i < n && !stop) {
        const char c = params[i];
        if (c == ' ' || c == ';' || c == '[' || c == '?') {
            ++i;
            continue;
        }
        while (i < n && params[i] == ' ')
            ++i;
        int v = 0;
        const qsizetype digitsFrom = i;
        while (i < n && params[i] >= '0' && params[i] <= '9') {
            v = qMin(v * 10 + (params[i] - '0'), 100000); // saturate, never overflow
            ++i;
        }
        if (i == digitsFrom && i < n && params[i] != ';')
            ++i; // not a digit: step over it so the loop always ends
        ApplySgrValue(v, stop);
    }
}

void TIncomingText::ApplySgrValue(int v, bool& stop)
{
    const TCellAttr def = DefaultAttr();
    if (v == 1) {
        FCurrentAttr.Color = def.Color == kWhite ? 0x000000 : kWhite;
        FCurrentAttr.Style = fsBold;
    } else if (v == 4) {
        FCurrentAttr.Style = fsUnderline;
    } else if (v == 5 || v == 10 || v == 12 || v == 22) {
        stop = true;
    } else if (v == 7) {
        FCurrentAttr.Color = FLastShown.BkColor;
        FCurrentAttr.BkColor = FLastShown.Color;
    } else if (v == 8) {
        FCurrentAttr.Color = FLastShown.BkColor;
    } else if (v >= 30 && v <= 37) {
        FCurrentAttr.Color = kAnsiColors[v - 30];
    } else if (v >= 40 && v <= 47) {
        FCurrentAttr.BkColor = kAnsiColors[v - 40];
    } else {
        FCurrentAttr = def;
    }
}

// --- highlights ---

void TIncomingText::RefreshHighlights()
{
    if (FHighlightSource == FConfig.FHighlights && FHighlightCache.size() == size_t(FHighlightSource.size()))
        return;
    FHighlightSource = FConfig.FHighlights;
    FHighlightCache.clear();
    for (int i = 0; i < FHighlightSource.size(); ++i) {
        int index = i;
        TMHighlight rec;
        Highlight h{};
        // A hand-edited entry with junk colours never matches rather than failing a block.
        if (FConfig.TryGetHighlight("", index, rec, nullptr) && !rec.Text.isEmpty()) {
            h.Text = rec.Text;
            h.FgValid = rec.Foreground >= 1 && rec.Foreground <= kColorCount;
            h.BgValid = rec.Background >= 1 && rec.Background <= kColorCount;
            h.Fg = IndexToColor(rec.Foreground);
            h.Bg = IndexToColor(rec.Background);
        }
        FHighlightCache.push_back(h);
    }
}

void TIncomingText::CheckHighlights(int lineStart, const QByteArray& lineText)
{
    for (const Highlight& h : FHighlightCache) {
        if (h.Text.isEmpty())
            continue;
        const qsizetype p = lineText.indexOf(h.Text);
        if (p < 0)
            continue;
        const int first = lineStart + 1 + int(p);
        for (int i = first; i < first + h.Text.size(); ++i) {
            if (h.FgValid)
                FCells[i].Attr.Color = h.Fg;
            if (h.BgValid)
                FCells[i].Attr.BkColor = h.Bg;
        }
        return;
    }
}

// --- blocks ---

int TIncomingText::ParseBlock(const char* data, qsizetype len)
{
    RefreshHighlights();
    FShown.clear();
    FLastShown = {FConsole.FontColor(), FConsole.FontBkColor(), FConsole.FontStyle()};
    int n = 0;
    int lineStart = 0;
    QByteArray lineText;
    const bool anyHighlight = !FHighlightCache.empty();
    for (qsizetype k = 0; k < len && n < kCellCount - 2; ++k) {
        const char c = data[k];
        if (c == 0)
            continue; // a bare CR arrives as CR NUL; the NUL is no character to show
        if (FEscActive) {
            EscapeByte(c);
            continue;
        }
        if (c == 27) {
            FEscActive = true;
            FEscBuffer.clear();
            continue;
        }
        ++n;
        if (IsSeparator(c)) {
            if (anyHighlight)
                CheckHighlights(lineStart, lineText);
            lineStart = n;
            lineText.clear();
        } else if (lineText.size() < kLineTextMax) {
            if (c == ' ' && anyHighlight)
                CheckHighlights(lineStart, lineText);
            lineText.append(c);
        }
        FCells[n].Ch = c;
        FCells[n].Attr = FCurrentAttr;
        FLastShown = FCurrentAttr;
        FShown.append(c);
    }
    ++n;
    FCells[n].Ch = 0;
    FCells[n].Attr = FCurrentAttr;
    return n;
}

void TIncomingText::ShowCells(int terminator)
{
    int i = 1;
    while (i < terminator) {
        const TCellAttr attr = FCells[i].Attr;
        int end = i + 1;
        while (end < terminator && FCells[end].Attr == attr)
            ++end;
        if (attr.Color != FConsole.FontColor())
            FConsole.SetFontColor(attr.Color);
        if (attr.BkColor != FConsole.FontBkColor())
            FConsole.SetFontBkColor(attr.BkColor);
        if (attr.Style != FConsole.FontStyle())
            FConsole.SetFontStyle(attr.Style);
        FConsole.WriteBuf(FShown.constData() + (i - 1), end - i);
        i = end;
    }
}

void TIncomingText::AddToHistory(const char* data, qsizetype len)
{
    const int limit = FConsole.Cols() + 5;
    QByteArray* last = &FSink.LastLine();
    for (qsizetype k = 0; k < len; ++k) {
        if (last->size() > limit) {
            FSink.AddEmptyLine();
            last = &FSink.LastLine();
        }
        const char c = data[k];
        if (c == '\n') {
            FSink.AddEmptyLine();
            last = &FSink.LastLine();
        } else if (c != '\r') {
            last->append(c);
        }
    }
}

void TIncomingText::TelnetDataAvailable(const char* buffer, qsizetype len)
{
    constexpr qsizetype kSlice = kCellCount - 2;
    for (qsizetype done = 0; done < len; done += kSlice) {
        const int terminator = ParseBlock(buffer + done, qMin(kSlice, len - done));
        ShowCells(terminator);
        FLog.Append(FShown.constData(), FShown.size());
        AddToHistory(FShown.constData(), FShown.size());
    }
    emit FSink.HistoryChanged();
}

// --- sessions ---

void TIncomingText::TelnetSessionConnected(const QByteArray& host)
{
    ResetState();
    emit OnlineChanged(true);
    FClock.Reset();
    FClock.Start();
    const DateTime::TDateTime now = DateTime::now();
    FConnectLog = TVorkaOMaticLog{std::floor(now), host, now, now};
    FConnectPending = true;
}

void TIncomingText::TelnetSessionClosed()
{
    emit OnlineChanged(false);
    FClock.Stop();
    // A close without a connect before it (a second close) has no connection to record.
    if (!FConnectPending)
        return;
    FConnectPending = false;
    FConnectLog.EndTime = DateTime::now();
    FStats.AddEntry(FConnectLog);
}
