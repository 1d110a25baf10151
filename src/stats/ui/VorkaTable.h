#pragma once
// The texts of the statistics grid in the order shown, and the HTML file made of them.
// Export, printing and the preview all work from this snapshot so they show the same.

#include <QByteArray>
#include <QList>
#include <QStringList>

class QTableWidget;

struct TVorkaTable {
    QStringList Headers;
    QList<QStringList> Rows; // data rows, top to bottom as the player sees them
};

TVorkaTable VorkaTableFromGrid(const QTableWidget& grid);

// Header cell colour of the HTML file: a light neutral grey.
inline constexpr const char* kVorkaHtmlHeaderColor = "#D8D8D8";

// One item per line, CR LF line ends, Windows-1252; texts are written unescaped, with
// "<br>" for an empty text and for each carriage return.
QByteArray VorkaHtml(const TVorkaTable& table);
