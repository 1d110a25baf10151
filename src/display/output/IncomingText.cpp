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

using ByteSet = std::array<bool, 256>;

constexpr ByteSet Set(std::string_view bytes)
{
    ByteSet t{};
    for (char c : bytes)
        t[static_cast<unsigned char>(c)] = true;
    return t;
}

// Bytes that end a run of plain text: separators (bell, tab, line feed, carriage
// return), which end a line, and the NUL and ESC that never become cells.
constexpr ByteSet kRunEnd = Set(std::string_view("\0\a\t\n\r\x1b", 6));
// The escape classification: complete alone after ESC; designating a character set
// (complete with the byte after it); parameter bytes; collected right after ESC.
constexpr ByteSet kAlone = Set("78<=>DEHM");
constexpr ByteSet kCharset = Set("()*+");
constexpr ByteSet kParameter = Set(" 0123456789;?");
constexpr ByteSet kIntroducer = Set("()*+[");

inline bool In(const ByteSet& set, char c) { return set[static_cast<unsigned char>(c)]; }

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
    FEscLength = 0;
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

inline TIncomingText::EscAction TIncomingText::Classify(char c) const
{
    const int l = FEscLength;
    // ESC 7 and ESC 8 (save and restore the cursor) are complete with their digit.
    if (l == 0 && In(kAlone, c))
        return EscAction::Complete;
    if (l == 1 && In(kCharset, FEscBuffer[0]))
        return EscAction::Complete;
    if (In(kParameter, c))
        return EscAction::Collect;
    if (l == 0 && In(kIntroducer, c))
        return EscAction::Collect;
    return EscAction::Complete;
}

// Takes the bytes of an escape sequence from data[k] until it completes, is dropped for
// length or the slice ends; returns where the text goes on.
qsizetype TIncomingText::EscapeBytes(const char* data, qsizetype k, qsizetype len)
{
    while (k < len) {
        const char c = data[k++];
        if (c == 0) // a bare CR arrives as CR NUL; the NUL is no character to show
            continue;
        if (Classify(c) == EscAction::Complete) {
            if (c == 'm' && FEscLength > 0 && FEscBuffer[0] == '[')
                ApplySgr(QByteArrayView(FEscBuffer.data() + 1, FEscLength - 1));
            FEscLength = 0;
            FEscActive = false;
            return k;
        }
        FEscBuffer[size_t(FEscLength++)] = c;
        // Parameter bytes after the first collected byte are collected too (unless a
        // character set is being designated), so they are taken in one loop.
        if (FEscLength > 1 || !In(kCharset, c)) {
            const qsizetype stop = qMin(len, k + (kEscBufferMax - FEscLength));
            while (k < stop && In(kParameter, data[k]))
                FEscBuffer[size_t(FEscLength++)] = data[k++];
        }
        if (FEscLength >= kEscBufferMax) {
            if (OnBeep)
                OnBeep();
            FEscLength = 0;
            FEscActive = false;
            return k;
        }
    }
    return k;
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
        Recolour(lineStart + FHighlightHits[k - 1], int(h.Text.size()), h);
    }
}

// The shown characters first .. first + length - 1 of the line being ended take the
// highlight's colours; their style is kept.
void TIncomingText::Recolour(int first, int length, const Highlight& h)
{
    const size_t from = SplitRunAt(first);
    const size_t to = SplitRunAt(first + length);
    for (size_t k = from; k < to; ++k) {
        if (h.FgValid)
            FRuns[k].Attr.Color = h.Fg;
        if (h.BgValid)
            FRuns[k].Attr.BkColor = h.Bg;
    }
}

// Lets a run start at pos, cutting the run that holds it, and returns that run's index
// (the number of runs when pos is past the last). The line being ended is the last
// text of the slice, so the search goes from the end.
size_t TIncomingText::SplitRunAt(int pos)
{
    size_t k = FRuns.size();
    while (k > 0 && FRuns[k - 1].Start > pos)
        --k;
    if (k == 0)
        return 0;
    TTextRun& run = FRuns[k - 1];
    if (run.Start == pos)
        return k - 1;
    if (pos >= run.Start + run.Length)
        return k;
    const TTextRun right{pos, run.Start + run.Length - pos, run.Attr};
    run.Length = pos - run.Start;
    FRuns.insert(FRuns.begin() + qsizetype(k), right);
    return k;
}

// --- blocks ---

int TIncomingText::ParseBlock(const char* data, qsizetype len)
{
    RefreshHighlights();
    FLastShown = {FConsole.FontColor(), FConsole.FontBkColor(), FConsole.FontStyle()};
    const bool anyHighlight = !FHighlightCache.empty();
    len = qMin<qsizetype>(len, kSliceBytes);
    FRuns.clear();
    int n = 0;
    int lineStart = 0;
    qsizetype k = 0;
    while (k < len) {
        if (FEscActive) {
            k = EscapeBytes(data, k, len);
            continue;
        }
        const qsizetype from = k;
        for (;;) {
            k = ByteScan::SkipPrintable(data, k, len);
            if (k == len || In(kRunEnd, data[k]))
                break;
            ++k; // backspace and the like are shown like any character
        }
        if (k > from) {
            std::memcpy(FShown.data() + n, data + from, size_t(k - from));
            AddRun(n, int(k - from));
            n += int(k - from);
            if (k == len)
                break;
        }
        const char c = data[k++];
        if (c == 0)
            continue;
        if (c == 27) {
            FEscActive = true;
            FEscLength = 0;
            continue;
        }
        // A separator ends the line.
        if (anyHighlight)
            HighlightLine(lineStart, qMin(n - lineStart, kLineTextMax), true);
        FShown[size_t(n)] = c;
        AddRun(n, 1);
        lineStart = ++n;
    }
    if (anyHighlight)
        HighlightLine(lineStart, qMin(n - lineStart, kLineTextMax), false);
    return n;
}

void TIncomingText::AddRun(int start, int length)
{
    FLastShown = FCurrentAttr;
    if (!FRuns.empty() && FRuns.back().Attr == FCurrentAttr)
        FRuns.back().Length += length;
    else
        FRuns.push_back({start, length, FCurrentAttr});
}

// One write per stretch of equal attributes; the pen is set only where it changes.
void TIncomingText::ShowRuns()
{
    TCellAttr pen{FConsole.FontColor(), FConsole.FontBkColor(), FConsole.FontStyle()};
    for (size_t i = 0; i < FRuns.size();) {
        const TTextRun& run = FRuns[i];
        int length = run.Length;
        for (++i; i < FRuns.size() && FRuns[i].Attr == run.Attr; ++i)
            length += FRuns[i].Length;
        if (run.Attr.Color != pen.Color)
            FConsole.SetFontColor(run.Attr.Color);
        if (run.Attr.BkColor != pen.BkColor)
            FConsole.SetFontBkColor(run.Attr.BkColor);
        if (run.Attr.Style != pen.Style)
            FConsole.SetFontStyle(run.Attr.Style);
        pen = run.Attr;
        FConsole.WriteBuf(FShown.data() + run.Start, length);
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
        const qsizetype had = last->size();
        last->resize(had + (stop - k));
        std::memcpy(last->data() + had, data + k, size_t(stop - k));
        k = stop;
    }
}

void TIncomingText::TelnetDataAvailable(const char* buffer, qsizetype len)
{
    for (qsizetype done = 0; done < len; done += kSliceBytes) {
        const int shown = ParseBlock(buffer + done, qMin<qsizetype>(kSliceBytes, len - done));
        ShowRuns();
        FLog.Append(FShown.data(), shown);
        AddToHistory(FShown.data(), shown);
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
