// The texture lists rebuilt over a generated game: 40 folder packages of 75 effects each (3,000
// names), as a game configuration lists them. The packages are filled in memory, marked loaded and
// counted, so the figure is the rebuild's own: keys, the first-package rule, groups and icons.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "FrameRig.h"
#include "gamedata/TextureLists.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TexturePackage.h"
#include "gamedata/TextureRecords.h"

namespace {

struct ListsRig {
    ListsRig() {
        Bench_InitApplication();
        config.GameBasedir = QStringLiteral("/nonexistent/benchgame");
        for (int folder = 0; folder < 40; ++folder) {
            const QString path = config.GameBasedir + QStringLiteral("/textures/folder%1").arg(folder);
            config.Parcel.append(path);
            TexturePackage* package = Tex_AcquirePackage(path);
            package->kind = kPackageDirectory;
            package->loaded = package->infoCached = true;
            package->count = 75;
            for (int i = 0; i < 75; ++i) {
                auto shader = std::make_unique<ShaderRecord>();
                const QByteArray name =
                    "folder" + QByteArray::number(folder) + "/Texture_" + QByteArray::number(folder * 75 + i);
                std::strncpy(shader->name, name.constData(), sizeof shader->name - 1);
                shader->package = package;
                package->shaders.append(shader.get());
                shaders.push_back(std::move(shader));
            }
        }
    }
    GameConfig config;
    TextureLists lists;
    std::vector<std::unique_ptr<ShaderRecord>> shaders;
};

ListsRig& rig() {
    static ListsRig* r = new ListsRig;
    return *r;
}

void BM_TexListRebuild(benchmark::State& state) {
    ListsRig& r = rig();
    for (auto _ : state)
        TexList_Rebuild(&r.lists, &r.config);
    state.counters["entries"] = double(r.lists.entries.size());
    state.counters["groups"] = double(r.lists.groups.size());
}
BENCHMARK(BM_TexListRebuild)->Unit(benchmark::kMillisecond);

} // namespace
