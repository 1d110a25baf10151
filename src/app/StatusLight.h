#pragma once
// A status light of the status bar: a small sunken panel with a letter whose colour
// tells a state. Clicks and double clicks are reported with the light's tag.

#include "platform/Color.h"

#include <QLabel>

class TStatusLight : public QLabel {
    Q_OBJECT
public:
    TStatusLight(const QString& letter, int tag, QWidget* parent = nullptr);
    int Tag() const { return FTag; }
    TColor LightColor() const { return FColor; }
    void SetLightColor(TColor color);
    // What a screen reader says of the light: on unless it shows offColor.
    void SetSpokenStates(const QString& on, const QString& off, TColor offColor);

signals:
    void Clicked(int tag);
    void DoubleClicked(int tag);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Speak();

    int FTag;
    TColor FColor = 0xC0C0C0;
    QString FSpokenOn, FSpokenOff;
    TColor FOffColor = 0xC0C0C0;
};

constexpr TColor clLime = 0x00FF00;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clYellow = 0x00FFFF;
