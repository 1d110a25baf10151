// The scrolling view: deferred and merged scrolling under coLazyWrite, pixels that
// match a fresh render after any sequence of writes, and the scroll keys.

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
    void feedsMergeIntoFewPixelMoves_data();
    void feedsMergeIntoFewPixelMoves();
    void textStaysUntilScrollHandled();
    void screenMatchesFreshRender_data();
    void screenMatchesFreshRender();
    void plainConsoleDrawsWithPen();
    void handlerTakesWrittenBuffers();
    void scrollKeys();
    void trackingFollowsCursor();
};

void TestConsoleView::feedsMergeIntoFewPixelMoves_data()
{
    QTest::addColumn<int>("feeds");
    QTest::addColumn<int>("pendingAfterBurst");
    QTest::newRow("below half a window") << 10 << -10;
    QTest::newRow("thirty: two halves handled at once") << 30 << -6;
}

void TestConsoleView::feedsMergeIntoFewPixelMoves()
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

void TestConsoleView::textStaysUntilScrollHandled()
{
    TColorConsole c;
    prepareConsole(c, 40, 10);
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

void TestConsoleView::screenMatchesFreshRender_data()
{
    QTest::addColumn<bool>("lazy");
    QTest::newRow("deferred") << true;
    QTest::newRow("immediate") << false;
}

void TestConsoleView::screenMatchesFreshRender()
{
    QFETCH(bool, lazy);
    TColorConsole c;
    prepareConsole(c, 50, 30);
    if (!lazy)
        c.SetOptions(c.Options() & ~coLazyWrite);
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

void TestConsoleView::scrollKeys()
{
    TColorConsole c;
    prepareConsole(c, 60, 40);
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

void TestConsoleView::trackingFollowsCursor()
{
    TColorConsole c;
    prepareConsole(c, 40, 30);
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
    // Without tracking the view stays where the reader put it.
    c.SetOptions(c.Options() & ~coAutoTracking);
    c.DoScroll(Qt::Vertical, saTop, 0);
    c.WriteString("y\r\n");
    QVERIFY(settle(c));
    QCOMPARE(c.ScrollPos().y(), 0);
}

void TestConsoleView::plainConsoleDrawsWithPen()
{
    TConsole c;
    prepareConsole(c, 20, 3);
    c.Font().SetColor(kRed);
    c.WriteString("MMMMM");
    QVERIFY(settle(c));
    const QImage img = screenPixels(c);
    const int w = c.CharSize().x();
    const int h = c.CharSize().y();
    // The pen colours the whole grid: the text is red on black.
    const QRect ink = inkBox(img, QRect(0, 0, img.width(), img.height()), qRgb(0, 0, 0));
    QVERIFY(QRect(0, 0, 5 * w, h).contains(ink));
    int red = 0;
    for (int x = ink.left(); x <= ink.right(); ++x)
        for (int y = ink.top(); y <= ink.bottom(); ++y)
            red += qRed(img.pixel(x, y)) > 150 && qGreen(img.pixel(x, y)) < 80 ? 1 : 0;
    QVERIFY(red > 10);
    QCOMPARE(img, freshPixels(c));
}

void TestConsoleView::handlerTakesWrittenBuffers()
{
    TColorConsole c;
    QByteArray seen;
    c.ProcessControlCodes = [&](TConsole* sender, const char* buffer, quint32 count) {
        QCOMPARE(sender, &c);
        seen += QByteArray(buffer, int(count)) + '|';
    };
    c.WriteString("ab\r\n");
    c.WriteChar('x');
    c.WriteString("");
    QCOMPARE(seen, QByteArray("ab\r\n|x|"));
    QCOMPARE(c.RowText(0).left(2), QByteArray("  "));
    QCOMPARE(c.Cursor(), QPoint(0, 0));
}

QTEST_MAIN(TestConsoleView)
#include "tst_ConsoleView.moc"
