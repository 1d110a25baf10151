// The attribute table: reference counts, the lookup cache, reuse of freed slots, and
// the invariant that every count equals the number of cells naming the attribute.

#include "AttrManager.h"
#include "ColorGrid.h"

#include <QRandomGenerator>
#include <QtTest>

#include <map>

namespace {
TFixedFont pen(TColor fg, TColor bg = 0, TFontStyles style = 0)
{
    TFixedFont f;
    f.SetColor(fg);
    f.SetBkColor(bg);
    f.SetStyle(style);
    return f;
}

// Empty string when every live attribute's count matches the cells naming it.
QString countMismatch(const TColorGrid& g)
{
    std::map<int, int> cells;
    for (int y = 0; y < g.Rows(); ++y)
        for (int x = 0; x < g.Cols(); ++x)
            ++cells[g.AttrAt(x, y)];
    const TAttrManager& t = g.AttrManager();
    for (const auto& [index, n] : cells) {
        if (!t.Get(index))
            return QStringLiteral("cell names free slot %1").arg(index);
        if (t.Get(index)->RefCount != n)
            return QStringLiteral("slot %1 counts %2, cells %3").arg(index).arg(t.Get(index)->RefCount).arg(n);
    }
    if (t.LiveCount() != int(cells.size()))
        return QStringLiteral("%1 live attributes for %2 in use").arg(t.LiveCount()).arg(cells.size());
    return {};
}
} // namespace

class TestAttrManager : public QObject {
    Q_OBJECT
private slots:
    void findOrAddMatchesColoursAndShape();
    void freedSlotIsReusedLastFirst();
    void scrollingOffFreesAttribute();
    void countsHoldUnderRandomUse();
};

void TestAttrManager::findOrAddMatchesColoursAndShape()
{
    TAttrManager t;
    const int red = t.FindOrAdd(pen(0x0000FF));
    QCOMPARE(t.FindOrAdd(pen(0x0000FF)), red);
    QCOMPARE(t.Get(red)->RefCount, 0);
    QVERIFY(t.FindOrAdd(pen(0x0000FF, 0x00FF00)) != red);
    QVERIFY(t.FindOrAdd(pen(0x0000FF, 0, fsBold)) != red);
    TFixedFont bigger = pen(0x0000FF);
    bigger.SetSize(bigger.Size() + 2);
    QVERIFY(t.FindOrAdd(bigger) != red);
    // Found again by scanning after the cache moved on.
    QCOMPARE(t.FindOrAdd(pen(0x0000FF)), red);
    QCOMPARE(t.Count(), 4);
}

void TestAttrManager::freedSlotIsReusedLastFirst()
{
    TAttrManager t;
    const int a = t.FindOrAdd(pen(1));
    const int b = t.FindOrAdd(pen(2));
    const int c = t.FindOrAdd(pen(3));
    for (int i : {a, b, c})
        t.AddRef(i, 1);
    t.AddRef(a, -1);
    t.AddRef(c, -1);
    QVERIFY(!t.Get(a) && !t.Get(c));
    QCOMPARE(t.FindOrAdd(pen(4)), c);
    QCOMPARE(t.FindOrAdd(pen(5)), a);
    QCOMPARE(t.FindOrAdd(pen(6)), 3);
    QCOMPARE(t.Get(b)->Color(), TColor(2));
    // A freed attribute is not found through the cache any more.
    t.AddRef(b, -5);
    QVERIFY(!t.Get(b));
    QCOMPARE(t.FindOrAdd(pen(2)), b);
    QCOMPARE(t.Get(b)->RefCount, 0);
}

void TestAttrManager::scrollingOffFreesAttribute()
{
    TFixedFont p = pen(1);
    TColorGrid g(&p, 4, 3);
    p.SetColor(2);
    g.DoWriteBuf("blue", 4);  // fills row 0 and wraps
    const int blue = g.AttrAt(0, 0);
    p.SetColor(1);
    g.DoWriteBuf("\r\n\r\n\r\n", 6);
    QVERIFY(!g.AttrManager().Get(blue));
    p.SetColor(3);
    g.DoWriteBuf("x", 1);
    QCOMPARE(g.AttrAt(0, 2), blue);
    QCOMPARE(countMismatch(g), QString());
}

void TestAttrManager::countsHoldUnderRandomUse()
{
    QRandomGenerator rng(4711);
    TFixedFont p = pen(1);
    TColorGrid g(&p, 13, 7);
    const char* pieces[] = {"Ork", "\r\n", "\n", "\r", "\b\b", "ein langer Text ohne Ende", "\t\x1b", "x"};
    for (int step = 0; step < 4000; ++step) {
        p.SetColor(TColor(rng.bounded(6)));
        p.SetBkColor(TColor(rng.bounded(2)));
        p.SetStyle(rng.bounded(4) == 0 ? fsBold : 0);
        switch (rng.bounded(10)) {
        case 0:
            g.ClearScreen();
            break;
        case 1:
            g.FillChars(rng.bounded(13), rng.bounded(7), '#', rng.bounded(40));
            break;
        default: {
            const char* s = pieces[rng.bounded(8)];
            g.DoWriteBuf(s, qsizetype(strlen(s)));
        }
        }
        if (step % 97 == 0) {
            const QString mismatch = countMismatch(g);
            QVERIFY2(mismatch.isEmpty(), qPrintable(QStringLiteral("step %1: %2").arg(step).arg(mismatch)));
        }
    }
    QCOMPARE(countMismatch(g), QString());
    QVERIFY(g.AttrManager().Count() <= 6 * 2 * 2);
}

QTEST_MAIN(TestAttrManager)
#include "tst_AttrManager.moc"
