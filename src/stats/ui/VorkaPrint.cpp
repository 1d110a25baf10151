#include "VorkaPrint.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal kHeadArea = 30;  // header and footer areas
constexpr qreal kSideMargin = 30;
constexpr qreal kSpacing = 4;    // between columns and between rows
constexpr int kHostColumn = 1;

QFont SansFont(int pixels, bool bold = false)
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixels);
    f.setBold(bold);
    // Unhinted metrics scale linearly, so screen measurements hold on the printer too.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QFont HeaderRowFont() { return SansFont(16, true); }

void DrawRow(QPainter& p, const TVorkaPageLayout& l, const QStringList& texts, qreal y)
{
    const QFontMetricsF fm(p.font());
    qreal x = l.TableLeft;
    for (int c = 0; c < l.ColWidths.size(); ++c) {
        const QRectF cell(x, y, l.ColWidths[c], l.RowHeight);
        p.drawRect(cell);
        const QRectF inner = cell.adjusted(kSpacing / 2, 0, -kSpacing / 2, 0);
        const QString text = c < texts.size() ? texts[c] : QString();
        p.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(text, Qt::ElideRight, inner.width()));
        x += l.ColWidths[c];
    }
}

} // namespace

QSizeF VorkaLogicalPage(qreal width, qreal height)
{
    if (width <= 0 || height <= 0)
        return QSizeF(kVorkaPageWidth, kVorkaPageWidth * 297 / 210);
    return QSizeF(kVorkaPageWidth, kVorkaPageWidth * height / width);
}

QFont VorkaBodyFont() { return SansFont(16); }
QFont VorkaHeadFont() { return SansFont(13); }

TVorkaPageLayout LayoutVorkaPages(const TVorkaTable& table, const QSizeF& page)
{
    TVorkaPageLayout l;
    l.Page = page;
    const QFontMetricsF body(VorkaBodyFont());
    const QFontMetricsF head(HeaderRowFont());
    for (int c = 0; c < table.Headers.size(); ++c) {
        qreal w = head.horizontalAdvance(table.Headers[c]);
        for (const QStringList& row : table.Rows)
            if (c < row.size())
                w = std::max(w, body.horizontalAdvance(row[c]));
        l.ColWidths << std::ceil(w) + 2 * kSpacing;
    }
    // A very long host name must not push the table off the page: its column gives way.
    const qreal room = page.width() - 2 * kSideMargin;
    qreal total = 0;
    for (qreal w : l.ColWidths)
        total += w;
    if (total > room && l.ColWidths.size() > kHostColumn) {
        const qreal others = total - l.ColWidths[kHostColumn];
        l.ColWidths[kHostColumn] = std::max<qreal>(4 * kSpacing, room - others);
        total = others + l.ColWidths[kHostColumn];
    }
    l.TableLeft = kSideMargin + std::max<qreal>(0, (room - total) / 2);
    l.RowHeight = std::ceil(std::max(body.height(), head.height())) + kSpacing;
    const qreal bodyHeight = page.height() - 2 * kHeadArea;
    l.RowsPerPage = std::max(1, int(bodyHeight / l.RowHeight) - 1);
    const int rows = int(table.Rows.size());
    l.PageCount = std::max(1, (rows + l.RowsPerPage - 1) / l.RowsPerPage);
    return l;
}

void PaintVorkaPage(QPainter& p, const TVorkaPrintJob& job, const TVorkaPageLayout& l, int page)
{
    p.save();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);

    p.setFont(VorkaHeadFont());
    const qreal width = l.Page.width() - 2 * kSideMargin;
    const QRectF top(kSideMargin, 0, width, kHeadArea);
    p.drawText(top, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Statistik"));
    p.drawText(top, Qt::AlignRight | Qt::AlignVCenter, job.Stamp);
    const QRectF bottom(kSideMargin, l.Page.height() - kHeadArea, width, kHeadArea);
    p.drawText(bottom, Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Seite %1").arg(page + 1));

    qreal y = kHeadArea;
    p.setFont(HeaderRowFont());
    DrawRow(p, l, job.Table.Headers, y);
    p.setFont(VorkaBodyFont());
    const int first = page * l.RowsPerPage;
    const int last = std::min(int(job.Table.Rows.size()), first + l.RowsPerPage);
    for (int r = first; r < last; ++r) {
        y += l.RowHeight;
        DrawRow(p, l, job.Table.Rows[r], y);
    }
    p.restore();
}

bool PrintVorkaTable(QPrinter& printer, const TVorkaPrintJob& job)
{
    printer.setPageOrientation(QPageLayout::Portrait);
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const QRect device = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSizeF page = VorkaLogicalPage(device.width(), device.height());
    const TVorkaPageLayout layout = LayoutVorkaPages(job.Table, page);
    for (int i = 0; i < layout.PageCount; ++i) {
        if (i > 0 && !printer.newPage())
            return false;
        p.resetTransform();
        p.scale(device.width() / page.width(), device.width() / page.width());
        PaintVorkaPage(p, job, layout, i);
    }
    return p.end();
}
