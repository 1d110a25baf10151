#pragma once
// The character grid of the console without any window: Cols x Rows cells kept in a
// ring of rows, the cursor, and the placement of written text with its control codes.
// A line feed on the last row drops the oldest row and reuses it at the bottom, so no
// characters ever move in memory.

#include <QByteArray>
#include <QPoint>

#include <vector>

enum class TConsoleLineBreak : quint8 { CRLF = 0, CR = 1, LF = 2 };

// What the grid tells its view while text is written.
class TConsoleGridEvents {
public:
    virtual ~TConsoleGridEvents() = default;
    // Columns L..R-1 of the cursor row changed.
    virtual void GridShowText(int L, int R) = 0;
    // The ring advanced by one row (a line feed on the last row).
    virtual void GridLineFed() = 0;
    // A line feed is about to leave the cursor row, which holds a finished line; on the
    // last row it will also drop grid row 0.
    virtual void GridLineEnding() {}
    virtual void GridBell() = 0;
};

class TConsoleGrid {
public:
    TConsoleGrid(int cols = 80, int rows = 25);
    virtual ~TConsoleGrid() = default;
    TConsoleGrid(const TConsoleGrid&) = delete;
    TConsoleGrid& operator=(const TConsoleGrid&) = delete;

    int Cols() const { return FCols; }
    int Rows() const { return FRows; }
    // Reallocates a blank grid (values below 1 become 1). The ring restarts at row 0 and
    // the cursor is brought inside the new grid, so a smaller grid is never addressed
    // out of range.
    void SetSize(int cols, int rows);

    // Buffer row that holds grid row y (0 = the oldest row kept).
    int RingRow(int y) const { const int r = y + FirstLine; return r >= FRows ? r - FRows : r; }
    char* CellPtr(int x, int y) { return FBuffer.data() + size_t(RingRow(y)) * size_t(FCols) + size_t(x); }
    const char* CellPtr(int x, int y) const
    {
        return FBuffer.data() + size_t(RingRow(y)) * size_t(FCols) + size_t(x);
    }
    char CharAt(int col, int row) const { return *CellPtr(col, row); }
    // A row's text is one contiguous block of the buffer (CellPtr(0, row), Cols bytes).
    QByteArray RowText(int row) const { return QByteArray(CellPtr(0, row), FCols); }

    // Copies count bytes to (x, y).. of one row; callers never cross the row end.
    virtual void WriteChars(int x, int y, const char* buffer, int count);
    // Sets count cells from (x, y) to ch, continuing on the following rows from column 0
    // (only a whole-grid fill from (0, 0) spans rows). Counts are cut to the grid.
    virtual void FillChars(int x, int y, char ch, int count);

    // Places printable bytes (32..255) at the cursor and acts on bell, backspace, line
    // feed and carriage return after LineBreak; other control bytes are dropped. A row
    // filled exactly wraps at once.
    void DoWriteBuf(const char* p, qsizetype count);
    // All cells blank, cursor home; the ring keeps its start.
    void ClearScreen();

    void CarriageReturn() { Cursor.setX(0); }
    // Every line the grid completes ends here, by a line feed or by a full row wrapping:
    // on entry the cursor row holds the finished line (RowText(Cursor.y())).
    void LineFeed();

    QPoint Cursor;
    int FirstLine = 0;
    quint64 Feeds = 0;  // ring advances ever made; lets a view follow the ring
    TConsoleLineBreak LineBreak = TConsoleLineBreak::CRLF;
    TConsoleGridEvents* Events = nullptr;

protected:
    virtual void ResizeBuffer();
    std::vector<char> FBuffer;

private:
    int FCols;
    int FRows;
};
