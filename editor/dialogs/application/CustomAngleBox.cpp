#include "dialogs/application/CustomAngleBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "kstdlib/kmath.h"

namespace {
constexpr float kPi = 3.1415927f;

float roundTo3(float x) {
    return std::floor(x * 1000.0f + 0.5f) * 0.001f;
}
} // namespace

QCustomAngleBox::QCustomAngleBox(QWidget* parent) : QWidget(parent) {}

int32_t QCustomAngleBox::angleAt(QPoint point) const {
    const int cx = width() / 2, cy = height() / 2;
    if (point.x() == cx && point.y() == cy) return 0;
    const float t = std::atan2(float(cy - point.y()), float(cx - point.x())) * 180.0f / kPi;
    int32_t a = 180 - int32_t(t);
    if (a >= 360) a -= 360;
    return a;
}

int QCustomAngleBox::setAngle(int value) {
    angle = value;
    update();
    return angle;
}

int QCustomAngleBox::setAngle(const QString& text) {
    const auto is = [&](const char* plain, const QString& translated) {
        return text.compare(QLatin1String(plain), Qt::CaseInsensitive) == 0 ||
               text.compare(translated, Qt::CaseInsensitive) == 0;
    };
    if (is("up", tr("Up")))
        angle = -1;
    else if (is("down", tr("Down")))
        angle = -2;
    else if (is("(diff)", tr("(diff)")))
        angle = -3;
    else
        angle = text.toInt(); // 0 when it is no number
    update();
    return angle;
}

void QCustomAngleBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    dragging = true;
    angle = angleAt(event->position().toPoint());
    update();
    event->accept();
}

void QCustomAngleBox::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging) {
        event->ignore();
        return;
    }
    angle = angleAt(event->position().toPoint());
    update();
    event->accept();
}

void QCustomAngleBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging) {
        event->ignore();
        return;
    }
    dragging = false;
    emit valueChanged(QString::number(angle));
    event->accept();
}

void QCustomAngleBox::paintEvent(QPaintEvent*) {
    // The colours are the surrounding form's; a dial on its own uses its own palette.
    const QPalette& palette = parentWidget() ? parentWidget()->palette() : this->palette();
    const int cx = width() / 2, cy = height() / 2;
    const int d = std::min(width(), height());
    const int r = d / 2 - 2;
    const QRect circle(cx - r, cy - r, 2 * r, 2 * r);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(isEnabled() ? QColor(Qt::black) : palette.color(QPalette::Active, QPalette::Window));
    p.drawEllipse(circle);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette.color(QPalette::Active, QPalette::Shadow), 2));
    p.drawArc(circle, 45 * 16, 180 * 16);
    p.setPen(QPen(palette.color(QPalette::Active, QPalette::Highlight), 2));
    p.drawArc(circle, 45 * 16, -180 * 16);
    if (!isEnabled()) return;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::white));
    if (angle < 0 || angle > 360) {
        p.drawPoint(cx, cy);
        return;
    }
    float s, c;
    K_SinCos(float(angle + 90) * kPi / 180.0f, &s, &c);
    s = roundTo3(s);
    c = roundTo3(c);
    const float reach = float(d / 2 - 5);
    p.drawLine(cx, cy, int(s * reach + float(cx) + 0.5f), int(c * reach + float(cy) + 0.5f));
}
