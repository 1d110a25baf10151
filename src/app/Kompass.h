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

signals:
    void Clicked(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
