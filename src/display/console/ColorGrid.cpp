#include "ColorGrid.h"

#include <algorithm>
#include <cstring>

namespace {

// Index of the run that holds column x.
int RunAt(const TAttrRun* runs, int count, int x)
{
    if (x >= runs[count - 1].Start)  // text mostly goes on at the end of a row
        return count - 1;
    int lo = 0;
    int hi = count - 1;  // runs[lo].Start <= x < runs[hi].Start
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        if (runs[mid].Start <= x)
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

} // namespace

TColorGrid::TColorGrid(const TFixedFont* pen, int cols, int rows) : TConsoleGrid(cols, rows), FPen(pen)
{
    TColorGrid::ResizeBuffer();
}

void TColorGrid::ResizeBuffer()
{
    TConsoleGrid::ResizeBuffer();
    FAttrManager.Clear();
    const int index = FAttrManager.FindOrAdd(*FPen);
    FRuns.assign(size_t(Cols()) * size_t(Rows()), TAttrRun{0, Cols(), index});
    FRunCount.assign(size_t(Rows()), 1);
    FAttrManager.AddRef(index, Rows());
}

int TColorGrid::AttrAt(int col, int row) const
{
    const TAttrRunSpan runs = RowRuns(RingRow(row));
    return runs.First[RunAt(runs.First, runs.size(), col)].Attr;
}

void TColorGrid::WriteChars(int x, int y, const char* buffer, int count)
{
    if (count <= 0)
        return;
    SetAttr(RingRow(y), x, count, FAttrManager.FindOrAdd(*FPen));
    TConsoleGrid::WriteChars(x, y, buffer, count);
}

void TColorGrid::FillChars(int x, int y, char ch, int count)
{
    if (x == 0 && count == Cols() && y >= 0 && y < Rows()) {  // a row blanked by a line feed
        const int row = RingRow(y);
        BlankRuns(row, FAttrManager.FindOrAdd(*FPen));
        std::memset(FBuffer.data() + size_t(row) * size_t(count), ch, size_t(count));
        return;
    }
    count = std::min(count, (Rows() - y) * Cols() - x);
    if (count <= 0)
        return;
    const int fresh = FAttrManager.FindOrAdd(*FPen);
    for (int left = count, col = x, row = y; left > 0; ++row, col = 0) {
        const int n = std::min(left, Cols() - col);
        SetAttr(RingRow(row), col, n, fresh);
        left -= n;
    }
    TConsoleGrid::FillChars(x, y, ch, count);
}

// Columns x .. x + count - 1 of one row (never past its end) take the attribute fresh.
// Text is mostly written at the front of the blank rest of a row, and rows are blanked
// whole; those cases take a few steps.
void TColorGrid::SetAttr(int bufferRow, int x, int count, int fresh)
{
    if (count == Cols()) {
        BlankRuns(bufferRow, fresh);
        return;
    }
    TAttrRun* runs = FRuns.data() + size_t(bufferRow) * size_t(Cols());
    int& n = FRunCount[size_t(bufferRow)];
    const int i = RunAt(runs, n, x);
    TAttrRun& run = runs[i];
    const int end = x + count;
    if (end <= run.End() && run.Attr == fresh)
        return;
    if (x == run.Start && end < run.End()) {
        run.Start = end;
        run.Length -= count;
        if (i > 0 && runs[i - 1].Attr == fresh) {
            runs[i - 1].Length += count;
        } else {
            FAttrManager.AddRef(fresh, 1);
            if (i + 1 == n)
                runs[n] = run;
            else
                std::memmove(runs + i + 1, runs + i, size_t(n - i) * sizeof(TAttrRun));
            runs[i] = {x, count, fresh};
            ++n;
        }
        return;
    }
    // Counted before any old run is released, so an attribute that is both old and
    // new never drops to zero on the way.
    if (x == run.Start && end == run.End() && i + 1 == n) {  // text reaching the row end
        const int old = run.Attr;
        if (i > 0 && runs[i - 1].Attr == fresh) {
            runs[i - 1].Length += count;
            --n;
        } else {
            FAttrManager.AddRef(fresh, 1);
            run.Attr = fresh;
        }
        FAttrManager.AddRef(old, -1);
        return;
    }
    FAttrManager.AddRef(fresh, 1);
    PlaceRun(bufferRow, i, x, count, fresh);
}

// The whole row becomes one run of fresh.
void TColorGrid::BlankRuns(int bufferRow, int fresh)
{
    TAttrRun* runs = FRuns.data() + size_t(bufferRow) * size_t(Cols());
    int& n = FRunCount[size_t(bufferRow)];
    FAttrManager.AddRef(fresh, 1);
    for (int k = 0; k < n; ++k)
        FAttrManager.AddRef(runs[k].Attr, -1);
    runs[0] = {0, Cols(), fresh};
    n = 1;
}

// Replaces what covers the columns by one run of fresh (already counted): runs covered
// whole are released from left to right, a run cut in two is counted once more, and
// runs that meet in one attribute become one run counted once.
void TColorGrid::PlaceRun(int bufferRow, int i, int x, int count, int fresh)
{
    TAttrRun* runs = FRuns.data() + size_t(bufferRow) * size_t(Cols());
    int& n = FRunCount[size_t(bufferRow)];
    const int end = x + count;
    const int j = i + RunAt(runs + i, n - i, end - 1);
    const TAttrRun first = runs[i];
    const TAttrRun last = runs[j];
    const bool keepLeft = first.Start < x;
    const bool keepRight = last.End() > end;
    if (i == j && keepLeft && keepRight)
        FAttrManager.AddRef(first.Attr, 1);
    for (int k = i; k <= j; ++k) {
        if ((k == i && keepLeft) || (k == j && keepRight))
            continue;
        FAttrManager.AddRef(runs[k].Attr, -1);
    }

    // At most three pieces: a neighbour or the left rest, the new run, a neighbour or
    // the right rest.
    TAttrRun pieces[3];
    int m = 0;
    const auto push = [&](const TAttrRun& r) {
        if (m > 0 && pieces[m - 1].Attr == r.Attr) {
            pieces[m - 1].Length += r.Length;
            FAttrManager.AddRef(r.Attr, -1);
        } else {
            pieces[m++] = r;
        }
    };
    int lo = i;
    int hi = j + 1;
    if (!keepLeft && lo > 0 && runs[lo - 1].Attr == fresh)
        push(runs[--lo]);
    if (keepLeft)
        push({first.Start, x - first.Start, first.Attr});
    push({x, count, fresh});
    if (keepRight)
        push({end, last.End() - end, last.Attr});
    if (!keepRight && hi < n && runs[hi].Attr == fresh)
        push(runs[hi++]);

    if (m != hi - lo)
        std::memmove(runs + lo + m, runs + hi, size_t(n - hi) * sizeof(TAttrRun));
    std::copy(pieces, pieces + m, runs + lo);
    n += m - (hi - lo);
}
