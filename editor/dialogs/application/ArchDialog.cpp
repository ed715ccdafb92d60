#include "dialogs/application/ArchDialog.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "document/Primitives.h"
#include "ui_ArchDialog.h"
#include "render/ColorScheme.h"

namespace {
constexpr float kDegrees = 3.14159265358979f / 180.0f;

// The grid lines first, first + step, ... up to last and the limit, as whole pixels from 0 on, each
// pixel once: a large box at a fine grid puts many lines on one pixel, and adding a step far
// below a pixel to a large coordinate would not move it at all.
template <class Draw> void forEachGridPixel(float first, float last, float step, int limit, Draw draw) {
    if (!(step > 0.0f)) return;
    const float end = std::min(last, float(limit));
    double i = first < 0.0f ? std::ceil(-double(first) / step) : 0.0;
    int previous = -1;
    for (;;) {
        const double x = double(first) + i * step;
        if (x > end) return;
        const int at = int(x);
        if (at != previous) draw(at);
        previous = at;
        // Straight on to the first line of the next pixel.
        i = std::max(i + 1.0, std::ceil((double(at) + 1.0 - first) / step));
    }
}
} // namespace

cArchDialog::cArchDialog(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::cArchDialog>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(560, 290);
    for (QDoubleSpinBox* box : {ui->sbWidth, ui->sbArc, ui->sbStart, ui->sbHeight}) {
        box->setLocale(QLocale::c());
        connect(box, &QDoubleSpinBox::valueChanged, this, &cArchDialog::updatePreview);
    }
    connect(ui->sbSides, &QSpinBox::valueChanged, this, &cArchDialog::updatePreview);
    connect(ui->cbFitSel, &QCheckBox::clicked, this, &cArchDialog::updatePreview);
    connect(ui->cbHideGrid, &QCheckBox::clicked, this, &cArchDialog::updatePreview);
    connect(ui->cbTris, &QCheckBox::clicked, this, &cArchDialog::onCheckTris);
    connect(ui->cbSmoothSlope, &QCheckBox::clicked, this, &cArchDialog::onCheckSmoothSlope);
    connect(ui->btnCircle, &QPushButton::clicked, this, &cArchDialog::makeCircle);
    ui->preview->installEventFilter(this);
    readParameters();
}

cArchDialog::~cArchDialog() = default;

void cArchDialog::setupPreview(const PrimitiveParams* box) {
    if (!box) return;
    boxFlags = box->flags;
    const int u = std::clamp(box->axes[0], 0, 2), v = std::clamp(box->axes[1], 0, 2);
    const float w = float(ui->preview->width()), h = float(ui->preview->height());
    const float extentU = box->maxs[u] - box->mins[u], extentV = box->maxs[v] - box->mins[v];
    flatBox = !(extentU > 0.0f) || !(extentV > 0.0f);
    scaleH = flatBox ? 1.0f : (w - 2.0f) / extentU;
    scaleV = flatBox ? 1.0f : (h - 2.0f) / extentV;
    offsetH = 1.0f - box->mins[u];
    offsetV = 1.0f - box->mins[v];
    // Without a program that keeps the preferences the grid is one unit.
    const MainSettings* settings = Sys_MutableSettings();
    const float g = float(std::max(1, settings ? settings->CurrentGridSize : 1));
    const int axes[2] = {u, v};
    const float scales[2] = {scaleH, scaleV}, offsets[2] = {offsetH, offsetV};
    for (int k = 0; k < 2; ++k) {
        gridFirst[k] = (std::ceil(box->mins[axes[k]] / g - 0.5f) * g + offsets[k]) * scales[k];
        gridLast[k] = (std::floor(box->maxs[axes[k]] / g + 0.5f) * g + offsets[k]) * scales[k];
        gridStep[k] = g * scales[k];
    }
    // A side under two units would give no width at all (and a division by zero below one).
    const int s = std::max(2, int(std::min({extentU, extentV, 999999.0f})));
    wallPixelsPerUnit = (w - 2.0f) / float(s);
    ui->sbWidth->setMaximum(s / 2);
    updatePreview();
}

void cArchDialog::readParameters() {
    params.wallWidth = float(ui->sbWidth->value());
    params.sides = ui->sbSides->value();
    params.arc = float(ui->sbArc->value());
    params.startAngle = float(ui->sbStart->value());
    params.addedHeight = float(ui->sbHeight->value());
    params.fitSelection = ui->cbFitSel->isChecked();
    params.groupParts = ui->cbGroup->isChecked();
    params.triangulate = ui->cbTris->isChecked();
    params.smoothSlope = ui->cbSmoothSlope->isChecked();
}

void cArchDialog::getParameters(ArchParameters* out) const {
    if (!out) return;
    if (scripted) {
        *out = *scripted;
        return;
    }
    out->wallWidth = float(ui->sbWidth->value());
    out->sides = ui->sbSides->value();
    out->arc = float(ui->sbArc->value());
    out->startAngle = float(ui->sbStart->value());
    out->addedHeight = float(ui->sbHeight->value());
    out->fitSelection = ui->cbFitSel->isChecked();
    out->groupParts = ui->cbGroup->isChecked();
    out->triangulate = ui->cbTris->isChecked();
    out->smoothSlope = ui->cbSmoothSlope->isEnabled() && ui->cbSmoothSlope->isChecked();
}

