#include "gamedata/TexturePackage.h"

#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"

namespace {
TextureManager* manager() {
    return g_mainWindow ? &g_mainWindow->textures : nullptr;
}
} // namespace

TexturePackage* Tex_AcquirePackage(const QString& path) {
    TextureManager* textures = manager();
    if (!textures) return nullptr;
    if (TexturePackage* package = textures->packages.value(path, nullptr)) {
        ++package->refCount;
        return package;
    }
    auto* package = new TexturePackage;
    package->path = path;
    textures->packages.insert(path, package);
    return package;
}

void Tex_ReleasePackage(const QString& path) {
    TextureManager* textures = manager();
    if (!textures) return;
    TexturePackage* package = textures->packages.value(path, nullptr);
    if (!package || --package->refCount > 0) return;
    textures->packages.remove(path);
    delete package;
}

TexturePackage* Tex_FindPackage(const QString& path) {
    TextureManager* textures = manager();
    return textures ? textures->packages.value(path, nullptr) : nullptr;
}

bool Tex_LoadPackage(TexturePackage* package, const MapProfileRecord* profile, const QString& baseDirectory,
                     const QString& paletteFile) {
    (void)profile, (void)baseDirectory, (void)paletteFile;
    if (!package) return false;
    package->loaded = true;
    return true;
}

void Tex_FreePackages(TextureManager* textures) {
    if (!textures) return;
    qDeleteAll(textures->packages);
    textures->packages.clear();
}

void Tex_LinkNewShaders() {}

void Tex_ClearChangedMarks() {}

bool Tex_LoadPalette(const QString& baseDirectory, const QString& paletteFile) {
    (void)baseDirectory, (void)paletteFile;
    return false;
}

const uint8_t* Tex_FindPalette(const QString& paletteFile) {
    (void)paletteFile;
    return nullptr;
}
