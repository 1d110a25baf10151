#pragma once

#include "ThrownBy.h"
// Shared helpers of the console widget tests: a shown console in a known fixed font,
// the pixels the screen holds, and a fresh render to compare them with.

#include "ColorConsole.h"

#include <QScreen>
#include <QScrollBar>
#include <QtTest>

// Colour values have red in the lowest byte.
constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlack = 0x000000;
constexpr TColor kWhite = 0xFFFFFF;

// Counts the pixel moves of the view.
class TCountingConsole : public TColorConsole {
public:
    QList<int> MovesDy;

protected:
    void MovePixels(int dx, int dy, const QRect& rect) override
    {
        MovesDy.append(dy);
        TColorConsole::MovePixels(dx, dy, rect);
    }
};

inline bool settle(TConsole& c);

// A shown console whose window holds the whole grid.
inline void prepareConsole(TConsole& c, int cols = 82, int rows = 25)
{
    c.SetCols(cols);
    c.SetRows(rows);
    c.Font().SetName(QStringLiteral("Liberation Mono"));
    c.Font().SetSize(10);
    c.Font().SetColor(kWhite);
    c.Font().SetBkColor(kBlack);
    c.Clear();
    c.resize(c.sizeHint());
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
    QVERIFY(settle(c));
}

// Lets every waiting request run and the resulting paint reach the screen.
inline bool settle(TConsole& c)
{
    if (!QTest::qWaitFor([&] { return !c.UpdatePending(); }, 5000))
        return false;
    QTest::qWait(20);
    return !c.UpdatePending();
}

// A shown colour console of cols x rows cells.
struct TShownConsole : TColorConsole {
    TShownConsole(int cols, int rows) { prepareConsole(*this, cols, rows); }
};

inline QImage screenPixels(TConsole& c)
{
    QWidget* w = c.window();
    const QImage all = w->screen()->grabWindow(w->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    return all.copy(QRect(c.viewport()->mapTo(w, QPoint(0, 0)), c.viewport()->size()));
}

inline QImage freshPixels(TConsole& c)
{
    return c.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Bounding box of the pixels inside area that differ from the background.
inline QRect inkBox(const QImage& img, const QRect& area, QRgb background)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

