#include "IncomingText.h"

#include "ConsoleWriter.h"
#include "OutputSink.h"
#include "SessionLog.h"
#include "config/MudConfig.h"
#include "display/console/ByteScan.h"
#include "stats/ConnectTime.h"

#include <cmath>
#include <cstring>
#include <string_view>

namespace {

// SGR 30-37 and 40-47; cyan is the dark one, beside the dark green of the table.
const TColor kAnsiColors[8] = {0x000000, 0x0000FF, 0x008000, 0x00FFFF,
                                0xFF0000, 0x800080, 0x808000, 0xFFFFFF};
constexpr TColor kWhite = 0xFFFFFF;

// Bytes that end a run of plain text: separators (bell, tab, line feed, carriage
// return), which end a line, and the NUL and ESC that never become cells.
constexpr std::array<bool, 256> kRunEnd = [] {
    std::array<bool, 256> t{};
    for (int c : {0, 7, 9, 10, 13, 27})
        t[size_t(c)] = true;
    return t;
}();

} // namespace

TIncomingText::TIncomingText(IConsoleWriter& console, TOutputSink& sink, TSessionLog& log,
                             const TMudConfig& config, TConnectTime& clock, TVorkaOMatic& stats,
                             QObject* parent)
    : QObject(parent), FConsole(console), FSink(sink), FLog(log), FConfig(config), FClock(clock),
      FStats(stats)
{
    ResetState();
}

TCellAttr TIncomingText::DefaultAttr() const
{
    return {FConfig.FOutputWindow.FFont.Color, FConfig.FOutputWindow.BGColor, 0};
}

void TIncomingText::ResetState()
{
    FDefaults = DefaultAttr();
    FCurrentAttr = FDefaults;
    FEscActive = false;
    FEscBuffer.resize(0); // keeps its storage; a sequence starts at every ESC
}

void TIncomingText::DefaultsChanged()
{
    const TCellAttr fresh = DefaultAttr();
    if (FCurrentAttr.Color == FDefaults.Color)
        FCurrentAttr.Color = fresh.Color;
    if (FCurrentAttr.BkColor == FDefaults.BkColor)
        FCurrentAttr.BkColor = fresh.BkColor;
    FDefaults = fresh;
}

// --- escape sequences ---

TIncomingText::EscAction TIncomingText::Classify(const QByteArray& buffer, char c)
{
    const qsizetype l = buffer.size();
    // ESC 7 and ESC 8 (save and restore the cursor) are complete with their digit.
    if (l == 0 && c != 0 && std::strchr("78<=>DEHM", c))
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
            ApplySgr(QByteArrayView(FEscBuffer).sliced(1));
        FEscBuffer.resize(0);
        FEscActive = false;
        return;
    }
    FEscBuffer.append(c);
    if (FEscBuffer.size() >= kEscBufferMax) {
        if (OnBeep)
            OnBeep();
        FEscBuffer.resize(0);
        FEscActive = false;
    }
}

void TIncomingText::ApplySgr(QByteArrayView params)
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
        FDefaults = def;
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

// A highlight is looked for at every blank (while the line is shorter than
// kLineTextMax) in the text before it, and at the separator that ends the line. The
// first entry in list order found there recolours its first occurrence. Done once per
// line rather than at every blank: an entry is found at the first check that sees its
// first occurrence whole, and it is applied when no entry before it in the list was
// found at that check or earlier. Later checks apply entries further up the list, so
// applying in reverse list order gives the same cells.
void TIncomingText::HighlightLine(int lineStart, int length, bool separatorEnded)
{
    const std::string_view line(FShown.data() + lineStart, size_t(length));
    // The text the last check saw: all of it, or what lies before the last blank.
    const size_t seen = separatorEnded ? line.size() : line.rfind(' ');
    if (seen == std::string_view::npos || seen == 0)
        return;
    FHighlightHits.clear();
    size_t earliest = std::string_view::npos; // check of the entries found so far
    for (size_t j = 0; j < FHighlightCache.size(); ++j) {
        const QByteArray& text = FHighlightCache[j].Text;
        if (text.isEmpty())
            continue;
        const size_t at = line.substr(0, seen).find(std::string_view(text.constData(), size_t(text.size())));
        if (at == std::string_view::npos)
            continue;
        // The check that finds it: the first blank at or after its end, else the separator.
        size_t check = line.find(' ', at + size_t(text.size()));
        if (check == std::string_view::npos)
            check = line.size();
        if (check < earliest) {
            earliest = check;
            FHighlightHits.push_back(int(j));
            FHighlightHits.push_back(int(at));
        }
    }
    for (size_t k = FHighlightHits.size(); k > 0; k -= 2) {
        const Highlight& h = FHighlightCache[size_t(FHighlightHits[k - 2])];
        const int first = lineStart + 1 + FHighlightHits[k - 1];
        for (int i = first; i < first + h.Text.size(); ++i) {
            if (h.FgValid)
                FCells[i].Attr.Color = h.Fg;
            if (h.BgValid)
                FCells[i].Attr.BkColor = h.Bg;
        }
    }
}

