// What the tools share: the status-bar texts, the command hooks, the tool cursors, view mapping
// with the box's depth, and the redraw calls. The context menus are the views' (views/ViewHost.h);
// the settings are Sys_Settings() (core/SysHost.h).
#pragma once

#include <QCursor>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>

#include "views/ViewHost.h"

class cCanvas;
class MapDocument;
struct CameraRecord;
struct MapWorld;
struct SelectionBox;

// ---- Status bar ----
// Texts of the numbered status-bar labels (label 4 is the box's size, angle or shear).
void Tool_SetStatusText(int label, const QString& text);
QString Tool_StatusText(int label);

// ---- Drawing ----
// The colour scheme's entry as the current GL colour, its RGB scaled (opaque).
void Tool_SetColour(int entry, float scale = 1.0f);

// ---- Cursors ----
namespace ToolCursor {
constexpr int Rotate = 0; // "c_rotate", hot spot 15,15
constexpr int Cross = 1;  // "c_cross", hot spot 16,15
constexpr int Brush = 2;  // "c_brush", hot spot 6,6
// The program's cursor images (loaded once from its resources).
constexpr int Magnify = 3; // "c_magnify", hot spot 9,9
constexpr int Texture = 4; // "c_texture", hot spot 0,0
constexpr int Decal = 5;   // "c_decal", hot spot 6,6
constexpr int Entity = 6;  // "c_entity", hot spot 6,6
} // namespace ToolCursor
QCursor Tool_Cursor(int kind);
// The scale cursor of a box handle (1..8); the arrow for none.
Qt::CursorShape Tool_HandleCursor(int handle, bool shear);

// ---- Views and documents ----
// Whether the document is still open (a tool's remembered document may have been closed).
bool Tool_DocumentOpen(const MapDocument* document);
// Whether the camera is still in the world's camera list.
bool Tool_CameraInWorld(const MapWorld* world, const CameraRecord* camera);
// Redraws the views of the view's document (ViewMask bits).
void Tool_Redraw(cCanvas* view, int mask);
// Whether Space is held.
bool Tool_SpaceHeld();
// Maps a window point of a 2D view to the world (ScreenFlag bits); with a valid box the depth
// coordinate becomes the box's minimum on the view's depth axis.
void Tool_MapPoint(cCanvas* view, int x, int y, int flags, const SelectionBox* box, float out[3]);
// The handle of the box under a world point of the view (0 none), as the selection tool tests it.
int Tool_HitHandle(cCanvas* view, const SelectionBox* box, const float point[3]);
// Status text of the box for the view's axes (Select_BoxStatusText) to label 4.
void Tool_BoxStatus(cCanvas* view, const SelectionBox* box, int mode);
// Stretches a box dragged in a 2D view through the whole world along the view's depth axis, so it
// selects whatever lies behind it.
void Tool_BoxThroughDepth(cCanvas* view, SelectionBox* box);
// Marks the document modified and refreshes its titles.
void Tool_MarkModified(MapDocument* document);

// ---- Box drag ----
// The rubber-band box of the selection, block, path and vertex tools: a left drag in a 2D view
// spans it from the point the drag started at to the cursor's point, and the status bar shows its
// size.
void Tool_SpanBox(cCanvas* view, SelectionBox* box, const float from[3], const float to[3]);
// The end of a box drag that selects what the box holds: the box reaches through the view's depth
// while select runs, then it is cleared and the views redrawn.
void Tool_EndBoxDrag(cCanvas* view, SelectionBox* box, const std::function<void()>& select);
// Scrolls a 2D view held in a left drag (Space not held) towards the dragged point; true when
// it scrolled and the views need a redraw.
bool Tool_ScrollDrag(cCanvas* view, const float point[3], float seconds);

// ---- Program commands the tools run ----
// Refreshes the window's actions (mask of action groups); a hook until the actions exist.
void Tool_UpdateActions(int mask);
// Refreshes the create actions for a class name (empty: none).
void Tool_UpdateCreateActions(const QString& className);
// Opens the object properties of the selection.
void Tool_EditProperties();
// Selects what the selection tool's box touches (BoxSelect mode), as the Edit menu does.
void Tool_SelectByBox(cCanvas* view, int mode);
using ToolCommandHook = std::function<void(const QString& command)>;
// Tests record the commands the tools run through this hook.
void Tool_SetCommandHook(ToolCommandHook hook);
