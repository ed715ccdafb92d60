// The splitters of a map window: a splitter that says when it was resized and can be moved by the
// cross, and the cross widget where the handles of the two rows and the row splitter meet.
#pragma once

#include <QSplitter>
#include <QWidget>

class QCustomSplitter : public QSplitter {
    Q_OBJECT
public:
    using QSplitter::QSplitter;
signals:
    void splitterResized();
public slots:
    // Moves the handle before the second pane.
    void moveByCross(int position) { moveSplitter(position, 1); }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QSplitter::resizeEvent(event);
        emit splitterResized();
    }
};

class QCrossSplitter : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    int grabX = 0, grabY = 0;
signals:
    void crossMovedX(int x);
    void crossMovedY(int y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
