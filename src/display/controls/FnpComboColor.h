#pragma once
// TFnpComboColor: a drop-down list of named colours, each entry drawn with a swatch of
// its colour before the name. Names are Windows-1252 byte strings, shown converted.
//
// The player's choice is reported by QComboBox::activated; selecting by program
// (SelectColor, setCurrentIndex) emits only currentIndexChanged, so loading a form does
// not look like a choice.

#include "display/controls/ColorValue.h"

#include <QByteArray>
#include <QComboBox>

class QPainter;

// Where AddColor puts a new entry.
enum TSortBy { ccsUnsorted, ccsColor, ccsText };

class TFnpComboColor : public QComboBox
{
    Q_OBJECT
public:
    explicit TFnpComboColor(QWidget* parent = nullptr);

    // Width of the swatch in pixels, gap to the name not included.
    int ColorWidth() const { return FColorWidth; }
    void SetColorWidth(int value);
    // Affects only later AddColor calls; present entries keep their places.
    TSortBy SortBy() const { return FSortBy; }
    void SetSortBy(TSortBy value) { FSortBy = value; }
    static QString Version() { return QStringLiteral("1.00.00"); }

    // Inserts an entry and returns its index. ccsUnsorted appends; ccsColor inserts
    // before the first entry with a greater colour value (signed, so system colours come
    // first); ccsText before the first entry whose upper-cased name (ASCII folding, byte
    // order) sorts after the new one. Equal keys keep the order of insertion. The
    // selected entry stays selected.
    int AddColor(const QByteArray& name, TColor color);
    TColor ColorAt(int index) const;
    QByteArray NameAt(int index) const;
    // Colour of the selected entry; 0 (black) when nothing is selected, which callers
    // that can have an empty selection tell apart by currentIndex().
    TColor SelectedColor() const;
    // Selects the first entry with exactly this value; with none, the selection stays.
    void SelectColor(TColor color);

    // Height of every entry in the list: fixed, from the font.
    int ItemHeight() const;
    // Paints entry index into rect: background (highlighted when selected), the swatch
    // from (left + 1, top + 1) to (left + ColorWidth - 2, top + ItemHeight - 2) inclusive,
    // outlined in the text colour, and the name vertically centred from left + ColorWidth + 4.
    void DrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int InsertPosition(const QByteArray& name, TColor color) const;

    int FColorWidth = 18;
    TSortBy FSortBy = ccsUnsorted;
};
