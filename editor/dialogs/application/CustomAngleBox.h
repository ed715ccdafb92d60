// A round dial for a yaw angle: a dark disc with a needle from the centre that follows a left-button
// drag; the release reports the angle as text. The special values up (-1), down (-2) and mixed (-3)
// show as a dot in the centre.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

class QCustomAngleBox : public QWidget {
    Q_OBJECT
public:
    explicit QCustomAngleBox(QWidget* parent = nullptr);

    int32_t angle = 0; // 0..359, or -1 up, -2 down, -3 mixed
    bool dragging = false;

    // The angle that a press at the point picks: right of the centre 0, above 90, left 180, below 270.
    int32_t angleAt(QPoint point) const;

signals:
    void valueChanged(const QString& text);

public slots:
    int setAngle(int value);
    // "up", "down", "(diff)" (or their translations, any case), else a decimal number (0 when none).
    int setAngle(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
