#include "Console.h"
#include "ConsoleStream.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {
const QEvent::Type TrackCursorEvent = QEvent::Type(QEvent::User + 100);
const QEvent::Type ScrollRequestEvent = QEvent::Type(QEvent::User + 101);
const QEvent::Type FlushEvent = QEvent::Type(QEvent::User + 102);
// Frames are shown at most this often while text streams in.
constexpr int FrameMs = 16;
} // namespace

TConsole::TConsole(QWidget* parent)
    : TConsole([](const TFixedFont*) { return std::make_unique<TConsoleGrid>(80, 25); }, parent)
{
}

TConsole::TConsole(std::function<std::unique_ptr<TConsoleGrid>(const TFixedFont*)> makeGrid, QWidget* parent)
    : QAbstractScrollArea(parent)
{
    FFont.SetName(QStringLiteral("Courier"));
    FGrid = makeGrid(&FFont);
    Init();
}

void TConsole::Init()
{
    resize(160, 88);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);

    const QFont stock = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    FMetricFont.SetName(stock.family());
    FMetricFont.SetSize(stock.pointSize() > 0 ? stock.pointSize() : 10);
    FFont.OnChange = [this] { FontChanged(); };
    FGrid->Events = this;
    FDirtyL.assign(size_t(Rows()), INT_MAX);
    FDirtyR.assign(size_t(Rows()), 0);
    FillCharWidths(0);

    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (!FSettingBars)
            DoScroll(Qt::Horizontal, saThumbPosition, v);
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (!FSettingBars)
            DoScroll(Qt::Vertical, saThumbPosition, v);
    });
    connect(&FCaretTimer, &QTimer::timeout, this, [this] {
        FCaretOn = !FCaretOn;
        viewport()->update(CaretRect());
    });
    FFlushTimer.setSingleShot(true);
    connect(&FFlushTimer, &QTimer::timeout, this, [this] { Flush(false); });
    FLastFlush.start();
}

TConsole::~TConsole()
{
    FListener = nullptr;
    FFont.OnChange = nullptr;
    BindStd(true, false);
    BindStd(false, false);
}

void TConsole::SetCols(int cols)
{
    if (cols == Cols())
        return;
    FGrid->SetSize(cols, Rows());
    FillCharWidths(FCharSize.x());
    UpdateView();
    InvalidateAll();
}

void TConsole::SetRows(int rows)
{
    if (rows == Rows())
        return;
    FGrid->SetSize(Cols(), rows);
    FDirtyL.assign(size_t(Rows()), INT_MAX);
    FDirtyR.assign(size_t(Rows()), 0);
    UpdateView();
    InvalidateAll();
}

void TConsole::SetColor(TColor color)
{
    if (color == FColor)
        return;
    FColor = color;
    InvalidateAll();
}

void TConsole::WriteString(const char* s)
{
    if (s)
        WriteBuf(s, qsizetype(std::strlen(s)));
}

void TConsole::WriteBuf(const char* buffer, qsizetype count)
{
    if (count <= 0)
        return;
    if (ProcessControlCodes) {
        ProcessControlCodes(this, buffer, quint32(count));
        return;
    }
    DoWriteBuf(buffer, count);
}

void TConsole::DoWriteBuf(const char* buffer, qsizetype count)
{
    FGrid->DoWriteBuf(buffer, count);
    if (FListener)
        FListener->TextShown();
    if (FOptions & coAutoTracking)
        TrackCursor();
    if (FFocused && (FOptions & coFulltimeCursor))
        ShowCursor();
}

void TConsole::Clear()
{
    ClearScreen();
    RecalcMetrics();
}

void TConsole::ClearScreen()
{
    FGrid->ClearScreen();
    FScrollPos = QPoint(0, 0);
    if (!FWindowCreated)
        SyncShown();
    InvalidateAll();
}

void TConsole::GetCharMetrics(int& width, int& height, int& overhang) const
{
    width = FCharSize.x();
    height = FCharSize.y();
    overhang = FOverhang;
}

