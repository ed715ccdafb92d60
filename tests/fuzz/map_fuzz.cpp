// libFuzzer harness of the Quake III map reader and writer: every input is written to a
// temporary file, imported into a fresh world through kpImport and, when read, exported again
// through kpExport. The plugin's sources are compiled into the harness (so they are
// instrumented) and started with the editor's engine-function table, as the plugin host does.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "document/MapWorld.h"
#include "gamedata/PluginInterface.h"
#include "document/EngineTable.h"
#include "gamedata/PluginManager.h"
#include "kstdlib/kstdlib.h"

extern "C" int32_t kpMain(const EngineFuncs* table, int32_t version);
extern "C" int32_t kpImport(int32_t id, const char* path, MapWorld** map);
extern "C" int32_t kpExport(int32_t id, const char* path, MapWorld** map);

namespace {

QByteArray g_input, g_output;

void startOnce() {
    static int argc = 1;
    static char name[] = "map_fuzz";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    Plugin_FillEngineFuncs(Plugin_EngineFuncs());
    if (kpMain(Plugin_EngineFuncs(), KP_INTERFACE_VERSION) != 0) std::abort();
    // One pair of files per fuzzing process (workers run side by side).
    g_input = QFile::encodeName(QDir::temp().filePath(QStringLiteral("map_fuzz_%1.map").arg(getpid())));
    g_output = QFile::encodeName(QDir::temp().filePath(QStringLiteral("map_fuzz_%1_out.map").arg(getpid())));
    std::atexit([] {
        std::remove(g_input.constData());
        std::remove(g_output.constData());
    });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startOnce();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        QFile file(QFile::decodeName(g_input));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        if (file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) std::abort();
    }
    MapWorld world;
    Map_InitWorld(&world, nullptr);
    if (kpImport(1, g_input.constData(), Map_Handle(&world)) == 1)
        kpExport(1, g_output.constData(), Map_Handle(&world));
    Map_DestroyWorld(&world);
    return 0;
}
