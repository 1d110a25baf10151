#pragma once
// The grid of the colour console: beside the characters, every buffer row keeps its
// attributes as runs (start column, length, index into the attribute table), in the
// same ring layout. The attribute of written cells is the pen's state at the time of
// the write. Writing, blanking and scrolling cost per run, not per cell.

#include "AttrManager.h"
#include "ConsoleGrid.h"

// Cells Start .. Start + Length - 1 of one row share the attribute Attr.
struct TAttrRun {
    qint32 Start;
    qint32 Length;
    qint32 Attr;
    qint32 End() const { return Start + Length; }
};

// The runs of one row, for range-for.
struct TAttrRunSpan {
    const TAttrRun* First;
    const TAttrRun* Last;
    const TAttrRun* begin() const { return First; }
    const TAttrRun* end() const { return Last; }
    int size() const { return int(Last - First); }
};

class TColorGrid : public TConsoleGrid {
public:
    // The pen must outlive the grid.
    TColorGrid(const TFixedFont* pen, int cols = 80, int rows = 25);

    void WriteChars(int x, int y, const char* buffer, int count) override;
    void FillChars(int x, int y, char ch, int count) override;

    // Attribute index of a cell in grid coordinates.
    int AttrAt(int col, int row) const;
    const TAttr* AttrOf(int col, int row) const { return FAttrManager.Get(AttrAt(col, row)); }
    // Runs of one buffer row (see RingRow): in column order, covering the row, each
    // naming another attribute than the run before it.
    TAttrRunSpan RowRuns(int bufferRow) const
    {
        const TAttrRun* first = FRuns.data() + size_t(bufferRow) * size_t(Cols());
        return {first, first + FRunCount[size_t(bufferRow)]};
    }
    TAttrManager& AttrManager() { return FAttrManager; }
    const TAttrManager& AttrManager() const { return FAttrManager; }

protected:
    // Blank cells, an empty table, and every row one run in the pen's attribute.
    void ResizeBuffer() override;

private:
    void SetAttr(int bufferRow, int x, int count, int fresh);
    void BlankRuns(int bufferRow, int fresh);
    void PlaceRun(int bufferRow, int i, int x, int count, int fresh);

    const TFixedFont* FPen;
    TAttrManager FAttrManager;
    // Room for Cols runs per buffer row (a row never holds more), so the runs never
    // allocate after a resize.
    std::vector<TAttrRun> FRuns;
    std::vector<int> FRunCount;
};