// ---- font ----

void TConsole::RecalcMetrics()
{
    FCharSize = QPoint(0, 0);
    FCharAscent = 0;
    FOverhang = 0;
    FMetricFont.SetNullHandle();
    FontChanged();
}

void TConsole::FontChanged()
{
    // Equal handles mean equal face, size, style and pitch: only the colours can differ
    // (text changes colour all the time), and nothing needs measuring.
    if (FFont.Handle() == FMetricFont.Handle()) {
        FMetricFont.SetColor(FFont.Color());
        FMetricFont.SetBkColor(FFont.BkColor());
        return;
    }
    const TTextMetric& tm = FontRegistry::Metrics(FFont.Handle());
    if ((FOptions & coFixedPitchOnly) && !tm.FixedPitch && !FFallingBack) {
        const QString message = (QStringLiteral("TConsole: ") + FFont.Name()).left(41)
            + QStringLiteral(" is not fixed-pitch");
        // The last accepted face may be the refused one itself (after a re-measure);
        // a known fixed face then keeps the console drawable. The face fallen back
        // to is taken as it is, so a refusal never recurses.
        QString fallback = FMetricFont.Name();
        if (fallback.isEmpty() || fallback == FFont.Name())
            fallback = TFixedFont().Name();
        FFallingBack = true;
        try {
            FFont.SetName(fallback);
        } catch (...) {
            FFallingBack = false;
            throw;
        }
        FFallingBack = false;
        throw EInvalidFont(message);
    }
    SetMetrics(tm);
    FMetricFont = FFont;  // copies the font, never its change handler
}

void TConsole::SetMetrics(const TTextMetric& tm)
{
    FCharSize = QPoint(tm.AveCharWidth, tm.Height + tm.ExternalLeading);
    FCharAscent = tm.Ascent;
    FOverhang = std::max(tm.Overhang, tm.MaxCharWidth - tm.AveCharWidth);
    FillCharWidths(FCharSize.x());
    InvalidateAll();
    UpdateView();
}

void TConsole::FillCharWidths(int width)
{
    FCharWidths.assign(size_t(Cols()), width);
    FPositions.resize(FCharWidths.size());
    qreal x = 0;
    for (size_t i = 0; i < FCharWidths.size(); ++i) {
        FPositions[i] = QPointF(x, 0);
        x += FCharWidths[i];
    }
}

// ---- view ----

void TConsole::UpdateView()
{
    if (!FWindowCreated)
        return;
    const QSize client = viewport()->size();
    FViewSize = QPoint(FCharSize.x() > 0 ? client.width() / FCharSize.x() : 0,
                       FCharSize.y() > 0 ? client.height() / FCharSize.y() : 0);
    FScrollRange = QPoint(std::max(0, Cols() - FViewSize.x()), std::max(0, Rows() - FViewSize.y()));
    ScrollTo(std::min(FScrollPos.x(), FScrollRange.x()), std::min(FScrollPos.y(), FScrollRange.y()));
    UpdateScrollBars();
}

void TConsole::UpdateScrollBars()
{
    FSettingBars = true;
    horizontalScrollBar()->setRange(0, std::max(1, FScrollRange.x()));
    horizontalScrollBar()->setPageStep(std::max(1, FViewSize.x()));
    horizontalScrollBar()->setValue(FScrollPos.x());
    verticalScrollBar()->setRange(0, std::max(1, FScrollRange.y()));
    verticalScrollBar()->setPageStep(std::max(1, FViewSize.y()));
    verticalScrollBar()->setValue(FScrollPos.y());
    FSettingBars = false;
}

