#pragma once
// The compass picture of the lists panel: a 108 x 108 rose whose eight arms and centre
// sit on the hit areas of the keypad slots. Clicks are reported in picture pixels; the
// walking logic decides what they mean.

#include <QWidget>

class TKompass : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSize = 108;
    explicit TKompass(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {kSize, kSize}; }

    // The directions as a screen reader offers them, one button each: the eight arms
    // clockwise from north, then the centre. Press clicks the direction's hit area.
    static constexpr int kDirections = 9;
    static QString DirectionName(int direction);   // "Norden", ...
    static QString DirectionKey(int direction);    // "Ziffernblock 8", ...
    static QPoint DirectionPoint(int direction);   // inside the direction's hit area
    void Press(int direction) { emit Clicked(Qt::LeftButton, DirectionPoint(direction).x(), DirectionPoint(direction).y()); }
    // Makes screen readers see the directions; once per program.
    static void InstallAccessibility();

signals:
    void Clicked(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