void cArchDialog::setParameters(const ArchParameters& values) {
    ui->sbWidth->setValue(values.wallWidth);
    ui->sbSides->setValue(values.sides);
    ui->sbArc->setValue(values.arc);
    ui->sbStart->setValue(values.startAngle);
    ui->sbHeight->setValue(values.addedHeight);
    ui->cbFitSel->setChecked(values.fitSelection);
    ui->cbGroup->setChecked(values.groupParts);
    ui->cbTris->setChecked(values.triangulate);
    ui->cbSmoothSlope->setChecked(values.smoothSlope);
    updatePreview();
    scripted = values;
}

void cArchDialog::updatePreview() {
    scripted.reset();
    readParameters();
    ui->cbSmoothSlope->setEnabled(params.addedHeight != 0.0f);
    ui->preview->update();
}

void cArchDialog::onCheckTris(bool checked) {
    if (!checked) ui->cbSmoothSlope->setChecked(false);
    updatePreview();
}

void cArchDialog::onCheckSmoothSlope(bool checked) {
    if (checked) ui->cbTris->setChecked(true);
    updatePreview();
}

void cArchDialog::makeCircle() {
    ui->sbArc->setValue(360.0);
}

bool cArchDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->preview && event->type() == QEvent::Paint) {
        paintPreview();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void cArchDialog::paintPreview() {
    QWidget* preview = ui->preview;
    const int w = preview->width(), h = preview->height();
    QPainter p(preview);
    p.fillRect(preview->rect(), Color_GetQColor(COLOR_2D_BACKGROUND));
    if (flatBox) return;
    if (!ui->cbHideGrid->isChecked() && gridStep[0] > 0.0f && gridStep[1] > 0.0f) {
        p.setPen(Color_GetQColor(COLOR_2D_GRID_MINOR));
        const int limits[2] = {w - 2, h - 2};
        for (int k = 0; k < 2; ++k)
            forEachGridPixel(gridFirst[k], gridLast[k], gridStep[k], limits[k], [&](int at) {
                if (k == 0)
                    p.drawLine(at, 0, at, h);
                else
                    p.drawLine(0, at, w, at);
            });
    }
    const int sides = std::max(1, params.sides);
    const int cx = w / 2, cy = h / 2;
    const int outer = (w - 2) / 2;
    int inner = int(float(outer) - params.wallWidth * wallPixelsPerUnit);
    if (inner < 1) inner = 0;
    const float step = params.arc / float(sides);
    const bool ring = params.arc == 360.0f;

    // The stretch of "Fit selection": the outline's bounds over 33 angles span the whole preview.
    float fitMin[2] = {0, 0}, fitScale[2] = {1, 1};
    const bool fit = params.fitSelection && !ring;
    if (fit) {
        float lo[2] = {1e30f, 1e30f}, hi[2] = {-1e30f, -1e30f};
        for (int i = 0; i <= 32; ++i) {
            const float a = (params.startAngle + float(i) * params.arc / 32.0f) * kDegrees;
            for (int rho : {outer, inner}) {
                const float q[2] = {float(cx) + float(rho) * std::cos(a),
                                    float(cy) - float(rho) * std::sin(a)};
                for (int k = 0; k < 2; ++k) {
                    lo[k] = std::min(lo[k], q[k]);
                    hi[k] = std::max(hi[k], q[k]);
                }
            }
        }
        const float span[2] = {float(w - 2), float(h - 2)};
        for (int k = 0; k < 2; ++k) {
            fitMin[k] = lo[k];
            fitScale[k] = span[k] / (hi[k] - lo[k] + 0.001f);
        }
    }
    const auto point = [&](float degrees, int rho) {
        const float a = degrees * kDegrees;
        float x = float(cx) + float(rho) * std::cos(a), y = float(cy) - float(rho) * std::sin(a);
        if (fit) {
            x = 1.0f + (x - fitMin[0]) * fitScale[0];
            y = 1.0f + (y - fitMin[1]) * fitScale[1];
        }
        return QPoint(int(std::lround(x)), int(std::lround(y)));
    };
    p.setPen(Color_GetQColor(COLOR_BRUSH_DEFAULT));
    const bool handed = boxFlags & PrimitiveFlag::Handedness;
    const int count = ring ? sides : sides + 1;
    QPoint prevOuter, prevInner;
    bool havePrevious = false;
    if (ring) {
        prevOuter = point(params.startAngle + float(sides - 1) * step, outer);
        prevInner = point(params.startAngle + float(sides - 1) * step, inner);
        havePrevious = true;
    }
    for (int i = 0; i < count; ++i) {
        const float a = params.startAngle + float(i) * step;
        const QPoint o = point(a, outer), n = point(a, inner);
        p.drawLine(o, n);
        if (havePrevious) {
            p.drawLine(o, prevOuter);
            p.drawLine(n, prevInner);
            if (params.triangulate) {
                if (handed)
                    p.drawLine(n, prevOuter);
                else
                    p.drawLine(o, prevInner);
            }
        }
        prevOuter = o;
        prevInner = n;
        havePrevious = true;
    }
}
