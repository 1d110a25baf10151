#include "ColorGrid.h"

#include <algorithm>
#include <cstring>

TColorGrid::TColorGrid(const TFixedFont* pen, int cols, int rows) : TConsoleGrid(cols, rows), FPen(pen)
{
    TColorGrid::ResizeBuffer();
}

void TColorGrid::ResizeBuffer()
{
    TConsoleGrid::ResizeBuffer();
    const int cells = Cols() * Rows();
    FAttrManager.Clear();
    const int index = FAttrManager.FindOrAdd(*FPen);
    FAttrBuffer.assign(size_t(cells), index);
    FAttrManager.AddRef(index, cells);
}

void TColorGrid::WriteChars(int x, int y, const char* buffer, int count)
{
    if (count <= 0)
        return;
    SetAttrs(x, y, count);
    TConsoleGrid::WriteChars(x, y, buffer, count);
}

void TColorGrid::FillChars(int x, int y, char ch, int count)
{
    count = std::min(count, (Rows() - y) * Cols() - x);
    if (count <= 0)
        return;
    SetAttrs(x, y, count);
    TConsoleGrid::FillChars(x, y, ch, count);
}

// The new attribute gains its count before the old ones lose theirs, so one that is
// both old and new never drops to zero on the way.
void TColorGrid::SetAttrs(int x, int y, int count)
{
    const int fresh = FAttrManager.FindOrAdd(*FPen);
    FAttrManager.AddRef(fresh, count);
    while (count > 0) {
        const int n = std::min(count, Cols() - x);
        qint32* cell = FAttrBuffer.data() + size_t(RingRow(y)) * size_t(Cols()) + size_t(x);
        qint32* const end = cell + n;
        while (cell < end) {
            const qint32 old = *cell;
            qint32* const runStart = cell;
            ++cell;
            // Runs are long (whole words and lines): compare two cells at a time.
            const quint64 twin = quint64(quint32(old)) * 0x100000001ull;
            for (quint64 pair; end - cell >= 2; cell += 2) {
                std::memcpy(&pair, cell, sizeof pair);
                if (pair != twin)
                    break;
            }
            while (cell < end && *cell == old)
                ++cell;
            if (old != fresh)
                std::fill(runStart, cell, fresh);
            FAttrManager.AddRef(old, -int(cell - runStart));
        }
        count -= n;
        x = 0;
        ++y;
    }
}
