// Entity definitions and game configurations: a generated 1 MB entity-definition file (a chain of
// base classes, flags, choices, "+" descriptions) loaded fully and headers only, and a
// 50-configuration "KDKGameCfg.ini" loaded and saved (atomic replace included).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

#include "gamedata/GameConfigFile.h"
#include "gamedata/GameData.h"
#include "kstdlib/kmath.h"

namespace {

QString fgdPath() {
    return QDir::temp().filePath(QStringLiteral("zarv_gamedata_bench.fgd"));
}

QString configPath() {
    return QDir::temp().filePath(QStringLiteral("zarv_gamedata_bench.ini"));
}

// Written once per run: base classes each inheriting the previous one, then point and solid
// classes over them until the file passes 1 MB.
bool writeFgd() {
    static const bool written = [] {
        QByteArray text;
        for (int b = 0; b < 20; ++b) {
            text += "@BaseClass ";
            if (b > 0) text += "base(Base" + QByteArray::number(b - 1) + ") ";
            text += "= Base" + QByteArray::number(b) + " [\n";
            text += "\tkey" + QByteArray::number(b) +
                    "(string) : \"Key\" : \"value\" : \"A key \" +\n"
                    "\t\t\"of a base class.\"\n]\n";
        }
        for (int c = 0; text.size() < 1024 * 1024; ++c) {
            const bool solid = c % 3 == 0;
            text += solid ? "@SolidClass" : "@PointClass size(-8 -8 -8, 8 8 8) color(255 128 0)";
            text += " base(Base" + QByteArray::number(c % 20) + ") = group" + QByteArray::number(c % 40) +
                    "_class" + QByteArray::number(c) + " : \"Generated class \" + \"number " +
                    QByteArray::number(c) + "\" [\n";
            text += "\ttargetname(target_source) : \"Name\" : : \"Name other entities target \" +\n"
                    "\t\t\"this one by.\"\n"
                    "\tspeed(float) : \"Speed\" : \"100\"\n"
                    "\tstyle(choices) : \"Style\" : \"0\" : \"How it looks.\" = [\n"
                    "\t\t0 : \"Normal\"\n\t\t1 : \"Flicker\"\n\t\t2 : \"Pulse\"\n\t]\n"
                    "\tspawnflags(flags) = [\n"
                    "\t\t1 : \"First\" : 0\n\t\t2 : \"Second\" : 1\n\t\t4 : \"Third\" : 0\n\t]\n"
                    "]\n";
        }
        QFile file(fgdPath());
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    }();
    return written;
}

void loadFgd(benchmark::State& state, bool headersOnly) {
    K_MathLib_Initialize(0);
    if (!writeFgd()) {
        state.SkipWithError("cannot write the file");
        return;
    }
    GameDataRegistry registry;
    GameData* file = Fgd_Acquire(&registry, fgdPath());
    size_t classes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Fgd_ClearClasses(file);
        state.ResumeTiming();
        if (!Fgd_Load(file, headersOnly)) state.SkipWithError("load failed");
        classes = file->classes.size();
    }
    state.counters["classes"] = double(classes);
    Fgd_Release(&registry, fgdPath());
}

void BM_FgdLoadFull(benchmark::State& state) {
    loadFgd(state, false);
}
BENCHMARK(BM_FgdLoadFull)->Unit(benchmark::kMillisecond);

void BM_FgdLoadHeaders(benchmark::State& state) {
    loadFgd(state, true);
}
BENCHMARK(BM_FgdLoadHeaders)->Unit(benchmark::kMillisecond);

QList<GameConfigValues> fiftyConfigs() {
    QList<GameConfigValues> configs;
    for (int i = 0; i < 50; ++i) {
        GameConfigValues c;
        c.Title = QStringLiteral("Game %1").arg(i);
        c.Enabled = true;
        c.MapProfile = QStringLiteral("kpQuake3");
        c.GameBasedir = QStringLiteral("/games/quake3/baseq3");
        c.GameModdir = QStringLiteral("/games/quake3/mod%1").arg(i);
        c.GameExecutable = QStringLiteral("/games/quake3/quake3");
        c.GameCommandLine = QStringLiteral("+set sv_pure 0, +devmap");
        for (int t = 0; t < 4; ++t)
            c.MapTool[t] = QStringLiteral("/tools/q3map2");
        for (int f = 0; f < 3; ++f)
            c.GameData << QStringLiteral("/games/quake3/fgd/entities%1.fgd").arg(f);
        for (int p = 0; p < 5; ++p)
            c.Parcel << QStringLiteral("/games/quake3/baseq3/scripts/set%1.shader").arg(p);
        configs << c;
    }
    return configs;
}

void BM_GameConfigSave50(benchmark::State& state) {
    const QList<GameConfigValues> configs = fiftyConfigs();
    cGameConfigFile file;
    for (auto _ : state)
        if (!file.save(configPath(), configs)) state.SkipWithError("save failed");
}
BENCHMARK(BM_GameConfigSave50)->Unit(benchmark::kMillisecond);

void BM_GameConfigLoad50(benchmark::State& state) {
    cGameConfigFile writer;
    if (!writer.save(configPath(), fiftyConfigs())) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        cGameConfigFile file;
        QList<GameConfigValues> configs;
        file.load(configPath(), &configs);
        if (configs.size() != 50) state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_GameConfigLoad50)->Unit(benchmark::kMillisecond);

} // namespace
