#include "dialogs/application/DialogFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextDocument>
#include <cmath>
#include <cstring>

namespace {

// Boxes whose children the form placed by hand (no layout, nothing that arranges them itself).
bool placesByHand(const QWidget* w) {
    if (!w || w->layout()) return false;
    const char* name = w->metaObject()->className();
    return qobject_cast<const QDialog*>(w) || !std::strcmp(name, "QWidget") ||
           !std::strcmp(name, "QGroupBox") || !std::strcmp(name, "QFrame");
}

} // namespace

QSize Dialog_TextRoom(const QWidget* control) {
    QString text;
    int extra = 0;
    const QStyle* style = control->style();
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) {
        text = button->text();
        if (!button->icon().isNull() && !text.isEmpty()) extra += button->iconSize().width() + 4;
        if (qobject_cast<const QCheckBox*>(control))
            extra += style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, control) +
                     style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, control);
        else if (qobject_cast<const QRadioButton*>(control))
            extra += style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, control) +
                     style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, control);
        else
            extra += 6; // the frame and a little air
    } else if (auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->wordWrap() || !label->pixmap().isNull() || Qt::mightBeRichText(label->text())) return {};
        text = label->text();
        extra = 2 * label->frameWidth() + 2 * qMax(label->margin(), 0);
    }
    if (text.isEmpty()) return {};
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
    const QFontMetrics metrics = control->fontMetrics();
    return {metrics.horizontalAdvance(text) + extra, metrics.height()};
}

void Dialog_FitControls(QDialog* dialog) {
    qreal factor = 1;
    bool laidOutGrew = false;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (w->isWindow()) continue;
        // A hand-placed box with a layout of its own (a button box) needs what its layout needs.
        if (w->layout() && placesByHand(w->parentWidget())) {
            const QSize need = w->layout()->minimumSize();
            factor = qMax(factor, qMax(qreal(need.width()) / qMax(w->width(), 1),
                                       qreal(need.height()) / qMax(w->height(), 1)));
        }
        const QSize room = Dialog_TextRoom(w);
        if (room.isEmpty() || (w->width() >= room.width() && w->height() >= room.height())) continue;
        if (placesByHand(w->parentWidget())) {
            factor = qMax(factor, qMax(qreal(room.width()) / qMax(w->width(), 1),
                                       qreal(room.height()) / qMax(w->height(), 1)));
        } else if (w->parentWidget() && w->parentWidget()->layout()) {
            w->setMinimumSize(w->minimumSize().expandedTo(room));
            w->setMaximumSize(w->maximumSize().expandedTo(room));
            laidOutGrew = true;
        }
    }
    QSize size = dialog->size();
    if (factor > 1) {
        auto scaled = [factor](const QRect& r) {
            return QRect(std::lround(r.x() * factor), std::lround(r.y() * factor),
                         std::ceil(r.width() * factor), std::ceil(r.height() * factor));
        };
        for (QWidget* w : dialog->findChildren<QWidget*>())
            if (!w->isWindow() && placesByHand(w->parentWidget()) && w->parentWidget() != nullptr) {
                // Hand-placed controls keep no size limits of their own: the form's rectangle is the size.
                w->setMinimumSize(0, 0);
                w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
                w->setGeometry(scaled(w->geometry()));
            }
        size = QSize(std::ceil(size.width() * factor), std::ceil(size.height() * factor));
    }
    if (laidOutGrew && dialog->layout()) {
        dialog->layout()->invalidate();
        dialog->layout()->activate();
        size = size.expandedTo(dialog->layout()->minimumSize());
    }
    if (size == dialog->size()) return;
    if (dialog->minimumSize() == dialog->maximumSize())
        dialog->setFixedSize(size);
    else
        dialog->resize(size);
}
