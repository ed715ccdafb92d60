#include "tools/BrushTool.h"

#include <QOpenGLFunctions>
#include <cstring>
#include <unordered_set>

#include "core/Prompt.h"
#include "core/SysHost.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/Primitives.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureRecords.h"
#include "core/MainSettings.h"
#include "map/MapBrush.h"
#include "document/SelectionBox.h"
#include "document/SelectionSummary.h"
#include "tools/SelectionTool.h"
#include "tools/ToolHost.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"
#include "views/DialogParent.h"

namespace {
// The primitive the brush builds; none without a host.
PrimitiveEntry* currentPrimitive() {
    const ToolHost* host = Tool_Host();
    return host ? host->currentPrimitive() : nullptr;
}

// The world's brushes and groups: what a primitive makes is what is not in the list taken before.
std::unordered_set<const void*> worldObjects(const MapWorld* world) {
    std::unordered_set<const void*> objects;
    for (const BrushRecord* b = world->entities ? world->entities->firstBrush : nullptr; b; b = b->next)
        objects.insert(b);
    for (const GroupRecord* g = world->groups; g; g = g->next)
        objects.insert(g);
    return objects;
}

// The new objects become the whole selection (the built-in primitives selected them as they
// recorded them), so that they show as made and the status bar names them.
void selectMade(cCanvas* view, MapWorld* world, const std::unordered_set<const void*>& before) {
    Map_SelectNone(world);
    for (GroupRecord* g = world->groups; g; g = g->next)
        if (!g->parent && !before.count(g)) Map_SelectObject(world, g);
    for (BrushRecord* b = world->entities ? world->entities->firstBrush : nullptr; b; b = b->next)
        if (!before.count(b)) Map_SelectObject(world, b);
    Map_UpdateSelectionSummary(world);
    if (ToolHost* host = Tool_Host()) host->notifySelectionChanged(view);
}
} // namespace

ToolTexture Tool_CurrentTexture() {
    ToolTexture texture;
    const ToolHost* host = Tool_Host();
    const QString name = host ? host->currentTextureName() : QString();
    if (name.isEmpty()) return texture;
    texture.record = host->findTexture(name);
    // A listed texture goes in under its own spelling; an unlisted name as the user gave it.
    texture.name = texture.record ? QByteArray(texture.record->name) : name.toUtf8().left(kTextureNameMax);
    return texture;
}

void cBrushTool::newBox(cCanvas* view, SelectionBox* box, float p[3]) {
    const int k = view->dAxis;
    const MapWorld* world = view->document()->world;
    if (world->rememberedMaxs[k] - world->rememberedMins[k] > 0.001f) {
        dragStart[k] = world->rememberedMins[k];
        p[k] = world->rememberedMaxs[k];
    } else {
        p[k] += 64.0f;
    }
    Tool_SpanBox(view, box, dragStart, p);
}

void cBrushTool::nudged(cCanvas* view, SelectionBox* box) {
    Tool_BoxStatus(view, box, BoxStatus::None);
}

int cBrushTool::outlineColour() const {
    return COLOR_BRUSH_CREATION;
}

int cBrushTool::bulletColour() const {
    return COLOR_BRUSH_HANDLE;
}

bool cBrushTool::ownCursor(cCanvas* view) {
    view->setCursor(Tool_Cursor(ToolCursor::Brush));
    return true;
}

bool cBrushTool::keyPress(cCanvas* view, int key, int modifiers) {
    SelectionBox* box = boxOf(view);
    if (!box) return false;
    if (key == Qt::Key_Escape && !box->valid) {
        MapWorld* world = view->document()->world;
        if (!Sys_Settings().ClearSelectionOnEscape || (!world->selectedEntities && !world->selectedBrushes))
            return false;
        Map_SelectNone(world);
        inside = false;
        hoverHandle = 0;
        Tool_UpdateActions(0x15);
        Tool_Redraw(view, 3);
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !view->is3D() && box->valid) {
        dragging = inside = false;
        if (modifiers & Qt::AltModifier) return false;
        createObject(view);
        return true;
    }
    return cBoxTool::keyPress(view, key, modifiers);
}

