#pragma once
// TConsole: a character-cell console in a window. The grid (TConsoleGrid) is the whole
// memory; the widget shows a scrolling view of it, keeps the cursor in sight and
// moves pixels instead of repainting when the text scrolls.
//
// Writers use the console's Font as the pen: set Font().SetColor/SetBkColor/SetStyle,
// then WriteChar/WriteString/WriteBuf. All calls belong to the GUI thread.
//
// With coLazyWrite (the default) nothing is painted while writing: the changed cells
// are remembered and shown at the next frame, and the pixel moves of many line feeds
// are merged into one. Painting always uses the origin the pixels on screen were drawn
// with, so the picture stays consistent while requests wait.

#include "ConsoleGrid.h"
#include "FixedFont.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <memory>
#include <streambuf>
#include <vector>

class TConsole;
class TConsoleStreamBuf;

enum TConsoleOption : quint8 {
    coAutoTracking = 1,
    coCheckEOF = 2,
    coCheckBreak = 4,
    coFulltimeCursor = 8,
    coLazyWrite = 16,
    coStdInput = 32,
    coStdOutput = 64,
    coFixedPitchOnly = 128,
};
using TConsoleOptions = quint8;
constexpr TConsoleOptions DefaultConsoleOptions = coAutoTracking | coCheckBreak | coLazyWrite | coFixedPitchOnly;

// Receives every written buffer instead of the built-in processing when assigned.
using TProcessControlCodes = std::function<void(TConsole* sender, const char* buffer, quint32 count)>;

// An operation that is not allowed now ("Read already active").
class EInvalidOperation : public KmcError {
public:
    using KmcError::KmcError;
};

// Scroll actions, numbered like the scroll-bar codes they stand for.
enum TScrollAction {
    saLineUp = 0,
    saLineDown,
    saPageUp,
    saPageDown,
    saThumbPosition,
    saThumbTrack,
    saTop,
    saBottom,
    saEndScroll,
};

// Told what the console shows as it is written, for a screen reader; set only while one
// listens, so a console nobody listens to pays one test per line.
class IConsoleListener {
public:
    virtual ~IConsoleListener() = default;
    // The cursor row holds a finished line; a line feed is about to leave it.
    virtual void LineEnding() = 0;
    // Text was written (its last line may still be open: a prompt, say).
    virtual void TextShown() = 0;
};

class TConsole : public QAbstractScrollArea, protected TConsoleGridEvents {
    Q_OBJECT
public:
    explicit TConsole(QWidget* parent = nullptr);
    ~TConsole() override;

    // The pen. Changing face, size or style re-measures the font; a face that is not
    // fixed-pitch under coFixedPitchOnly throws EInvalidFont after falling back to the
    // last accepted face.
    TFixedFont& Font() { return FFont; }
    const TFixedFont& Font() const { return FFont; }
    void SetFont(const TFixedFont& font) { FFont.Assign(font); }
    const TFixedFont& MetricFont() const { return FMetricFont; }

    int Cols() const { return FGrid->Cols(); }
    int Rows() const { return FGrid->Rows(); }
    // A new size reallocates a blank grid; the cursor is brought inside it.
    void SetCols(int cols);
    void SetRows(int rows);
    // The control's own colour, shown where the window reaches past the grid.
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TConsoleOptions Options() const { return FOptions; }
    // Adding coStdInput/coStdOutput binds std::cin/std::cout to this console; throws
    // KmcError when another console holds them already.
    void SetOptions(TConsoleOptions options);
    TConsoleLineBreak LineBreak() const { return FGrid->LineBreak; }
    void SetLineBreak(TConsoleLineBreak lineBreak) { FGrid->LineBreak = lineBreak; }
    TProcessControlCodes ProcessControlCodes;

    void WriteChar(char ch) { WriteBuf(&ch, 1); }
    void WriteString(const QByteArray& s) { WriteBuf(s.constData(), s.size()); }
    void WriteString(const char* s);
    void WriteBuf(const char* buffer, qsizetype count);
    void DoWriteBuf(const char* buffer, qsizetype count);
    // Blank grid in the pen's colours, cursor and view home, font re-measured.
    void Clear();
    void ClearScreen();
    void RecalcMetrics();
    void GetCharMetrics(int& width, int& height, int& overhang) const;

    char CharAt(int col, int row) const { return FGrid->CharAt(col, row); }
    QByteArray RowText(int row) const { return FGrid->RowText(row); }
    QPoint Cursor() const { return FGrid->Cursor; }
    int FirstLine() const { return FGrid->FirstLine; }
    const TConsoleGrid& Grid() const { return *FGrid; }

    virtual void WriteChars(int x, int y, const char* buffer, int count) { FGrid->WriteChars(x, y, buffer, count); }
    virtual void FillChars(int x, int y, char ch, int count) { FGrid->FillChars(x, y, ch, count); }

