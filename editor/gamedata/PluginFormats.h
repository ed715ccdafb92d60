// What plugins register, as the registries keep it: one record per format with the plugin's
// per-format functions resolved by name (optional ones null). Names and extensions are the
// editor's copies; extensions keep their leading dot.
#pragma once

#include <QList>
#include <QString>
#include <cstdint>

#include "gamedata/PluginInterface.h"

class QLibrary;

struct TextureFormatEntry {
    int32_t id = 0;
    QString name;
    QString extension;
    QLibrary* library = nullptr;
    const uint8_t* palette = nullptr; // the last palette handed to setPalette
    kpSetPaletteFn setPalette = nullptr;
    kpFilterTextureNameFn filterTextureName = nullptr;
    kpLoadTextureFn loadTexture = nullptr;
    // Both set: loads from the game's files read sizes only and decode on first show.
    kpDecodeTextureFn decodeTexture = nullptr;
    kpDeferTextureDecodingFn deferDecoding = nullptr;
    // Set too: first shows decode on worker threads.
    kpDecodeTextureJobFn decodeJob = nullptr;
};

struct PackageFormatEntry {
    int32_t id = 0;
    QString name;
    QString extension;
    QLibrary* library = nullptr;
    const uint8_t* palette = nullptr;
    kpSetPaletteFn setPalette = nullptr;
    kpGetPackageInfoFn getPackageInfo = nullptr;
    kpLoadPackageFn loadPackage = nullptr;
};

// Model formats and sprite formats alike; a sprite format has no bounds or render function and
// fills the sprite pair, a model format the model pair.
struct ModelFormatEntry {
    int32_t id = 0;
    QString name;
    QString extension;
    const uint8_t* palette = nullptr;
    kpSetPaletteFn setPalette = nullptr;
    kpGetModelBoundsFn getBounds = nullptr;
    kpRenderModelFn render = nullptr;
    kpLoadModelFn loadModel = nullptr;
    kpUnloadModelFn unloadModel = nullptr;
    kpLoadSpriteFn loadSprite = nullptr;
    kpUnloadSpriteFn unloadSprite = nullptr;
};

struct ArchiveFormatEntry {
    int32_t id = 0;
    QString name;
    QString extension;
    kpFindArchiveFileFn findFile = nullptr;
    kpLoadArchiveFileFn loadFile = nullptr;
    kpLoadArchiveFn load = nullptr;
    kpUnloadArchiveFn unload = nullptr;
    kpListArchiveFilesFn listFiles = nullptr;
    kpLoadArchiveFileHeadFn loadFileHead = nullptr; // optional
    kpGetArchiveFileSizeFn fileSize = nullptr;      // optional
};

struct SkyFormatEntry {
    int32_t id = 0;
    QString name;
    QString extension;
    QLibrary* library = nullptr;
    kpLoadSkyFn loadSky = nullptr;
};

// A map import or export format.
struct MapFormatEntry {
    void* plugin = nullptr; // the owning plugin library
    int32_t id = 0;
    QString name;
    QString extension;
    kpMapFormatFn function = nullptr; // kpImport or kpExport
};
