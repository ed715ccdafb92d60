// The arch primitive's dialog and the parameters it answers with, in the order it fills them, with
// a live preview of the arch's outline in the dragged box's plane.
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <optional>

#include "document/Primitives.h"

namespace Ui {
class cArchDialog;
}

// A modal dialog the arch primitive keeps for the program's lifetime, so the values stay.
class cArchDialog : public QDialog {
    Q_OBJECT
public:
    explicit cArchDialog(QWidget* parent = nullptr);
    ~cArchDialog() override;

    // Prepares the preview mapping and the wall-width limit for the dragged box and the view's axes.
    void setupPreview(const PrimitiveParams* params);
    void getParameters(ArchParameters* out) const;
    // A script's answer: the controls take the values, and the record is answered as given (also
    // values the controls cannot hold) until a control changes.
    void setParameters(const ArchParameters& values);

public slots:
    void updatePreview();
    void onCheckTris(bool checked);
    void onCheckSmoothSlope(bool checked);
    void makeCircle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readParameters();
    void paintPreview();

    std::unique_ptr<Ui::cArchDialog> ui;
    ArchParameters params;
    std::optional<ArchParameters> scripted;
    int32_t boxFlags = 0;
    bool flatBox = false; // a side of no extent: nothing but the background
    float scaleH = 1.0f, scaleV = 1.0f, offsetH = 0.0f, offsetV = 0.0f;
    float gridFirst[2] = {0, 0}, gridLast[2] = {0, 0}, gridStep[2] = {0, 0}; // pixels
    float wallPixelsPerUnit = 1.0f;
};
