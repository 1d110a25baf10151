// What the console shows: colours per cell, glyphs on the cell grid whatever the face,
// cells that grow for a wider face and never shrink, fonts refused; deferred and merged
// scrolling under coLazyWrite, pixels that match a fresh render after any sequence of
// writes, the scroll keys and tracking of the cursor.

#include "ConsoleTestUtil.h"

#include <QRandomGenerator>

namespace {
QByteArray line(int i)
{
    return "Zeile " + QByteArray::number(i) + " - der Ork knurrt.\r\n";
}
} // namespace

class TestConsoleView : public QObject {
    Q_OBJECT
private slots:
    void feedsMergeIntoFewPixelMoves_data()
    {
        QTest::addColumn<int>("feeds");
        QTest::addColumn<int>("pendingAfterBurst");
        QTest::newRow("below half a window") << 10 << -10;
        QTest::newRow("thirty: two halves handled at once") << 30 << -6;
    }

    void feedsMergeIntoFewPixelMoves()
    {
        QFETCH(int, feeds);
        QFETCH(int, pendingAfterBurst);
        TCountingConsole c;
        prepareConsole(c);
        QCOMPARE(c.ViewSize(), QPoint(82, 25));
        for (int i = 0; i < 25; ++i)
            c.WriteString(line(i));
        QVERIFY(settle(c));
        c.MovesDy.clear();
        QCOMPARE(c.Cursor().y(), 24);

        for (int i = 0; i < feeds; ++i)
            c.WriteString(line(100 + i));
        QCOMPARE(c.ScrollPos().y(), pendingAfterBurst);
        QVERIFY(settle(c));
        QCOMPARE(c.ScrollPos().y(), 0);
        QVERIFY2(c.MovesDy.size() <= 3, qPrintable(QString::number(c.MovesDy.size())));
        int moved = 0;
        for (int dy : c.MovesDy)
            moved -= dy;
        // Either the pixels moved by exactly the feeds, or (a window or more) all was redrawn.
        QVERIFY(moved == feeds * c.CharSize().y() || (moved == 0 && feeds >= 25));
        QCOMPARE(screenPixels(c), freshPixels(c));
        QCOMPARE(c.RowText(23).left(9), QByteArray("Zeile ") + QByteArray::number(100 + feeds - 1));
    }

    void textStaysUntilScrollHandled()
    {
        TShownConsole c(40, 10);
        for (int i = 0; i < 9; ++i)
            c.WriteString(line(i));
        c.WriteString("letzte");
        QVERIFY(settle(c));
        const QImage before = freshPixels(c);
        const int h = c.CharSize().y();
        c.WriteString("\r\n");
        QCOMPARE(c.ScrollPos().y(), -1);
        QCOMPARE(c.RowText(0).left(7), QByteArray("Zeile 1"));
        // Drawn with the origin the screen still shows: every line where it was.
        const QImage waiting = freshPixels(c);
        QCOMPARE(waiting.copy(0, h, waiting.width(), 9 * h), before.copy(0, h, before.width(), 9 * h));
        QVERIFY(settle(c));
        const QImage after = screenPixels(c);
        QCOMPARE(after.copy(0, 0, after.width(), 8 * h), before.copy(0, h, before.width(), 8 * h));
        QCOMPARE(after, freshPixels(c));
    }

    void screenMatchesFreshRender()
    {
        TShownConsole c(50, 30);
        // A window smaller than the grid, so the view scrolls on both axes.
        c.resize(c.sizeHint() - QSize(12 * c.CharSize().x(), 11 * c.CharSize().y()));
        QVERIFY(settle(c));
        QRandomGenerator rng(99);
        const char* words[] = {"Ork ", "Drache ", "\r\n", "Schwert ", "\b", "Gold!\r\n", "\n", "Zauber "};
        for (int round = 0; round < 40; ++round) {
            const int n = int(rng.bounded(30));
            for (int i = 0; i < n; ++i) {
                c.Font().SetColor(TColor(rng.generate() & 0xFFFFFF));
                c.Font().SetBkColor(rng.bounded(3) == 0 ? TColor(rng.generate() & 0xFFFFFF) : kBlack);
                c.Font().SetStyle(rng.bounded(4) == 0 ? fsBold : 0);
                c.WriteString(words[rng.bounded(8)]);
            }
            if (round % 5 == 0)
                c.DoScroll(Qt::Vertical, saPageUp, 0);
            if (round % 7 == 0)
                c.DoScroll(Qt::Horizontal, saLineDown, 0);
            QVERIFY(settle(c));
            QVERIFY2(screenPixels(c) == freshPixels(c), qPrintable(QStringLiteral("round %1").arg(round)));
        }
    }

