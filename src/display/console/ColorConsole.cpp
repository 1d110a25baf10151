#include "ColorConsole.h"

#include <QPainter>

#include <algorithm>

TColorConsole::TColorConsole(QWidget* parent)
    : TConsole([](const TFixedFont* pen) { return std::make_unique<TColorGrid>(pen, 80, 25); }, parent)
{
}

void TColorConsole::SetMetrics(const TTextMetric& tm)
{
    if (Font().Size() != MetricFont().Size()) {
        ColorGrid().AttrManager().SetSize(Font().Size());
        FillCharWidths(tm.AveCharWidth);
        TConsole::SetMetrics(tm);
        return;
    }
    const QPoint oldSize = FCharSize;
    const int oldAscent = FCharAscent;
    const int oldOverhang = FOverhang;
    FOverhang = std::max(FOverhang, std::max(tm.Overhang, tm.MaxCharWidth - tm.AveCharWidth));
    FCharSize = QPoint(std::max(FCharSize.x(), tm.AveCharWidth),
                       std::max(FCharSize.y(), tm.Height + tm.ExternalLeading));
    FCharAscent = std::max(FCharAscent, tm.Ascent);
    if (FCharSize != oldSize || FCharAscent != oldAscent || FOverhang != oldOverhang) {
        FillCharWidths(FCharSize.x());
        UpdateView();
        InvalidateAll();
    }
}

void TColorConsole::Paint(QPainter& painter, const QRect& clipIn)
{
    const int w = FCharSize.x();
    const int h = FCharSize.y();
    const QColor back = ColorToQColor(FColor);
    if (w <= 0 || h <= 0) {
        painter.fillRect(clipIn, back);
        return;
    }
    const QPoint origin = PaintOrigin();
    painter.translate(-origin.x() * w, -origin.y() * h);
    QRect clip = clipIn.translated(origin.x() * w, origin.y() * h);
    const int firstCol = std::max(origin.x(), (clip.left() - FOverhang) / w);
    const int endCol = std::min(Cols(), (clip.right() + 1 + w) / w);
    const int firstRow = std::max(0, clip.top() / h);
    const int endRow = std::min(Rows(), (clip.bottom() + h) / h);

    if (Cols() * w <= clip.right()) {
        painter.fillRect(QRect(Cols() * w, clip.top(), clip.right() + 1 - Cols() * w, clip.height()), back);
        clip.setRight(Cols() * w - 1);
    }
    if (Rows() * h <= clip.bottom())
        painter.fillRect(QRect(clip.left(), Rows() * h, clip.width(), clip.bottom() + 1 - Rows() * h), back);
    // Rows dropped from the ring while a scroll waits have nothing left to show.
    if (clip.top() < 0)
        painter.fillRect(QRect(clip.left(), clip.top(), clip.width(), -clip.top()), back);

    const TColorGrid& grid = ColorGrid();
    const TAttrManager& table = grid.AttrManager();
    for (int row = firstRow; row < endRow; ++row) {
        const char* chars = grid.CellPtr(0, row);
        for (const TAttrRun& run : grid.RowRuns(grid.RingRow(row))) {
            const int col = std::max(run.Start, firstCol);
            const int end = std::min(run.End(), endCol);
            if (col >= end)
                continue;
            const TAttr* a = table.Get(run.Attr);
            const QRect cells(col * w, row * h, (end - col) * w, h);
            painter.fillRect(cells, a ? a->BackColor : back);
            if (!a)
                continue;
            const bool spill = a->ItalicShift != 0 || FOverhang > 0;
            if (spill) {
                painter.save();
                painter.setClipRect(cells, Qt::IntersectClip);
            }
            DrawCells(painter, a->RealHandle(), a->Style(), col * w - a->ItalicShift,
                      row * h + FCharAscent, chars + col, end - col, a->TextColor);
            if (spill)
                painter.restore();
        }
    }
}
