#include "ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace {

void DrawPlug(QPainter& p, bool broken)
{
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.5));
    p.setBrush(QColor(0x40, 0x90, 0x40));
    p.drawRoundedRect(QRectF(3, 7, 7, 6), 1.5, 1.5);
    p.drawLine(QPointF(1, 10), QPointF(3, 10));
    p.drawLine(QPointF(10, 8.5), QPointF(12, 8.5));
    p.drawLine(QPointF(10, 11.5), QPointF(12, 11.5));
    const double gap = broken ? 3 : 0;
    p.setBrush(QColor(0x90, 0x90, 0x90));
    p.drawRoundedRect(QRectF(12 + gap, 6, 5, 8), 1.5, 1.5);
    p.drawLine(QPointF(17 + gap, 10), QPointF(19 + gap, 10));
    if (broken) {
        p.setPen(QPen(QColor(0xD0, 0x20, 0x20), 2.2));
        p.drawLine(QPointF(4, 15), QPointF(16, 3));
    }
}

void DrawFootsteps(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x70, 0x48, 0x20));
    p.drawEllipse(QRectF(3, 10, 5, 8));
    p.drawEllipse(QRectF(11, 3, 5, 8));
    p.setBrush(QColor(0xD0, 0x30, 0x30));
    p.drawRect(QRectF(15, 12, 1.5, 7));
    p.drawPolygon(QPolygonF({QPointF(16.5, 12), QPointF(20, 14), QPointF(16.5, 16)}));
}

void DrawSidebar(QPainter& p)
{
    p.setPen(QPen(QColor(0x30, 0x30, 0x50), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 3, 16, 14));
    p.setBrush(QColor(0x50, 0x70, 0xC0));
    p.drawRect(QRectF(12, 3, 6, 14));
}

void DrawGear(QPainter& p)
{
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    p.setBrush(QColor(0x80, 0x80, 0x90));
    QPainterPath gear;
    for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8;
        const double r = (i % 2 == 0) ? 8.5 : 6.5;
        const QPointF pt(10 + r * std::cos(a), 10 + r * std::sin(a));
        i == 0 ? gear.moveTo(pt) : gear.lineTo(pt);
    }
    gear.closeSubpath();
    p.drawPath(gear);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(10, 10), 2.5, 2.5);
}

void DrawKeycap(QPainter& p, const QString& text)
{
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    p.setBrush(QColor(0xF0, 0xF0, 0xE8));
    p.drawRoundedRect(QRectF(2, 3, 16, 14), 2, 2);
    QFont f;
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(2, 3, 16, 14), Qt::AlignCenter, text);
}

void DrawNumpad(QPainter& p)
{
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 0.8));
    p.setBrush(QColor(0xF0, 0xF0, 0xE8));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            p.drawRect(QRectF(2.5 + c * 5.2, 2.5 + r * 5.2, 4.5, 4.5));
    p.setBrush(QColor(0x50, 0x70, 0xC0));
    p.drawRect(QRectF(7.7, 2.5, 4.5, 4.5));
}

void DrawClose(QPainter& p)
{
    p.setPen(QPen(QColor(0x40, 0x30, 0x20), 1));
    p.setBrush(QColor(0xB0, 0x80, 0x50));
    p.drawRect(QRectF(4, 2, 10, 16));
    p.setBrush(QColor(0xD0, 0x20, 0x20));
    p.drawPolygon(QPolygonF({QPointF(11, 7), QPointF(19, 10), QPointF(11, 13)}));
}

void DrawApp(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x10, 0x30));
    p.drawRoundedRect(QRectF(1, 1, 18, 18), 3, 3);
    QFont f;
    f.setPixelSize(8);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x40, 0x80, 0xFF));
    p.drawText(QRectF(1, 1, 6, 18), Qt::AlignCenter, "K");
    p.setPen(QColor(0xFF, 0x40, 0x40));
    p.drawText(QRectF(7, 1, 6, 18), Qt::AlignCenter, "M");
    p.setPen(QColor(0xFF, 0xE0, 0x40));
    p.drawText(QRectF(13, 1, 6, 18), Qt::AlignCenter, "C");
}

} // namespace

namespace ToolIcons {

QIcon Make(Kind kind)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm(20 * scale, 20 * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        switch (kind) {
        case Connect: DrawPlug(p, false); break;
        case Disconnect: DrawPlug(p, true); break;
        case Path: DrawFootsteps(p); break;
        case CommandCenter: DrawSidebar(p); break;
        case Settings: DrawGear(p); break;
        case FuncKeys: DrawKeycap(p, "F"); break;
        case Numpad: DrawNumpad(p); break;
        case Close: DrawClose(p); break;
        case App: DrawApp(p); break;
        }
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace ToolIcons