    // The view. ScrollPos.y() may be below 0 while scroll requests wait.
    QPoint ScrollPos() const { return FScrollPos; }
    QPoint ScrollRange() const { return FScrollRange; }
    QPoint ViewSize() const { return FViewSize; }
    QPoint CharSize() const { return FCharSize; }
    int CharAscent() const { return FCharAscent; }
    int Overhang() const { return FOverhang; }
    void ScrollTo(int x, int y);
    void DoScroll(Qt::Orientation axis, int action, int thumb);
    void TrackCursor();
    void UpdateView();
    void UpdateScrollBars();
    // Whether a repaint, scroll or track request still waits for the event loop.
    bool UpdatePending() const { return FFlushPending || FTrackPending || FScrollPending; }

    // Caret: an underline on the cursor's baseline while focused and reading (or with
    // coFulltimeCursor).
    virtual void ShowCursor();
    void HideCursor();
    bool CaretVisible() const { return FCaretShown; }

    // Type-ahead and blocking input; the client itself never reads keys.
    int KeyCount() const { return FKeyCount; }
    bool KeyPressed();
    // Waits in a nested event loop; throws EInvalidOperation when any console is
    // already reading and KmcError when the application quits meanwhile.
    char ReadKey();
    // Reads one echoed line into buffer (at most size bytes, the terminator and a line
    // feed after a carriage return included) and returns the count stored.
    int ReadBuf(char* buffer, int size);
    bool Focused() const { return FFocused; }
    bool Reading() const { return FReading; }
    virtual void DoCtrlBreak() {}

    QSize sizeHint() const override;

    // One listener at a time; null removes it.
    void SetListener(IConsoleListener* listener) { FListener = listener; }
    // Screen readers see the console as a read-only terminal ("Ausgabe") with its
    // text; once per program.
    static void InstallAccessibility();

protected:
    // For derived consoles that keep more per cell; grid and pen are wired here.
    TConsole(std::function<std::unique_ptr<TConsoleGrid>(const TFixedFont*)> makeGrid, QWidget* parent);

    virtual void SetMetrics(const TTextMetric& tm);
    virtual void Paint(QPainter& painter, const QRect& clip);
    // Moves the pixels of rect; the one place pixels are scrolled (tests count it).
    virtual void MovePixels(int dx, int dy, const QRect& rect);

    // Origin (in cells) the pixels on screen were drawn with; painting uses it.
    QPoint PaintOrigin() const;
    // Draws n cells of one row at (x, baseline) with per-cell advances.
    void DrawCells(QPainter& painter, int fontHandle, TFontStyles style, qreal x, qreal baseline, const char* text,
                   int n, const QColor& color);
    // Every cell advances by width when drawn.
    void FillCharWidths(int width);
    void InvalidateAll();
    TConsoleGrid& GridRef() { return *FGrid; }
    bool WindowCreated() const { return FWindowCreated; }

    QPoint FCharSize;
    int FCharAscent = 0;
    int FOverhang = 0;
    TColor FColor = clWindow;
    std::vector<int> FCharWidths;  // per-column advances, all the cell width

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void scrollContentsBy(int, int) override {}

    void GridShowText(int L, int R) override;
    void GridLineFed() override;
    void GridLineEnding() override;
    void GridBell() override;

private:
    void Init();
    void FontChanged();
    void ScrollBy(int dx, int dy);
    void DoTrackCursor();
    void RequestFlush();
    void Flush(bool now);
    void MoveView(int dx, int dy);
    QRect CaretRect() const;
    bool CaretWanted() const;
    void HandleKeyDown(QKeyEvent* e);
    void HandleChars(QKeyEvent* e);
    void BindStd(bool input, bool on);
    void SyncShown();

    std::unique_ptr<TConsoleGrid> FGrid;
    IConsoleListener* FListener = nullptr;
    TFixedFont FFont;
    TFixedFont FMetricFont;
    TConsoleOptions FOptions = DefaultConsoleOptions;

    QPoint FScrollPos;
    QPoint FScrollRange;
    QPoint FViewSize;
    bool FWindowCreated = false;
    bool FSettingBars = false;
    bool FFallingBack = false;

    // Pixel state: the origin the screen shows, in absolute lines (ring advances
    // included), and the cells changed since the last frame, per buffer row.
    qint64 FShownTop = 0;
    int FShownLeft = 0;
    std::vector<int> FDirtyL;
    std::vector<int> FDirtyR;
    bool FAnyDirty = false;
    bool FAllDirty = false;
    bool FFlushPending = false;
    QElapsedTimer FLastFlush;
    QTimer FFlushTimer;

    bool FTrackPending = false;
    bool FScrollPending = false;
    QPoint FPendingScroll;

    std::vector<QPointF> FPositions;
    std::vector<quint32> FGlyphs;

    bool FFocused = false;
    bool FCaretShown = false;
    bool FCaretOn = true;
    QTimer FCaretTimer;

    char FKeyBuffer[64] = {};
    int FKeyCount = 0;
    bool FReading = false;
    class QEventLoop* FReadLoop = nullptr;
    std::unique_ptr<TConsoleStreamBuf> FStdIn;
    std::unique_ptr<TConsoleStreamBuf> FStdOut;
    std::streambuf* FOldCin = nullptr;
    std::streambuf* FOldCout = nullptr;

    friend class TConsoleStreamBuf;
};
