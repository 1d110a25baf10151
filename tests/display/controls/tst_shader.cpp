#include "display/controls/Shader.h"

#include "TableRows.h"

#include <QImage>
#include <QTest>

namespace
{

QImage Render(TShader& shader)
{
    QImage image(shader.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta); // a pixel the shader leaves shows up as magenta
    shader.render(&image);
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
    {"second band", {10, 200}, false, 20, 0, {5, 10}, QColor(0, 0, 242)},
    {"last band one delta short of black", {10, 200}, false, 20, 0, {9, 199}, QColor(0, 0, 13)},
    // The settings preview: bands across, 5.45 pixels wide.
    {"preview band 10", {109, 233}, true, 20, 0, {54, 100}, QColor(0, 0, 127)},
    {"preview last band", {109, 233}, true, 20, 0, {108, 0}, QColor(0, 0, 13)},
    // Red in the lowest byte: blue to red, delta 63.75 per channel.
    {"channels apart", {4, 40}, false, 4, 0x0000FF, {0, 25}, QColor(128, 0, 127)},
};

} // namespace

class TstShader : public QObject
{
    Q_OBJECT
private slots:
    void bands_data() { AddTableRows(kBands); }

    void bands()
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

    void manyBandsSystemColourAndOneBand()
    {
        TShader shader; // more bands than pixels, and x.5 band sizes, still cover all
        for (const auto& [steps, size] : {std::pair{200, QSize(5, 37)}, {4, QSize(3, 10)}}) {
            shader.resize(size);
            shader.SetSteps(quint16(steps));
            const QImage image = Render(shader);
            for (int y = 0; y < size.height(); ++y)
                QVERIFY(QColor(image.pixel(0, y)).red() == 0);
        }
        QPalette palette = shader.palette();
        palette.setColor(QPalette::Button, QColor(10, 200, 30));
        shader.setPalette(palette);
        shader.SetFromColor(TColor(0x8000000F)); // button face
        shader.SetSteps(0);                      // stored as one band: all FromColor
        QCOMPARE(shader.Steps(), quint16(1));
        const QImage image = Render(shader);
        QCOMPARE(QColor(image.pixel(0, 0)), QColor(10, 200, 30));
        QCOMPARE(QColor(image.pixel(2, 9)), QColor(10, 200, 30));
    }
};

QTEST_MAIN(TstShader)
#include "tst_shader.moc"
