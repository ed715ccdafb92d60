// The rows of the command table and the tool table.
#include "mainwindow/ActionTable.h"

#include <QKeySequence>
#include <QMetaObject>
#include <QString>
#include <QStringList>
#include <map>

namespace {

// Columns: menu, group, name, text, icon, shortcut, status tip, slot, standard key, flags, tool
// mask, tool-bar order, context order. The trailing number is the row's index.
const ActionEntry kActions[] = {
    // &File
    {"&File", nullptr, "FileNew", "&New", "new", nullptr, "Create a new map", "1cmdFileNew()",
     QKeySequence::New, 0x4000d, 0, 100, 0}, // 0
    {"&File", nullptr, "FileOpen", "&Open...", "open", nullptr, "Open an existing map", "1cmdFileOpen()",
     QKeySequence::Open, 0x4000d, 0, 200, 0}, // 1
    {"&File", nullptr, "FileClose", "&Close", nullptr, "Ctrl+F4", "Close the active map", "1cmdFileClose()",
     0, 0x1, 0, 0, 0}, // 2
    {"&File", nullptr, "FileCloseAll", "Close A&ll", nullptr, nullptr, "Close every open map",
     "1cmdFileCloseAll()", 0, 0x1, 0, 0, 0}, // 3
    {"&File", nullptr, "FileSave", "&Save", "save", nullptr, "Save the active map", "1cmdFileSave()",
     QKeySequence::Save, 0x40001, 0, 300, 0}, // 4
    {"&File", nullptr, "FileSaveAs", "Save &As...", "save2", nullptr, "Save the active map under a new name",
     "1cmdFileSaveAs()", 0, 0x1, 0, 0, 0}, // 5
    {"&File", nullptr, "FileSaveIncr", "Save &Incremental", "save3", "Ctrl+Alt+S",
     "Save the active map under the next numbered name", "1cmdFileSaveIncremental()", 0, 0x1, 0, 0, 0}, // 6
    {"&File", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0},          // 7
    {"&File", nullptr, "FileExport", "E&xport Map...", nullptr, nullptr,
     "Export the active map in a game format", "1cmdFileExport()", 0, 0x1, 0, 0, 0}, // 8
    {"&File", nullptr, "FileExport2", "Export Map &Again", "savemap", "F5",
     "Export the active map again to its last export file", "1cmdFileExportAgain()", 0, 0xd040001, 0, 400,
     700},                                                                                     // 9
    {"&File", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 10
    {"&File", nullptr, "FileRun", "R&un...", "run", "F9", "Export the map and run the compilers",
     "1cmdFileRun()", 0, 0x200001, 0, 2400, 0},                                                 // 11
    {"&File", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x15, 0, 0, 0}, // 12
    {"&File", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x25, 0, 0, 0}, // 13
    {"&File", nullptr, "FileExit", "E&xit", nullptr, nullptr,
     "Quit the application; prompts to save documents", "1cmdFileExit()", QKeySequence::Quit, 0xd, 0, 0,
     0}, // 14
    // E&dit
    {"E&dit", nullptr, "EditUndo", "Undo", "undo", nullptr, "Undo the last change", "1cmdEditUndo()",
     QKeySequence::Undo, 0xd000001, 0, 0, 900}, // 15
    {"E&dit", nullptr, "EditRedo", "Redo", "redo", nullptr, "Redo the last undone change", "1cmdEditRedo()",
     QKeySequence::Redo, 0xd000001, 0, 0, 1000}, // 16
    {"E&dit", nullptr, "EditNoUndo", "Disabl&e Undo/Redo", nullptr, nullptr,
     "Toggle Undo/Redo (off conserves memory)", "1cmdEditToggleUndoRedo()", 0, 0x1, 0, 0, 0},          // 17
    {"E&dit", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0xd000001, 0, 0, 800}, // 18
    {"E&dit", nullptr, "EditCut", "Cu&t", "cut", nullptr, "Move the selection to the clipboard",
     "1cmdEditCut()", QKeySequence::Cut, 0x8200001, 0, 1100, 0}, // 19
    {"E&dit", nullptr, "EditCopy", "&Copy", "copy", nullptr, "Copy the selection to the clipboard",
     "1cmdEditCopy()", QKeySequence::Copy, 0x8200001, 0, 1200, 0}, // 20
    {"E&dit", nullptr, "EditPaste", "Past&e", "paste", nullptr, "Insert the clipboard's objects",
     "1cmdEditPaste()", QKeySequence::Paste, 0x5200001, 0, 1300, 500}, // 21
    {"E&dit", nullptr, "EditPaste2", "Pa&ste Special...", nullptr, nullptr,
     "Insert the clipboard's objects several times, moved and rotated", "1cmdEditPasteSpecial()", 0,
     0xd000001, 0, 0, 600}, // 22
    {"E&dit", nullptr, "EditDelete", "&Delete", "del", nullptr, "Delete the selected objects",
     "1cmdEditDelete()", QKeySequence::Delete, 0x8000001, 0, 0, 0}, // 23
    {"E&dit", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x8200001, 0, 1400,
     1100}, // 24
    {"E&dit", nullptr, "EditSelTouch", "Select &Touching", nullptr, nullptr,
     "Select the objects touching the selected brush", "1cmdEditSelectTouching()", 0, 0x4000000, 0, 0,
     100}, // 25
    {"E&dit", nullptr, "EditSelInside", "Select &Inside", nullptr, nullptr,
     "Select the objects inside the selected brush", "1cmdEditSelectInside()", 0, 0x4000000, 0, 0, 200}, // 26
    {"E&dit", nullptr, "EditSelHandles", "Select &Handles", nullptr, nullptr,
     "Select the objects whose handles lie inside the selected brush", "1cmdEditSelectHandles()", 0,
     0x4000000, 0, 0, 300},                                                                            // 27
    {"E&dit", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x4000000, 0, 0, 400}, // 28
    {"E&dit", nullptr, "EditSelNone", "C&lear selection", nullptr, "Shift+Q|Ctrl+Q", "Deselect everything",
     "1cmdEditSelectNone()", 0, 0x1, 0, 0, 0}, // 29
    {"E&dit", nullptr, "EditSelInv", "&Invert selection", nullptr, "Shift+I",
     "Select what is not selected and deselect the rest", "1cmdEditSelectInvert()", 0, 0x1, 0, 0, 0}, // 30
    {"E&dit", nullptr, "EditSelAll", "Select &all", nullptr, "Ctrl+A", "Select every visible object",
     "1cmdEditSelectAll()", 0, 0x1, 0, 0, 0}, // 31
    {"E&dit", nullptr, "EditSelH", "Toggle Select-by-&Handles", "selh", nullptr,
     "Select objects only by clicking their handles in 2D views", "1cmdEditSelectByHandles()", 0, 0x200002, 0,
     1800, 0}, // 32
    {"E&dit", nullptr, "EditSelA", "Toggle &2D auto-selection by selection frame", "sela", nullptr,
     "Select the objects inside the selection frame when it is drawn", "1cmdEditSelectAuto()", 0, 0x200002, 0,
     1900, 0}, // 33
    {"E&dit", nullptr, "EditSelM", "Toggle &3D auto-selection by mouse dragging", "selmm", nullptr,
     "Select the objects the mouse passes over in the 3D view while dragging", "1cmdEditSelectMouseMove()", 0,
     0x200002, 0, 1910, 0}, // 34
    {"E&dit", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x8200001, 0, 1920,
     4000}, // 35
    {"E&dit", nullptr, "EditCreate", "Create &Object", nullptr, nullptr,
     "Create an object of the current kind here", "1cmdEditCreateObject()", 0, 0x2000000, 0, 0, 100}, // 36
    {"E&dit", nullptr, "EditProps", "Pr&operties", "table", "Alt+Enter",
     "Show the properties of the selected objects", "1cmdEditProperties()", 0, 0x8000001, 32, 0, 4100}, // 37
    {"E&dit", nullptr, "EditCreatePlaceholder", nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x2000000, 0,
     0, 200}, // 38
    {"E&dit", nullptr, "EditPathDeleteNodes", "&Delete Nodes", "delnode", nullptr,
     "Delete the selected path nodes", "1cmdEditPathDeleteNodes()", QKeySequence::Delete, 0x10000000, 0, 0,
     100}, // 39
    {"E&dit", nullptr, "EditPathAddNodes", "&Add Nodes", "addnode", "Ins",
     "Insert a node after each selected path node", "1cmdEditPathAddNodes()", 0, 0x10000000, 0, 0, 200}, // 40
    {"E&dit", nullptr, "EditPathNodeProps", "&Properties...", "table", nullptr, "Edit the selected path node",
     "1cmdEditPathNodeProperties()", 0, 0x10000000, 0, 0, 300}, // 41
    {"E&dit", nullptr, "EditPathNodePlaceholder", nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x10000000,
     0, 0, 400}, // 42
    {"E&dit", nullptr, "EditPathProps", "P&ath Properties...", "editpath", nullptr,
     "Edit the selected node's path", "1cmdEditPathProperties()", 0, 0x10000000, 0, 0, 500}, // 43
    {"E&dit", nullptr, "EditPathDelete", "D&elete Path", "del", "Shift+Del",
     "Delete the selected node's path", "1cmdEditPathDelete()", 0, 0x10000000, 0, 0, 600}, // 44
    {"E&dit", nullptr, "EditPathReverse", "&Reverse Path", "rev", nullptr,
     "Reverse the direction of the selected path", "1cmdEditPathReverse()", 0, 0x10000000, 0, 0, 700}, // 45
    {"E&dit", nullptr, "EditPathSelect", "&Select Path", nullptr, nullptr,
     "Select every node of the selected path", "1cmdEditPathSelect()", 0, 0x10000000, 0, 0, 800}, // 46
    {"E&dit", nullptr, "EditPathNodePlaceholder2", nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x10000000,
     0, 0, 900}, // 47
    {"E&dit", nullptr, "EditPathSplit", "Spli&t Path", "splitpath", nullptr,
     "Split the path at the selected node", "1cmdEditPathSplit()", 0, 0x10000000, 0, 0, 1000}, // 48
    {"E&dit", nullptr, "EditPathMerge", "&Merge Paths", "path", nullptr, "Join the two selected paths",
     "1cmdEditPathMerge()", 0, 0x10000000, 0, 0, 1100}, // 49
    {"E&dit", nullptr, "EditPathNodePlaceholder3", nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x10000000,
     0, 0, 1200}, // 50
    {"E&dit", nullptr, "EditPathConvert", "Convert to &Entities", "pathent", "Ctrl+Shift+E",
     "Replace the selected path by entities", "1cmdEditPathConvert()", 0, 0x10000000, 0, 0, 1300}, // 51
    // &Map
    {"&Map", nullptr, "MapSnap", "&Snap to Grid", nullptr, "Shift+W",
     "Snap new and moved objects to the grid", "1cmdMapToggleGridSnap()", 0, 0x3, 0, 100, 0}, // 52
    {"&Map", nullptr, "MapGrid", "Show &Grid", "grid", "Shift+R", "Show the grid in the 2D views",
     "1cmdMapToggleGrid()", 0, 0x80003, 0, 100, 0}, // 53
    {"&Map", nullptr, "MapGrid3D", "Show 3&D Grid", "grid3d", "P", "Show the grid in the 3D views",
     "1cmdMapToggleGrid3D()", 0, 0x80003, 0, 200, 0}, // 54
    {"&Map", "&Grid Settings", "MapGrid-", "&Smaller Grid", "gridm", "[", "Halve the grid size",
     "1cmdMapSmallerGrid()", 0, 0x80001, 0, 300, 0}, // 55
    {"&Map", "&Grid Settings", "MapGrid+", "&Bigger Grid", "gridp", "]", "Double the grid size",
     "1cmdMapBiggerGrid()", 0, 0x80001, 0, 400, 0},                                                 // 56
    {"&Map", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x80001, 0, 500, 0}, // 57
    {"&Map", nullptr, "MapLWS", "&Load window state", "lws", nullptr, "Restore the saved map window state",
     "1cmdMapLoadWindowState()", 0, 0x80008, 0, 600, 0}, // 58
    {"&Map", nullptr, "MapSWS", "Sa&ve window state", "sws", nullptr, "Save the active map window's state",
     "1cmdMapSaveWindowState()", 0, 0x80008, 0, 700, 0}, // 59
    {"&Map", nullptr, "MapGoto", "Go to &brush number...", "search", "Ctrl+Shift+G",
     "Select a brush by its entity and brush numbers", "1cmdMapGotoBrush()", 0, 0x1, 0, 0, 0}, // 60
    {"&Map", nullptr, "MapGoto2", "Go to &coordinates...", "search2", nullptr, "Move the views to a point",
     "1cmdMapGotoCoords()", 0, 0x1, 0, 0, 0}, // 61
    {"&Map", nullptr, "MapInfo", "Show &information...", "info", nullptr, "Show counts of the map's objects",
     "1cmdMapShowInfo()", 0, 0x1, 0, 0, 0}, // 62
    {"&Map", nullptr, "MapEnts", "&Entity report...", "report", nullptr, "List the map's entities",
     "1cmdMapEntityReport()", 0, 0x1, 0, 0, 0}, // 63
    {"&Map", nullptr, "MapCheck", "Check for &problems", nullptr, "Alt+P", "Check the map for problems",
     "1cmdMapCheckForProblems()", 0, 0x1, 0, 0, 0},                                                 // 64
    {"&Map", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x80001, 0, 800, 0}, // 65
    {"&Map", nullptr, "MapProps", "&Map properties...", "table3", nullptr,
     "Edit the world entity's properties", "1cmdMapProperties()", 0, 0x1, 32, 0, 0},          // 66
    {"&Map", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 67
    {"&Map", nullptr, "MapLoadPTS", "&Load Pointfile...", nullptr, nullptr, "Load a leak pointfile",
     "1cmdMapLoadPointfile()", 0, 0x1, 0, 0, 0}, // 68
    {"&Map", nullptr, "MapUnloadPTS", "&Unload Pointfile", nullptr, nullptr, "Remove the loaded pointfile",
     "1cmdMapUnloadPointfile()", 0, 0x1, 0, 0, 0},                                            // 69
    {"&Map", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 70
    {"&Map", nullptr, "MapLoadPortal", "Load Portal file...", nullptr, nullptr, "Load a portal file",
     "1cmdMapLoadPortalfile()", 0, 0x1, 0, 0, 0}, // 71
    {"&Map", nullptr, "MapUnloadPortal", "Unload Portal file", nullptr, nullptr,
     "Remove the loaded portal file", "1cmdMapUnloadPortalfile()", 0, 0x1, 0, 0, 0},          // 72
    {"&Map", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 73
    {"&Map", nullptr, "MapLoadHull", "Load Hull file...", nullptr, nullptr, "Load a hull file",
     "1cmdMapLoadHullfile()", 0, 0x1, 0, 0, 0}, // 74
    {"&Map", nullptr, "MapUnloadHull", "Unload Hull file", nullptr, nullptr, "Remove the loaded hull file",
     "1cmdMapUnloadHullfile()", 0, 0x1, 0, 0, 0}, // 75
    // &View
    {"&View", nullptr, nullptr, "Screen &Elements", nullptr, nullptr, nullptr, nullptr, 0, 0x101, 0, 0,
     0}, // 76
    {"&View", nullptr, nullptr, "&Color Schemes", nullptr, nullptr, nullptr, nullptr, 0, 0x201, 0, 0,
     0},                                                                                               // 77
    {"&View", nullptr, nullptr, "&Language", nullptr, nullptr, nullptr, nullptr, 0, 0x801, 0, 0, 0},   // 78
    {"&View", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x200001, 0, 1000, 0}, // 79
    {"&View", "Active &Layout", "View2DXY", "2D &X/Y", "xy", nullptr, "Show the active view from the top",
     "1cmdView2DXY()", 0, 0x801003, 0, 0, 100}, // 80
    {"&View", "Active &Layout", "View2DYZ", "2D &Y/Z", "yz", nullptr, "Show the active view from the side",
     "1cmdView2DYZ()", 0, 0x801003, 0, 0, 200}, // 81
    {"&View", "Active &Layout", "View2DXZ", "2D X/&Z", "xz", nullptr, "Show the active view from the front",
     "1cmdView2DXZ()", 0, 0x801003, 0, 0, 300}, // 82
    {"&View", "Active &Layout", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x801001, 0, 0,
     400}, // 83
    {"&View", "Active &Layout", "View3DW", "3D &Wireframe", "threed1", nullptr,
     "Show the active view in 3D as wire frames", "1cmdView3DWireframe()", 0, 0x801003, 0, 0, 500}, // 84
    {"&View", "Active &Layout", "View3DF", "3D &Filled Polygons", "threed2", nullptr,
     "Show the active view in 3D with filled polygons", "1cmdView3DFilled()", 0, 0x801003, 0, 0, 600}, // 85
    {"&View", "Active &Layout", "View3DT", "3D &Textured Polygons", "threed3", nullptr,
     "Show the active view in 3D with textures", "1cmdView3DTextured()", 0, 0x801003, 0, 0, 700}, // 86
    {"&View", "Active &Layout", "View3DST", "3D &Shaded Textured Polygons", "threed4", nullptr,
     "Show the active view in 3D with shaded textures", "1cmdView3DShadedTextured()", 0, 0x801003, 0, 0,
     800},                                                                                     // 87
    {"&View", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 88
    {"&View", nullptr, "ViewAuto4", "&Autosize 4 Views", nullptr, "Ctrl+4", "Give the four views equal sizes",
     "1cmdViewAutosize()", 0, 0x1, 0, 0, 0}, // 89
    {"&View", nullptr, "ViewCenterSel", "Center &2D Views on Selection", nullptr, "Ctrl+E",
     "Centre the 2D views on the selection", "1cmdViewCenterOnSelection2D()", 0, 0x1, 0, 0, 0}, // 90
    {"&View", nullptr, "ViewCenterSel2", "Center &3D Views on Selection", nullptr, "Ctrl+3",
     "Point the 3D views at the selection", "1cmdViewCenterOnSelection3D()", 0, 0x1, 0, 0, 0}, // 91
    {"&View", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 92
    {"&View", "&Transparency", "ViewTexTrans", "&Special Textures", "trans", nullptr,
     "Draw special textures translucent", "1cmdViewToggleTexTrans()", 0, 0x400003, 0, 1000, 0}, // 93
    {"&View", "&Transparency", "ViewEntTrans", "&Entities", "trans2", nullptr, "Draw entities translucent",
     "1cmdViewToggleEntTrans()", 0, 0x400003, 0, 1100, 0},                                     // 94
    {"&View", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 95
    {"&View", "S&how Elements", "ViewConn", "Show C&onnections", "conn", nullptr,
     "Show lines between targeting entities", "1cmdViewToggleConnections()", 0, 0x400003, 0, 1200, 0}, // 96
    {"&View", "S&how Elements", "ViewMod2D", "Show &Models in 2D", "mod2d", nullptr,
     "Draw models in the 2D views", "1cmdViewToggleModels2D()", 0, 0x400003, 0, 1300, 0}, // 97
    {"&View", "S&how Elements", "ViewSky", "Show S&ky", "sky", nullptr, "Draw the sky in the 3D views",
     "1cmdViewToggleSky()", 0, 0x400003, 0, 1400, 0}, // 98
    {"&View", "S&how Elements", "ViewAnim", "Show Texture &Animations", "anim", nullptr,
     "Animate textures in the 3D views", "1cmdViewToggleShaderAnimations()", 0, 0x400003, 0, 1500, 0}, // 99
    {"&View", "S&how Elements", "ViewNodraw", "Show &Nodraw Faces", "nodraw", nullptr,
     "Show faces that the game does not draw", "1cmdViewToggleNodraw()", 0, 0x400003, 0, 1600, 0}, // 100
    {"&View", "S&how Elements", "ViewHint", "Show &Hint Faces", "hint", nullptr, "Show hint faces",
     "1cmdViewToggleHint()", 0, 0x400003, 0, 1700, 0}, // 101
    {"&View", "S&how Elements", "ViewClip", "Show &Clip Faces", "clip", nullptr, "Show clip faces",
     "1cmdViewToggleClip()", 0, 0x400003, 0, 1800, 0}, // 102
    {"&View", "S&how Elements", "ViewTrigger", "Show &Trigger Faces", "trig", nullptr, "Show trigger faces",
     "1cmdViewToggleTrigger()", 0, 0x400003, 0, 1900, 0}, // 103
    {"&View", "S&how Elements", "ViewGridUV", "Show &UV Grid", "griduv", nullptr,
     "Show the texture grid on faces", "1cmdViewToggleGridUV()", 0, 0x80003, 0, 900, 0},       // 104
    {"&View", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 105
    {"&View", nullptr, "ViewItems", "Hide &Items", nullptr, nullptr, "Hide item entities",
     "1cmdViewToggleItems()", 0, 0x3, 0, 0, 0}, // 106
    {"&View", nullptr, "ViewPaths", "Hide &Paths", nullptr, nullptr, "Hide paths", "1cmdViewTogglePaths()", 0,
     0x3, 0, 0, 0}, // 107
    {"&View", nullptr, "ViewUnknown", "Hide &Unknown Entities", nullptr, nullptr,
     "Hide entities not described in Game Data Files", "1cmdViewToggleUnknownEntities()", 0, 0x3, 0, 0,
     0}, // 108
    {"&View", nullptr, "ViewEntNames", "Hide En&tity Names", nullptr, nullptr, "Hide the names of entities",
     "1cmdViewToggleEntityNames()", 0, 0x3, 0, 0, 0}, // 109
    {"&View", nullptr, "ViewCurves", "Hide C&urves", nullptr, nullptr, "Hide curved patches",
     "1cmdViewToggleCurves()", 0, 0x3, 0, 0, 0}, // 110
    {"&View", nullptr, "ViewDetail", "Hide &Detail", nullptr, "Ctrl+D", "Hide detail brushes",
     "1cmdViewToggleDetail()", 0, 0x3, 0, 0, 0},                                               // 111
    {"&View", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 112
    {"&View", nullptr, "ViewHideSel", "H&ide Selected Objects", "hidesel", "H", "Hide the selected objects",
     "1cmdViewHideSelection()", 0, 0x200001, 0, 700, 0}, // 113
    {"&View", nullptr, "ViewHideUnsel", "Hide &Unselected Objects", "hideunsel", "Ctrl+H",
     "Hide the objects that are not selected", "1cmdViewHideNotSelection()", 0, 0x200001, 0, 800, 0}, // 114
    {"&View", nullptr, "ViewShowHidden", "&Show Hidden Objects", "show", "U", "Show all visgroups",
     "1cmdViewShowHidden()", 0, 0x200001, 0, 900, 0},                                                   // 115
    {"&View", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x8000000, 0, 0, 1950}, // 116
    {"&View", nullptr, "ViewOpenModel", "&View model...", nullptr, nullptr,
     "Open the selected entity's model in the model viewer", "1cmdViewOpenModel()", 0, 0x8000000, 0, 0,
     1951}, // 117
    {"&View", nullptr, "ViewReloadModel", "&Reload model", nullptr, nullptr,
     "Load the selected entity's model again", "1cmdViewReloadModel()", 0, 0x8000000, 0, 0, 1952}, // 118
    // &Tools
    {"&Tools", nullptr, "ToolsCarve", "&Carve", "carve", "Shift+Ctrl+C",
     "Cut the selected brush out of the brushes it touches", "1cmdToolsCarve()", 0, 0x8200001, 0, 100,
     1200}, // 119
    {"&Tools", nullptr, "ToolsMerge", "&Merge", "merge", "Shift+Ctrl+M",
     "Merge the selected brushes into one", "1cmdToolsMerge()", 0, 0x200001, 0, 101, 0}, // 120
    {"&Tools", nullptr, "ToolsHollow", "Make &Hollow...", "hollow", "Shift+Ctrl+H",
     "Make the selected brushes into rooms with walls", "1cmdToolsHollow()", 0, 0x8000001, 0, 0, 1300}, // 121
    {"&Tools", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x8200001, 0, 200,
     1400}, // 122
    {"&Tools", nullptr, "ToolsGroup", "&Group", "group", "Ctrl+G", "Group the selected objects",
     "1cmdToolsGroup()", 0, 0x8200001, 0, 300, 1500}, // 123
    {"&Tools", nullptr, "ToolsUngroup", "&Ungroup", "ungroup", "Ctrl+U", "Dissolve the selected groups",
     "1cmdToolsUngroup()", 0, 0x8200001, 0, 400, 1600}, // 124
    {"&Tools", nullptr, "ToolsIG", "Toggle group ignore", "ig", "Shift+Ctrl+W",
     "Select objects without their groups", "1cmdToolsIgnoreGroups()", 0, 0x200002, 0, 500, 0}, // 125
    {"&Tools", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x8200001, 0, 600,
     1700}, // 126
    {"&Tools", nullptr, "ToolsMakeDetail", "Make &Detail", nullptr, "Shift+Ctrl+D",
     "Make selected brushes detail (set CONTENTS_DETAIL flag)", "1cmdToolsMakeDetail()", 0, 0x8000001, 0, 0,
     1110}, // 127
    {"&Tools", nullptr, "ToolsMakeStruct", "Make &Structural", nullptr, "Shift+Ctrl+S",
     "Make selected brushes structural (clear CONTENTS_DETAIL flag)", "1cmdToolsMakeStructural()", 0,
     0x8000001, 0, 0, 1120}, // 128
    {"&Tools", nullptr, "ToolsMakeSep", nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x8000001, 0, 0,
     1130}, // 129
    {"&Tools", nullptr, "ToolsToEntity", "&Tie to entity...", nullptr, "Ctrl+T",
     "Tie the selected brushes to an entity", "1cmdToolsTieToEntity()", 0, 0x1, 0, 0, 0}, // 130
    {"&Tools", nullptr, "ToolsToWorld", "&Move to world", nullptr, "Ctrl+W",
     "Move the selected brushes back to the world", "1cmdToolsMoveToWorld()", 0, 0x8000001, 0, 0,
     1900}, // 131
    {"&Tools", "&Tie to entity", "ToolsToEntityContext", "&Tie to entity", nullptr, nullptr,
     "Tie the selected brushes to an entity", "1cmdToolsTieToEntity()", 0, 0x8000000, 0, 0, 1800}, // 132
    {"&Tools", "&Tie to entity", "ToolsToEntityPlaceholder", nullptr, nullptr, nullptr, nullptr, nullptr, 0,
     0x8000000, 0, 0, 1810}, // 133
    {"&Tools", nullptr, "ToolsEntConn", "&Connect entities", nullptr, "Ctrl+K",
     "Make second selected entity a target of the first selected entity", "1cmdToolsConnectEntities()", 0,
     0x8000001, 0, 0, 1910}, // 134
    {"&Tools", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x8000001, 0, 0,
     2000}, // 135
    {"&Tools", nullptr, "ToolsTexAppl", "Te&xture application...", nullptr, nullptr,
     "Edit the textures of the selected faces", "1toolTextureApplication()", 0, 0x1, 0, 0, 0}, // 136
    {"&Tools", nullptr, "ToolsTexRepl", "R&eplace textures...", nullptr, nullptr,
     "Replace textures in the map", "1cmdToolsTextureReplace()", 0, 0x1, 0, 0, 0}, // 137
    {"&Tools", nullptr, "ToolsShdEdit", "Edit e&ffects...", nullptr, "F3", "Edit the effect scripts",
     "1cmdToolsShaderEdit()", 0, 0x1, 0, 0, 0}, // 138
    {"&Tools", nullptr, "ToolsTexLock", "Texture &lock (move+rotate)", "tl", "Shift+L",
     "Keep textures in place when objects move or rotate", "1cmdToolsTextureLock()", 0, 0x200003, 0, 2000,
     0}, // 139
    {"&Tools", nullptr, "ToolsTexLockScale", "Texture lock (&scale)", "sl", "Shift+Ctrl+L",
     "Keep textures in place when objects are scaled", "1cmdToolsTextureLockScale()", 0, 0x200003, 0, 2001,
     0}, // 140
    {"&Tools", nullptr, "ToolsTexLockUV", "Texture lock (&UV coordinates)", "uvl", nullptr,
     "Keep the texture coordinates of patches when they change", "1cmdToolsTextureLockUV()", 0, 0x200003, 0,
     2002, 0}, // 141
    {"&Tools", nullptr, "ToolsTexA2View", "Align to view", nullptr, "Shift+Ctrl+A",
     "Project the texture of the selected faces from the active view", "1cmdToolsTextureAlignToView()", 0,
     0x1, 0, 2004, 0},                                                                                  // 142
    {"&Tools", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x200001, 0, 2100, 0}, // 143
    {"&Tools", nullptr, "ToolsTexAlign", "Toggle texture alignment", "ta", nullptr,
     "Align new textures to their faces", "1cmdToolsTextureAlignment()", 0, 0x200002, 0, 2200, 0},      // 144
    {"&Tools", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x200000, 0, 2300, 0}, // 145
    {"&Tools", nullptr, "ToolsSnapSel", "Snap selected to &grid", nullptr, "Ctrl+B",
     "Snap the selected objects to the grid (without altering size/relativity)", "1cmdToolsSnapToGrid()", 0,
     0x1, 0, 0, 0}, // 146
    {"&Tools", nullptr, "ToolsSnapSel2", "Snap selected to grid &individually", nullptr, "Ctrl+Shift+B",
     "Snap each selected object to the grid individually (without altering size/relativity)",
     "1cmdToolsSnapToGrid2()", 0, 0x1, 0, 0, 0}, // 147
    {"&Tools", nullptr, "ToolsTransform", "Transfor&m...", "transf", "Ctrl+M",
     "Move, rotate and scale the selection by numbers", "1cmdToolsTransform()", 0, 0x8100001, 0, 100,
     2900},                                                                                            // 148
    {"&Tools", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x100000, 0, 200, 0}, // 149
    {"&Tools", nullptr, "ToolsVertexRes", "No &morph restrictions", "vertexres", nullptr,
     "Let vertex edits make any brush shape", "1cmdToolsToggleVertexRes()", 0, 0x200002, 0, 2201, 0}, // 150
    {"&Tools", nullptr, "ToolsVertexCM", "Merge c&oplanar faces", "vertexcm", nullptr,
     "Merge coplanar faces after vertex edits", "1cmdToolsToggleVertexCM()", 0, 0x200002, 0, 2202, 0}, // 151
    {"&Tools", "&Align objects", "ToolsAlignL", "To &Left", "al", nullptr,
     "Align the selected objects to the left", "1cmdToolsAlignLeft()", 0, 0x8100001, 0, 300, 3000}, // 152
    {"&Tools", "&Align objects", "ToolsAlignR", "To &Right", "ar", nullptr,
     "Align the selected objects to the right", "1cmdToolsAlignRight()", 0, 0x8100001, 0, 400, 3100}, // 153
    {"&Tools", "&Align objects", "ToolsAlignT", "To &Top", "at", nullptr,
     "Align the selected objects to the top", "1cmdToolsAlignTop()", 0, 0x8100001, 0, 500, 3200}, // 154
    {"&Tools", "&Align objects", "ToolsAlignB", "To &Bottom", "ab", nullptr,
     "Align the selected objects to the bottom", "1cmdToolsAlignBottom()", 0, 0x8100001, 0, 600, 3300}, // 155
    {"&Tools", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x100000, 0, 700, 0},  // 156
    {"&Tools", "&Flip objects", "ToolsFlipH", "&Horizontally", "fh", "Ctrl+L",
     "Mirror the selection horizontally", "1cmdToolsFlipHorz()", 0, 0x8100001, 0, 800, 3400}, // 157
    {"&Tools", "&Flip objects", "ToolsFlipV", "&Vertically", "fv", "Ctrl+I",
     "Mirror the selection vertically", "1cmdToolsFlipVert()", 0, 0x8100001, 0, 900, 3500},             // 158
    {"&Tools", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x100000, 0, 1000, 0}, // 159
    {"&Tools", "&Rotate objects", "ToolsRotA", "&Anti-clockwise", "rota", "Ctrl+R",
     "Rotate the selection anti-clockwise by 90 degrees", "1cmdToolsRotateAntiClockwise()", 0, 0x8100001, 0,
     1100, 3510}, // 160
    {"&Tools", "&Rotate objects", "ToolsRotC", "&Clockwise", "rotc", "Shift+Ctrl+R",
     "Rotate the selection clockwise by 90 degrees", "1cmdToolsRotateClockwise()", 0, 0x8100001, 0, 1200,
     3520}, // 161
    {"&Tools", nullptr, "VertexWeld", "&Weld Vertices", nullptr, "Ctrl+Alt+W",
     "Weld the selected vertices into one", "1cmdVertexWeld()", 0, 0x20002000, 0, 0, 100}, // 162
    {"&Tools", nullptr, "VertexScaleMode", "&Scale Vertices", nullptr, "Alt+E", "Scale the selected vertices",
     "1cmdVertexScaleMode()", 0, 0x20002000, 0, 0, 200}, // 163
    {"&Tools", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x20000000, 0, 0,
     300}, // 164
    {"&Tools", nullptr, "VertexFaceSplit", "Split &Face", nullptr, "Ctrl+F",
     "Split a face between two selected vertices", "1cmdVertexFaceSplit()", 0, 0x20002000, 0, 0, 400}, // 165
    {"&Tools", nullptr, "VertexTriangulate", "&Triangulate", nullptr, "Ctrl+Alt+T",
     "Split the selected faces into triangles", "1cmdVertexTriangulate()", 0, 0x20002000, 0, 0, 500}, // 166
    {"&Tools", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x20000000, 0, 0,
     600}, // 167
    {"&Tools", nullptr, "VertexSnapToGrid", "Snap &by Vertex", nullptr, "Ctrl+B",
     "Snap the selected vertices to the grid", "1cmdVertexSnapToGrid()", 0, 0x20002000, 0, 0, 700}, // 168
    {"&Tools", nullptr, "VertexClearSelection", "&Clear Selection", nullptr, "Esc", "Deselect the vertices",
     "1cmdVertexClearSelection()", 0, 0x20002000, 0, 0, 800},                                   // 169
    {"&Tools", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 170
    {"&Tools", nullptr, "ToolsCordon", "Toggle C&ordon Tool", "cordon", nullptr,
     "Limit the export and the views to the cordon", "1cmdToolsCordon()", 0, 0x200002, 0, 1500, 0}, // 171
    {"&Tools", nullptr, "ToolsCordonB", "Edit Cordon &Bounds", "cordonb", nullptr, "Edit the cordon bounds",
     "1toolCordon()", 0, 0x200002, 0, 1600, 0},                                                         // 172
    {"&Tools", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x200000, 0, 1700, 0}, // 173
    {"&Tools", nullptr, "ToolsOptions", "&Options...", "cog", "F2", "Change the program's preferences",
     "1cmdToolsOptions()", 0, 0xd, 0, 0, 0}, // 174
    // &Curve
    {"&Curve", nullptr, "CurveMatInv", "&Invert Matrix", nullptr, "Shift+Ctrl+I",
     "Reverse the control rows of the selected patches", "1cmdCurveMatrixInverse()", 0, 0x1, 0, 0, 0}, // 175
    {"&Curve", nullptr, "CurveMatTrans", "&Transpose Matrix", nullptr, "Shift+Ctrl+T",
     "Swap the rows and columns of the selected patches", "1cmdCurveMatrixTranspose()", 0, 0x1, 0, 0,
     0}, // 176
    {"&Curve", nullptr, "CurveMatRand", "Ran&domize Matrix...", nullptr, nullptr,
     "Move the control points of the selected patches by random amounts", "1cmdCurveMatrixRandomize()", 0,
     0x1, 0, 0, 0},                                                                             // 177
    {"&Curve", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 178
    {"&Curve", "&Insert", "CurveModPR", "&Prepend Rows", nullptr, nullptr, "Add control rows at the start",
     "1cmdCurveMatrixPrependRows()", 0, 0x1, 0, 0, 0}, // 179
    {"&Curve", "&Insert", "CurveModAR", "&Append Rows", nullptr, nullptr, "Add control rows at the end",
     "1cmdCurveMatrixAppendRows()", 0, 0x1, 0, 0, 0},                                             // 180
    {"&Curve", "&Insert", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 181
    {"&Curve", "&Insert", "CurveModPC", "&Prepend Columns", nullptr, nullptr,
     "Add control columns at the start", "1cmdCurveMatrixPrependCols()", 0, 0x1, 0, 0, 0}, // 182
    {"&Curve", "&Insert", "CurveModAC", "&Append Columns", nullptr, nullptr, "Add control columns at the end",
     "1cmdCurveMatrixAppendCols()", 0, 0x1, 0, 0, 0}, // 183
    {"&Curve", "&Remove", "CurveModRFR", "Remove &First Rows", nullptr, nullptr,
     "Remove the first control rows", "1cmdCurveMatrixRemoveFirstRows()", 0, 0x1, 0, 0, 0}, // 184
    {"&Curve", "&Remove", "CurveModRLR", "Remove &Last Rows", nullptr, nullptr,
     "Remove the last control rows", "1cmdCurveMatrixRemoveLastRows()", 0, 0x1, 0, 0, 0},         // 185
    {"&Curve", "&Remove", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 186
    {"&Curve", "&Remove", "CurveModRFC", "Remove &First Columns", nullptr, nullptr,
     "Remove the first control columns", "1cmdCurveMatrixRemoveFirstCols()", 0, 0x1, 0, 0, 0}, // 187
    {"&Curve", "&Remove", "CurveModRLC", "Remove &Last Columns", nullptr, nullptr,
     "Remove the last control columns", "1cmdCurveMatrixRemoveLastCols()", 0, 0x1, 0, 0, 0}, // 188
    {"&Curve", "&Re-disperse", "CurveMatRR", "&Rows", nullptr, nullptr, "Space the control rows evenly",
     "1cmdCurveMatrixRedisperseRows()", 0, 0x1, 0, 0, 0}, // 189
    {"&Curve", "&Re-disperse", "CurveMatRC", "&Columns", nullptr, nullptr, "Space the control columns evenly",
     "1cmdCurveMatrixRedisperseCols()", 0, 0x1, 0, 0, 0},                                       // 190
    {"&Curve", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 191
    {"&Curve", nullptr, "CurveSelect", "Don't &select curves", "selnc", nullptr,
     "Leave curved patches out of selections", "1cmdCurveSelect()", 0, 0x200003, 0, 1910, 0}, // 192
    // Pl&ugins
    {"Pl&ugins", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x401, 0, 0, 0}, // 193
    // &Window
    {"&Window", nullptr, "WindowNew", "&New Window", "neww", nullptr, "Open another window on the active map",
     "1cmdWindowNew()", 0, 0x1, 0, 0, 0}, // 194
    {"&Window", nullptr, "WindowCascade", "&Cascade", "cascade", nullptr,
     "Arrange the map windows overlapping", "1cmdWindowCascade()", 0, 0x1, 0, 0, 0}, // 195
    {"&Window", nullptr, "WindowTile", "&Tile", "tile", nullptr, "Arrange the map windows side by side",
     "1cmdWindowTile()", 0, 0x1, 0, 0, 0},                                                       // 196
    {"&Window", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 197
    {"&Window", nullptr, "WindowNext", "N&ext Window", "nextw", nullptr, "Activate the next map window",
     "1cmdWindowNext()", QKeySequence::NextChild, 0x1, 0, 0, 0}, // 198
    {"&Window", nullptr, "WindowPrev", "&Previous Window", "prevw", nullptr,
     "Activate the previous map window", "1cmdWindowPrev()", QKeySequence::PreviousChild, 0x1, 0, 0,
     0},                                                                                         // 199
    {"&Window", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x1, 0, 0, 0}, // 200
    {"&Window", nullptr, "WindowMsg", "&Messages", "console", "Alt+F3", "Show the message console",
     "1cmdWindowMessages()", 0, 0xf, 0, 0, 0}, // 201
    {"&Window", nullptr, "WindowMsgExp", "Ex&port Messages...", "consave", "Shift+Ctrl+P",
     "Save the console's messages to a text file", "1cmdWindowExportMessages()", 0, 0xd, 0, 0, 0}, // 202
    {"&Window", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x41, 0, 0, 0},  // 203
    // &Help
    {"&Help", nullptr, "HelpTopics", "&Help Topics", "help", nullptr, "Open the manual", "1cmdHelpTopics()",
     QKeySequence::HelpContents, 0xd, 0, 0, 0}, // 204
    {"&Help", nullptr, "HelpWeb", "Web &Resources", nullptr, nullptr, "Open the project's pages and folders",
     nullptr, 0, 0x8d, 0, 0, 0}, // 205
    {"&Help", nullptr, "HelpCommands", "&Command List...", nullptr, nullptr,
     "List every command with its keys", "1cmdHelpCmdList()", 0, 0xd, 0, 0, 0},                // 206
    {"&Help", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x5, 0, 0, 0}, // 207
    {"&Help", nullptr, "HelpUpdateCheck", "Check for &Updates", nullptr, nullptr, "Look for a newer version",
     "1cmdHelpUpdateCheck()", 0, 0xd, 0, 0, 0},                                                // 208
    {"&Help", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x5, 0, 0, 0}, // 209
    {"&Help", nullptr, "HelpAbout", "&About...", nullptr, nullptr, "Show the program's version",
     "1cmdHelpAbout()", 0, 0xd, 0, 0, 0}, // 210
};

// The tool bar's buttons; the tool-bar order column holds the tool id.
const ActionEntry kTools[] = {
    {nullptr, nullptr, "ToolSel", "Selection Tool", "tool1", "Shift+S", nullptr, "1toolSelect()", 0, 0x2, 0,
     0, 0},
    {nullptr, nullptr, "ToolMag", "Magnify", "tool2", "Shift+G", nullptr, "1toolMagnify()", 0, 0x2, 0, 1, 0},
    {nullptr, nullptr, "ToolCam", "Camera", "tool3", "Shift+C", nullptr, "1toolCamera()", 0, 0x2, 0, 2, 0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0},
    {nullptr, nullptr, "ToolEnt", "Entity Tool", "tool4", "Shift+E", "Entity Creation Tool", "1toolEntity()",
     0, 0x2, 0, 3, 0},
    {nullptr, nullptr, "ToolBlk", "Block Tool", "tool5", "Shift+B", "Block Creation Tool", "1toolBrush()", 0,
     0x2, 0, 4, 0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0},
    {nullptr, nullptr, "ToolTA", "Texture Application", "tool6", "Shift+A", "Texture Application Mode",
     "1toolTextureApplication()", 0, 0x2, 0, 5, 0},
    {nullptr, nullptr, "ToolTex", "Apply Current Texture", "tool7", "Shift+T",
     "Apply Current Texture to Selection", "1toolApplyTexture()", 0, 0x0, 0, kApplyTextureToolId, 0},
    {nullptr, nullptr, "ToolDec", "Apply Decals", "tool8", "Shift+D", nullptr, "1toolApplyDecals()", 0, 0x2,
     0, 6, 0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0},
    {nullptr, nullptr, "ToolC", "Clipping Tool", "tool9", "Shift+X", nullptr, "1toolClipper()", 0, 0x2, 0, 7,
     0},
    {nullptr, nullptr, "ToolV", "Vertex Tool", "tool10", "Shift+V", "Vertex Manipulation",
     "1toolVertexManipulation()", 0, 0x2, 0, 8, 0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0},
    {nullptr, nullptr, "ToolPath", "Path Tool", "tool11", "Shift+P", nullptr, "1toolPath()", 0, 0x2, 0, 10,
     0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0},
};

// Until the project has web pages the links open its own documents and folders.
const WebLinkEntry kWebLinks[] = {
    {"&Read me", "help", "doc/README.md"},      {"&Benchmarks", nullptr, "doc/bench.md"},
    {"&Fuzzing notes", nullptr, "doc/fuzz.md"}, {nullptr, nullptr, nullptr},
    {"&Sample game", nullptr, "sample"},        {"&Plugins folder", nullptr, "plugins"},
    {"&Translations folder", nullptr, "local"}, {nullptr, nullptr, nullptr},
    {"Program &folder", nullptr, "."},
};

const ActionHolder kMapToolBars[] = {
    {"Mapf&ile Bar", ActionFlag::FileBar},           {"Mapv&iew Bar", ActionFlag::ViewBar},
    {"Map&transform Bar", ActionFlag::TransformBar}, {"Mapo&perations Bar", ActionFlag::OperationsBar},
    {"Map&render Bar", ActionFlag::RenderBar},
};

const ActionHolder kContextMenus[] = {
    {"Canvas", ActionFlag::CanvasMenu},       {"Operations", ActionFlag::OperationsMenu},
    {"Create", ActionFlag::CreateMenu},       {"Select", ActionFlag::SelectMenu},
    {"Selection", ActionFlag::SelectionMenu}, {"Paths", ActionFlag::PathsMenu},
    {"Vertex", ActionFlag::VertexMenu},
};

} // namespace

std::span<const ActionEntry> Action_Table() {
    return kActions;
}

std::span<const ActionEntry> Action_ToolTable() {
    return kTools;
}

std::span<const WebLinkEntry> Action_WebLinks() {
    return kWebLinks;
}

std::span<const ActionHolder> Action_MapToolBars() {
    return kMapToolBars;
}

std::span<const ActionHolder> Action_ContextMenus() {
    return kContextMenus;
}

const char* Action_StandardKeyText(int32_t standardKey) {
    switch (standardKey) {
    case QKeySequence::New:
        return "Ctrl+N";
    case QKeySequence::Open:
        return "Ctrl+O";
    case QKeySequence::Save:
        return "Ctrl+S";
    case QKeySequence::Undo:
        return "Ctrl+Z";
    case QKeySequence::Redo:
        return "Ctrl+Y|Ctrl+Shift+Z";
    case QKeySequence::Cut:
        return "Ctrl+X";
    case QKeySequence::Copy:
        return "Ctrl+C";
    case QKeySequence::Paste:
        return "Ctrl+V";
    case QKeySequence::Delete:
        return "Del";
    case QKeySequence::NextChild:
        return "Ctrl+Tab";
    case QKeySequence::PreviousChild:
        return "Ctrl+Shift+Tab";
    case QKeySequence::HelpContents:
        return "F1";
    default:
        return ""; // Quit has none: Ctrl+Q clears the selection
    }
}

std::vector<std::string> Action_CheckTables(const QMetaObject& window, std::span<const ActionEntry> table,
                                            std::span<const ActionEntry> tools) {
    std::vector<std::string> problems;
    std::map<QString, std::string> keys; // portable key text to the row that has it
    for (const auto& list : {table, tools}) {
        const bool toolRows = list.data() == tools.data();
        for (const ActionEntry& row : list) {
            const std::string name = row.name ? row.name : (row.text ? row.text : "");
            if (row.slot && window.indexOfSlot(QMetaObject::normalizedSignature(row.slot + 1)) < 0)
                problems.push_back("no slot " + std::string(row.slot + 1) + " for " + name);
            // Context-menu rows act only while their menu is open.
            if (!row.text || !(toolRows || (row.flags & ActionFlag::MenuBar))) continue;
            const QString text =
                QString::fromUtf8(row.shortcut ? row.shortcut : Action_StandardKeyText(row.standardKey));
            for (const QString& part : text.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
                const QString key = QKeySequence(part).toString(QKeySequence::PortableText);
                const auto [at, added] = keys.emplace(key, name);
                if (!added)
                    problems.push_back("key " + key.toStdString() + " of " + name + " is also " + at->second +
                                       "'s");
            }
        }
    }
    return problems;
}
