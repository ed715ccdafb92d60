// The surface and content flags of the surface properties dialog: the names plugins register per
// map profile, the boxes' places, their states from the loaded objects and one undo level per
// click that writes every box of the group.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QStyle>

#include "dialogs/editing/FaceMapping.h"
#include "dialogs/editing/FacePropertiesDialog.h"
#include "document/MapWorld.h"
#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "gamedata/MapProfile.h"
#include "gamedata/PluginInterface.h"
#include "dialogs/application/DialogHost.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/OverlayRecord.h"
#include "map/PatchRecord.h"
#include "tools/ToolSupport.h"
#include "ui_FacePropertiesDialog.h"

namespace {

template <size_t N> void setName(std::array<QByteArray, N>& names, const char* flag, int32_t bit) {
    if (bit < 0 || bit >= static_cast<int32_t>(N)) return;
    names[static_cast<size_t>(bit)] = flag ? QByteArray(flag) : QByteArray();
}

// Box i of a group stands for bit (first + i) mod 32; a plugin's first bit counts by its low five
// bits, so no shift is ever negative or past the word.
uint32_t boxBit(int32_t first, int i) {
    return 1u << ((uint32_t(first) + uint32_t(i)) & 31u);
}

void applyBoxes(const QCheckBox* const* boxes, int count, int32_t first, int32_t& word) {
    for (int i = 0; i < count; ++i) {
        const uint32_t bit = boxBit(first, i);
        if (boxes[i]->checkState() == Qt::Checked)
            word = int32_t(uint32_t(word) | bit);
        else if (boxes[i]->checkState() == Qt::Unchecked)
            word = int32_t(uint32_t(word) & ~bit);
    }
}

} // namespace

const MapProfileRecord* Face_CurrentProfile() {
    return Dialog_Host() && GameCfg_HasCurrentProfile() ? GameCfg_CurrentProfile() : nullptr;
}

void cFacePropertiesDialog::setSurfaceFlagName(const char* profile, const char* flag, int32_t bit) {
    if (!profile || bit < 0 || bit >= kSurfaceFlagCount) return;
    setName(m_flagNames[QByteArray(profile)].surface, flag, bit);
}

void cFacePropertiesDialog::setContentFlagName(const char* profile, const char* flag, int32_t bit) {
    if (!profile || bit < 0 || bit >= kContentFlagCount) return;
    setName(m_flagNames[QByteArray(profile)].content, flag, bit);
}

const cFacePropertiesDialog::FlagNames* cFacePropertiesDialog::flagNames(const QByteArray& profile) const {
    auto found = m_flagNames.constFind(profile);
    return found != m_flagNames.constEnd() ? &found.value() : nullptr;
}

void cFacePropertiesDialog::createFlagBoxes() {
    auto make = [this](QGroupBox* group, int i, bool content) {
        auto* box = new QCheckBox(group);
        QFont font = box->font();
        font.setPointSize(8);
        box->setFont(font);
        box->setToolTip(QString::number(int32_t(1u << i)));
        box->hide();
        connect(box, &QCheckBox::stateChanged, this,
                content ? &cFacePropertiesDialog::exec_on_setContentFlags
                        : &cFacePropertiesDialog::exec_on_setSurfaceFlags);
        return box;
    };
    for (int i = 0; i < kSurfaceFlagCount; ++i)
        m_surfaceBoxes[size_t(i)] = make(ui->groupFlags, i, false);
    for (int i = 0; i < kContentFlagCount; ++i)
        m_contentBoxes[size_t(i)] = make(ui->groupFlags2, i, true);
}

