// libFuzzer harness of the compiler-file readers: every input is written to one temporary file
// and read as a pointfile, as a portal file (with and without its "PRT1" header, and with a
// format the reader refuses) and as a hull file into one world. What is loaded must be sound.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "FuzzSupport.h"
#include "core/Winding.h"
#include "document/CompilerOverlays.h"
#include "document/MapWorld.h"

namespace {

std::string g_path;
std::string g_headerPath;

void writeFile(const std::string& path, const char* prefix, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    std::fputs(prefix, file);
    if (size && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

void checkWindings(const cWinding* w) {
    for (; w; w = w->next)
        if (w->count < 3 || w->count > cWinding::MaxPoints) std::abort();
}

void removeFiles() {
    std::remove(g_path.c_str());
    std::remove(g_headerPath.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // One file per fuzzing process (workers run side by side), in the temporary folder.
    g_path = Fuzz_MakeFolder("overlays_fuzz").toStdString() + "/input";
    g_headerPath = g_path + ".prt";
    std::atexit(removeFiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeFile(g_path, "", data, size);
    writeFile(g_headerPath, "PRT1\n", data, size);
    // The loaders touch only the overlay members of the world.
    static MapWorld world{};

    const int32_t points = Map_LoadPointfile(&world, g_path.c_str());
    if (points < 0 || points != Map_PointfileCount(&world) || (points > 0 && !Map_PointfilePoints(&world)))
        std::abort();
    for (int32_t i = 0; i < points; ++i)
        if (Map_PointfilePoints(&world)[i].color[3] != 255) std::abort();

    Map_LoadPortalFile(&world, g_path.c_str(), kPortalFormatPrt1);
    checkWindings(Map_Portals(&world));
    Map_LoadPortalFile(&world, g_headerPath.c_str(), kPortalFormatPrt1);
    checkWindings(Map_Portals(&world));
    Map_LoadPortalFile(&world, g_path.c_str(), size ? data[0] : 0);
    checkWindings(Map_Portals(&world));

    Map_LoadHullFile(&world, g_path.c_str());
    checkWindings(Map_Hulls(&world));

    Map_UnloadCompilerOverlays(&world);
    return 0;
}
