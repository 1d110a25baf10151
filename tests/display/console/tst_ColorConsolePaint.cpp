// What the colour console draws: colours per cell, glyphs on the cell grid whatever
// the face, cells that grow for a wider face and never shrink, and fonts refused.

#include "ConsoleTestUtil.h"

class TestColorConsolePaint : public QObject {
    Q_OBJECT
private slots:
    void cellsShowTheirColours();
    void boldRunStaysOnGrid();
    void widerFaceGrowsCellsOnly();
    void proportionalFaceRefused();
    void refusalAfterRemeasureKeepsConsoleDrawable();
    void clearResetsCellsAndView();
};

void TestColorConsolePaint::cellsShowTheirColours()
{
    TColorConsole c;
    prepareConsole(c, 20, 4);
    c.Font().SetBkColor(kRed);
    c.WriteString("  ");
    c.Font().SetBkColor(kBlack);
    c.Font().SetColor(0x00FF00);
    c.WriteString("MM");
    const QImage img = freshPixels(c);
    const int w = c.CharSize().x();
    const int h = c.CharSize().y();
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

void TestColorConsolePaint::boldRunStaysOnGrid()
{
    TColorConsole c;
    prepareConsole(c, 20, 3);
    c.Font().SetStyle(fsBold);
    c.WriteString("MMMMMMMMMMMM\r\n");
    c.Font().SetStyle(0);
    c.WriteString("MMMMMMMMMMMM");
    const QImage img = freshPixels(c);
    const int w = c.CharSize().x();
    const int h = c.CharSize().y();
    QCOMPARE(c.CharWidths(), std::vector<int>(20, w));
    for (int i = 0; i < 12; ++i) {
        const QRect bold = inkBox(img, QRect(i * w, 0, w, h), qRgb(0, 0, 0));
        const QRect plain = inkBox(img, QRect(i * w, h, w, h), qRgb(0, 0, 0));
        QVERIFY(!bold.isEmpty() && !plain.isEmpty());
        QVERIFY2(std::abs(bold.center().x() - plain.center().x()) <= 1, qPrintable(QString::number(i)));
    }
    QCOMPARE(inkBox(img, QRect(12 * w, 0, 8 * w, 2 * h), qRgb(0, 0, 0)), QRect());
}

void TestColorConsolePaint::widerFaceGrowsCellsOnly()
{
    TColorConsole c;
    prepareConsole(c, 20, 3);
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

void TestColorConsolePaint::proportionalFaceRefused()
{
    TColorConsole c;
    prepareConsole(c, 20, 3);
    QCOMPARE(thrownBy<EInvalidFont>([&] { c.Font().SetName(QStringLiteral("DejaVu Sans")); }),
             QStringLiteral("TConsole: DejaVu Sans is not fixed-pitch"));
    QCOMPARE(c.Font().Name(), QStringLiteral("Liberation Mono"));
    const QString longName(40, QLatin1Char('Q'));
    const QString refused = thrownBy<EInvalidFont>([&] { c.Font().SetName(longName); });
    QCOMPARE(refused, QStringLiteral("TConsole: ") + longName.left(31) + QStringLiteral(" is not fixed-pitch"));
    QCOMPARE(refused.size(), 60);
    // Without the check any face is taken.
    c.SetOptions(c.Options() & ~coFixedPitchOnly);
    c.Font().SetName(QStringLiteral("DejaVu Sans"));
    QCOMPARE(c.Font().Name(), QStringLiteral("DejaVu Sans"));
}

void TestColorConsolePaint::refusalAfterRemeasureKeepsConsoleDrawable()
{
    TColorConsole c;
    prepareConsole(c, 20, 3);
    c.SetOptions(c.Options() & ~coFixedPitchOnly);
    c.Font().SetName(QStringLiteral("DejaVu Sans"));
    c.SetOptions(DefaultConsoleOptions);
    // The last accepted face is the refused one itself: the stock fixed face steps in.
    QVERIFY_THROWS_EXCEPTION(EInvalidFont, c.Clear());
    QCOMPARE(c.Font().Name(), QStringLiteral("Courier New"));
    QVERIFY(c.CharSize().x() > 0 && c.CharSize().y() > 0);
    c.WriteString("ok");
    QCOMPARE(c.RowText(0).left(2), QByteArray("ok"));
}

void TestColorConsolePaint::clearResetsCellsAndView()
{
    TColorConsole c;
    prepareConsole(c, 30, 40);
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

QTEST_MAIN(TestColorConsolePaint)
#include "tst_ColorConsolePaint.moc"