void TConsole::ScrollTo(int x, int y)
{
    x = std::clamp(x, 0, FScrollRange.x());
    y = std::clamp(y, 0, FScrollRange.y());
    if (x == FScrollPos.x() && y == FScrollPos.y())
        return;
    const QPoint old = FScrollPos;
    FScrollPos = QPoint(x, y);
    if (!FWindowCreated) {
        SyncShown();
        return;
    }
    FSettingBars = true;
    if (y != old.y())
        verticalScrollBar()->setValue(y);
    if (x != old.x())
        horizontalScrollBar()->setValue(x);
    FSettingBars = false;
    if (FOptions & coLazyWrite)
        RequestFlush();
    else
        Flush(true);
}

void TConsole::DoScroll(Qt::Orientation axis, int action, int thumb)
{
    const bool horizontal = axis == Qt::Horizontal;
    const int page = horizontal ? FViewSize.x() / 2 : FViewSize.y();
    int pos = horizontal ? FScrollPos.x() : FScrollPos.y();
    switch (action) {
    case saLineUp: pos -= 1; break;
    case saLineDown: pos += 1; break;
    case saPageUp: pos -= page; break;
    case saPageDown: pos += page; break;
    case saThumbPosition:
    case saThumbTrack: pos = thumb; break;
    case saTop: pos = 0; break;
    case saBottom: pos = horizontal ? FScrollRange.x() : FScrollRange.y(); break;
    default: break;
    }
    if (horizontal)
        ScrollTo(pos, FScrollPos.y());
    else
        ScrollTo(FScrollPos.x(), pos);
}

// Requests merge until half a window has accumulated. The flag stands for the one
// request waiting in the queue and the deltas live here, so merging posts nothing; a
// request handled early leaves that event with nothing to do.
void TConsole::ScrollBy(int dx, int dy)
{
    if ((FOptions & coLazyWrite) && FWindowCreated) {
        if (FScrollPending) {
            dx += FPendingScroll.x();
            dy += FPendingScroll.y();
        }
        if (std::min(FViewSize.x(), Cols()) / 2 > std::abs(dx) && std::min(FViewSize.y(), Rows()) / 2 > std::abs(dy)) {
            FPendingScroll = QPoint(dx, dy);
            if (!FScrollPending && (dx != 0 || dy != 0)) {
                FScrollPending = true;
                QCoreApplication::postEvent(this, new QEvent(ScrollRequestEvent));
            }
            return;
        }
        FScrollPending = false;
        FPendingScroll = QPoint(0, 0);
    }
    ScrollTo(FScrollPos.x() + dx, FScrollPos.y() + dy);
}

void TConsole::TrackCursor()
{
    if ((FOptions & coLazyWrite) && FWindowCreated) {
        if (!FTrackPending) {
            FTrackPending = true;
            QCoreApplication::postEvent(this, new QEvent(TrackCursorEvent));
        }
        return;
    }
    DoTrackCursor();
}

void TConsole::DoTrackCursor()
{
    // A view that shows the whole grid has nowhere to scroll to.
    if (FScrollRange.isNull() && FScrollPos.isNull())
        return;
    const QPoint c = FGrid->Cursor;
    const int y = std::max(c.y() - FViewSize.y() + 1, std::min(FScrollPos.y(), c.y()));
    const int x = std::max(c.x() - FViewSize.x() + 1, std::min(FScrollPos.x(), c.x()));
    ScrollTo(x, y);
}

bool TConsole::event(QEvent* e)
{
    const QEvent::Type type = e->type();
    if (type == TrackCursorEvent) {
        FTrackPending = false;
        DoTrackCursor();
        return true;
    }
    if (type == ScrollRequestEvent) {
        if (FScrollPending) {
            const QPoint d = FPendingScroll;
            FScrollPending = false;
            FPendingScroll = QPoint(0, 0);
            ScrollTo(FScrollPos.x() + d.x(), FScrollPos.y() + d.y());
        }
        return true;
    }
    if (type == FlushEvent) {
        if (FFlushPending)
            Flush(false);
        return true;
    }
    return QAbstractScrollArea::event(e);
}

// ---- grid notifications ----