void cFacePropertiesDialog::layoutFlagBoxes() {
    m_wideWidth = 308;
    ui->groupFlags->hide();
    ui->groupFlags2->hide();
    const MapProfileRecord* profile = Face_CurrentProfile();
    if (!profile) return;
    const bool hasS = profile->capabilities & MAP_PROFILE_SURFACE_FLAGS;
    const bool hasC = profile->capabilities & MAP_PROFILE_CONTENT_FLAGS;
    const FlagNames* names = flagNames(QByteArray(profile->name, qsizetype(strnlen(profile->name, 64))));
    if ((!hasS && !hasC) || !names) return;
    QStyle* style = m_surfaceBoxes[0]->style();
    const int extra = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, m_surfaceBoxes[0]) +
                      style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, m_surfaceBoxes[0]);
    const QFontMetrics metrics(m_surfaceBoxes[0]->font());
    struct Group {
        QGroupBox* box;
        QCheckBox* const* boxes;
        const QByteArray* names;
        int size;
        bool has;
        int count = 0, maxW = 0, height = 0, rows = 0;
        bool split = false, show = false;
    } groups[2] = {{ui->groupFlags, m_surfaceBoxes.data(), names->surface.data(), kSurfaceFlagCount, hasS},
                   {ui->groupFlags2, m_contentBoxes.data(), names->content.data(), kContentFlagCount, hasC}};
    for (Group& g : groups) {
        if (!g.has) continue;
        for (int i = 0; i < g.size; ++i)
            if (!g.names[i].isEmpty()) {
                ++g.count;
                g.maxW = std::max(g.maxW, metrics.horizontalAdvance(QString::fromUtf8(g.names[i])));
            }
        g.height = 20 * g.count;
        g.show = g.count > 0;
    }
    Group& S = groups[0];
    Group& C = groups[1];
    int w0 = std::max({S.maxW, C.maxW, 64}) + extra + 8, w1 = 0;
    const int available = height() - 16;
    const int need = (S.show ? S.height + 24 : 0) + (C.show ? C.height + 24 : 0);
    if (need > available) {
        auto rowsOf = [](const Group& g) { return (g.count + 1) / 2; };
        if (S.show && (!C.show || S.maxW < C.maxW)) {
            S.split = true;
            if (C.show && need - S.height + 20 * rowsOf(S) > available) C.split = true;
        } else {
            C.split = true;
            if (S.show && need - C.height + 20 * rowsOf(C) > available) S.split = true;
        }
        w0 = w1 = 0;
        for (Group& g : groups) {
            if (!g.split) continue;
            g.rows = rowsOf(g);
            for (int i = 0, n = 0; i < g.size; ++i) {
                if (g.names[i].isEmpty()) continue;
                const int w = metrics.horizontalAdvance(QString::fromUtf8(g.names[i]));
                int& column = n / g.rows ? w1 : w0;
                column = std::max(column, w);
                ++n;
            }
            g.height = 20 * g.rows;
        }
        w0 += extra + 8;
        w1 += extra + 8;
    }
    int y = 8;
    int remaining = available;
    Group* lower = nullptr;
    for (Group& g : groups) {
        if (!g.show) {
            for (int i = 0; i < g.size; ++i) {
                g.boxes[i]->hide();
                g.boxes[i]->setEnabled(false);
            }
            continue;
        }
        g.box->setGeometry(310, y, w0 + w1 + 16, g.height + 24);
        for (int i = 0, n = 0; i < g.size; ++i) {
            QCheckBox* box = g.boxes[i];
            if (g.names[i].isEmpty()) {
                box->hide();
                box->setEnabled(false);
                continue;
            }
            const int k = g.split ? n / g.rows : 0, j = g.split ? n % g.rows : n;
            const int width = g.split ? (k ? w1 : w0) : w0 + w1;
            box->setGeometry(8 + k * w0, 16 + 20 * j, width, 20);
            box->setText(QString::fromUtf8(g.names[i]));
            box->setEnabled(true);
            box->show();
            ++n;
        }
        remaining = available - (g.height + 24) - (lower ? lower->box->height() + 8 : 0);
        y = g.box->y() + g.height + 24 + 8;
        lower = &g;
    }
    if (lower) {
        // The lower group reaches down to 8 pixels above the dialog's bottom edge.
        const int room = height() - 8 - lower->box->y();
        if (lower->box->height() < room) lower->box->resize(lower->box->width(), room);
    }
    (void)remaining;
    S.box->setVisible(S.show);
    C.box->setVisible(C.show);
    m_wideWidth = w0 + w1 + 332;
}

