// The rows of the command table and the tool table.
#include "mainwindow/ActionTable.h"

#include <QKeySequence>

namespace {

// Columns: menu, group, name, text, icon, shortcut, status tip, slot, standard key, flags, tool
// mask, tool-bar order, context order. The trailing number is the row's place in the full table.
const ActionEntry kActions[] = {
    // &File
    {"&File", nullptr, "FileSaveIncr", "Save &Incremental", "save3", "Ctrl+Alt+S", nullptr,
     "1cmdFileSaveIncremental()", 0, 0x1, 0, 0, 0},                                             // 6
    {"&File", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x15, 0, 0, 0}, // 12
    {"&File", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x25, 0, 0, 0}, // 13
    // E&dit
    {"E&dit", nullptr, "EditUndo", "Undo", "undo", nullptr, nullptr, "1cmdEditUndo()", QKeySequence::Undo,
     0xd000001, 0, 0, 900}, // 15
    {"E&dit", nullptr, "EditRedo", "Redo", "redo", nullptr, nullptr, "1cmdEditRedo()", QKeySequence::Redo,
     0xd000001, 0, 0, 1000}, // 16
    {"E&dit", nullptr, "EditNoUndo", "Disabl&e Undo/Redo", nullptr, nullptr,
     "Toggle Undo/Redo (off conserves memory)", "1cmdEditToggleUndoRedo()", 0, 0x1, 0, 0, 0}, // 17
    {"E&dit", nullptr, "EditCut", "Cu&t", "cut", nullptr, nullptr, "1cmdEditCut()", QKeySequence::Cut,
     0x8200001, 0, 1100, 0}, // 19
    {"E&dit", nullptr, "EditCopy", "&Copy", "copy", nullptr, nullptr, "1cmdEditCopy()", QKeySequence::Copy,
     0x8200001, 0, 1200, 0}, // 20
    {"E&dit", nullptr, "EditPaste", "Past&e", "paste", nullptr, nullptr, "1cmdEditPaste()",
     QKeySequence::Paste, 0x5200001, 0, 1300, 500}, // 21
    {"E&dit", nullptr, "EditPaste2", "Pa&ste Special...", nullptr, nullptr, nullptr, "1cmdEditPasteSpecial()",
     0, 0xd000001, 0, 0, 600}, // 22
    {"E&dit", nullptr, "EditSelH", "Toggle Select-by-&Handles", "selh", nullptr, nullptr,
     "1cmdEditSelectByHandles()", 0, 0x200002, 0, 1800, 0}, // 32
    {"E&dit", nullptr, "EditSelA", "Toggle &2D auto-selection by selection frame", "sela", nullptr, nullptr,
     "1cmdEditSelectAuto()", 0, 0x200002, 0, 1900, 0}, // 33
    {"E&dit", nullptr, "EditSelM", "Toggle &3D auto-selection by mouse dragging", "selmm", nullptr, nullptr,
     "1cmdEditSelectMouseMove()", 0, 0x200002, 0, 1910, 0}, // 34
    {"E&dit", nullptr, "EditCreate", "Create &Object", nullptr, nullptr, nullptr, "1cmdEditCreateObject()", 0,
     0x2000000, 0, 0, 100}, // 36
    {"E&dit", nullptr, "EditCreatePlaceholder", nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x2000000, 0,
     0, 200}, // 38
    // &Map
    {"&Map", nullptr, "MapSnap", "&Snap to Grid", nullptr, "Shift+W", nullptr, "1cmdMapToggleGridSnap()", 0,
     0x3, 0, 100, 0}, // 52
    {"&Map", nullptr, "MapGrid", "Show &Grid", "grid", "Shift+R", nullptr, "1cmdMapToggleGrid()", 0, 0x80003,
     0, 100, 0}, // 53
    {"&Map", nullptr, "MapGrid3D", "Show 3&D Grid", "grid3d", "P", nullptr, "1cmdMapToggleGrid3D()", 0,
     0x80003, 0, 200, 0}, // 54
    {"&Map", nullptr, "MapLoadHull", "Load Hull file...", nullptr, nullptr, nullptr, "1cmdMapLoadHullfile()",
     0, 0x1, 0, 0, 0}, // 74
    {"&Map", nullptr, "MapUnloadHull", "Unload Hull file", nullptr, nullptr, nullptr,
     "1cmdMapUnloadHullfile()", 0, 0x1, 0, 0, 0}, // 75
    // &View
    {"&View", nullptr, nullptr, "Screen &Elements", nullptr, nullptr, nullptr, nullptr, 0, 0x101, 0, 0,
     0}, // 76
    {"&View", nullptr, nullptr, "&Color Schemes", nullptr, nullptr, nullptr, nullptr, 0, 0x201, 0, 0,
     0},                                                                                             // 77
    {"&View", nullptr, nullptr, "&Language", nullptr, nullptr, nullptr, nullptr, 0, 0x801, 0, 0, 0}, // 78
    {"&View", "Active &Layout", "View2DXY", "2D &X/Y", "xy", nullptr, nullptr, "1cmdView2DXY()", 0, 0x801003,
     0, 0, 100}, // 80
    {"&View", "Active &Layout", "View2DYZ", "2D &Y/Z", "yz", nullptr, nullptr, "1cmdView2DYZ()", 0, 0x801003,
     0, 0, 200}, // 81
    {"&View", "Active &Layout", "View2DXZ", "2D X/&Z", "xz", nullptr, nullptr, "1cmdView2DXZ()", 0, 0x801003,
     0, 0, 300}, // 82
    {"&View", "Active &Layout", "View3DW", "3D &Wireframe", "threed1", nullptr, nullptr,
     "1cmdView3DWireframe()", 0, 0x801003, 0, 0, 500}, // 84
    {"&View", "Active &Layout", "View3DF", "3D &Filled Polygons", "threed2", nullptr, nullptr,
     "1cmdView3DFilled()", 0, 0x801003, 0, 0, 600}, // 85
    {"&View", "Active &Layout", "View3DT", "3D &Textured Polygons", "threed3", nullptr, nullptr,
     "1cmdView3DTextured()", 0, 0x801003, 0, 0, 700}, // 86
    {"&View", "Active &Layout", "View3DST", "3D &Shaded Textured Polygons", "threed4", nullptr, nullptr,
     "1cmdView3DShadedTextured()", 0, 0x801003, 0, 0, 800}, // 87
    {"&View", "&Transparency", "ViewTexTrans", "&Special Textures", "trans", nullptr, nullptr,
     "1cmdViewToggleTexTrans()", 0, 0x400003, 0, 1000, 0}, // 93
    {"&View", "&Transparency", "ViewEntTrans", "&Entities", "trans2", nullptr, nullptr,
     "1cmdViewToggleEntTrans()", 0, 0x400003, 0, 1100, 0}, // 94
    {"&View", "S&how Elements", "ViewConn", "Show C&onnections", "conn", nullptr, nullptr,
     "1cmdViewToggleConnections()", 0, 0x400003, 0, 1200, 0}, // 96
    {"&View", "S&how Elements", "ViewMod2D", "Show &Models in 2D", "mod2d", nullptr, nullptr,
     "1cmdViewToggleModels2D()", 0, 0x400003, 0, 1300, 0}, // 97
    {"&View", "S&how Elements", "ViewSky", "Show S&ky", "sky", nullptr, nullptr, "1cmdViewToggleSky()", 0,
     0x400003, 0, 1400, 0}, // 98
    {"&View", "S&how Elements", "ViewAnim", "Show Texture &Animations", "anim", nullptr, nullptr,
     "1cmdViewToggleShaderAnimations()", 0, 0x400003, 0, 1500, 0}, // 99
    {"&View", "S&how Elements", "ViewNodraw", "Show &Nodraw Faces", "nodraw", nullptr, nullptr,
     "1cmdViewToggleNodraw()", 0, 0x400003, 0, 1600, 0}, // 100
    {"&View", "S&how Elements", "ViewHint", "Show &Hint Faces", "hint", nullptr, nullptr,
     "1cmdViewToggleHint()", 0, 0x400003, 0, 1700, 0}, // 101
    {"&View", "S&how Elements", "ViewClip", "Show &Clip Faces", "clip", nullptr, nullptr,
     "1cmdViewToggleClip()", 0, 0x400003, 0, 1800, 0}, // 102
    {"&View", "S&how Elements", "ViewTrigger", "Show &Trigger Faces", "trig", nullptr, nullptr,
     "1cmdViewToggleTrigger()", 0, 0x400003, 0, 1900, 0}, // 103
    {"&View", "S&how Elements", "ViewGridUV", "Show &UV Grid", "griduv", nullptr, nullptr,
     "1cmdViewToggleGridUV()", 0, 0x80003, 0, 900, 0}, // 104
    {"&View", nullptr, "ViewItems", "Hide &Items", nullptr, nullptr, nullptr, "1cmdViewToggleItems()", 0, 0x3,
     0, 0, 0}, // 106
    {"&View", nullptr, "ViewPaths", "Hide &Paths", nullptr, nullptr, nullptr, "1cmdViewTogglePaths()", 0, 0x3,
     0, 0, 0}, // 107
    {"&View", nullptr, "ViewUnknown", "Hide &Unknown Entities", nullptr, nullptr,
     "Hide entities not described in Game Data Files", "1cmdViewToggleUnknownEntities()", 0, 0x3, 0, 0,
     0}, // 108
    {"&View", nullptr, "ViewEntNames", "Hide En&tity Names", nullptr, nullptr, nullptr,
     "1cmdViewToggleEntityNames()", 0, 0x3, 0, 0, 0}, // 109
    {"&View", nullptr, "ViewCurves", "Hide C&urves", nullptr, nullptr, nullptr, "1cmdViewToggleCurves()", 0,
     0x3, 0, 0, 0}, // 110
    {"&View", nullptr, "ViewDetail", "Hide &Detail", nullptr, "Ctrl+D", nullptr, "1cmdViewToggleDetail()", 0,
     0x3, 0, 0, 0}, // 111
    {"&View", nullptr, "ViewOpenModel", "&View model...", nullptr, nullptr, nullptr, "1cmdViewOpenModel()", 0,
     0x8000000, 0, 0, 1951}, // 117
    {"&View", nullptr, "ViewReloadModel", "&Reload model", nullptr, nullptr, nullptr, "1cmdViewReloadModel()",
     0, 0x8000000, 0, 0, 1952}, // 118
    // &Tools
    {"&Tools", nullptr, "ToolsGroup", "&Group", "group", "Ctrl+G", nullptr, "1cmdToolsGroup()", 0, 0x8200001,
     0, 300, 1500}, // 123
    {"&Tools", nullptr, "ToolsUngroup", "&Ungroup", "ungroup", "Ctrl+U", nullptr, "1cmdToolsUngroup()", 0,
     0x8200001, 0, 400, 1600}, // 124
    {"&Tools", nullptr, "ToolsIG", "Toggle group ignore", "ig", "Shift+Ctrl+W", nullptr,
     "1cmdToolsIgnoreGroups()", 0, 0x200002, 0, 500, 0}, // 125
    {"&Tools", nullptr, "ToolsMakeDetail", "Make &Detail", nullptr, "Shift+Ctrl+D",
     "Make selected brushes detail (set CONTENTS_DETAIL flag)", "1cmdToolsMakeDetail()", 0, 0x8000001, 0, 0,
     1110}, // 127
    {"&Tools", nullptr, "ToolsMakeStruct", "Make &Structural", nullptr, "Shift+Ctrl+S",
     "Make selected brushes structural (clear CONTENTS_DETAIL flag)", "1cmdToolsMakeStructural()", 0,
     0x8000001, 0, 0, 1120}, // 128
    {"&Tools", nullptr, "ToolsMakeSep", nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x8000001, 0, 0,
     1130}, // 129
    {"&Tools", "&Tie to entity", "ToolsToEntityContext", "&Tie to entity", nullptr, nullptr, nullptr,
     "1cmdToolsTieToEntity()", 0, 0x8000000, 0, 0, 1800}, // 132
    {"&Tools", "&Tie to entity", "ToolsToEntityPlaceholder", nullptr, nullptr, nullptr, nullptr, nullptr, 0,
     0x8000000, 0, 0, 1810}, // 133
    {"&Tools", nullptr, "ToolsEntConn", "&Connect entities", nullptr, "Ctrl+K",
     "Make second selected entity a target of the first selected entity", "1cmdToolsConnectEntities()", 0,
     0x8000001, 0, 0, 1910}, // 134
    {"&Tools", nullptr, "ToolsShdEdit", "Edit e&ffects...", nullptr, "F3", nullptr, "1cmdToolsShaderEdit()",
     0, 0x1, 0, 0, 0}, // 138
    {"&Tools", nullptr, "ToolsTexLock", "Texture &lock (move+rotate)", "tl", "Shift+L", nullptr,
     "1cmdToolsTextureLock()", 0, 0x200003, 0, 2000, 0}, // 139
    {"&Tools", nullptr, "ToolsTexLockScale", "Texture lock (&scale)", "sl", "Shift+Ctrl+L", nullptr,
     "1cmdToolsTextureLockScale()", 0, 0x200003, 0, 2001, 0}, // 140
    {"&Tools", nullptr, "ToolsTexLockUV", "Texture lock (&UV coordinates)", "uvl", nullptr, nullptr,
     "1cmdToolsTextureLockUV()", 0, 0x200003, 0, 2002, 0}, // 141
    {"&Tools", nullptr, "ToolsTexAlign", "Toggle texture alignment", "ta", nullptr, nullptr,
     "1cmdToolsTextureAlignment()", 0, 0x200002, 0, 2200, 0}, // 144
    {"&Tools", nullptr, "ToolsTransform", "Transfor&m...", "transf", "Ctrl+M", nullptr,
     "1cmdToolsTransform()", 0, 0x8100001, 0, 100, 2900}, // 148
    {"&Tools", nullptr, "ToolsVertexRes", "No &morph restrictions", "vertexres", nullptr, nullptr,
     "1cmdToolsToggleVertexRes()", 0, 0x200002, 0, 2201, 0}, // 150
    {"&Tools", nullptr, "ToolsVertexCM", "Merge c&oplanar faces", "vertexcm", nullptr, nullptr,
     "1cmdToolsToggleVertexCM()", 0, 0x200002, 0, 2202, 0}, // 151
    {"&Tools", "&Align objects", "ToolsAlignL", "To &Left", "al", nullptr, nullptr, "1cmdToolsAlignLeft()", 0,
     0x8100001, 0, 300, 3000}, // 152
    {"&Tools", "&Align objects", "ToolsAlignR", "To &Right", "ar", nullptr, nullptr, "1cmdToolsAlignRight()",
     0, 0x8100001, 0, 400, 3100}, // 153
    {"&Tools", "&Align objects", "ToolsAlignT", "To &Top", "at", nullptr, nullptr, "1cmdToolsAlignTop()", 0,
     0x8100001, 0, 500, 3200}, // 154
    {"&Tools", "&Align objects", "ToolsAlignB", "To &Bottom", "ab", nullptr, nullptr,
     "1cmdToolsAlignBottom()", 0, 0x8100001, 0, 600, 3300}, // 155
    {"&Tools", "&Flip objects", "ToolsFlipH", "&Horizontally", "fh", "Ctrl+L", nullptr, "1cmdToolsFlipHorz()",
     0, 0x8100001, 0, 800, 3400}, // 157
    {"&Tools", "&Flip objects", "ToolsFlipV", "&Vertically", "fv", "Ctrl+I", nullptr, "1cmdToolsFlipVert()",
     0, 0x8100001, 0, 900, 3500}, // 158
    {"&Tools", "&Rotate objects", "ToolsRotA", "&Anti-clockwise", "rota", "Ctrl+R", nullptr,
     "1cmdToolsRotateAntiClockwise()", 0, 0x8100001, 0, 1100, 3510}, // 160
    {"&Tools", "&Rotate objects", "ToolsRotC", "&Clockwise", "rotc", "Shift+Ctrl+R", nullptr,
     "1cmdToolsRotateClockwise()", 0, 0x8100001, 0, 1200, 3520}, // 161
    {"&Tools", nullptr, "ToolsCordon", "Toggle C&ordon Tool", "cordon", nullptr, nullptr, "1cmdToolsCordon()",
     0, 0x200002, 0, 1500, 0}, // 171
    // &Curve
    {"&Curve", nullptr, "CurveMatInv", "&Invert Matrix", nullptr, "Shift+Ctrl+I", nullptr,
     "1cmdCurveMatrixInverse()", 0, 0x1, 0, 0, 0}, // 175
    {"&Curve", nullptr, "CurveSelect", "Don't &select curves", "selnc", nullptr, nullptr, "1cmdCurveSelect()",
     0, 0x200003, 0, 1910, 0}, // 192
    // Pl&ugins
    {"Pl&ugins", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x401, 0, 0, 0}, // 193
    // &Window
    {"&Window", nullptr, "WindowMsg", "&Messages", "console", "Alt+F3", nullptr, "1cmdWindowMessages()", 0,
     0xf, 0, 0, 0},                                                                               // 201
    {"&Window", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x41, 0, 0, 0}, // 203
    // &Help
    {"&Help", nullptr, "HelpWeb", "Web &Resources", nullptr, nullptr, nullptr, nullptr, 0, 0x8d, 0, 0,
     0}, // 205
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
