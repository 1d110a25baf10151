#include "VorkaTable.h"

#include "platform/Win1252.h"

#include <QTableWidget>

TVorkaTable VorkaTableFromGrid(const QTableWidget& grid)
{
    TVorkaTable t;
    for (int c = 0; c < grid.columnCount(); ++c) {
        const QTableWidgetItem* h = grid.horizontalHeaderItem(c);
        t.Headers << (h ? h->text() : QString());
    }
    for (int r = 0; r < grid.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QTableWidgetItem* item = grid.item(r, c);
            row << (item ? item->text() : QString());
        }
        t.Rows << row;
    }
    return t;
}

namespace {

QByteArray HtmlText(const QString& text)
{
    if (text.isEmpty())
        return "<br>";
    return Win1252::fromUnicode(text).replace('\r', "<br>");
}

} // namespace

QByteArray VorkaHtml(const TVorkaTable& table)
{
    QByteArray out = "<table border=1>\r\n<tr>\r\n";
    for (const QString& h : table.Headers)
        out += QByteArray("<td nowrap BGCOLOR=\"") + kVorkaHtmlHeaderColor + "\"><B>" +
               HtmlText(h) + "</B></td>\r\n";
    out += "</tr>\r\n";
    for (const QStringList& row : table.Rows) {
        out += "<tr>\r\n";
        for (const QString& cell : row)
            out += "<td nowrap>" + HtmlText(cell) + "</td>\r\n";
        out += "</tr>\r\n";
    }
    out += "</table><p>\r\n";
    return out;
}