bool cBrushTool::contextMenu(cCanvas* view, int x, int y, QPoint global, bool onRelease) {
    SelectionBox* box = boxOf(view);
    if (onRelease || !box || !box->valid) return false;
    float p[3];
    Tool_MapPoint(view, x, y, 0, box, p);
    if (!Select_BoxContainsPoint(box, p)) return true;
    Tool_UpdateCreateActions(QString());
    View_ExecContextMenu(QStringLiteral("Create"), global);
    return true;
}

void cBrushTool::fillParams(cCanvas* view, const SelectionBox* box, PrimitiveParams* params) const {
    std::memset(static_cast<void*>(params), 0, sizeof *params);
    const MainSettings& s = Sys_Settings();
    params->map = Map_Handle(view->document()->world);
    const GameConfig* config = GameCfg_Current();
    const float scale = config ? config->DefaultTextureScale : 1.0f;
    params->texInfo.sScale = scale;
    params->texInfo.tScale = scale;
    params->texInfo.alignment = s.TextureFaceAlign ? 2 : 1;
    const ToolTexture texture = Tool_CurrentTexture();
    if (const ShaderRecord* record = texture.record) {
        params->texInfo.value = record->value;
        params->texInfo.surfaceFlags = record->surfaceFlags;
        params->texInfo.contents = record->contents;
    }
    if (!texture.name.isEmpty()) {
        std::strncpy(params->texInfo.name, texture.name.constData(), kTextureNameMax);
    } else {
        std::strcpy(params->texInfo.name, "notexture");
    }
    const PrimitiveEntry* entry = currentPrimitive();
    params->count = entry ? entry->count : 0;
    int flags = s.DontSnapPrimitivePoints ? 0 : PrimitiveFlag::SnapPoints;
    if (s.StretchArches) flags |= PrimitiveFlag::StretchArches;
    if (s.ReorientPrimitives && !view->is3D()) {
        params->axes[0] = view->hAxis;
        params->axes[1] = view->vAxis;
        params->axes[2] = view->dAxis;
        if (view->depthSign) flags |= PrimitiveFlag::Handedness;
    } else {
        params->axes[0] = 0;
        params->axes[1] = 1;
        params->axes[2] = 2;
        flags |= PrimitiveFlag::Handedness;
    }
    params->flags = flags;
    for (int k = 0; k < 3; ++k) {
        params->mins[k] = box->mins[k];
        params->maxs[k] = box->maxs[k];
    }
}

void cBrushTool::createObject(cCanvas* view) {
    SelectionBox* box = boxOf(view);
    if (view->is3D() || !box) return;
    MapDocument* doc = view->document();
    float volume = 1.0f;
    for (int k = 0; k < 3; ++k)
        volume *= box->maxs[k] - box->mins[k];
    if (box->valid && volume != 0.0f) {
        if (PrimitiveEntry* entry = currentPrimitive()) {
            PrimitiveParams params;
            fillParams(view, box, &params);
            const std::unordered_set<const void*> before = worldObjects(doc->world);
            if (entry->create && entry->create(&params)) {
                selectMade(view, doc->world, before);
                Tool_RememberBounds(doc, box);
                doc->modified = true;
                Project_UpdateTitles(doc);
            }
        }
    } else {
        Prompt_Message(App_DialogParent(view), PromptIcon::Warning, QObject::tr("The box is empty."));
    }
    dragging = inside = false;
    Select_ClearBox(box);
    view->setCursorForTool();
    Tool_Redraw(view, 3);
    Tool_BoxStatus(view, box, 0);
}

void cBrushTool::drawOverlay(cCanvas* view, RenderContext*) {
    SelectionBox* box = boxOf(view);
    if (view->is3D() || !box || !box->valid || !Sys_Settings().DrawSizingInfo) return;
    Tool_DrawSizingLabels(view, box, dragging ? COLOR_ACTIVE_SELECTION : COLOR_BRUSH_CREATION);
}
