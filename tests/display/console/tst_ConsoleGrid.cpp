// Placement of written text in the cell grid: wrapping, control codes, line-break
// modes and the ring of rows.

#include "ConsoleGrid.h"

#include <QtTest>

namespace {
struct Recorder : TConsoleGridEvents {
    QList<QPair<int, int>> Shown;
    int Fed = 0;
    int Bells = 0;
    void GridShowText(int L, int R) override { Shown.append({L, R}); }
    void GridLineFed() override { ++Fed; }
    void GridBell() override { ++Bells; }
};

QByteArray row(const TConsoleGrid& g, int y) { return g.RowText(y); }
QByteArray padded(const QByteArray& s, int cols) { return s + QByteArray(cols - s.size(), ' '); }
} // namespace

class TestConsoleGrid : public QObject {
    Q_OBJECT
private slots:
    void placement_data();
    void placement();
    void repaintSpansAndBell();
    void ringDropsOldestRow();
    void clearScreenKeepsRing();
    void fillSpansRowsOnlyWithinGrid();
    void resizeBringsCursorInside();
    void chunkingDoesNotMatter();
};

void TestConsoleGrid::placement_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("rows");  // the first two rows of a 10-column grid
    QTest::addColumn<QPoint>("cursor");
    QTest::newRow("full row wraps at once") << 0 << QByteArray(10, 'x') << QByteArray("xxxxxxxxxx") << QPoint(0, 1);
    QTest::newRow("long run continues") << 0 << QByteArray("abcdefghijklm") << QByteArray("abcdefghijklm") << QPoint(3, 1);
    QTest::newRow("backspace erases, stops at column 0") << 0 << QByteArray("abc\b\r\b\bx") << QByteArray("xb") << QPoint(1, 0);
    QTest::newRow("other controls dropped") << 0 << QByteArray("a\tb\x1b[c\x0c\x00" "d\x07", 10) << QByteArray("ab[cd") << QPoint(5, 0);
    QTest::newRow("high bytes printable") << 0 << QByteArray("\x7f\x80\xe4\xff") << QByteArray("\x7f\x80\xe4\xff") << QPoint(4, 0);
    QTest::newRow("CRLF: LF keeps column, CR stays on row") << 0 << QByteArray("ab\ncd\rx") << QByteArray("ab        x cd") << QPoint(1, 1);
    QTest::newRow("LF: LF returns too") << 2 << QByteArray("ab\ncd\rx") << QByteArray("ab        xd") << QPoint(1, 1);
    QTest::newRow("CR: CR feeds too, LF keeps column") << 1 << QByteArray("ab\rcd\nx") << QByteArray("ab        cd") << QPoint(3, 2);
}

void TestConsoleGrid::placement()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, rows);
    QFETCH(QPoint, cursor);
    TConsoleGrid g(10, 4);
    g.LineBreak = TConsoleLineBreak(mode);
    g.DoWriteBuf(input.constData(), input.size());
    QCOMPARE(row(g, 0) + row(g, 1), padded(rows, 20));
    QCOMPARE(g.Cursor, cursor);
}

void TestConsoleGrid::repaintSpansAndBell()
{
    TConsoleGrid g(10, 3);
    Recorder rec;
    g.Events = &rec;
    g.DoWriteBuf("abc", 3);
    QCOMPARE(rec.Shown.last(), qMakePair(0, 3));
    // The erased cell is part of the repainted span.
    g.DoWriteBuf("\b\x07", 2);
    QCOMPARE(rec.Shown.last(), qMakePair(2, 3));
    QCOMPARE(rec.Bells, 1);
    QCOMPARE(rec.Fed, 0);
}

void TestConsoleGrid::ringDropsOldestRow()
{
    TConsoleGrid g(5, 3);
    Recorder rec;
    g.Events = &rec;
    g.DoWriteBuf("r0\r\nr1\r\nr2", 10);
    QCOMPARE(g.FirstLine, 0);
    g.DoWriteBuf("\r\nr3", 4);
    QCOMPARE(rec.Fed, 1);
    QCOMPARE(g.FirstLine, 1);
    QCOMPARE(g.Feeds, quint64(1));
    QCOMPARE(row(g, 0), padded("r1", 5));
    QCOMPARE(row(g, 2), padded("r3", 5));
    QCOMPARE(g.Cursor, QPoint(2, 2));
    // Many feeds wrap the ring start; the picture stays in order.
    for (int i = 4; i < 11; ++i) {
        const QByteArray s = "\r\nr" + QByteArray::number(i);
        g.DoWriteBuf(s.constData(), s.size());
    }
    QCOMPARE(g.FirstLine, 8 % 3);
    QCOMPARE(row(g, 0), padded("r8", 5));
    QCOMPARE(row(g, 1), padded("r9", 5));
    QCOMPARE(row(g, 2), padded("r10", 5));
    QVERIFY(g.FirstLine >= 0 && g.FirstLine < g.Rows());
}

void TestConsoleGrid::clearScreenKeepsRing()
{
    TConsoleGrid g(4, 2);
    g.DoWriteBuf("ab\r\ncd\r\nef", 10);
    const int first = g.FirstLine;
    g.ClearScreen();
    QCOMPARE(g.FirstLine, first);
    QCOMPARE(g.Cursor, QPoint(0, 0));
    QCOMPARE(row(g, 0) + row(g, 1), QByteArray(8, ' '));
}

void TestConsoleGrid::fillSpansRowsOnlyWithinGrid()
{
    TConsoleGrid g(4, 3);
    g.DoWriteBuf("\r\n\r\n\r\n", 6);  // ring start moved: the fill follows grid rows
    g.FillChars(2, 1, '#', 100);
    QCOMPARE(row(g, 0), QByteArray("    "));
    QCOMPARE(row(g, 1), QByteArray("  ##"));
    QCOMPARE(row(g, 2), QByteArray("####"));
}

void TestConsoleGrid::resizeBringsCursorInside()
{
    TConsoleGrid g(10, 10);
    g.DoWriteBuf("\n\n\n\n\n\n\n\n\nabcdefgh", 17);
    g.SetSize(5, 4);
    QCOMPARE(g.Cursor, QPoint(4, 3));
    g.DoWriteBuf("xyz", 3);  // wraps and feeds inside the small grid
    QCOMPARE(g.Cursor, QPoint(2, 3));
    QCOMPARE(row(g, 3), padded("yz", 5));
}

void TestConsoleGrid::chunkingDoesNotMatter()
{
    const QByteArray text("Der Ork greift an!\r\nDu weichst aus.\b\b\r\n\x07Ein langer Satz, der umbricht und "
                          "weitergeht.\nEnde\r");
    TConsoleGrid whole(16, 5);
    whole.DoWriteBuf(text.constData(), text.size());
    TConsoleGrid bytes(16, 5);
    for (char c : text)
        bytes.DoWriteBuf(&c, 1);
    for (int y = 0; y < 5; ++y)
        QCOMPARE(bytes.RowText(y), whole.RowText(y));
    QCOMPARE(bytes.Cursor, whole.Cursor);
}

QTEST_GUILESS_MAIN(TestConsoleGrid)
#include "tst_ConsoleGrid.moc"
