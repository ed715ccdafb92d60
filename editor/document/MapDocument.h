// One open map: its world, its undo history, the child windows that show it, its bound game
// configuration and its file identity; and the life cycle the File menu, the autosave timer and
// the window close handlers drive (new, load, save with backup, export, autosave, close).
#pragma once

#include <QList>
#include <QString>
#include <QTime>
#include <cstdint>

#include "document/SelectionBox.h"
#include "map/MapObject.h"

class QFileInfo;
class cChildWindow;
class cCanvas;
struct CameraRecord;
struct GameConfig;
struct MainSettings;
struct MapWorld;
struct UndoHistory;

inline constexpr int kDocumentSelectionBoxes = 6;

// Mask bits of the view broadcasts.
namespace ViewMask {
constexpr int32_t Views2D = 0x1;
constexpr int32_t View3D = 0x2;
} // namespace ViewMask

class MapDocument {
public:
    bool isNew = true;              // a new map, never saved
    bool modified = false;          // unsaved changes
    bool saveAsked = false;         // the close question has been answered
    bool confirmExportPath = false; // confirm the export path before reusing it
    bool exported = false;          // the last export succeeded
    QString filePath;               // empty for a new map
    QString exportPath;             // the last ".map" export (stored in project files)
    QString title;                  // "Map%1" for a new map, else the file name
    QString gameConfigName;
    GameConfig* gameConfig = nullptr; // its reference count is raised while bound
    QList<cChildWindow*> windows;     // opening order
    SelectionBox selectionBoxes[kDocumentSelectionBoxes];
    MapWorld* world = nullptr;   // owned
    UndoHistory* undo = nullptr; // owned
    QTime createdAt;
    int64_t frameClock = -1; // milliseconds of the last frame tick of the views; -1 before the first
};

// ---- Construction --------------------------------------------------------------------------
// Empty identity, cleared boxes, a new world and history, creation time; isNew set.
void Project_Construct(MapDocument* document);
// Drops the configuration reference, resets and frees the history, destroys and frees the world.
void Project_Destroy(MapDocument* document);
// The document that owns the world / the map handle; null when there is none.
MapDocument* Project_FromWorld(const MapWorld* world);
MapDocument* Project_FromHandle(MapHandle map);

// ---- Life cycle ----------------------------------------------------------------------------
// A new empty map (the world entity, optionally the default room) for a chosen configuration.
bool Project_New(MapDocument* document);
// Loads a ".zmf" file or imports another format through the current profile's plugin. With a
// null configuration the user chooses one.
bool Project_Load(MapDocument* document, const QString& path, GameConfig* config);
// Writes the map to path (".zmf" natively, else through the profile plugin's export formats).
// The previous file is replaced only when the new one was written completely. With keepIdentity
// the document keeps its path, title and modified state.
bool Project_Save(MapDocument* document, const QString& path, bool makeBackup, bool keepIdentity);
// Copies the existing file to its backup name; reports failure, which does not stop a save.
bool Project_Backup(const QFileInfo& file);
// The backup name of a file: zmf gives zmx, map gives max, zmx gives zmxx.
QString Project_BackupPath(const QFileInfo& file);
// Exports a ".map" file through the profile plugin's export formats; on success exportPath = path.
bool Project_Export(MapDocument* document, const QString& path, bool makeBackup);
// "Save changes to %1?" when modified; false means cancel.
bool Project_AskSaveChanges(MapDocument* document);

// ---- Modified mark and titles --------------------------------------------------------------
// Sets the modified flag and refreshes the window titles.
void Project_SetModified(MapDocument* document);
// The same for the document that owns the map (nothing without one).
void Project_SetModified(MapHandle map);
// "title" or "title*" for one window; "title:n" or "title:n*" for several.
void Project_UpdateTitles(MapDocument* document);
// The number the next new map will get ("Map%1").
int32_t Project_NextMapNumber();

// ---- Windows -------------------------------------------------------------------------------
void Project_AddWindow(MapDocument* document, cChildWindow* window);
void Project_RemoveWindow(MapDocument* document, cChildWindow* window);
// A window asks to close; false refuses. The last window asks to save first.
bool Project_OnChildWindowClose(MapDocument* document, cChildWindow* window);
// Asks to save (unless already asked), then closes every window. False on cancel.
bool Project_CloseAllWindows(MapDocument* document);
// Restarts the frame timers of the active window's views and stops the others'; makes the
// configuration current when the document owns the active window.
void Project_UpdateActiveViews(MapDocument* document);

// ---- Game configuration --------------------------------------------------------------------
// Binds one of the enabled configurations (asking when there are several); false when none.
bool Project_ChooseGameConfig(MapDocument* document);
// Looks the bound configuration up again by title, refreshes the views and resizes the history
// when UndoLevels changed.
void Project_RebindGameConfig(MapDocument* document);
// The level count a history gets from the UndoLevels setting (never below 2).
int32_t Project_UndoLevelCount();

// ---- Cameras -------------------------------------------------------------------------------
void Project_SetCurrentCamera(MapDocument* document, CameraRecord* camera);
void Project_ApplyCurrentCamera(MapDocument* document);

// ---- View broadcasts (every window of the document, in list order) ------------------------
void Project_RedrawViews(MapDocument* document, int32_t mask);
void Project_BroadcastViewPoints(MapDocument* document, const float mins[3], const float maxs[3]);
void Project_RaiseWindows(MapDocument* document);
void Project_CenterViewsOn(MapDocument* document, const float point[3], int32_t mask);
void Project_SetZoom(MapDocument* document, float zoom);
void Project_SetViewOffset(MapDocument* document, float x, float y);
void Project_SetCameraOrigin(MapDocument* document, const float eye[3]);
void Project_ReleaseViewInput(MapDocument* document);
cCanvas* Project_FindCanvas(MapDocument* document, int32_t viewId);
// The eye and angles of the first camera view among the document's windows; false when none shows one.
bool Project_ViewCamera(MapDocument* document, float eye[3], float angles[3]);
// The camera view moved from b to a: the 2D views repaint the strip around both.
void Project_BroadcastCameraMove(MapDocument* document, const float a[3], const float b[3]);
// The views' shared frame clock: the seconds since its last tick (at most 0.1) when positive,
// advancing the clock; else 0.
float Project_TickFrameClock(MapDocument* document, int64_t nowMs);

// ---- Helpers -------------------------------------------------------------------------------
// Writes a ".map" export to path without changing the document's export state (autosave).
bool Project_ExportCopy(MapDocument* document, const QString& path);
