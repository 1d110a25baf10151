#include "dialogs/small/NotebookIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace
{

const QColor kOutline(0x30, 0x30, 0x30);

void DrawPage(QPainter& p, const QRectF& page)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(page);
    p.setPen(QPen(QColor(0x70, 0x80, 0xA0), 1));
    for (double y = page.top() + 3; y < page.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(page.left() + 2, y), QPointF(page.right() - 2, y));
}

void DrawArrowHead(QPainter& p, const QPointF& tip, double dx)
{
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF(
        {tip, QPointF(tip.x() + dx, tip.y() - 3.2), QPointF(tip.x() + dx, tip.y() + 3.2)}));
}

void DrawCopy(QPainter& p)
{
    DrawPage(p, QRectF(1.5, 1.5, 8, 10));
    DrawPage(p, QRectF(6.5, 4.5, 8, 10));
}

void DrawPaste(QPainter& p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(0xB0, 0x80, 0x40));
    p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
    p.setBrush(QColor(0xA0, 0xA0, 0xA0));
    p.drawRect(QRectF(4.5, 1.5, 4, 2.5));
    DrawPage(p, QRectF(7.5, 6.5, 7, 8));
}

void DrawDelete(QPainter& p)
{
    p.setPen(QPen(QColor(0xD0, 0x20, 0x20), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void DrawCut(QPainter& p)
{
    p.setPen(QPen(QColor(0x50, 0x50, 0x60), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.5, 9.5), QPointF(11.5, 1.5));
    p.drawLine(QPointF(10.5, 9.5), QPointF(4.5, 1.5));
    p.setPen(QPen(QColor(0xC0, 0x30, 0x30), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
}

void DrawUndo(QPainter& p)
{
    const QColor blue(0x20, 0x50, 0xB0);
    QPainterPath curve;
    curve.moveTo(5, 5.5);
    curve.lineTo(9, 5.5);
    curve.cubicTo(15, 5.5, 15, 13.5, 9, 13.5);
    curve.lineTo(6, 13.5);
    p.setPen(QPen(blue, 2, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setBrush(blue);
    DrawArrowHead(p, QPointF(1.5, 5.5), 4);
}

void DrawWordWrap(QPainter& p)
{
    p.setPen(QPen(kOutline, 1.5));
    p.drawLine(QPointF(1.5, 3), QPointF(14.5, 3));
    p.drawLine(QPointF(1.5, 13.5), QPointF(6, 13.5));
    const QColor green(0x20, 0x80, 0x30);
    QPainterPath hook;
    hook.moveTo(1.5, 8);
    hook.lineTo(11, 8);
    hook.cubicTo(15, 8, 15, 13.5, 11, 13.5);
    hook.lineTo(10.5, 13.5);
    p.setPen(QPen(green, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setBrush(green);
    DrawArrowHead(p, QPointF(7.5, 13.5), 3.5);
}

void DrawPrint(QPainter& p)
{
    DrawPage(p, QRectF(4.5, 0.5, 7, 6));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(0x90, 0x90, 0x98));
    p.drawRoundedRect(QRectF(0.5, 5.5, 15, 6.5), 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0xC0, 0x30));
    p.drawEllipse(QPointF(13, 7.8), 0.9, 0.9);
    DrawPage(p, QRectF(3.5, 9.5, 9, 6));
}

QPixmap Render(NotebookIcons::Kind kind, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    switch (kind) {
    case NotebookIcons::Copy:
        DrawCopy(p);
        break;
    case NotebookIcons::Paste:
        DrawPaste(p);
        break;
    case NotebookIcons::Delete:
        DrawDelete(p);
        break;
    case NotebookIcons::Cut:
        DrawCut(p);
        break;
    case NotebookIcons::Undo:
        DrawUndo(p);
        break;
    case NotebookIcons::WordWrap:
        DrawWordWrap(p);
        break;
    case NotebookIcons::Print:
        DrawPrint(p);
        break;
    }
    return pixmap;
}

} // namespace

namespace NotebookIcons
{

QIcon Make(Kind kind)
{
    QIcon icon;
    icon.addPixmap(Render(kind, 16));
    icon.addPixmap(Render(kind, 32));
    return icon;
}

} // namespace NotebookIcons
