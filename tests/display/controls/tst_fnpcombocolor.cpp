#include "display/controls/FnpComboColor.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QStyleOptionComboBox>
#include <QTest>

namespace
{

const QColor kBase(250, 250, 250), kText(1, 2, 3), kHighlight(40, 50, 60);

void SetPlainPalette(QWidget& widget)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, kBase);
    palette.setColor(QPalette::Text, kText);
    palette.setColor(QPalette::Highlight, kHighlight);
    widget.setPalette(palette);
}

} // namespace

class TstFnpComboColor : public QObject
{
    Q_OBJECT
private slots:
    void addColorPlacesBySortOrder_data()
    {
        QTest::addColumn<int>("sortBy");
        QTest::addColumn<QByteArrayList>("expected");
        QTest::newRow("unsorted appends")
            << int(ccsUnsorted) << QByteArrayList{"Rot", "blau", "Gelb", "Blau", "\xC4tzend", "zinn"};
        // Signed values put system colours first; equal keys keep the order of insertion.
        QTest::newRow("by colour value")
            << int(ccsColor) << QByteArrayList{"\xC4tzend", "zinn", "Rot", "Gelb", "blau", "Blau"};
        // Folding is ASCII only: the umlaut byte 0xC4 sorts after every ASCII letter.
        QTest::newRow("by upper-cased name")
            << int(ccsText) << QByteArrayList{"blau", "Blau", "Gelb", "Rot", "zinn", "\xC4tzend"};
    }

    void addColorPlacesBySortOrder()
    {
        QFETCH(int, sortBy);
        QFETCH(QByteArrayList, expected);
        const QByteArrayList names{"Rot", "blau", "Gelb", "Blau", "\xC4tzend", "zinn"};
        const QList<TColor> colors{0x0000FF, 0xFF0000, 0x00FFFF, 0xFF0000, TColor(0x80000005), 0};
        TFnpComboColor combo;
        combo.SetSortBy(TSortBy(sortBy));
        for (int i = 0; i < names.size(); ++i)
            combo.AddColor(names[i], colors[i]);
        QByteArrayList actual;
        for (int i = 0; i < combo.count(); ++i) {
            actual << combo.NameAt(i);
            QCOMPARE(combo.ColorAt(i), colors[names.indexOf(actual.last())]);
        }
        QCOMPARE(actual, expected);
        QCOMPARE(combo.itemText(expected.indexOf("\xC4tzend")), QString::fromUtf8("\xC3\x84tzend"));
    }

    void selectColorTakesTheFirstMatchOrKeepsTheSelection()
    {
        TFnpComboColor combo;
        combo.SelectColor(0xFF0000); // empty list: nothing to select
        QCOMPARE(combo.currentIndex(), -1);
        QCOMPARE(combo.SelectedColor(), TColor(0));
        combo.AddColor("Rot", 0x0000FF);
        combo.AddColor("Blau", 0xFF0000);
        combo.AddColor("Auch blau", 0xFF0000);
        QSignalSpy chosen(&combo, &QComboBox::activated);
        combo.SelectColor(0xFF0000);
        QCOMPARE(combo.currentIndex(), 1);
        combo.SelectColor(TColor(0x80000000)); // a system colour no entry holds
        QCOMPARE(combo.currentIndex(), 1);
        QCOMPARE(combo.SelectedColor(), TColor(0xFF0000));
        QCOMPARE(chosen.count(), 0); // a selection by program is not the player's choice
    }

    // Where the swatch and name sit is layout; that the swatch has the item's colour, the
    // name is written and a selected item is highlighted is what the player relies on.
    void itemsAndClosedBoxShowTheSwatch()
    {
        TFnpComboColor combo;
        SetPlainPalette(combo);
        combo.AddColor("Rot", 0x0000FF);
        combo.AddColor("Fenster", TColor(0x80000005)); // system colour: the window = Base
        const int h = combo.ItemHeight(), mid = h / 2;
        QImage image(100, 2 * h, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        {
            QPainter painter(&image);
            combo.DrawItem(painter, 0, QRect(0, 0, 100, h), false);
            combo.DrawItem(painter, 1, QRect(0, h, 100, h), true);
        }
        QCOMPARE(QColor(image.pixel(8, mid)), QColor(255, 0, 0));
        QCOMPARE(QColor(image.pixel(8, h + mid)), kBase);
        QCOMPARE(QColor(image.pixel(0, h + mid)), kHighlight);
        bool name = false;
        for (int x = 22; x < 100; ++x)
            for (int y = 0; y < h; ++y)
                name |= QColor(image.pixel(x, y)) != kBase;
        QVERIFY(name);
        // The closed box shows the selected colour in its edit field.
        combo.AddColor("Gelb", 0x00FFFF);
        combo.resize(combo.sizeHint());
        combo.SelectColor(0x00FFFF);
        QImage closed(combo.size(), QImage::Format_RGB32);
        combo.render(&closed);
        QStyleOptionComboBox option;
        option.initFrom(&combo);
        const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                          QStyle::SC_ComboBoxEditField, &combo);
        QCOMPARE(QColor(closed.pixel(field.left() + 8, field.center().y())), QColor(255, 255, 0));
    }
};

QTEST_MAIN(TstFnpComboColor)
#include "tst_fnpcombocolor.moc"
