#pragma once
// The incoming text pipeline: each received block becomes coloured cells (ANSI SGR
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

struct TTextCell {
    char Ch = 0;
    TCellAttr Attr;
};

class TIncomingText : public QObject {
    Q_OBJECT
public:
    static constexpr int kCellCount = 8193;   // cell 0 is never written
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

    // Parses one slice of at most kCellCount - 2 bytes into FCells; returns the
    // terminator index. Exposed for tests.
    int ParseBlock(const char* data, qsizetype len);
    // Colours, escape state and style back to the start of a session.
    void ResetState();
    // The output window's colours changed (settings, another configuration): text still
    // in the old default colours takes the new ones at once; colours the server chose
    // stay until it resets them.
    void DefaultsChanged();

    std::array<TTextCell, kCellCount> FCells;
    TCellAttr FCurrentAttr;
    bool FEscActive = false;
    QByteArray FEscBuffer;
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
    static EscAction Classify(const QByteArray& buffer, char c);
    void EscapeByte(char c);
    void ApplySgr(QByteArrayView params);
    void ApplySgrValue(int v, bool& stop);
    void RefreshHighlights();
    void HighlightLine(int lineStart, int length, bool separatorEnded);
    void ShowCells(int terminator);
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
    // The shown characters of the current slice, cell i at i - 1.
    std::array<char, kCellCount> FShown;
    int FShownCount = 0;
    QList<QByteArray> FHighlightSource;
    std::vector<Highlight> FHighlightCache;
    std::vector<int> FHighlightHits; // scratch of HighlightLine, kept to spare allocations
    bool FConnectPending = false;
};
