// What the dialogs ask of the program: the window they open over, the open documents, the current
// texture, the refreshes after an edit, and the window's own commands and panels. The main window
// installs its host for its lifetime; without one the dialogs work on their own (no parent, no
// documents, no current texture, nothing refreshed, no command run).
#pragma once

#include <QList>
#include <QString>

class MapDocument;
class QWidget;
class cCanvas;
struct EntityRecord;

class DialogHost {
public:
    virtual ~DialogHost() = default;

    // The main window: the parent of the dialogs it owns and what they centre on.
    virtual QWidget* window() = 0;
    // The open documents, and the one the active map window shows (null: none).
    virtual QList<MapDocument*> documents() const = 0;
    virtual MapDocument* activeDocument() const = 0;
    // The current texture's name (empty: none); a name and group both given become current.
    virtual QString currentTextureName() const = 0;
    virtual void setCurrentTexture(const QString& name, const QString& group) = 0;

    // The refreshes after an edit: views (ViewMask), tools for the focus view and the selection
    // actions, tools for one view, action groups (mask), tool actions, the texture bar (keeping
    // its lists or not), the visgroup list, the object properties, the active state.
    virtual void updateAllViews(int mask) = 0;
    virtual void notifySelectionChanged() = 0;
    virtual void notifyViewSelectionChanged(cCanvas* view) = 0;
    virtual void updateActions(int mask) = 0;
    virtual void updateToolActions() = 0;
    virtual void updateTextureBar(bool keepLists) = 0;
    virtual void updateVisGroupList() = 0;
    virtual void updateObjectProperties() = 0;
    virtual void checkActiveState(bool force, bool documentsChanged) = 0;
    // The settings put into effect again, as after a tool switch.
    virtual void applySettings() = 0;
    // The preferences just stored put into effect: menus, timers, views (and the cull trees when
    // the world size changed).
    virtual void applyPreferences(bool worldSizeChanged) = 0;
    // Every document's entities look their classes up again; faces using changed effects take
    // them again (then the marks go).
    virtual void rebindEntityClasses() = 0;
    virtual void refreshChangedShaders() = 0;
    // Status-bar label n's text.
    virtual void setStatusText(const QString& text, int label) = 0;
    // Lets the start-up splash screen finish against the window.
    virtual void finishSplash() = 0;

    // The window's commands: leave texture application, the Edit menu's object properties, tie
    // the selection to the entity, replace textures starting from a name (the name chosen, empty
    // when cancelled).
    virtual void exitTextureApplication() = 0;
    virtual void editProperties() = 0;
    virtual void tieToEntity(EntityRecord* entity) = 0;
    virtual QString replaceTextures(const QString& name) = 0;
    // The object-properties dialog on one entity of the active map.
    virtual void showObjectProperties(EntityRecord* entity) = 0;
    // The entity help window: shown with the text, whether it is up, its text while up, closed.
    virtual void showEntityHelp(const QString& html) = 0;
    virtual bool entityHelpVisible() const = 0;
    virtual void setEntityHelpText(const QString& html) = 0;
    virtual void closeEntityHelp() = 0;
};

// The installed host, or null. The host outlives its installation.
DialogHost* Dialog_Host();
void Dialog_SetHost(DialogHost* host);
// The installed host's window, else null.
QWidget* Dialog_Window();
