#pragma once
// The incoming text pipeline: each received block becomes runs of coloured text (ANSI SGR
// colours, every other escape sequence dropped, the player's highlights applied), which
// go to the console, the session log and the output history. It also handles the
// session-connected and session-closed notifications (online look, clock, statistics).
//
// The escape state and the current attributes carry over from block to block, so what
// the player sees does not depend on how TCP cuts the stream; they are reset when a
// session connects. A 0 byte in the data is skipped.

#include "platform/Color.h"
#include "stats/VorkaOMatic.h"

#include <QByteArray>
#include <QObject>

#include <array>
#include <functional>
#include <vector>

class IConsoleWriter;
class TOutputSink;
class TSessionLog;
class TMudConfig;
class TConnectTime;

struct TCellAttr {
    TColor Color = 0;
    TColor BkColor = 0;
    int Style = 0;
    bool operator==(const TCellAttr& o) const
    {
        return Color == o.Color && BkColor == o.BkColor && Style == o.Style;
    }
    bool operator!=(const TCellAttr& o) const { return !(*this == o); }
};

// Shown characters Start .. Start + Length - 1 of a slice in one attribute.
struct TTextRun {
    int Start;
    int Length;
    TCellAttr Attr;
};

class TIncomingText : public QObject {
    Q_OBJECT
public:
    // A block is handled in slices of at most this many bytes (the telnet layer hands
    // on at most 2049 at a time).
    static constexpr int kSliceBytes = 8191;
    static constexpr int kEscBufferMax = 80;
    static constexpr int kLineTextMax = 255;

    TIncomingText(IConsoleWriter& console, TOutputSink& sink, TSessionLog& log,
                  const TMudConfig& config, TConnectTime& clock, TVorkaOMatic& stats,
                  QObject* parent = nullptr);

    // The information beep (an escape sequence too long to be one). Set by the window.
    std::function<void()> OnBeep;

    void TelnetDataAvailable(const char* buffer, qsizetype len);
    void TelnetSessionConnected(const QByteArray& host);
    void TelnetSessionClosed();

    // Parses one slice of at most kSliceBytes bytes into the shown characters and
    // their runs, highlights applied; returns the number of characters shown.
    int ParseBlock(const char* data, qsizetype len);
    // Colours, escape state and style back to the start of a session.
    void ResetState();
    // The output window's colours changed (settings, another configuration): text still
    // in the old default colours takes the new ones at once; colours the server chose
    // stay until it resets them.
    void DefaultsChanged();

    TCellAttr FCurrentAttr;
    bool FEscActive = false;
    // The characters of the escape sequence read so far, after the ESC.
    std::array<char, kEscBufferMax> FEscBuffer{};
    int FEscLength = 0;
    TVorkaOMaticLog FConnectLog;

signals:
    void OnlineChanged(bool online);

private:
    struct Highlight {
        QByteArray Text;
        TColor Fg, Bg;
        bool FgValid, BgValid;
    };
    enum class EscAction { Complete, Collect };

    TCellAttr DefaultAttr() const;
    // The defaults FCurrentAttr was last given, to tell them from server colours.
    TCellAttr FDefaults;
    EscAction Classify(char c) const;
    qsizetype EscapeBytes(const char* data, qsizetype k, qsizetype len);
    void ApplySgr(QByteArrayView params);
    void ApplySgrValue(int v, bool& stop);
    void RefreshHighlights();
    void HighlightLine(int lineStart, int length, bool separatorEnded);
    void Recolour(int first, int length, const Highlight& h);
    size_t SplitRunAt(int pos);
    void AddRun(int start, int length);
    void ShowRuns();
    void AddToHistory(const char* data, qsizetype len);

    IConsoleWriter& FConsole;
    TOutputSink& FSink;
    TSessionLog& FLog;
    const TMudConfig& FConfig;
    TConnectTime& FClock;
    TVorkaOMatic& FStats;
    // The pen of the last character shown, which reverse video (SGR 7, 8) swaps; taken
    // per character rather than from the console at parse time, so the picture does
    // not depend on where a block ends.
    TCellAttr FLastShown;
    // The shown characters of the current slice (escape sequences taken out) and their
    // runs in order, covering them.
    std::array<char, kSliceBytes> FShown;
    std::vector<TTextRun> FRuns;
    QList<QByteArray> FHighlightSource;
    std::vector<Highlight> FHighlightCache;
    std::vector<int> FHighlightHits; // scratch of HighlightLine, kept to spare allocations
    bool FConnectPending = false;
};
