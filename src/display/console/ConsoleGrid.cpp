#include "ConsoleGrid.h"

#include "ByteScan.h"

#include <algorithm>
#include <cstring>

TConsoleGrid::TConsoleGrid(int cols, int rows) : FCols(std::max(1, cols)), FRows(std::max(1, rows))
{
    TConsoleGrid::ResizeBuffer();
}

void TConsoleGrid::SetSize(int cols, int rows)
{
    FCols = std::max(1, cols);
    FRows = std::max(1, rows);
    ResizeBuffer();
    FirstLine = 0;
    Cursor.setX(std::min(Cursor.x(), FCols - 1));
    Cursor.setY(std::min(Cursor.y(), FRows - 1));
}

void TConsoleGrid::ResizeBuffer()
{
    FBuffer.assign(size_t(FCols) * size_t(FRows), ' ');
}

void TConsoleGrid::WriteChars(int x, int y, const char* buffer, int count)
{
    if (count > 0)
        std::memcpy(CellPtr(x, y), buffer, size_t(count));
}

void TConsoleGrid::FillChars(int x, int y, char ch, int count)
{
    count = std::min(count, (FRows - y) * FCols - x);
    while (count > 0) {
        const int n = std::min(count, FCols - x);
        std::memset(CellPtr(x, y), ch, size_t(n));
        count -= n;
        x = 0;
        ++y;
    }
}

void TConsoleGrid::LineFeed()
{
    if (Events)
        Events->GridLineEnding();
    Cursor.ry() += 1;
    if (Cursor.y() < FRows)
        return;
    Cursor.setY(FRows - 1);
    FirstLine = FirstLine + 1 >= FRows ? 0 : FirstLine + 1;
    ++Feeds;
    FillChars(0, Cursor.y(), ' ', FCols);
    if (Events)
        Events->GridLineFed();
}

void TConsoleGrid::DoWriteBuf(const char* p, qsizetype count)
{
    int L = Cursor.x();
    int R = L;
    const auto show = [&] {
        if (Events)
            Events->GridShowText(L, R);
    };
    while (count > 0) {
        const int room = int(std::min<qsizetype>(FCols - Cursor.x(), count));
        const int run = int(ByteScan::SkipPrintable(p, 0, room));
        if (run > 0) {
            count -= run;
            WriteChars(Cursor.x(), Cursor.y(), p, run);
            p += run;
            Cursor.rx() += run;
            R = std::max(R, Cursor.x());
            if (run == room && Cursor.x() >= FCols) {
                show();
                CarriageReturn();
                L = R = 0;
                LineFeed();
                continue;
            }
        }
        if (count <= 0)
            break;
        switch (*p) {
        case 7:
            if (Events)
                Events->GridBell();
            break;
        case 8:
            if (Cursor.x() > 0) {
                Cursor.rx() -= 1;
                FillChars(Cursor.x(), Cursor.y(), ' ', 1);
                L = std::min(L, Cursor.x());
            }
            break;
        case 10:
            show();
            if (LineBreak == TConsoleLineBreak::LF) {
                CarriageReturn();
                L = R = 0;
            }
            LineFeed();
            break;
        case 13:
            show();
            CarriageReturn();
            L = R = 0;
            if (LineBreak == TConsoleLineBreak::CR)
                LineFeed();
            break;
        default:
            break;
        }
        ++p;
        --count;
    }
    show();
}

void TConsoleGrid::ClearScreen()
{
    FillChars(0, 0, ' ', FCols * FRows);
    Cursor = QPoint(0, 0);
}
