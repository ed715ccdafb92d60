// The surface properties dialog over 1,000 boxes with all 6,000 faces selected, on a profile with
// every surface and content flag named: a full reload, one drag-shift step in the 3D view, Apply
// in mode 4 with its snapshot, and a click on a flag box.
#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QGroupBox>
#include <cstring>

#include "FrameRig.h"
#include "LargeMap.h"
#include "dialogs/editing/FacePropertiesDialog.h"
#include "document/MapDocument.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "gamedata/PluginInterface.h"

namespace {

constexpr const char* kProfile = "benchFlags";

struct FaceRig {
    FaceRig() {
        Bench_InitApplication();
        cMainWindow& window = *g_mainWindow;
        MapProfileRecord profile{};
        std::strcpy(profile.name, kProfile);
        std::strcpy(profile.title, "Bench Flags");
        profile.capabilities = MAP_PROFILE_SURFACE_FLAGS | MAP_PROFILE_CONTENT_FLAGS |
                               MAP_PROFILE_SURFACE_VALUE | MAP_PROFILE_SAMPLE_SIZE;
        profile.firstSurfaceFlag = 4;
        profile.firstContentFlag = 4;
        GameCfg_RegisterProfile(&window.gameConfigs, nullptr, &profile);
        for (int i = 0; i < cFacePropertiesDialog::kContentFlagCount; ++i) {
            const QByteArray surface = "Surface " + QByteArray::number(i);
            const QByteArray content = "Content " + QByteArray::number(i);
            if (i < cFacePropertiesDialog::kSurfaceFlagCount)
                window.faceDialog.setSurfaceFlagName(kProfile, surface.constData(), i);
            window.faceDialog.setContentFlagName(kProfile, content.constData(), i);
        }
        GameConfig* config = GameCfg_AddConfig(&window.gameConfigs, QStringLiteral("Bench Flags"));
        config->MapProfile = QString::fromLatin1(kProfile);
        GameCfg_Select(&window.gameConfigs, config);

        Project_Construct(&doc);
        LargeMapCounts counts;
        counts.brushes = 1000;
        counts.patches = counts.entities = counts.groups = counts.visGroups = counts.paths = 0;
        LargeMap_Build(doc.world, counts);
        child = Bench_ShowMapWindow(&doc);
        for (cCanvas* v : child->views)
            if (v->is3D()) view = v;
        doc.world->selectionMode = SelectionMode::Faces;
        for (BrushRecord* b = doc.world->entities->firstBrush; b; b = b->next)
            for (FaceRecord* f = b->firstFace; f; f = f->next)
                Map_SelectObject(doc.world, f);
        dialog().setTarget(Map_Handle(doc.world));
        dialog().setTextureSelection(true, false, QString(), QStringLiteral("base/trim"));
        for (QCheckBox* box : dialog().findChildren<QCheckBox*>())
            if (box->text() == QStringLiteral("Surface 3")) flagBox = box;
    }
    cFacePropertiesDialog& dialog() { return g_mainWindow->faceDialog; }
    MapDocument doc;
    cChildWindow* child = nullptr;
    cCanvas* view = nullptr;
    QCheckBox* flagBox = nullptr;
};

FaceRig& rig() {
    static FaceRig* r = new FaceRig;
    return *r;
}

void BM_FaceDialogFullReload(benchmark::State& state) {
    FaceRig& r = rig();
    for (auto _ : state)
        r.dialog().refreshFromSelection(false);
}
BENCHMARK(BM_FaceDialogFullReload)->Unit(benchmark::kMillisecond);

void BM_FaceDialogDragShiftStep(benchmark::State& state) {
    FaceRig& r = rig();
    int step = 1;
    for (auto _ : state) {
        r.dialog().dragShiftTexture(step, 0, r.view);
        step = -step;
    }
}
BENCHMARK(BM_FaceDialogDragShiftStep)->Unit(benchmark::kMillisecond);

void BM_FaceDialogApplyMode4(benchmark::State& state) {
    FaceRig& r = rig();
    for (auto _ : state)
        r.dialog().applyTexture(nullptr, nullptr, nullptr, 4, false);
}
BENCHMARK(BM_FaceDialogApplyMode4)->Unit(benchmark::kMillisecond);

void BM_FaceDialogFlagBoxClick(benchmark::State& state) {
    FaceRig& r = rig();
    if (!r.flagBox) {
        state.SkipWithError("no flag box");
        return;
    }
    for (auto _ : state)
        r.flagBox->click();
}
BENCHMARK(BM_FaceDialogFlagBoxClick)->Unit(benchmark::kMillisecond);

} // namespace
