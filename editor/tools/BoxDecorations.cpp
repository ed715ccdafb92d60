// Box decorations the selection, block and cordon tools share: handles, sizing guides and labels,
// and the world's remembered bounds.
#include "core/SysHost.h"
#include "tools/SelectionTool.h"

#include <QKeyEvent>
#include <QOpenGLFunctions>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapTransform.h"
#include "document/MapWorld.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "document/UniqueName.h"
#include "core/MainSettings.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "document/SelectionBox.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"

void Tool_RememberBounds(MapDocument* document, const SelectionBox* box) {
    if (!document || !document->world || !box) return;
    for (int k = 0; k < 3; ++k) {
        document->world->rememberedMins[k] = box->mins[k];
        document->world->rememberedMaxs[k] = box->maxs[k];
    }
}

// Draws the handles of a box: the mode picks which handles and their shape.
void Tool_DrawBoxHandles(cCanvas* view, const SelectionBox* box, int first, int last, int hover,
                         int colourEntry, bool round) {
    const float size = float(Sys_Settings().SelectionBulletSize);
    const float offset = 6.0f + size / 2;
    const int i = view->hAxis, j = view->vAxis;
    for (int h = first; h <= last; ++h) {
        float p[3];
        for (int k = 0; k < 3; ++k)
            p[k] = (box->mins[k] + box->maxs[k]) * 0.5f;
        const int si = kBoxHandleSide[h][0], sj = kBoxHandleSide[h][1];
        if (si) p[i] = si < 0 ? box->mins[i] : box->maxs[i];
        if (sj) p[j] = sj < 0 ? box->mins[j] : box->maxs[j];
        p[view->dAxis] = box->maxs[view->dAxis];
        uint8_t rgba[4];
        Color_FillRGBA(rgba, h == hover ? COLOR_BULLET_SELECTED : colourEntry);
        if (round)
            view->drawRoundBullet(p, size, float(si) * offset, float(sj) * offset, rgba);
        else
            view->drawSquareBullet(p, size, float(si) * offset, float(sj) * offset, rgba);
    }
}

// Width and height guides of a box, 6 pixels outside its bottom and right edges.
void Tool_DrawSizingGuides(cCanvas* view, const SelectionBox* box, int colourEntry) {
    Tool_SetColour(colourEntry, 0.45f);
    const int i = view->hAxis, j = view->vAxis;
    const float z = view->zoom, d = box->maxs[view->dAxis];
    std::vector<float> lines;
    auto line = [&](float a0, float b0, float a1, float b1) {
        float p[3];
        p[i] = a0;
        p[j] = b0;
        p[view->dAxis] = d;
        lines.insert(lines.end(), p, p + 3);
        p[i] = a1;
        p[j] = b1;
        lines.insert(lines.end(), p, p + 3);
    };
    if ((box->maxs[i] - box->mins[i]) * z >= 1.0f) {
        const float y = box->mins[j] - 6.0f / z;
        line(box->mins[i], y, box->maxs[i], y);
        line(box->mins[i], y - 3.0f / z, box->mins[i], y + 3.0f / z);
        line(box->maxs[i], y - 3.0f / z, box->maxs[i], y + 3.0f / z);
    }
    if ((box->maxs[j] - box->mins[j]) * z >= 1.0f) {
        const float x = box->maxs[i] + 6.0f / z;
        line(x, box->mins[j], x, box->maxs[j]);
        line(x - 3.0f / z, box->mins[j], x + 3.0f / z, box->mins[j]);
        line(x - 3.0f / z, box->maxs[j], x + 3.0f / z, box->maxs[j]);
    }
    if (lines.empty()) return;
    glBegin(GL_LINES);
    for (size_t n = 0; n < lines.size(); n += 3)
        glVertex3f(lines[n], lines[n + 1], lines[n + 2]);
    glEnd();
}

// The size labels of a box in pixel space: "(%1 %2 %3 %4)" above, width below, height right.
void Tool_DrawSizingLabels(cCanvas* view, const SelectionBox* box, int colourEntry) {
    static const char* const names[3] = {"x", "y", "z"};
    Tool_SetColour(colourEntry);
    const int i = view->hAxis, j = view->vAxis;
    float lo[3], hi[3], a[3], b[3];
    for (int k = 0; k < 3; ++k) {
        lo[k] = box->mins[k];
        hi[k] = box->maxs[k];
    }
    view->worldToScreen(lo, a); // bottom left
    view->worldToScreen(hi, b); // top right
    const QFont& font = view->smallFont;
    const QFontMetrics metrics(font);
    view->renderText(int(a[0]), int(b[1]) - 8,
                     QStringLiteral("(%1 %2 %3 %4)")
                         .arg(QLatin1String(names[i]))
                         .arg(int(lo[i]))
                         .arg(QLatin1String(names[j]))
                         .arg(int(hi[j])),
                     font);
    if (b[0] - a[0] >= 1.0f) {
        const QString text = QStringLiteral("%1 %2").arg(QLatin1String(names[i])).arg(int(hi[i] - lo[i]));
        view->renderText(int((a[0] + b[0]) / 2) - metrics.horizontalAdvance(text) / 2, int(a[1]) + 20, text,
                         font);
    }
    if (a[1] - b[1] >= 1.0f) {
        const QString text = QStringLiteral("%1 %2").arg(QLatin1String(names[j])).arg(int(hi[j] - lo[j]));
        view->renderText(int(b[0]) + 15, int((a[1] + b[1]) / 2) + 5, text, font);
    }
}
