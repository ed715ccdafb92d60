// The game profile the plugin registers: a 2896-byte record whose byte offsets the editor reads,
// and the six effect-script functions it points to.
#pragma once

#include <cstddef>
#include <cstdint>

// The effect-script functions of the profile, in the editor's order.
struct ProfileFuncs {
    uint64_t size; // 56
    int32_t (*ClassifyShaderPath)(const char* imagePath, void* shader);
    int32_t (*LoadShaderFromScript)(const char* scriptPath, const char* shaderName);
    int32_t (*WriteShaderScript)(const char* scriptPath, void* shaderList, int32_t all);
    int32_t (*BuildSourceCode)(const char* text, void* shader, void (*error)(int32_t, const char*, void*),
                               void* context);
    int32_t (*LookupShaderKeyword)(const char* word, const char* firstWord, int32_t level, char* out,
                                   int32_t size);
    int32_t (*ListShaderKeywords)(const char* parent, int32_t level, char* out, int32_t size);
};
static_assert(sizeof(ProfileFuncs) == 56);

struct Quake3ProfileRecord {
    uint64_t plugin; // the editor's, when it copies the record
    const ProfileFuncs* funcs;
    uint32_t capabilities;
    char name[64];
    char title[64];
    char compiledExtension[16];
    char textureExtensions[128];
    char packageExtensions[128];
    char archiveExtensions[128];
    char spriteExtensions[128];
    char modelExtensions[128];
    char soundExtensions[128];
    char particleExtensions[128];
    char instanceExtensions[128];
    char scriptExtensions[128];
    uint8_t reserved1316[192];
    char spriteFolder[64];
    char modelFolder[64];
    char soundFolder[64];
    char particleFolder[64];
    char prefabFolder[64];
    char scriptFolder[64];
    char textureFolder[64];
    char shaderFolder[64];
    uint8_t reserved2020[64];
    char csgSwitch[32];
    char bspSwitch[32];
    char visSwitch[32];
    char lightSwitch[32];
    char runSwitch[32];
    char playerStartClass[64];
    char lightClass[64];
    char specialClass[64];
    char skySetting[64];
    char triggerTexture[64];
    char nullTexture[64];
    char wallTexture[64];
    char ceilingTexture[64];
    char floorTexture[64];
    char specialPrefixes[64];
    uint32_t detailContents;
    uint32_t firstSurfaceFlagBit;
    uint32_t firstContentFlagBit;
};
static_assert(sizeof(Quake3ProfileRecord) == 2896);
static_assert(offsetof(Quake3ProfileRecord, funcs) == 8);
static_assert(offsetof(Quake3ProfileRecord, capabilities) == 16);
static_assert(offsetof(Quake3ProfileRecord, name) == 20);
static_assert(offsetof(Quake3ProfileRecord, title) == 84);
static_assert(offsetof(Quake3ProfileRecord, compiledExtension) == 148);
static_assert(offsetof(Quake3ProfileRecord, textureExtensions) == 164);
static_assert(offsetof(Quake3ProfileRecord, scriptExtensions) == 1188);
static_assert(offsetof(Quake3ProfileRecord, spriteFolder) == 1508);
static_assert(offsetof(Quake3ProfileRecord, shaderFolder) == 1956);
static_assert(offsetof(Quake3ProfileRecord, csgSwitch) == 2084);
static_assert(offsetof(Quake3ProfileRecord, runSwitch) == 2212);
static_assert(offsetof(Quake3ProfileRecord, playerStartClass) == 2244);
static_assert(offsetof(Quake3ProfileRecord, triggerTexture) == 2500);
static_assert(offsetof(Quake3ProfileRecord, specialPrefixes) == 2820);
static_assert(offsetof(Quake3ProfileRecord, detailContents) == 2884);

// The one profile, "kpQuake3".
const Quake3ProfileRecord& Quake3_Profile();
