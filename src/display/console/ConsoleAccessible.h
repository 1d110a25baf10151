#pragma once
// The console as a screen reader sees it: a read-only terminal named "Ausgabe" whose
// text is the lines that scrolled out of the grid (the last kHistoryLines) followed by
// the grid's rows up to the cursor, each without its trailing blanks, separated by line
// feeds; the caret stands at the cursor. New text is announced as inserted text: each
// finished line, and a prompt that stays without its line end for a moment.
//
// Nothing of this exists until a screen reader first asks for the console; from then
// on TConsoleSpeech, a child of the console, follows what is written.

#include "Console.h"

#include <QAccessibleWidget>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <vector>

// When lines are announced. Lines of one block go together. A flood must not queue
// minutes of speech: while more than kFloodLines lines arrive in a second, they are
// gathered and the last kBatchLines of them announced every kBatchMs; the rest stays
// readable in the text. Times are the caller's clock in milliseconds.
class TLineAnnouncer {
public:
    static constexpr int kFloodLines = 20;
    static constexpr int kBatchLines = 5;
    static constexpr int kBatchMs = 2000;
    static constexpr int kBlockMs = 50;

    void Add(const QString& line, qint64 now);
    // Milliseconds until Take has something to give; -1 when nothing waits.
    qint64 DueIn(qint64 now) const;
    // The lines to announce now.
    QStringList Take(qint64 now);

private:
    bool Flooded(qint64 now) const;

    QStringList FPending;
    std::deque<qint64> FArrivals; // of the last second
    qint64 FFirstPending = 0;
    qint64 FLastTaken = -kBatchMs;
};

// Follows the console for a screen reader: history, the text, announcements.
class TConsoleSpeech : public QObject, public IConsoleListener {
    Q_OBJECT
public:
    static constexpr int kHistoryLines = 1000;
    static constexpr int kPromptMs = 400;

    // The console's one speech object, made on first use; owned by the console.
    static TConsoleSpeech* Of(TConsole* console);

    const QString& Text() const;
    int CursorOffset() const;
    // Offset in Text() where grid row `row` begins; -1 outside the grid.
    int RowOffset(int row) const;

    void LineEnding() override;
    void TextShown() override;

private:
    explicit TConsoleSpeech(TConsole* console);
    QString RowString(int row) const;
    void Changed() { FTextValid = false; }
    void Flush();
    void SpeakPrompt();
    void Emit(int position, const QString& text);

    TConsole* FConsole;
    std::deque<QString> FHistory;
    mutable QString FText;
    mutable std::vector<int> FRowOffsets;
    mutable bool FTextValid = false;
    // The cursor row's text already announced as a prompt: line (ring advances + row)
    // and column.
    quint64 FSpokenLine = ~0ull;
    int FSpokenColumn = 0;
    TLineAnnouncer FAnnouncer;
    QElapsedTimer FClock;
    QTimer FFlushTimer;
    QTimer FPromptTimer;
};

class TConsoleAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TConsoleAccessible(TConsole* console);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // The text is read-only and has no selection.
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return FSpeech->CursorOffset(); }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override { return int(FSpeech->Text().size()); }
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    TConsole* Console() const { return static_cast<TConsole*>(widget()); }
    TConsoleSpeech* FSpeech;
};
