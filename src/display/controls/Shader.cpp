#include "display/controls/Shader.h"

#include <QPainter>

#include <cmath>

namespace
{

int RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5) return int(floor) + 1;
    if (fraction < 0.5) return int(floor);
    return std::fmod(floor, 2.0) == 0.0 ? int(floor) : int(floor) + 1;
}

} // namespace

TShader::TShader(QWidget* parent) : QWidget(parent)
{
    // The bands cover every pixel; nothing underneath needs to be erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TShader::SetFromColor(TColor value)
{
    FFromColor = value;
    update();
}

void TShader::SetToColor(TColor value)
{
    FToColor = value;
    update();
}

void TShader::SetSteps(quint16 value)
{
    FSteps = value == 0 ? 1 : value;
    update();
}

void TShader::SetDirection(bool value)
{
    FDirection = value;
    update();
}

void TShader::paintEvent(QPaintEvent* /*event*/)
{
    const QColor from = ResolveColor(FFromColor, palette());
    const QColor to = ResolveColor(FToColor, palette());
    const int steps = FSteps == 0 ? 1 : FSteps;
    const double deltaRed = double(to.red() - from.red()) / steps;
    const double deltaGreen = double(to.green() - from.green()) / steps;
    const double deltaBlue = double(to.blue() - from.blue()) / steps;
    const double bandSize = double(FDirection ? width() : height()) / steps;
    const int drawnSize = RoundHalfEven(bandSize) + 1;

    QPainter painter(this);
    for (int i = 0; i < steps; ++i) {
        const QColor color(from.red() + RoundHalfEven(deltaRed * i),
                           from.green() + RoundHalfEven(deltaGreen * i),
                           from.blue() + RoundHalfEven(deltaBlue * i));
        const int position = RoundHalfEven(bandSize * i);
        const QRect band = FDirection ? QRect(position, 0, drawnSize, height())
                                      : QRect(0, position, width(), drawnSize);
        painter.fillRect(band, color);
    }
}
