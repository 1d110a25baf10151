#pragma once
// The grid of the colour console: beside every character an index into the attribute
// table, in the same ring layout. The attribute of written cells is the pen's state at
// the time of the write.

#include "AttrManager.h"
#include "ConsoleGrid.h"

class TColorGrid : public TConsoleGrid {
public:
    // The pen must outlive the grid.
    TColorGrid(const TFixedFont* pen, int cols = 80, int rows = 25);

    void WriteChars(int x, int y, const char* buffer, int count) override;
    void FillChars(int x, int y, char ch, int count) override;

    int AttrAt(int col, int row) const { return FAttrBuffer[size_t(RingRow(row)) * size_t(Cols()) + size_t(col)]; }
    const TAttr* AttrOf(int col, int row) const { return FAttrManager.Get(AttrAt(col, row)); }
    // Indexes of one buffer row (see RingRow), Cols() entries.
    const qint32* AttrRow(int bufferRow) const { return FAttrBuffer.data() + size_t(bufferRow) * size_t(Cols()); }
    TAttrManager& AttrManager() { return FAttrManager; }
    const TAttrManager& AttrManager() const { return FAttrManager; }

protected:
    // Blank cells, an empty table, and every cell in the pen's attribute.
    void ResizeBuffer() override;

private:
    void SetAttrs(int x, int y, int count);

    const TFixedFont* FPen;
    TAttrManager FAttrManager;
    std::vector<qint32> FAttrBuffer;
};
