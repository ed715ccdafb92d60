// What the tools ask of the program beyond the views: the status-bar labels, their cursors, the
// open documents, the current texture and primitive, the selection broadcast, and the commands
// and dialogs they start. The main window installs its host for its lifetime; without one the
// tools work on their own (nothing reported, the plain cross cursor, no document counts as open,
// no current texture or primitive, no dialog).
#pragma once

#include <QCursor>
#include <QString>
#include <optional>

class cCanvas;
class FaceTexturing;
class MapDocument;
struct PrimitiveEntry;
struct ShaderRecord;

// What the new-path dialog hands back: the path's name and class, and its direction.
struct NewPathChoice {
    QString name;
    QString className;
    int direction = 0;
};

class ToolHost {
public:
    virtual ~ToolHost() = default;

    // Text of status-bar label n.
    virtual void setStatusText(int label, const QString& text) = 0;
    // The cursor of a ToolCursor kind.
    virtual QCursor cursor(int kind) = 0;
    // Whether the document is one of the open ones.
    virtual bool documentOpen(const MapDocument* document) const = 0;
    // The current texture's name (empty: none) and the record the texture lists have under a name
    // (null: not listed).
    virtual QString currentTextureName() const = 0;
    virtual ShaderRecord* findTexture(const QString& name) const = 0;
    // The primitive the brush tool builds (null: none).
    virtual PrimitiveEntry* currentPrimitive() const = 0;

    // Every tool refreshes from the selection for the view.
    virtual void notifySelectionChanged(cCanvas* view) = 0;
    // The window's actions (mask of groups) and the create actions for a class (empty: none).
    virtual void updateActions(int mask) = 0;
    virtual void updateCreateActions(const QString& className) = 0;
    // The Edit menu's object properties and the Paths menu's delete and node properties.
    virtual void editProperties() = 0;
    virtual void deletePath() = 0;
    virtual void editPathNodeProperties() = 0;

    // Asks for a new path over the view; nothing when the user cancelled.
    virtual std::optional<NewPathChoice> askNewPath(MapDocument* document, cCanvas* view) = 0;
    // Shows the vertex scale dialog with the factor 1, or hides it.
    virtual void showScaleDialog(bool show) = 0;
    // The face properties the texture tool works through (null: none).
    virtual FaceTexturing* faceTexturing() = 0;
};

// The installed host, or null. The host outlives its installation.
ToolHost* Tool_Host();
void Tool_SetHost(ToolHost* host);