    void scrollKeys()
    {
        TShownConsole c(60, 40);
        c.resize(c.sizeHint() - QSize(20 * c.CharSize().x(), 30 * c.CharSize().y()));
        QVERIFY(settle(c));
        QCOMPARE(c.ViewSize(), QPoint(40, 10));
        QCOMPARE(c.ScrollRange(), QPoint(20, 30));
        struct Step {
            Qt::Key Key;
            Qt::KeyboardModifiers Mods;
            QPoint Pos;
        };
        const Step steps[] = {
            {Qt::Key_Down, Qt::NoModifier, {0, 1}},       {Qt::Key_PageDown, Qt::NoModifier, {0, 11}},
            {Qt::Key_End, Qt::ControlModifier, {0, 30}},  {Qt::Key_Down, Qt::NoModifier, {0, 30}},
            {Qt::Key_PageUp, Qt::NoModifier, {0, 20}},    {Qt::Key_Right, Qt::NoModifier, {1, 20}},
            {Qt::Key_Right, Qt::ControlModifier, {20, 20}},
            {Qt::Key_Left, Qt::ControlModifier, {0, 20}}, {Qt::Key_End, Qt::NoModifier, {20, 20}},
            {Qt::Key_Home, Qt::NoModifier, {0, 20}},      {Qt::Key_Home, Qt::ControlModifier, {0, 0}},
            {Qt::Key_Up, Qt::NoModifier, {0, 0}},         {Qt::Key_Down, Qt::ShiftModifier, {0, 1}},
        };
        for (const Step& s : steps) {
            QTest::keyClick(&c, s.Key, s.Mods);
            QCOMPARE(c.ScrollPos(), s.Pos);
        }
        QCOMPARE(c.verticalScrollBar()->value(), 1);
        QVERIFY(settle(c));
        QCOMPARE(screenPixels(c), freshPixels(c));
        // Both bars stay even when everything fits.
        c.resize(c.sizeHint());
        QVERIFY(settle(c));
        QCOMPARE(c.ScrollRange(), QPoint(0, 0));
        QVERIFY(c.horizontalScrollBar()->isVisible() && c.verticalScrollBar()->isVisible());
        QCOMPARE(c.verticalScrollBar()->maximum(), 1);
    }

    void trackingFollowsCursor()
    {
        TShownConsole c(40, 30);
        c.resize(c.sizeHint() - QSize(0, 20 * c.CharSize().y()));
        QVERIFY(settle(c));
        for (int i = 0; i < 15; ++i)
            c.WriteString(line(i));
        QVERIFY(settle(c));
        QCOMPARE(c.ScrollPos().y(), 15 - c.ViewSize().y() + 1);
        c.DoScroll(Qt::Vertical, saTop, 0);
        c.WriteString("x");
        QVERIFY(settle(c));
        QCOMPARE(c.ScrollPos().y(), 15 - c.ViewSize().y() + 1);
        // A cursor right of a narrow view brings it to the view's last column.
        c.resize(c.sizeHint() - QSize(25 * c.CharSize().x(), 0));
        c.WriteString("\r\n" + QByteArray(30, 'x'));
        QVERIFY(settle(c));
        QCOMPARE(c.ScrollPos().x(), 30 - c.ViewSize().x() + 1);
    }

    void cellsShowTheirColours()
    {
        TShownConsole c(20, 4);
        c.Font().SetBkColor(kRed);
        c.WriteString("  ");
        c.Font().SetBkColor(kBlack);
        c.Font().SetColor(0x00FF00);
        c.WriteString("MM");
        const QImage img = freshPixels(c);
        const int w = c.CharSize().x(), h = c.CharSize().y();
        QCOMPARE(inkBox(img, QRect(0, 0, 2 * w, h), qRgb(255, 0, 0)), QRect());
        QCOMPARE(QColor(img.pixel(w, h / 2)), QColor(Qt::red));
        // The green letters leave ink inside their own cells only.
        const QRect ink = inkBox(img, QRect(2 * w, 0, 6 * w, 2 * h), qRgb(0, 0, 0));
        QVERIFY(!ink.isEmpty());
        QVERIFY2(QRect(2 * w, 0, 2 * w, h).contains(ink), qPrintable(QString::number(ink.right())));
        bool green = false;
        for (int x = ink.left(); x <= ink.right(); ++x)
            for (int y = ink.top(); y <= ink.bottom(); ++y)
                green |= qGreen(img.pixel(x, y)) > 200 && qRed(img.pixel(x, y)) < 60;
        QVERIFY(green);
        // Beyond the grid, right and below, the control's own colour shows.
        c.SetColor(0xFF0000);
        c.resize(c.sizeHint() + QSize(3 * w, 2 * h));
        const QImage wide = freshPixels(c);
        QCOMPARE(QColor(wide.pixel(20 * w + w, h)), QColor(Qt::blue));
        QCOMPARE(QColor(wide.pixel(w, 4 * h + h / 2)), QColor(Qt::blue));
    }

