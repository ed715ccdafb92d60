// The shared "notexture" record. Its checkerboard image is uploaded by the GL texture code.
#include "gamedata/TextureManager.h"

#include <cstring>

ShaderRecord* Tex_CreateNoTexture(QWidget* glWidget) {
    static ShaderRecord* noTexture = nullptr;
    if (!noTexture) {
        static ShaderRecord record;
        std::strncpy(record.name, "notexture", sizeof record.name - 1);
        record.width = kNoTextureSize;
        record.height = kNoTextureSize;
        noTexture = &record;
    }
    return noTexture;
}
