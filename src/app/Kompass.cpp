#include "Kompass.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstring>

namespace {

struct Arm {
    QPointF Tip;  // inside the slot's hit area
    const char* Label;
    QPointF LabelAt;
    const char* Name;
    int Key;  // keypad key of the slot
};

// Tips and labels lie inside the hit areas of slots 2..10 (keypad 1..9).
const Arm kArms[8] = {
    {{57, 6}, "N", {57, 24}, "Norden", 8},         {{80, 28}, "NO", {76, 38}, "Nordosten", 9},
    {{103, 56}, "O", {88, 57}, "Osten", 6},        {{88, 84}, "SO", {82, 80}, "Südosten", 3},
    {{57, 104}, "S", {57, 90}, "Süden", 2},        {{22, 92}, "SW", {34, 86}, "Südwesten", 1},
    {{5, 52}, "W", {21, 53}, "Westen", 4},         {{20, 23}, "NW", {31, 32}, "Nordwesten", 7},
};
const QPointF kCentre(55, 53);

} // namespace

TKompass::TKompass(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kSize, kSize);
    setCursor(Qt::PointingHandCursor);
}

void TKompass::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(0xC0, 0xC0, 0xC0));
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    p.setBrush(QColor(0xE8, 0xE8, 0xE0));
    p.drawEllipse(kCentre, 44, 44);
    for (const Arm& arm : kArms) {
        const QPointF d = arm.Tip - kCentre;
        const double len = std::hypot(d.x(), d.y());
        const QPointF n(-d.y() / len * 6, d.x() / len * 6);
        QPainterPath path;
        path.moveTo(kCentre + n);
        path.lineTo(arm.Tip);
        path.lineTo(kCentre - n);
        path.closeSubpath();
        const bool main = std::strlen(arm.Label) == 1;
        p.setPen(QPen(QColor(0x40, 0x40, 0x60), 1));
        p.setBrush(main ? QColor(0x30, 0x50, 0xA0) : QColor(0x90, 0xA8, 0xD8));
        p.drawPath(path);
    }
    QFont f = font();
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    for (const Arm& arm : kArms) {
        const QRectF box(arm.LabelAt.x() - 10, arm.LabelAt.y() - 6, 20, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawRoundedRect(box.adjusted(2, 0, -2, 0), 3, 3);
        p.setPen(Qt::black);
        p.drawText(box, Qt::AlignCenter, arm.Label);
    }
    p.setPen(QPen(QColor(0x40, 0x40, 0x60), 1));
    p.setBrush(QColor(0xD0, 0x30, 0x30));
    p.drawEllipse(kCentre, 7, 7);
}

QString TKompass::DirectionName(int direction)
{
    return direction < 8 ? QString::fromUtf8(kArms[direction].Name) : QStringLiteral("Mitte");
}

QString TKompass::DirectionKey(int direction)
{
    return QStringLiteral("Ziffernblock %1").arg(direction < 8 ? kArms[direction].Key : 5);
}

QPoint TKompass::DirectionPoint(int direction)
{
    return (direction < 8 ? kArms[direction].LabelAt : kCentre).toPoint();
}

void TKompass::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit Clicked(event->button(), pos.x(), pos.y());
}
