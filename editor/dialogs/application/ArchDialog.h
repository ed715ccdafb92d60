// The arch primitive's dialog and the parameters it answers with, in the order it fills them.
#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;
struct PrimitiveParams;

struct ArchParameters {
    float wallWidth = 0.0f;
    int32_t sides = 0;
    float arc = 0.0f;        // degrees
    float startAngle = 0.0f; // degrees
    float addedHeight = 0.0f;
    bool fitSelection = false;
    bool groupParts = false;
    bool triangulate = false;
    bool smoothSlope = false; // only meaningful when addedHeight is not 0
};

// A modal dialog the arch primitive keeps for the program's lifetime. This plain form asks the
// values only; the designer form with its preview replaces the body behind the same members.
class cArchDialog : public QDialog {
    Q_OBJECT
public:
    explicit cArchDialog(QWidget* parent = nullptr);

    // Prepares the dialog for the dragged box and the view's axes.
    void setupPreview(const PrimitiveParams* params);
    void getParameters(ArchParameters* out) const;
    // Puts values into the controls (the last answers, or a script's).
    void setParameters(const ArchParameters& values);

private slots:
    void exec_on_changeHeight(double value);

private:
    QDoubleSpinBox* m_wallWidth;
    QSpinBox* m_sides;
    QDoubleSpinBox* m_arc;
    QDoubleSpinBox* m_startAngle;
    QDoubleSpinBox* m_addedHeight;
    QCheckBox* m_fitSelection;
    QCheckBox* m_groupParts;
    QCheckBox* m_triangulate;
    QCheckBox* m_smoothSlope;
};
