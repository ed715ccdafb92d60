// The "Edit Path Node" dialog: name, fired target, angles, the retrigger flag and the speed, yaw
// speed, wait and field-of-view keys of every selected path node at once. Values the nodes share
// are shown; others read "(no change)" and stay as they are unless a new value is typed.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "ui_PathNodeDialog.h"

class MapDocument;
class QCustomAngleBox;
struct NodeRecord;

// Bits of cPathNodeDialog::editMask.
namespace NodeEdit {
constexpr uint8_t Name = 0x1;
constexpr uint8_t Target = 0x2;
constexpr uint8_t Angles = 0x4;
constexpr uint8_t Speed = 0x8;
constexpr uint8_t YawSpeed = 0x10;
constexpr uint8_t Wait = 0x20;
constexpr uint8_t Fov = 0x40;
constexpr uint8_t SpawnFlags = 0x80;
} // namespace NodeEdit

// The "spawnflags" value of "Wait for Retrigger".
constexpr int32_t kNodeRetrigger = 1;

class cPathNodeDialog : public QDialog, public Ui_cPathNodeDialog {
    Q_OBJECT
public:
    cPathNodeDialog(MapDocument* document, QWidget* parent);

    // Fills the state and the controls from the selected nodes, starting at first.
    void loadNodes(NodeRecord* first);
    // Writes the controls back to every selected node from first on (after OK).
    void applyToNodes(NodeRecord* first);
    // A yaw from the combo or the dial (-1 up, -2 down, -3 mixed) into the angles text.
    void applyYaw(int value);

    // After loading: the properties all nodes share; when applying: the properties to write.
    uint8_t editMask = 0;
    QString name;
    QString target;
    float angles[3] = {};
    // "speed", "yaw_speed", "wait" and "fov", 0 when missing.
    float numbers[4] = {};
    int32_t spawnflags = 0;
    QCustomAngleBox* angleBox = nullptr;
    // The 3D camera's angles when the dialog was built; empty without a 3D view.
    QString cameraAngles;
    bool updatingAngles = false;

public slots:
    void exec_on_setAngle(const QString& text);
    void exec_on_modifyAngles(const QString& text);
    void exec_on_setAutoAngle();
    void exec_on_setCameraAngle();
    // Refuses numbers that are none and text a map cannot store; the dialog stays open.
    void accept() override;

private:
    MapDocument* m_document;
};

// Points the node at the next one (the first one for the last node of a circular path, along the
// last segment for the end of another path); (0, 0, 0) for a node without neighbours.
void Node_ComputeAutoAngles(NodeRecord* node);