void TConsole::GridShowText(int L, int R)
{
    if (!FWindowCreated || L >= R)
        return;
    const size_t row = size_t(FGrid->RingRow(FGrid->Cursor.y()));
    FDirtyL[row] = std::min(FDirtyL[row], L);
    FDirtyR[row] = std::max(FDirtyR[row], R);
    FAnyDirty = true;
    if (FOptions & coLazyWrite)
        RequestFlush();
    else
        Flush(true);
}

void TConsole::GridLineFed()
{
    FScrollPos.ry() -= 1;
    if (FWindowCreated) {
        const size_t row = size_t(FGrid->RingRow(FGrid->Cursor.y()));
        FDirtyL[row] = 0;
        FDirtyR[row] = Cols();
        FAnyDirty = true;
    } else {
        SyncShown();
    }
    ScrollBy(0, 1);
}

void TConsole::GridLineEnding()
{
    if (FListener)
        FListener->LineEnding();
}

void TConsole::GridBell()
{
    QApplication::beep();
}

// ---- pixels ----

void TConsole::SyncShown()
{
    FShownTop = qint64(FGrid->Feeds) + FScrollPos.y();
    FShownLeft = FScrollPos.x();
}

QPoint TConsole::PaintOrigin() const
{
    return QPoint(FShownLeft, int(FShownTop - qint64(FGrid->Feeds)));
}

void TConsole::InvalidateAll()
{
    FAllDirty = true;
    if (FWindowCreated)
        RequestFlush();
}

void TConsole::RequestFlush()
{
    if (FFlushPending)
        return;
    FFlushPending = true;
    const qint64 waited = FLastFlush.elapsed();
    if (waited >= FrameMs)
        QCoreApplication::postEvent(this, new QEvent(FlushEvent));
    else
        FFlushTimer.start(int(FrameMs - waited));
}

// Brings the screen up to date: moves the pixels by the distance the view travelled
// since the last frame (or repaints all when that is a window or more) and hands the
// changed cells to Qt as one region.
void TConsole::Flush(bool now)
{
    FFlushPending = false;
    FFlushTimer.stop();
    FLastFlush.start();
    const int w = FCharSize.x();
    const int h = FCharSize.y();
    if (!FWindowCreated || w <= 0 || h <= 0) {
        SyncShown();
        FAllDirty = true;
    }
    const qint64 top = qint64(FGrid->Feeds) + FScrollPos.y();
    const qint64 dy = FShownTop - top;
    const int dx = FShownLeft - FScrollPos.x();
    if (dy != 0 || dx != 0) {
        if (!FAllDirty && std::abs(dy) < FViewSize.y() && std::abs(dx) < FViewSize.x())
            MoveView(dx, int(dy));
        else
            FAllDirty = true;
        SyncShown();
    }
    QRegion region;
    if (FAllDirty) {
        region = viewport()->rect();
    } else if (FAnyDirty) {
        const QRect client = viewport()->rect();
        for (int r = 0; r < Rows(); ++r) {
            if (FDirtyL[size_t(r)] >= FDirtyR[size_t(r)])
                continue;
            int g = r - FGrid->FirstLine;
            if (g < 0)
                g += Rows();
            const int L = FDirtyL[size_t(r)];
            const QRect cells((L - FScrollPos.x()) * w, (g - FScrollPos.y()) * h,
                              (FDirtyR[size_t(r)] - L) * w + FOverhang, h);
            region += cells & client;
        }
    }
    if (FAnyDirty || FAllDirty) {
        std::fill(FDirtyL.begin(), FDirtyL.end(), INT_MAX);
        std::fill(FDirtyR.begin(), FDirtyR.end(), 0);
    }
    FAnyDirty = FAllDirty = false;
    if (!FWindowCreated || region.isEmpty())
        return;
    if (now)
        viewport()->repaint(region);
    else
        viewport()->update(region);
}

