// The cell grid and the attribute table: placement of written text (wrapping, control
// codes, line-break modes, the ring of rows), reference counts, the lookup cache, reuse
// of freed slots and the fonts behind the attributes.

#include "AttrManager.h"
#include "ColorGrid.h"
#include "ConsoleGrid.h"

#include <QRandomGenerator>
#include <QtTest>

#include <map>

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
            return QString::asprintf("slot %d counts %d, runs %d", index, t.Get(index)->RefCount, n);
    }
    if (t.LiveCount() != int(runs.size()))
        return QString::asprintf("%d live attributes for %d in use", t.LiveCount(), int(runs.size()));
    return {};
}
} // namespace

class TestConsoleGrid : public QObject {
    Q_OBJECT
private slots:
    void placement_data()
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

    void placement()
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

    void repaintSpansAndBell()
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

    void ringDropsOldestRow()
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
        QCOMPARE(row(g, 0) + row(g, 1) + row(g, 2), QByteArray("r1   r2   r3   "));
        QCOMPARE(g.Cursor, QPoint(2, 2));
        // Many feeds wrap the ring start; the picture stays in order.
        for (int i = 4; i < 11; ++i) {
            const QByteArray s = "\r\nr" + QByteArray::number(i);
            g.DoWriteBuf(s.constData(), s.size());
        }
        QCOMPARE(g.FirstLine, 8 % 3);
        QCOMPARE(row(g, 0) + row(g, 1) + row(g, 2), QByteArray("r8   r9   r10  "));
    }

    void fillAndClearFollowTheRing()
    {
        TConsoleGrid g(4, 3);
        g.DoWriteBuf("\r\n\r\n\r\n", 6);  // ring start moved: the fill follows grid rows
        g.FillChars(2, 1, '#', 100);
        QCOMPARE(row(g, 0) + row(g, 1) + row(g, 2), QByteArray("      ######"));
        g.ClearScreen();
        QCOMPARE(g.FirstLine, 1);
        QCOMPARE(g.Cursor, QPoint(0, 0));
        QCOMPARE(row(g, 0) + row(g, 1) + row(g, 2), QByteArray(12, ' '));
    }

    void resizeBringsCursorInside()
    {
        TConsoleGrid g(10, 10);
        g.DoWriteBuf("\n\n\n\n\n\n\n\n\nabcdefgh", 17);
        g.SetSize(5, 4);
        QCOMPARE(g.Cursor, QPoint(4, 3));
        g.DoWriteBuf("xyz", 3);  // wraps and feeds inside the small grid
        QCOMPARE(g.Cursor, QPoint(2, 3));
        QCOMPARE(row(g, 3), padded("yz", 5));
        // No size is smaller than one cell.
        g.SetSize(0, -1);
        QCOMPARE(QPoint(g.Cols(), g.Rows()), QPoint(1, 1));
        const TConsoleGrid tiny(-2, 0);
        QCOMPARE(QPoint(tiny.Cols(), tiny.Rows()), QPoint(1, 1));
    }

    void chunkingDoesNotMatter()
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
    void findOrAddMatchesColoursAndShape()
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

    void fontStylesAndAssign()
    {
        const struct {
            TFontStyles style;
            bool (QFont::*has)() const;
        } styles[] = {{fsBold, &QFont::bold}, {fsItalic, &QFont::italic},
                      {fsUnderline, &QFont::underline}, {fsStrikeOut, &QFont::strikeOut}};
        for (const auto& s : styles) {
            const QFont plain = FontRegistry::Entry(pen(1).Handle()).Font;
            const QFont styled = FontRegistry::Entry(pen(1, 0, s.style).Handle()).Font;
            QVERIFY(!(plain.*s.has)() && (styled.*s.has)());
        }
        // Assign takes the face of the other font, handle included.
        TFixedFont a = pen(1);
        TFixedFont b = pen(1, 0, fsItalic);
        b.SetSize(a.Size() + 4);
        const int before = a.Handle();
        int changes = 0;
        a.OnChange = [&] { ++changes; };
        a.Assign(b);
        QVERIFY(a.Handle() != before);
        QCOMPARE(a.Handle(), b.Handle());
        QCOMPARE(changes, 1);
    }

    void freedSlotIsReusedLastFirst()
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

    void scrollingOffFreesAttribute()
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
    void countsHoldUnderRandomUse()
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
};

QTEST_MAIN(TestConsoleGrid)
#include "tst_ConsoleGrid.moc"
