#pragma once
// TShader: a panel painted edge to edge with a colour gradient in bands. It frames the
// output console in the main window and previews the frame in the settings dialog, so
// it is an ordinary container: children are placed on it by the owner and paint over
// the bands.

#include "display/controls/ColorValue.h"

#include <QWidget>

class TShader : public QWidget
{
    Q_OBJECT
public:
    explicit TShader(QWidget* parent = nullptr);

    // Every setter stores the value and schedules a repaint.
    TColor FromColor() const { return FFromColor; }
    void SetFromColor(TColor value);
    TColor ToColor() const { return FToColor; }
    void SetToColor(TColor value);
    // Number of bands. 0 is stored as 1, the smallest gradient there is.
    quint16 Steps() const { return FSteps; }
    void SetSteps(quint16 value);
    // false: bands stacked from top to bottom; true: side by side from left to right.
    bool Direction() const { return FDirection; }
    void SetDirection(bool value);

protected:
    // Band i has FromColor + round(i * delta) per channel, delta = (to - from) / Steps, so
    // the last band stops one delta short of ToColor. Positions and colours round halves
    // to the even neighbour; each band is drawn one pixel longer than its rounded size so
    // that rounding never leaves a gap.
    void paintEvent(QPaintEvent* event) override;

private:
    TColor FFromColor = 0xFF0000; // pure blue
    TColor FToColor = 0;          // black
    quint16 FSteps = 20;
    bool FDirection = false;
};
