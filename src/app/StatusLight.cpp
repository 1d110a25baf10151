#include "StatusLight.h"

#include <QMouseEvent>

TStatusLight::TStatusLight(const QString& letter, int tag, QWidget* parent)
    : QLabel(letter, parent), FTag(tag)
{
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    QFont f = font();
    f.setBold(true);
    setFont(f);
    SetLightColor(FColor);
}

void TStatusLight::SetLightColor(TColor color)
{
    FColor = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    update();
    Speak();
}

void TStatusLight::SetSpokenStates(const QString& on, const QString& off, TColor offColor)
{
    FSpokenOn = on;
    FSpokenOff = off;
    FOffColor = offColor;
    Speak();
}

void TStatusLight::Speak()
{
    const QString& spoken = FColor == FOffColor ? FSpokenOff : FSpokenOn;
    if (!spoken.isEmpty() && spoken != accessibleName())
        setAccessibleName(spoken);
}

void TStatusLight::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit Clicked(FTag);
    QLabel::mousePressEvent(event);
}

void TStatusLight::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked(FTag);
    QLabel::mouseDoubleClickEvent(event);
}