void cFacePropertiesDialog::resetFlagBoxes() {
    m_surfaceSeen.fill(-1);
    m_contentSeen.fill(-1);
    for (QCheckBox* box : m_surfaceBoxes) {
        box->setTristate(false);
        box->setChecked(false);
    }
    for (QCheckBox* box : m_contentBoxes) {
        box->setTristate(false);
        box->setChecked(false);
    }
}

void cFacePropertiesDialog::feedFlags(int32_t surface, int32_t contents) {
    const MapProfileRecord* profile = Face_CurrentProfile();
    const int32_t firstS = profile ? profile->firstSurfaceFlag : 0;
    const int32_t firstC = profile ? profile->firstContentFlag : 0;
    auto feed = [](QCheckBox* const* boxes, int* seen, int count, int32_t first, int32_t word) {
        for (int i = 0; i < count; ++i) {
            const int bit = (uint32_t(word) & boxBit(first, i)) ? 1 : 0;
            if (seen[i] == -1) {
                seen[i] = bit;
                boxes[i]->setChecked(bit);
            } else if (seen[i] != 2 && seen[i] != bit) {
                seen[i] = 2;
                boxes[i]->setTristate(true);
                boxes[i]->setCheckState(Qt::PartiallyChecked);
            }
        }
    };
    feed(m_surfaceBoxes.data(), m_surfaceSeen.data(), kSurfaceFlagCount, firstS, surface);
    feed(m_contentBoxes.data(), m_contentSeen.data(), kContentFlagCount, firstC, contents);
}

void cFacePropertiesDialog::setFlagBoxes(int32_t surface, int32_t contents) {
    resetFlagBoxes();
    feedFlags(surface, contents);
}

void cFacePropertiesDialog::exec_on_setSurfaceFlags() {
    writeFlags(false);
}

void cFacePropertiesDialog::exec_on_setContentFlags() {
    writeFlags(true);
}

void cFacePropertiesDialog::writeFlags(bool content) {
    MapWorld* world = targetWorld();
    if (!world || m_loading) return;
    UndoHistory* history = Map_OpHistory(world);
    if (history) {
        Undo_BeginLevel(history, content ? "Content Flags" : "Surface Flags");
        Undo_SaveSelectedFacesChanged(history);
        Undo_SaveSelectedPatchesChanged(history, false);
        Undo_SaveSelectedOverlaysChanged(history, false);
        if (history->recording) {
            Undo_EndLevel(history);
            Tool_UpdateActions(0x2);
        }
    }
    const MapProfileRecord* profile = Face_CurrentProfile();
    const int32_t first = profile ? (content ? profile->firstContentFlag : profile->firstSurfaceFlag) : 0;
    QCheckBox* const* boxes = content ? m_contentBoxes.data() : m_surfaceBoxes.data();
    const int count = content ? kContentFlagCount : kSurfaceFlagCount;
    auto write = [&](TextureInfo& info) {
        applyBoxes(boxes, count, first, content ? info.contents : info.surfaceFlags);
    };
    for (FaceRecord* f = world->selectedFaces; f; f = f->selNext)
        write(f->texInfo);
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        if (b->patch) write(b->patch->texInfo);
        if (b->overlay) write(b->overlay->texInfo);
    }
    if (auto* box = qobject_cast<QCheckBox*>(sender())) {
        const bool loading = m_loading;
        m_loading = true;
        box->setTristate(false);
        m_loading = loading;
    }
    Map_OpFinish(world, false);
}