// dx, dy in cells; positive moves the content right or down.
void TConsole::MoveView(int dx, int dy)
{
    const int w = FCharSize.x();
    const int h = FCharSize.y();
    const QSize client = viewport()->size();
    QRect rect(QPoint(0, 0), client);
    if (dx < 0)
        rect.setLeft(FOverhang);
    if (dy < 0)
        rect.setBottom(FViewSize.y() * h - 1);  // only whole rows move up
    MovePixels(dx * w, dy * h, rect);
    if (dy < 0 && client.height() > FViewSize.y() * h)
        viewport()->update(QRect(0, FViewSize.y() * h, client.width(), client.height() - FViewSize.y() * h));
    if (dx != 0 && FOverhang > 0) {
        if (dx > 0)
            viewport()->update(QRect(0, 0, dx * w + FOverhang, client.height()));
        else
            viewport()->update(QRect(0, 0, FOverhang, client.height()));
    }
}

void TConsole::MovePixels(int dx, int dy, const QRect& rect)
{
    viewport()->scroll(dx, dy, rect);
}

// ---- painting ----

void TConsole::paintEvent(QPaintEvent* e)
{
    QPainter painter(viewport());
    Paint(painter, e->rect());
    if (FCaretShown && FCaretOn) {
        painter.resetTransform();
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(CaretRect(), Qt::white);
    }
}

void TConsole::DrawCells(QPainter& painter, int fontHandle, TFontStyles style, qreal x, qreal baseline,
                         const char* text, int n, const QColor& color)
{
    const TFontEntry& e = FontRegistry::Glyphs(fontHandle);
    if (n <= 0 || !e.Raw.isValid() || size_t(n) > FPositions.size())
        return;
    if (FGlyphs.size() < size_t(n))
        FGlyphs.resize(size_t(n));
    for (int i = 0; i < n; ++i)
        FGlyphs[size_t(i)] = e.Glyphs[static_cast<unsigned char>(text[i])];
    QGlyphRun run;
    run.setRawFont(e.Raw);
    run.setRawData(FGlyphs.data(), FPositions.data(), n);
    run.setUnderline(style & fsUnderline);
    run.setStrikeOut(style & fsStrikeOut);
    painter.setPen(color);
    painter.drawGlyphRun(QPointF(x, baseline), run);
}

void TConsole::Paint(QPainter& painter, const QRect& clipIn)
{
    const int w = FCharSize.x();
    const int h = FCharSize.y();
    const QColor bk = ColorToQColor(FFont.BkColor());
    if (w <= 0 || h <= 0) {
        painter.fillRect(clipIn, bk);
        return;
    }
    const QPoint origin = PaintOrigin();
    painter.translate(-origin.x() * w, -origin.y() * h);
    const QRect clip = clipIn.translated(origin.x() * w, origin.y() * h);
    painter.fillRect(clip, bk);
    const int firstCol = std::max(origin.x(), (clip.left() - FOverhang) / w);
    const int endCol = std::min(Cols(), (clip.right() + 1 + w) / w);
    const int firstRow = std::max(0, clip.top() / h);
    const int endRow = std::min(Rows(), (clip.bottom() + h) / h);
    const QColor fg = ColorToQColor(FFont.Color());
    for (int row = firstRow; row < endRow && firstCol < endCol; ++row)
        DrawCells(painter, FFont.Handle(), FFont.Style(), firstCol * w, row * h + FCharAscent,
                  FGrid->CellPtr(firstCol, row), endCol - firstCol, fg);
}

QSize TConsole::sizeHint() const
{
    int w = FCharSize.x();
    int h = FCharSize.y();
    if (w <= 0 || h <= 0) {
        const TTextMetric& tm = FontRegistry::Metrics(FFont.RealHandle());
        w = tm.AveCharWidth;
        h = tm.Height + tm.ExternalLeading;
    }
    const int frame = 2 * frameWidth();
    return QSize(Cols() * w + frame + verticalScrollBar()->sizeHint().width(),
                 Rows() * h + frame + horizontalScrollBar()->sizeHint().height());
}