// --- blocks ---

int TIncomingText::ParseBlock(const char* data, qsizetype len)
{
    RefreshHighlights();
    FLastShown = {FConsole.FontColor(), FConsole.FontBkColor(), FConsole.FontStyle()};
    const bool anyHighlight = !FHighlightCache.empty();
    len = qMin<qsizetype>(len, kCellCount - 2);
    int n = 0;
    int lineStart = 0;
    qsizetype k = 0;
    while (k < len) {
        if (FEscActive) {
            const char c = data[k++];
            if (c != 0) // a bare CR arrives as CR NUL; the NUL is no character to show
                EscapeByte(c);
            continue;
        }
        const qsizetype from = k;
        for (;;) {
            k = ByteScan::SkipPrintable(data, k, len);
            if (k == len || kRunEnd[static_cast<unsigned char>(data[k])])
                break;
            ++k; // backspace and the like are shown like any character
        }
        if (k > from) {
            std::memcpy(FShown.data() + n, data + from, size_t(k - from));
            const TCellAttr attr = FCurrentAttr;
            TTextCell* cell = FCells.data() + n;
            for (qsizetype i = from; i < k; ++i)
                *++cell = {data[i], attr};
            n += int(k - from);
            FLastShown = attr;
            if (k == len)
                break;
        }
        const char c = data[k++];
        if (c == 0)
            continue;
        if (c == 27) {
            FEscActive = true;
            FEscBuffer.resize(0);
            continue;
        }
        // A separator ends the line.
        if (anyHighlight)
            HighlightLine(lineStart, qMin(n - lineStart, kLineTextMax), true);
        ++n;
        lineStart = n;
        FShown[size_t(n - 1)] = c;
        FCells[n] = {c, FCurrentAttr};
        FLastShown = FCurrentAttr;
    }
    if (anyHighlight)
        HighlightLine(lineStart, qMin(n - lineStart, kLineTextMax), false);
    FShownCount = n;
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
        FConsole.WriteBuf(FShown.data() + (i - 1), end - i);
        i = end;
    }
}

// A line longer than the console plus a little is cut, as the scroll-back view shows it.
void TIncomingText::AddToHistory(const char* data, qsizetype len)
{
    const qsizetype limit = FConsole.Cols() + 5;
    QByteArray* last = &FSink.LastLine();
    qsizetype k = 0;
    while (k < len) {
        if (last->size() > limit) {
            FSink.AddEmptyLine();
            last = &FSink.LastLine();
        }
        const char c = data[k];
        if (c == '\n') {
            FSink.AddEmptyLine();
            last = &FSink.LastLine();
            ++k;
            continue;
        }
        if (c == '\r') {
            ++k;
            continue;
        }
        // As much as fits before the line is over its limit, up to the next CR or LF.
        const qsizetype end = k + qMin(len - k, limit + 1 - last->size());
        qsizetype stop = k + 1;
        for (;;) {
            stop = ByteScan::SkipPrintable(data, stop, end);
            if (stop == end || data[stop] == '\n' || data[stop] == '\r')
                break;
            ++stop;
        }
        last->append(data + k, stop - k);
        k = stop;
    }
}

void TIncomingText::TelnetDataAvailable(const char* buffer, qsizetype len)
{
    constexpr qsizetype kSlice = kCellCount - 2;
    for (qsizetype done = 0; done < len; done += kSlice) {
        const int terminator = ParseBlock(buffer + done, qMin(kSlice, len - done));
        ShowCells(terminator);
        FLog.Append(FShown.data(), FShownCount);
        AddToHistory(FShown.data(), FShownCount);
    }
    emit FSink.HistoryChanged();
}

// --- sessions ---

void TIncomingText::TelnetSessionConnected(const QByteArray& host)
{
    ResetState();
    FSink.FRemoteEcho = false;
    emit OnlineChanged(true);
    FClock.Reset();
    FClock.Start();
    const DateTime::TDateTime now = DateTime::now();
    FConnectLog = TVorkaOMaticLog{std::floor(now), host, now, now};
    FConnectPending = true;
}

void TIncomingText::TelnetSessionClosed()
{
    FSink.FRemoteEcho = false;
    emit OnlineChanged(false);
    FClock.Stop();
    // A close without a connect before it (a second close) has no connection to record.
    if (!FConnectPending)
        return;
    FConnectPending = false;
    FConnectLog.EndTime = DateTime::now();
    FStats.AddEntry(FConnectLog);
}
