// The attribute table: reference counts, the lookup cache, reuse of freed slots, and
// the invariant that every count equals the number of attribute runs naming it.

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

// Empty string when the runs of every row cover it in order, each naming a live
// attribute other than the run before it, and every live attribute counts the runs
// naming it.
QString runMismatch(const TColorGrid& g)
{
    std::map<int, int> runs;
    for (int r = 0; r < g.Rows(); ++r) {
        int col = 0;
        int prev = -1;
        for (const TAttrRun& run : g.RowRuns(r)) {
            if (run.Start != col || run.Length < 1 || run.Attr == prev)
                return QStringLiteral("row %1: run at %2 after %3").arg(r).arg(run.Start).arg(col);
            col = run.End();
            prev = run.Attr;
            ++runs[run.Attr];
        }
        if (col != g.Cols())
            return QStringLiteral("row %1 covered up to %2").arg(r).arg(col);
    }
    const TAttrManager& t = g.AttrManager();
    for (const auto& [index, n] : runs) {
        if (!t.Get(index))
            return QStringLiteral("run names free slot %1").arg(index);
        if (t.Get(index)->RefCount != n)
            return QStringLiteral("slot %1 counts %2, runs %3")
                .arg(index)
                .arg(t.Get(index)->RefCount)
                .arg(n);
    }
    if (t.LiveCount() != int(runs.size()))
        return QStringLiteral("%1 live attributes for %2 in use")
            .arg(t.LiveCount())
            .arg(runs.size());
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
    QCOMPARE(runMismatch(g), QString());
}

// Letters name the pen they were written in ('a' + 2 x colour + background, upper case
// for bold), so every letter cell shows whether its run kept the right attribute.
void TestAttrManager::countsHoldUnderRandomUse()
{
    QRandomGenerator rng(4711);
    TFixedFont p = pen(1);
    TColorGrid g(&p, 13, 7);
    const char* controls[] = {"\r\n", "\n", "\r", "\b\b\b", "\t\x1b"};
    const auto check = [&](int step) {
        QString mismatch = runMismatch(g);
        for (int y = 0; y < g.Rows() && mismatch.isEmpty(); ++y)
            for (int x = 0; x < g.Cols() && mismatch.isEmpty(); ++x) {
                const char c = g.CharAt(x, y);
                const int code = QChar::toLower(c) - 'a';
                const TAttr* a = g.AttrOf(x, y);
                if (code >= 0 && code < 12
                    && (a->Color() != TColor(code / 2) || a->BkColor() != TColor(code % 2)
                        || a->Style() != (c < 'a' ? fsBold : 0)))
                    mismatch = QStringLiteral("cell %1,%2").arg(x).arg(y);
            }
        return mismatch.isEmpty() ? mismatch
                                  : QStringLiteral("step %1: %2").arg(step).arg(mismatch);
    };
    for (int step = 0; step < 4000; ++step) {
        const int colour = rng.bounded(6);
        const int back = rng.bounded(2);
        const bool bold = rng.bounded(4) == 0;
        p.SetColor(TColor(colour));
        p.SetBkColor(TColor(back));
        p.SetStyle(bold ? fsBold : 0);
        const int what = rng.bounded(10);
        if (what == 0) {
            g.ClearScreen();
        } else if (what == 1) {
            g.FillChars(rng.bounded(13), rng.bounded(7), '#', rng.bounded(40));
        } else if (what < 5) {
            const char* s = controls[rng.bounded(5)];
            g.DoWriteBuf(s, qsizetype(strlen(s)));
        } else {
            const QByteArray s(1 + rng.bounded(30), char((bold ? 'A' : 'a') + 2 * colour + back));
            g.DoWriteBuf(s.constData(), s.size());
        }
        if (step % 7 == 0)
            QCOMPARE(check(step), QString());
    }
    QCOMPARE(check(4000), QString());
    QVERIFY(g.AttrManager().Count() <= 6 * 2 * 2);
}

QTEST_MAIN(TestAttrManager)
#include "tst_AttrManager.moc"
