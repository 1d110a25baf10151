#pragma once
// TColorConsole: the console with a text attribute per cell. Written text takes the
// colours and typeface of Font at the time of the write; runs of cells refer to a
// shared, reference-counted attribute table.

#include "ColorGrid.h"
#include "Console.h"

class TColorConsole : public TConsole {
    Q_OBJECT
public:
    explicit TColorConsole(QWidget* parent = nullptr);

    // Attribute of a cell in grid coordinates; never null.
    const TAttr* AttrAt(int col, int row) const { return ColorGrid().AttrOf(col, row); }
    int AttrIndexAt(int col, int row) const { return ColorGrid().AttrAt(col, row); }
    const TAttrManager& AttrManager() const { return ColorGrid().AttrManager(); }
    // The attribute runs of a grid row, in column order.
    TAttrRunSpan RowRuns(int row) const { return ColorGrid().RowRuns(ColorGrid().RingRow(row)); }
    // Per-column advances used for drawing; every entry is the cell width.
    const std::vector<int>& CharWidths() const { return FCharWidths; }

protected:
    // Same size: cells only grow (bold or italic faces); a new size re-measures.
    void SetMetrics(const TTextMetric& tm) override;
    void Paint(QPainter& painter, const QRect& clip) override;

private:
    const TColorGrid& ColorGrid() const { return static_cast<const TColorGrid&>(Grid()); }
    TColorGrid& ColorGrid() { return static_cast<TColorGrid&>(GridRef()); }
};
