#pragma once
// Pages of the statistics table: title "Statistik" top left, date and time top right,
// "Seite n" bottom right, the table centred between 30-unit margins with single borders.
// A page is laid out in logical units (an A4 width of 794); the printer and the preview
// map those units onto their own surface, so both draw the very same page.

#include "VorkaTable.h"

#include <QFont>
#include <QList>
#include <QSizeF>
#include <QString>

class QPainter;
class QPrinter;

struct TVorkaPageLayout {
    QSizeF Page;          // logical page size
    QList<qreal> ColWidths;
    qreal TableLeft = 0;
    qreal RowHeight = 0;
    int RowsPerPage = 1;  // data rows below the repeated header row
    int PageCount = 1;    // at least one, even for an empty table
};

struct TVorkaPrintJob {
    TVorkaTable Table;
    QString Stamp; // date and time in the page header
};

inline constexpr qreal kVorkaPageWidth = 794;
// The logical page for a surface of the given aspect (width, height in any unit).
QSizeF VorkaLogicalPage(qreal width, qreal height);

QFont VorkaBodyFont();
QFont VorkaHeadFont();

TVorkaPageLayout LayoutVorkaPages(const TVorkaTable& table, const QSizeF& page);
// Draws page `page` (0-based) in logical units; the painter's transform does the scaling.
void PaintVorkaPage(QPainter& painter, const TVorkaPrintJob& job, const TVorkaPageLayout& layout,
                    int page);
// All pages on the printer; false when the printer could not be opened.
bool PrintVorkaTable(QPrinter& printer, const TVorkaPrintJob& job);
