// The small controls: the gradient panel and the colour box drawn offscreen and checked
// pixel by pixel, the input line by what its Tab handler sees and changes.
#include "TableRows.h"
#include "display/controls/FnpComboColor.h"
#include "display/controls/Shader.h"
#include "display/controls/tbedit.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace
{

QImage Render(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta); // a pixel the widget leaves shows up as magenta
    widget.render(&image);
    return image;
}

// Size and direction (across: bands left to right), bands, end colour, and one pixel's colour.
struct BandRow {
    const char* name;
    QSize size;
    bool across;
    int steps;
    TColor to;
    QPoint at;
    QColor color;
};
const BandRow kBands[] = {
    // The defaults: blue to black, 20 bands, top to bottom.
    {"first band", {10, 200}, false, 20, 0, {5, 9}, QColor(0, 0, 255)},
    {"last band one delta short of black", {10, 200}, false, 20, 0, {9, 199}, QColor(0, 0, 13)},
    // The settings preview: bands across, 5.45 pixels wide.
    {"preview band 10", {109, 233}, true, 20, 0, {54, 0}, QColor(0, 0, 127)},
    // Red in the lowest byte: blue to red, delta 63.75 per channel.
    {"channels apart", {4, 40}, false, 4, 0x0000FF, {0, 25}, QColor(128, 0, 127)},
    // More bands than pixels, and x.5 band sizes, still cover every pixel.
    {"more bands than pixels", {5, 37}, false, 200, 0, {0, 36}, QColor(0, 0, 4)},
    {"half-pixel bands", {3, 10}, false, 4, 0, {0, 9}, QColor(0, 0, 64)},
};

} // namespace

class TstControls : public QObject
{
    Q_OBJECT
private slots:
    void shaderBands_data() { AddTableRows(kBands); }

    void shaderBands()
    {
        const BandRow& r = TableRow(kBands);
        TShader shader;
        shader.resize(r.size);
        shader.SetDirection(r.across);
        shader.SetSteps(quint16(r.steps));
        shader.SetToColor(r.to);
        const QImage image = Render(shader);
        QCOMPARE(QColor(image.pixel(r.at)), r.color);
        // Every pixel is covered, the bands darken monotonically.
        int previousBlue = 256;
        for (int i = 0; i < (r.across ? r.size.width() : r.size.height()); ++i) {
            const QColor c(r.across ? image.pixel(i, 0) : image.pixel(0, i));
            QVERIFY2(c.green() == 0 && c.blue() <= previousBlue, qPrintable(QString::number(i)));
            previousBlue = c.blue();
        }
    }

    void shaderSystemColourAndOneBand()
    {
        TShader shader;
        shader.resize(3, 10);
        QPalette palette = shader.palette();
        palette.setColor(QPalette::Button, QColor(10, 200, 30));
        shader.setPalette(palette);
        shader.SetFromColor(TColor(0x8000000F)); // button face
        shader.SetSteps(0);                      // stored as one band: all FromColor
        QCOMPARE(shader.Steps(), quint16(1));
        QCOMPARE(QColor(Render(shader).pixel(2, 9)), QColor(10, 200, 30));
    }

    // The client fills the box in its own order and selects by colour.
    void comboKeepsTheOrderAndSelectsTheFirstMatch()
    {
        TFnpComboColor combo;
        combo.SelectColor(0xFF0000); // empty list: nothing to select
        QCOMPARE(combo.SelectedColor(), TColor(0));
        combo.AddColor("Rot", 0x0000FF);
        combo.AddColor("Blau", 0xFF0000);
        combo.AddColor("\xC4tzblau", 0xFF0000);
        QCOMPARE(QByteArrayList({combo.NameAt(0), combo.NameAt(1), combo.NameAt(2)}),
                 QByteArrayList({"Rot", "Blau", "\xC4tzblau"}));
        QCOMPARE(combo.itemText(2), QString::fromUtf8("\xC3\x84tzblau"));
        QSignalSpy chosen(&combo, &QComboBox::activated);
        combo.SelectColor(0xFF0000);
        QCOMPARE(combo.currentIndex(), 1);
        combo.SelectColor(TColor(0x80000000)); // a system colour no entry holds
        QCOMPARE(combo.SelectedColor(), TColor(0xFF0000));
        QCOMPARE(chosen.count(), 0); // a selection by program is not the player's choice
    }

    // Where the swatch and name sit is layout; that the swatch has the item's colour, the
    // name is written and a selected item is highlighted is what the player relies on.
    void comboItemsShowTheSwatch()
    {
        const QColor base(250, 250, 250), highlight(40, 50, 60);
        TFnpComboColor combo;
        QPalette palette = combo.palette();
        palette.setColor(QPalette::Base, base);
        palette.setColor(QPalette::Highlight, highlight);
        combo.setPalette(palette);
        combo.AddColor("Rot", 0x0000FF);
        combo.AddColor("Fenster", TColor(0x80000005)); // system colour: the window = Base
        const int h = combo.ItemHeight(), mid = h / 2;
        QImage image(100, 2 * h, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            combo.DrawItem(painter, 0, QRect(0, 0, 100, h), false);
            combo.DrawItem(painter, 1, QRect(0, h, 100, h), true);
        }
        QCOMPARE(QColor(image.pixel(8, mid)), QColor(255, 0, 0));
        QCOMPARE(QColor(image.pixel(8, h + mid)), base);
        QCOMPARE(QColor(image.pixel(0, h + mid)), highlight);
        QImage blank(78, h, image.format());
        blank.fill(base);
        QVERIFY2(image.copy(22, 0, 78, h) != blank, "no name written");
    }

    void tabReachesTheHandlerFirst_data()
    {
        using Mods = Qt::KeyboardModifiers;
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("consume");
        QTest::addColumn<Mods>("reported");
        QTest::newRow("cleared key keeps the focus") << int(Qt::Key_Tab) << true << Mods();
        QTest::newRow("key left: focus moves on") << int(Qt::Key_Tab) << false << Mods();
        QTest::newRow("backtab is tab with shift")
            << int(Qt::Key_Backtab) << true << Mods(Qt::ShiftModifier);
    }

    void tabReachesTheHandlerFirst()
    {
        QFETCH(int, key);
        QFETCH(bool, consume);
        QFETCH(Qt::KeyboardModifiers, reported);
        // The input line followed by a second edit in tab order, in an active window.
        QWidget window;
        auto* input = new TTbEdit(&window);
        auto* next = new QLineEdit(&window);
        window.show();
        window.activateWindow();
        input->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClicks(input, "nimm Sch"); // without handlers typing is plain editing
        QList<int> keys;
        Qt::KeyboardModifiers shift;
        // The handler removes itself while it runs; what it captured stays alive until it returns.
        input->SetOnTabKeyPress([&](QObject* sender, int& Key, Qt::KeyboardModifiers Shift) {
            input->SetOnTabKeyPress(nullptr);
            QCOMPARE(sender, static_cast<QObject*>(input));
            keys << Key;
            shift = Shift;
            if (consume) Key = 0;
        });
        QTest::keyClick(input, Qt::Key(key));
        QCOMPARE(keys, QList<int>{Qt::Key_Tab});
        QCOMPARE(shift, reported);
        QCOMPARE(input->hasFocus(), consume);
        QCOMPARE(input->text(), QString("nimm Sch"));
        input->setFocus();
        QTest::keyClick(input, Qt::Key_Tab); // no handler now: plain navigation
        QCOMPARE(keys.size(), 1);
        QVERIFY(next->hasFocus());
    }
};

QTEST_MAIN(TstControls)
#include "tst_controls.moc"
