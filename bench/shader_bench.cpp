// Effect scripts: a generated set of 5,000 effects using every command kind, checked by the
// parser (the package count), loaded as a package (image look-ups missing on disk) and unloaded.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

#include "core/Platform.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "mainwindow/MainWindow.h"
#include "quake3/ShaderPackage.h"

namespace {

constexpr int kEffects = 5000;

QByteArray effectText(int i) {
    static const char* const kBodies[] = {
        "\tqer_editorimage textures/gen/missing_%1.tga\n\tqer_trans 0.5\n\tqer_nocarve\n\tsurfaceparm "
        "nodraw\n"
        "\tsurfaceparm water\n\tcull none\n\tsort additive\n\tq3map_surfacelight 100\n\ttessSize 64\n",
        "\tdeformVertexes wave 100 sin 0 1 0 1\n\tdeformVertexes move 0 0 1 square 0 1 0 1\n"
        "\tdeformVertexes bulge 1 2 3\n\tfogparms ( 1 0 0 ) 100\n\tnopicmip\n\tnomipmaps\n\tpolygonOffset\n",
        "\tskyparms - 512 -\n\tsurfaceparm sky\n\tsurfaceparm noimpact\n\tlight "
        "1\n\tportal\n\tentityMergable\n",
    };
    static const char* const kStages[] = {
        "\t{\n\t\tmap $lightmap\n\t\trgbGen identity\n\t}\n",
        "\t{\n\t\tmap textures/gen/missing_%1.tga\n\t\tblendFunc GL_DST_COLOR GL_ZERO\n\t\trgbGen wave "
        "triangle 0 1 0 2\n"
        "\t\talphaGen const 0.5\n\t\ttcGen environment\n\t\ttcMod turb 0 0.1 0 1\n\t\ttcMod scroll 1 "
        "1\n\t}\n",
        "\t{\n\t\tanimMap 2 a%1.tga b%1.tga c%1.tga\n\t\tblendFunc add\n\t\trgbGen const ( 1 0.5 0 )\n"
        "\t\ttcMod transform 1 0 0 1 0 0\n\t\ttcMod stretch sin 1 1 0 1\n\t\ttcMod rotate 30\n\t\talphaFunc "
        "GE128\n"
        "\t\tdepthFunc equal\n\t\tdepthWrite\n\t\ttcGen vector ( 1 0 0 ) ( 0 1 0 )\n\t}\n",
    };
    QByteArray text = "textures/gen/effect_" + QByteArray::number(i) + "\n{\n";
    text += QByteArray(kBodies[i % 3]).replace("%1", QByteArray::number(i));
    text += QByteArray(kStages[i % 3]).replace("%1", QByteArray::number(i));
    text += QByteArray(kStages[(i + 1) % 3]).replace("%1", QByteArray::number(i));
    return text + "}\n";
}

struct Fixture {
    QTemporaryDir dir;
    QByteArray path;
    std::unique_ptr<cMainWindow> window;
    Fixture() {
        static int argc = 1;
        static char name[] = "zarv_bench";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
        if (!g_mainWindow) window = std::make_unique<cMainWindow>();
        dir.path();
        QFile f(dir.filePath("scripts/gen.shader"));
        QDir().mkpath(dir.filePath("scripts"));
        f.open(QIODevice::WriteOnly);
        for (int i = 0; i < kEffects; ++i)
            f.write(effectText(i));
        path = QFile::encodeName(f.fileName());
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_ShaderParseCheck(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        int32_t count = 0;
        ShaderPackage_GetInfo(0, f.path.constData(), &count);
        if (count != kEffects) state.SkipWithError("wrong count");
    }
}
BENCHMARK(BM_ShaderParseCheck)->Unit(benchmark::kMillisecond);

void BM_ShaderPackageLoadAndUnload(benchmark::State& state) {
    Fixture& f = fixture();
    TextureManager& m = g_mainWindow->textures;
    for (auto _ : state) {
        TexturePackage* package = Tex_AcquirePackage(&m, QString::fromUtf8(f.path));
        package->loaded = true;
        m.loading = package;
        // As Tex_LoadPackage runs the plugin's load: one look-up pass.
        Plat_BeginLookupPass();
        ShaderPackage_Load(0, f.path.constData());
        Plat_EndLookupPass();
        m.loading = nullptr;
        state.PauseTiming();
        if (package->shaders.size() != kEffects) state.SkipWithError("wrong count");
        state.ResumeTiming();
        if (state.range(0))
            Tex_FreePackages(&m);
        else {
            state.PauseTiming();
            Tex_FreePackages(&m);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_ShaderPackageLoadAndUnload)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
