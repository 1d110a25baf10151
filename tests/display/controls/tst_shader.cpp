#include "display/controls/Shader.h"

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

int BlueAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y)).blue();
}

} // namespace

class TstShader : public QObject
{
    Q_OBJECT
private slots:
    void bandsRunFromBlueTowardsBlack();
    void narrowBandsOverlapLeftToRight();
    void everyPixelIsCovered_data();
    void everyPixelIsCovered();
    void channelsSystemColoursAndOneBand();
};

void TstShader::bandsRunFromBlueTowardsBlack()
{
    TShader shader; // defaults: blue to black, 20 bands, top to bottom
    shader.resize(10, 200);
    const QImage image = Render(shader);
    QCOMPARE(BlueAt(image, 5, 9), 255);
    QCOMPARE(BlueAt(image, 5, 10), 242);
    // Halves round to even: band 6 is 255 - 76 (76.5), band 2 is 255 - 26 (25.5).
    QCOMPARE(BlueAt(image, 5, 65), 179);
    QCOMPARE(BlueAt(image, 5, 25), 229);
    // The last band stops one delta short of black.
    QCOMPARE(QColor(image.pixel(9, 199)), QColor(0, 0, 13));
}

void TstShader::narrowBandsOverlapLeftToRight()
{
    // The settings preview: 109 pixels wide, 20 bands of 5.45 pixels.
    TShader shader;
    shader.resize(109, 233);
    shader.SetDirection(true);
    const QImage image = Render(shader);
    // Band 10 starts at 54 (54.5 to even), over the last pixel of band 9 (49..54).
    QCOMPARE(BlueAt(image, 53, 100), 140);
    QCOMPARE(BlueAt(image, 54, 100), 127);
    QCOMPARE(BlueAt(image, 108, 232), 13);
    for (int x = 0; x < 109; ++x)
        QCOMPARE(image.pixel(x, 0), image.pixel(x, 232));
}

void TstShader::everyPixelIsCovered_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<bool>("direction");
    QTest::addColumn<QSize>("size");
    QTest::newRow("band size x.5 rounded to even") << 4 << false << QSize(3, 10);
    QTest::newRow("more bands than pixels") << 200 << false << QSize(5, 37);
}

void TstShader::everyPixelIsCovered()
{
    QFETCH(int, steps);
    QFETCH(bool, direction);
    QFETCH(QSize, size);
    TShader shader;
    shader.resize(size);
    shader.SetSteps(quint16(steps));
    shader.SetDirection(direction);
    const QImage image = Render(shader);
    int previousBlue = 256;
    for (int i = 0; i < (direction ? size.width() : size.height()); ++i) {
        const QColor color(direction ? image.pixel(i, 0) : image.pixel(0, i));
        QVERIFY2(color.red() == 0 && color.blue() <= previousBlue, qPrintable(QString::number(i)));
        previousBlue = color.blue();
    }
}

void TstShader::channelsSystemColoursAndOneBand()
{
    // Red in the lowest byte: red to lime, delta 63.75 per channel.
    TShader shader;
    shader.resize(4, 40);
    shader.SetFromColor(0x0000FF);
    shader.SetToColor(0x00FF00);
    shader.SetSteps(4);
    QCOMPARE(QColor(Render(shader).pixel(0, 25)), QColor(127, 128, 0));

    QPalette palette = shader.palette();
    palette.setColor(QPalette::Button, QColor(10, 200, 30));
    shader.setPalette(palette);
    shader.SetFromColor(TColor(0x8000000F)); // button face
    shader.SetSteps(0);                      // stored as one band: all FromColor
    QCOMPARE(shader.Steps(), quint16(1));
    const QImage image = Render(shader);
    QCOMPARE(QColor(image.pixel(0, 0)), QColor(10, 200, 30));
    QCOMPARE(QColor(image.pixel(3, 39)), QColor(10, 200, 30));
}

QTEST_MAIN(TstShader)
#include "tst_shader.moc"
