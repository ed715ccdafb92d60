// zmfdump FILE [--write OUT]: loads a project file without any window and prints the world's
// canonical dump; with --write the loaded world is also written to OUT as a file of the current version.
// Console messages go to stderr. Exit codes: 0 done, 1 the file could not be read, 2 OUT could
// not be written, 64 bad arguments. A test utility; not shipped.
//
#include <QGuiApplication>
#include <QFile>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "document/MapWorld.h"
#include "document/WorldDump.h"
#include "document/ZmfFile.h"
#include "kstdlib/kstdlib.h"
#include "HeadlessLog.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: zmfdump FILE [--write OUT]\n");
    return 64;
}

} // namespace

int main(int argc, char** argv) {
    const char* input = nullptr;
    const char* output = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--write") == 0) {
            if (++i >= argc || output) return usage();
            output = argv[i];
        } else if (!input) {
            input = argv[i];
        } else {
            return usage();
        }
    }
    if (!input) return usage();

    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    // Every log line goes to stderr as debugger output; there is no console to show it in.
    cHeadlessLog log;

    MapWorld world;
    Map_InitWorld(&world, nullptr);
    // Nobody to ask: a file of the faulty writer is read the way that writer meant it.
    ProjectSerializer in;
    in.map = Map_Handle(&world);
    in.path = QFile::decodeName(input);
    in.askBugFix = [](const QString&) {
        std::fprintf(stderr, "zmfdump: applying the fix for the faulty 113 writer\n");
        return true;
    };
    const bool read = Project_ReadFile(in);
    int status = 0;
    if (!read) {
        status = 1;
    } else {
        const QByteArray dump = Map_DumpWorld(&world);
        std::fwrite(dump.constData(), 1, size_t(dump.size()), stdout);
        if (output && !Project_WriteWorld(&world, QFile::decodeName(output), in.exportPath)) status = 2;
    }
    Map_DestroyWorld(&world);
    return status;
}
