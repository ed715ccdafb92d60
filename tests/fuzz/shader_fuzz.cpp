// libFuzzer harness of the effect-script parser through a whole package load: the input is a
// script text. Every effect it registers is released again with its package, so the texture
// manager must end empty.
#include <QApplication>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "kstdlib/kstdlib.h"
#include "mainwindow/MainWindow.h"
#include "quake3/ShaderPackage.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static int argc = 1;
    static char name[] = "shader_fuzz";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept to the end of the process: once a GL context was used, Qt's per-thread storage is gone
    // before static objects made here would be destroyed.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    static cMainWindow* window = new cMainWindow;
    (void)window;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    TextureManager& textures = g_mainWindow->textures;
    TexturePackage* package = Tex_AcquirePackage(&textures, "/game/scripts/fuzz.shader");
    package->loaded = true;
    textures.loading = package;
    ShaderPackage_LoadText("/game/scripts/fuzz.shader", text.c_str(), uint32_t(text.size() + 1));
    textures.loading = nullptr;
    Tex_FreePackages(&textures);
    if (!textures.effects.isEmpty() || !textures.images.isEmpty()) std::abort();
    return 0;
}