    void boldRunStaysOnGrid()
    {
        TShownConsole c(20, 3);
        c.Font().SetStyle(fsBold);
        c.WriteString("MMMMMMMMMMMM\r\n");
        c.Font().SetStyle(0);
        c.WriteString("MMMMMMMMMMMM");
        const QImage img = freshPixels(c);
        const int w = c.CharSize().x(), h = c.CharSize().y();
        QCOMPARE(c.CharWidths(), std::vector<int>(20, w));
        for (int i = 0; i < 12; ++i) {
            const QRect bold = inkBox(img, QRect(i * w, 0, w, h), qRgb(0, 0, 0));
            const QRect plain = inkBox(img, QRect(i * w, h, w, h), qRgb(0, 0, 0));
            QVERIFY(!bold.isEmpty() && !plain.isEmpty());
            QVERIFY2(std::abs(bold.center().x() - plain.center().x()) <= 1, qPrintable(QString::number(i)));
        }
        QCOMPARE(inkBox(img, QRect(12 * w, 0, 8 * w, 2 * h), qRgb(0, 0, 0)), QRect());
    }

    void widerFaceGrowsCellsOnly()
    {
        TShownConsole c(20, 3);
        c.Font().SetSize(12);
        const QPoint narrow = c.CharSize();
        c.Font().SetName(QStringLiteral("DejaVu Sans Mono"));  // at 12 points taller than Liberation Mono
        const QPoint grown = c.CharSize();
        QVERIFY(grown.x() >= narrow.x() && grown.y() >= narrow.y());
        QVERIFY(grown != narrow);
        c.Font().SetColor(kRed);
        c.Font().SetName(QStringLiteral("Liberation Mono"));
        QCOMPARE(c.CharSize(), grown);
        QCOMPARE(c.CharWidths(), std::vector<int>(20, grown.x()));
        // A new size measures exactly again.
        c.Font().SetSize(20);
        QVERIFY(c.CharSize().x() > grown.x());
        QCOMPARE(c.AttrAt(0, 0)->Size(), 20);
        c.Font().SetSize(12);
        QCOMPARE(c.CharSize(), narrow);
    }

    void proportionalFaceRefused()
    {
        TShownConsole c(20, 3);
        QCOMPARE(ThrownBy<EInvalidFont>([&] { c.Font().SetName(QStringLiteral("DejaVu Sans")); }),
                 QStringLiteral("TConsole: DejaVu Sans is not fixed-pitch"));
        QCOMPARE(c.Font().Name(), QStringLiteral("Liberation Mono"));
        const QString longName(40, QLatin1Char('Q'));
        const QString refused = ThrownBy<EInvalidFont>([&] { c.Font().SetName(longName); });
        QCOMPARE(refused, QStringLiteral("TConsole: ") + longName.left(31) + QStringLiteral(" is not fixed-pitch"));
        QCOMPARE(refused.size(), 60);
    }

    void clearResetsCellsAndView()
    {
        TShownConsole c(30, 40);
        c.resize(c.sizeHint() - QSize(0, 20 * c.CharSize().y()));
        for (int i = 0; i < 60; ++i) {
            c.Font().SetColor(TColor(i));
            c.WriteString("Zeile " + QByteArray::number(i) + "\r\n");
        }
        QVERIFY(settle(c));
        QVERIFY(c.ScrollPos().y() > 0);
        c.Font().SetBkColor(0x804020);
        c.Clear();
        QCOMPARE(c.Cursor(), QPoint(0, 0));
        QCOMPARE(c.ScrollPos(), QPoint(0, 0));
        QCOMPARE(c.AttrManager().LiveCount(), 1);
        QCOMPARE(c.AttrAt(29, 39)->RefCount, 40);  // one run per row
        QCOMPARE(c.AttrAt(0, 0)->BkColor(), TColor(0x804020));
        for (int y = 0; y < 40; ++y)
            QCOMPARE(c.RowText(y), QByteArray(30, ' '));
        QVERIFY(settle(c));
        QCOMPARE(QColor(screenPixels(c).pixel(5, 5)), QColor(0x20, 0x40, 0x80));
    }
};

QTEST_MAIN(TestConsoleView)
#include "tst_ConsoleView.moc"
