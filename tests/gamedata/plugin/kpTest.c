/* The host's test plugin: a small game plugin in C that knows only the plugin interface header.
 * It registers a profile, a map import and export format (".kpt", a small text format), two
 * actions, a primitive and flag names, a sky format (".kps", six text faces in "env"), and records
 * what the editor asked of it. Other builds of this file (KP_TEST_* defines) are the faulty
 * plugins the host must refuse or survive.
 *
 * .kpt text, one token stream (the editor's tokenizer):
 *   visgroup <id> "<name>"
 *   entity [group <n>] { "<key>" "<value>" ... brush/patch ... }
 *   brush [group <n>] [visgroup <id>] { ( <nx> <ny> <nz> <dist> ) <texture> ... }
 *   patch <columns> <rows> <texture> { ( <x> <y> <z> <s> <t> ) ... column after column }
 * Groups are numbered from 1 in the order they first appear. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "gamedata/PluginInterface.h"

#define KP_EXPORT __attribute__((visibility("default")))

#ifndef KP_TEST_PROFILE
#define KP_TEST_PROFILE "kpTest"
#endif
#define KP_TEST_FLAGS_PROFILE KP_TEST_PROFILE "Flags"
#ifndef KP_TEST_MAIN_RESULT
#define KP_TEST_MAIN_RESULT 0
#endif

/* Byte offsets of the editor records this plugin reads and writes. */
#define ENTITY_NEXT 8
#define ENTITY_GROUP 40
#define ENTITY_FIRST_BRUSH 56
#define ENTITY_EPAIRS 80
#define ENTITY_FLAGS 116
#define ENTITY_WORLD 0x20u
#define ENTITY_POINT 0x1u
#define BRUSH_NEXT 8
#define BRUSH_GROUP 40
#define BRUSH_FIRST_FACE 56
#define BRUSH_PATCH 80
#define FACE_NEXT 8
#define FACE_NORMAL 76
#define FACE_DIST 88
#define FACE_AXIAL 92
#define FACE_TEXINFO 96
#define TEXINFO_SIZE 128
#define TEXINFO_SCALE 32
#define TEXINFO_NAME 64
#define PATCH_TEXINFO 28
#define PATCH_COLUMNS 180
#define PATCH_ROWS 184
#define PATCH_POINTS 188
#define PATCH_POINT_SIZE 36
#define PATCH_GRID 32
#define GROUP_PARENT 40
#define WORLD_ENTITIES 32 /* in the world the map handle points to */
#define SHADER_BOX 144    /* the six sky-face images of an effect */
#define GL_RGBA_FORMAT 0x1908

#define FIELD(record, offset, type) (*(type*)((char*)(record) + (offset)))

typedef struct EPairRecord {
    struct EPairRecord* next;
    char* key;
    char* value;
} EPairRecord;

static EngineFuncs engine;

/* What the host did, for the tests (reached through kpTestState). */
typedef struct TestState {
    char enumerators[512]; /* names of the enumerators called, blank-separated */
    int32_t lastUserValue;
    int32_t actionCalls;
    const EngineFuncs* table; /* the pointer kpMain received */
    /* Models and sprites (the model-cache tests). */
    int32_t modelLoadCalls, modelLoads, modelUnloads;
    int32_t spriteLoadCalls, spriteLoads, spriteUnloads;
    int32_t paletteCalls;
    int32_t lastBoundsFlags;
    const uint8_t* lastPalette;
    int32_t skyLoads; /* faces decoded */
    /* The version text read twice at start-up (engine slot 512): the host hands out one buffer. */
    const char* versionFirst;
    const char* versionSecond;
} TestState;
static TestState state;

static __attribute__((unused)) void noteEnumerator(const char* name) {
    size_t used = strlen(state.enumerators);
    snprintf(state.enumerators + used, sizeof state.enumerators - used, "%s%s", used ? " " : "", name);
}

KP_EXPORT TestState* kpTestState(void) {
    return &state;
}

KP_EXPORT const EngineFuncs* kpTestTable(void) {
    return &engine;
}

#ifdef KP_TEST_NEEDS_LIBRARY
int kpTestAbsentFunction(void);
#endif

#ifndef KP_TEST_NO_MAIN
KP_EXPORT int32_t kpMain(const EngineFuncs* table, int32_t version) {
#ifdef KP_TEST_NEEDS_LIBRARY
    if (!kpTestAbsentFunction()) return -1;
#endif
    state.table = table;
    if (KP_TEST_MAIN_RESULT != 0) return KP_TEST_MAIN_RESULT;
    if (!table || table->size < KP_ENGINE_FUNCS_SIZE) return -1;
    if (version != KP_INTERFACE_VERSION) return KP_INTERFACE_VERSION;
    memcpy(&engine, table, sizeof engine);
    state.versionFirst = engine.App_GetVersionString();
    state.versionSecond = engine.App_GetVersionString();
    return 0;
}
#endif

#if defined(KP_TEST_ZERO_COUNT)
/* Registers a format but reports none. */
KP_EXPORT int32_t kpEnumTextureFormats(kpFormatCallback callback, void* context) {
    callback(7, "Zero", ".zero", context);
    return 0;
}
KP_EXPORT int32_t kpLoadTexture(int32_t id, const char* path, const uint8_t* data, uint32_t size) {
    return 0;
}
#elif !defined(KP_TEST_ONLY_MAIN) && !defined(KP_TEST_NO_MAIN)

/* ---- Profile ------------------------------------------------------------------------------- */
static bool classifyShaderPath(const char* imagePath, struct ShaderRecord* shader) {
    return false;
}
static int32_t loadShaderFromScript(const char* scriptPath, const char* shaderName) {
    return 0;
}
static bool writeShaderScript(const char* scriptPath, struct ShaderRecord* shader, bool all) {
    return false;
}
static bool buildSourceCode(const char* text, struct ShaderRecord* shader, ShaderErrorFn onError,
                            void* context) {
    return false;
}
static int32_t lookupShaderKeyword(const char* word, const char* firstWord, int32_t level, char* out,
                                   int32_t size) {
    return 0;
}
static int32_t listShaderKeywords(const char* parent, int32_t level, char* out, int32_t size) {
    return 0;
}
static const ProfileFuncs profileFuncs = {KP_PROFILE_FUNCS_SIZE, classifyShaderPath, loadShaderFromScript,
                                          writeShaderScript,     buildSourceCode,    lookupShaderKeyword,
                                          listShaderKeywords};

KP_EXPORT int32_t kpEnumProfiles(kpProfileCallback callback, void* context) {
    MapProfileRecord profile;
    noteEnumerator("kpEnumProfiles");
    memset(&profile, 0, sizeof profile);
    profile.owner = (void*)&profile; /* the editor writes its own value here */
    profile.funcs = &profileFuncs;
    profile.capabilities =
        MAP_PROFILE_PALETTE | MAP_PROFILE_SURFACE_FLAGS | MAP_PROFILE_CONTENT_FLAGS | MAP_PROFILE_CURVES;
    strcpy(profile.name, KP_TEST_PROFILE);
    strcpy(profile.title, "Test Game");
    strcpy(profile.compiledExtension, ".bsp");
    strcpy(profile.textureExtensions, ".tga");
    strcpy(profile.skyExtensions, ".kps");
    strcpy(profile.skySuffixes, "_rt;_bk;_lf;_ft;_up;_dn");
    strcpy(profile.skyFolder, "env");
    strcpy(profile.triggerTexture, "common/trigger");
    strcpy(profile.nullTexture, "common/null");
    profile.contentMask = 0x08000000u;
    if (callback) callback(&profile, context);
    /* The second profile: surface value and sample size, flag boxes from bit 4 with every box
     * named, and a NULL texture that no package provides. */
    profile.capabilities = MAP_PROFILE_SURFACE_FLAGS | MAP_PROFILE_CONTENT_FLAGS | MAP_PROFILE_SURFACE_VALUE |
                           MAP_PROFILE_SAMPLE_SIZE;
    strcpy(profile.name, KP_TEST_FLAGS_PROFILE);
    strcpy(profile.title, "Test Flags");
    strcpy(profile.nullTexture, "common/unloadednull");
    profile.firstSurfaceFlag = 4;
    profile.firstContentFlag = 4;
    if (callback) callback(&profile, context);
    return 2;
}

/* ---- Formats (every kind, so every registry sees this plugin) ------------------------------ */
static int32_t enumerateOne(const char* enumerator, kpFormatCallback callback, void* context, int32_t id,
                            const char* name, const char* extension) {
    noteEnumerator(enumerator);
    return callback && callback(id, name, extension, context) ? 1 : 0;
}

KP_EXPORT int32_t kpEnumExportFormats(kpFormatCallback callback, void* context) {
    return enumerateOne("kpEnumExportFormats", callback, context, 1, "Test Text", ".kpt");
}
KP_EXPORT int32_t kpEnumImportFormats(kpFormatCallback callback, void* context) {
    return enumerateOne("kpEnumImportFormats", callback, context, 1, "Test Text", ".kpt");
}
KP_EXPORT int32_t kpEnumTextureFormats(kpFormatCallback callback, void* context) {
    return enumerateOne("kpEnumTextureFormats", callback, context, 0, "Test Image", ".kpi");
}
KP_EXPORT int32_t kpEnumPackageFormats(kpFormatCallback callback, void* context) {
    return enumerateOne("kpEnumPackageFormats", callback, context, 0, "Test Package", ".kpp");
}
KP_EXPORT int32_t kpEnumSkyFormats(kpFormatCallback callback, void* context) {
    return enumerateOne("kpEnumSkyFormats", callback, context, 0, "Test Sky", ".kps");
}
KP_EXPORT int32_t kpEnumSpriteFormats(kpFormatCallback callback, void* context) {
    return enumerateOne("kpEnumSpriteFormats", callback, context, 0, "Test Sprite", ".kpr");
}
KP_EXPORT int32_t kpEnumModelFormats(kpFormatCallback callback, void* context) {
    return enumerateOne("kpEnumModelFormats", callback, context, 0, "Test Model", ".kpm");
}
KP_EXPORT int32_t kpEnumArchiveFormats(kpFormatCallback callback, void* context) {
    return enumerateOne("kpEnumArchiveFormats", callback, context, 0, "Test Archive", ".kpa");
}

KP_EXPORT int32_t kpLoadTexture(int32_t id, const char* path, const uint8_t* data, uint32_t size) {
    return 0;
}
KP_EXPORT int32_t kpGetPackageInfo(int32_t id, const char* path, int32_t* info) {
    if (info) info[0] = 0;
    return 0;
}
KP_EXPORT int32_t kpLoadPackage(int32_t id, const char* path) {
    return 0;
}
/* Test models and sprites are text: "kpm <taker> minx miny minz maxx maxy maxz" and "kpr <taker>",
 * where taker is "any" or the profile name of the one plugin build that takes the file. */
typedef struct TestModel {
    float mins[3], maxs[3];
} TestModel;

static int takes(const char* taker) {
    return strcmp(taker, "any") == 0 || strcmp(taker, KP_TEST_PROFILE) == 0;
}

/* The file's text as a terminated copy (data is not terminated for the plugin). */
static char* textOf(const uint8_t* data, uint32_t size) {
    char* text = (char*)malloc(size + 1u);
    if (!text) return NULL;
    memcpy(text, data, size);
    text[size] = '\0';
    return text;
}

/* Test sky faces are text "kps <r> <g> <b>": a 4x4 image of that colour goes into the face's box
 * slot of the sky's effect. Anything else is not taken. */
KP_EXPORT int32_t kpLoadSky(int32_t id, const uint8_t* data, uint32_t size, struct ShaderRecord* shader,
                            int32_t face) {
    char* text = textOf(data, size);
    int rgb[3];
    const int ok = text && sscanf(text, "kps %d %d %d", &rgb[0], &rgb[1], &rgb[2]) == 3;
    free(text);
    if (!ok || !shader || face < 0 || face > 5) return 0;
    uint8_t pixels[4 * 4 * 4];
    for (int i = 0; i < 16; ++i) {
        for (int c = 0; c < 3; ++c)
            pixels[4 * i + c] = (uint8_t)rgb[c];
        pixels[4 * i + 3] = 255;
    }
    FIELD(shader, SHADER_BOX + 8 * face, void*) =
        engine.Plugin_UploadImage(shader, NULL, GL_RGBA_FORMAT, GL_RGBA_FORMAT, 4, 4, 4, false, pixels);
    ++state.skyLoads;
    return 1;
}
KP_EXPORT int32_t kpLoadSprite(int32_t id, const char* path, const uint8_t* data, uint32_t size,
                               SpriteCacheEntry* entry) {
    ++state.spriteLoadCalls;
    char* text = textOf(data, size);
    char taker[64] = "";
    const int ok = text && sscanf(text, "kpr %63s", taker) == 1 && takes(taker);
    free(text);
    if (!ok) return 0;
    entry->data = malloc(16);
    ++state.spriteLoads;
    return 1;
}
KP_EXPORT int32_t kpLoadModel(int32_t id, const char* path, const uint8_t* data, uint32_t size,
                              ModelCacheEntry* entry) {
    ++state.modelLoadCalls;
    char* text = textOf(data, size);
    char taker[64] = "";
    TestModel model;
    const int ok = text &&
                   sscanf(text, "kpm %63s %f %f %f %f %f %f", taker, &model.mins[0], &model.mins[1],
                          &model.mins[2], &model.maxs[0], &model.maxs[1], &model.maxs[2]) == 7 &&
                   takes(taker);
    free(text);
    if (!ok) return 0;
    TestModel* kept = (TestModel*)malloc(sizeof *kept);
    *kept = model;
    memcpy(entry->mins, model.mins, sizeof model.mins);
    memcpy(entry->maxs, model.maxs, sizeof model.maxs);
    entry->data = kept;
    ++state.modelLoads;
    return 1;
}
KP_EXPORT int32_t kpRenderModel(int32_t id, int32_t flags, ModelCacheEntry* entry,
                                struct EntityRecord* entity) {
    return 0;
}
#ifdef KP_TEST_MODELS
/* The optional model exports: palettes, unloading and a bounds function that doubles the box. */
KP_EXPORT int32_t kpSetPalette(const uint8_t* palette) {
    ++state.paletteCalls;
    state.lastPalette = palette;
    return 1;
}
KP_EXPORT int32_t kpUnloadModel(int32_t id, ModelCacheEntry* entry) {
    if (!entry->data) return 0;
    free(entry->data);
    entry->data = NULL;
    ++state.modelUnloads;
    return 1;
}
KP_EXPORT int32_t kpUnloadSprite(int32_t id, SpriteCacheEntry* entry) {
    if (!entry->data) return 0;
    free(entry->data);
    entry->data = NULL;
    ++state.spriteUnloads;
    return 1;
}
KP_EXPORT int32_t kpGetModelBounds(int32_t id, float* mins, float* maxs, int32_t flags,
                                   ModelCacheEntry* entry, struct EntityRecord* entity) {
    const TestModel* model = (const TestModel*)entry->data;
    state.lastBoundsFlags = flags;
    if (!model) return 0;
    for (int i = 0; i < 3; ++i) {
        mins[i] = model->mins[i] * 2.0f;
        maxs[i] = model->maxs[i] * 2.0f;
    }
    return 1;
}
#endif
KP_EXPORT int32_t kpLoadArchive(int32_t id, const char* path, ArchiveHandle* archive) {
    return 0;
}
KP_EXPORT int32_t kpFindArchiveFile(int32_t id, ArchiveHandle* archive, const char* name) {
    return 0;
}
KP_EXPORT int32_t kpListArchiveFiles(int32_t id, ArchiveHandle* archive, const char* pattern, char*** names) {
    return 0;
}

/* ---- Actions ------------------------------------------------------------------------------- */
/* Calls once every slot whose subsystem the editor has not built yet. */
static void callUnbuiltSlots(int32_t userValue) {
    float v[12] = {0};
    state.lastUserValue = userValue;
    ++state.actionCalls;
    engine.Render_PointSize(1.0f);
    engine.Render_LineWidth(1.0f);
    engine.Render_BindShader(NULL);
    engine.Render_BindImage(NULL);
    engine.Render_SetPrimitive(2);
    engine.Render_Flush();
    engine.Render_Color4ub(1, 2, 3, 4);
    engine.Render_ColorPacked(NULL);
    engine.Render_TexCoord2f(0.0f, 0.0f);
    engine.Render_TexCoord2fv(v);
    engine.Render_Normal3fv(v);
    engine.Render_Vertex3fv(v);
    engine.Render_SetStateBits(engine.Render_GetStateBits());
    engine.Render_GetContext(v);
    engine.App_GetActiveMap();
    engine.Plugin_ReleaseShader(engine.Tex_AcquireShaderByName("kptest/shader"));
    engine.Tex_FindOrCreateShader("kptest.shader", "kptest/shader", 0);
    engine.Plugin_AddShaderStage(NULL, NULL);
    engine.Plugin_FreeShaderData(NULL);
    engine.Plugin_FinishShader(NULL);
    engine.Plugin_FindImage("kptest/image");
    engine.Plugin_WhiteImage();
    engine.Plugin_BlackImage();
    engine.Plugin_FreeImage(engine.Plugin_UploadImage(NULL, "kptest/image", 0, 0, 4, 1, 1, false, v));
}

/* Leaves the wait cursor pushed: the host pops it. */
static void pushWaitCursor(int32_t userValue) {
    state.lastUserValue = userValue;
    ++state.actionCalls;
    engine.App_BeginWaitCursor();
}

#ifdef KP_TEST_DIALOGS
/* ---- Dialog commands ---------------------------------------------------------------------------
 * Each prints what the slots returned through Sys_Printf, so a test reads them from the console.
 * KPTEST_HELPER names the program the external dialog runs, KPTEST_FILES two files for its list. */
static const char* const queriedNames[] = {"B",     "a",     "b",     "text", "check", "yes",    "int",
                                           "float", "combo", "files", "file", "dir",   "missing"};

static void readEveryArgument(void) {
    char text[256];
    size_t i;
    for (i = 0; i < sizeof queriedNames / sizeof queriedNames[0]; ++i) {
        engine.Dialog_QueryArgument(queriedNames[i], text, (int32_t)sizeof text);
        engine.Sys_Printf("arg %s text=[%s] int=%d float=%g", queriedNames[i], text,
                          engine.Dialog_QueryArgumentInt(queriedNames[i]),
                          (double)engine.Dialog_QueryArgumentFloat(queriedNames[i]));
    }
    engine.Dialog_SetProgress(3, 10);
    engine.Dialog_Printf("progress %d of %d", 3, 10);
    engine.Dialog_SetProgress(40, 200);
    engine.Dialog_Printf("%s", "internal done");
}

static void addEveryRow(void) {
    const char* files = getenv("KPTEST_FILES");
    engine.Dialog_AddTextEdit("b", "Bee", "", 0);
    engine.Dialog_AddTextEdit("a", "Ay", "", 0);
    engine.Dialog_AddTextEdit("B", "Big bee", "", 0);
    engine.Dialog_AddCheckBox("check", "Check", false, 0);
    engine.Dialog_AddRadioBox("yes", "Yes or no", true, 0);
    engine.Dialog_AddSpinBox("int", "Count", 256, 1, 1024, 1, 0);
    engine.Dialog_AddSpinBoxFloat("float", "Scale", 0.5f, 0.0f, 10.0f, 0.25f, 0);
    engine.Dialog_AddComboBox("combo", "Mode", 1, "Fast\n-fast\nFull\n-full\nOdd", 0);
    engine.Dialog_AddFileList("files", "Files", files ? files : NULL, "Maps (*.map)", 0);
    engine.Dialog_AddFileEdit("file", "File", NULL, "Maps (*.map)", 0);
    engine.Dialog_AddDirectoryEdit("dir", "Folder", NULL, 0);
}

static void dialogCommand(int32_t userValue) {
    char buffer[4];
    int32_t i;
    state.lastUserValue = userValue;
    ++state.actionCalls;
    switch (userValue) {
    case 100: /* external command */
        engine.Dialog_Begin("External");
        engine.Dialog_InitExternalCommand("Go", getenv("KPTEST_HELPER"));
        addEveryRow();
        engine.Dialog_End();
        break;
    case 101: /* internal command */
        engine.Dialog_Begin("Internal");
        engine.Dialog_InitInternalCommand(NULL, readEveryArgument);
        addEveryRow();
        engine.Dialog_End();
        break;
    case 102: /* a required existing file */
        engine.Dialog_Begin("Required");
        engine.Dialog_InitExternalCommand(NULL, "true");
        engine.Dialog_AddFileEdit("map", "Map", NULL, "Maps (*.map)", DLGARG_REQUIRED | DLGARG_EXISTING);
        engine.Dialog_End();
        break;
    case 103: /* two rows */
        engine.Dialog_Begin("Two");
        engine.Dialog_InitExternalCommand(NULL, "true");
        engine.Dialog_AddTextEdit("one", "One", NULL, 0);
        engine.Dialog_AddTextEdit("two", "Two", NULL, 0);
        engine.Dialog_End();
        break;
    case 104: /* twenty rows */
        engine.Dialog_Begin("Twenty");
        engine.Dialog_InitInternalCommand(NULL, NULL);
        for (i = 0; i < 20; ++i) {
            char name[8];
            sprintf(name, "r%02d", (int)i);
            engine.Dialog_AddTextEdit(name, "Row", NULL, 0);
        }
        engine.Dialog_End();
        break;
    case 105: /* misuse */
        engine.Dialog_InitExternalCommand(NULL, NULL);
        engine.Dialog_InitInternalCommand(NULL, NULL);
        engine.Dialog_SetProgress(1, 2);
        engine.Dialog_AddTextEdit("n", "l", NULL, 0);
        engine.Dialog_AddCheckBox("n", "l", false, 0);
        engine.Dialog_AddRadioBox("n", "l", false, 0);
        engine.Dialog_AddSpinBox("n", "l", 0, 0, 1, 1, 0);
        engine.Dialog_AddSpinBoxFloat("n", "l", 0, 0, 1, 1, 0);
        engine.Dialog_AddComboBox("n", "l", 0, NULL, 0);
        engine.Dialog_AddFileEdit("n", "l", NULL, NULL, 0);
        engine.Dialog_AddFileList("n", "l", NULL, NULL, 0);
        engine.Dialog_AddDirectoryEdit("n", "l", NULL, 0);
        memset(buffer, 'x', sizeof buffer);
        engine.Dialog_QueryArgument("n", buffer, (int32_t)sizeof buffer);
        engine.Sys_Printf("inactive query %d %d", (int)(unsigned char)buffer[0],
                          engine.Dialog_QueryArgumentInt("n"));
        engine.Dialog_QueryArgumentFloat("n");
        engine.Dialog_End();
        engine.Dialog_Printf("%s", "nobody reads this");
        engine.Dialog_Begin("Misuse");
        engine.Dialog_Begin("Second");
        engine.Dialog_AddTextEdit(NULL, "l", NULL, 0);
        engine.Dialog_AddCheckBox("n", NULL, false, 0);
        engine.Dialog_AddRadioBox(NULL, NULL, false, 0);
        engine.Dialog_AddSpinBox(NULL, "l", 0, 0, 1, 1, 0);
        engine.Dialog_AddSpinBoxFloat(NULL, "l", 0, 0, 1, 1, 0);
        engine.Dialog_AddComboBox(NULL, "l", 0, NULL, 0);
        engine.Dialog_AddFileEdit(NULL, "l", NULL, NULL, 0);
        engine.Dialog_AddFileList(NULL, "l", NULL, NULL, 0);
        engine.Dialog_AddDirectoryEdit(NULL, "l", NULL, 0);
        engine.Dialog_AddTextEdit("word", "Word", "abcdef", 0);
        memset(buffer, 'x', sizeof buffer);
        engine.Dialog_QueryArgument("word", buffer, 4);
        engine.Sys_Printf("size 4 [%.3s] %d", buffer, (int)buffer[3]);
        memset(buffer, 'x', sizeof buffer);
        engine.Dialog_QueryArgument("word", buffer, 0);
        engine.Sys_Printf("size 0 %c", buffer[0]);
        memset(buffer, 'x', sizeof buffer);
        engine.Dialog_QueryArgument("word", buffer, -5);
        engine.Sys_Printf("size -5 %c", buffer[0]);
        engine.Dialog_End();
        break;
    case 106: /* leaves its dialog open */
        engine.Dialog_Begin("Forgotten");
        break;
    }
}
#endif

KP_EXPORT int32_t kpEnumActions(kpActionCallback callback, void* context) {
    static const PluginAction actions[] = {
        {"Call Unbuilt Slots", "Calls every slot not built yet", KP_TEST_PROFILE, NULL, 0, 11,
         callUnbuiltSlots},
        {"Push Wait Cursor", NULL, NULL, "Ctrl+Alt+K", PLUGIN_ACTION_DISABLE_WITHOUT_MAP, 22, pushWaitCursor},
#ifdef KP_TEST_DIALOGS
        {"External Dialog", NULL, "Dialogs", NULL, 0, 100, dialogCommand},
        {"Internal Dialog", NULL, "Dialogs", NULL, 0, 101, dialogCommand},
        {"Required Dialog", NULL, "Dialogs", NULL, 0, 102, dialogCommand},
        {"Two Rows Dialog", NULL, "Dialogs", NULL, 0, 103, dialogCommand},
        {"Twenty Rows Dialog", NULL, "Dialogs", NULL, 0, 104, dialogCommand},
        {"Misuse Dialog", NULL, "Dialogs", NULL, 0, 105, dialogCommand},
        {"Forgotten Dialog", NULL, "Dialogs", NULL, 0, 106, dialogCommand},
#endif
    };
    size_t i;
    noteEnumerator("kpEnumActions");
    for (i = 0; i < sizeof actions / sizeof actions[0]; ++i)
        callback(&actions[i], context);
    return 1;
}

/* ---- Primitive and flags ------------------------------------------------------------------- */
static int32_t createNothing(struct PrimitiveParams* params) {
    return 0;
}

KP_EXPORT int32_t kpEnumPrimitives(kpPrimitiveCallback callback, void* context) {
    static const PrimitiveEntry primitive = {
        KP_TEST_PROFILE " Block", KP_TEST_PROFILE, 4, 3, 8, 0, createNothing};
    noteEnumerator("kpEnumPrimitives");
    callback(&primitive, context);
    return 1;
}

/* Every box of the flags profile named "<prefix> <box>". */
static void nameEveryFlag(kpFlagCallback callback, void* context, const char* prefix, int32_t count) {
    char name[32];
    int32_t i;
    for (i = 0; i < count; ++i) {
        snprintf(name, sizeof name, "%s %d", prefix, (int)i);
        callback(KP_TEST_FLAGS_PROFILE, name, i, context);
    }
}

KP_EXPORT int32_t kpEnumSurfaceFlags(kpFlagCallback callback, void* context) {
    noteEnumerator("kpEnumSurfaceFlags");
    callback(KP_TEST_PROFILE, "Slick", 0, context);
    callback(KP_TEST_PROFILE, "Beyond", 20, context);
    callback(NULL, "Nobody", 1, context);
    nameEveryFlag(callback, context, "Surface", 20);
    return 1;
}

KP_EXPORT int32_t kpEnumContentFlags(kpFlagCallback callback, void* context) {
    noteEnumerator("kpEnumContentFlags");
    callback(KP_TEST_PROFILE, "Water", 5, context);
    callback(KP_TEST_PROFILE, "Detail", 31, context);
    nameEveryFlag(callback, context, "Content", 32);
    return 1;
}

/* ---- Import -------------------------------------------------------------------------------- */
#define MAX_GROUPS 16

typedef struct Reader {
    struct MapWorld** map;
    struct GroupRecord* groups[MAX_GROUPS]; /* by file number - 1 */
} Reader;

static const char* token(void) {
    return engine.Script_Token();
}

static float number(void) {
    engine.Script_GetToken(true);
    return (float)strtod(token(), NULL);
}

/* "group <n>": the n-th group of the file, made on first use. */
static struct GroupRecord* readGroup(Reader* reader) {
    int n;
    engine.Script_GetToken(true);
    n = atoi(token());
    if (n < 1 || n > MAX_GROUPS) {
        engine.Script_Error("bad group number %i", n);
        return NULL;
    }
    if (!reader->groups[n - 1]) {
        reader->groups[n - 1] = engine.Group_Create(reader->map);
        engine.Group_RecordUndoCreated(reader->groups[n - 1]);
    }
    return reader->groups[n - 1];
}

static void setTexture(char* texInfo, const char* name) {
    memset(texInfo, 0, TEXINFO_SIZE);
    FIELD(texInfo, TEXINFO_SCALE, float) = 1.0f;
    FIELD(texInfo, TEXINFO_SCALE + 4, float) = 1.0f;
    strncpy(texInfo + TEXINFO_NAME, name, 63);
}

static int readBrush(Reader* reader, struct EntityRecord* entity) {
    struct BrushRecord* brush = engine.Brush_Create(reader->map, entity);
    char texInfo[TEXINFO_SIZE];
    if (!brush) return 0;
    for (;;) {
        engine.Script_GetToken(true);
        if (!strcmp(token(), "group")) {
            struct GroupRecord* group = readGroup(reader);
            if (group) engine.Group_AddBrush(group, brush);
        } else if (!strcmp(token(), "visgroup")) {
            engine.Brush_AddToVisGroup(reader->map, brush, (int32_t)number());
        } else {
            break;
        }
    }
    if (strcmp(token(), "{")) {
        engine.Script_Error("\"{\" expected");
        return 0;
    }
    while (engine.Script_GetToken(true) && strcmp(token(), "}")) {
        float plane[4];
        struct FaceRecord* face;
        engine.Script_UngetToken();
        engine.Script_ParseVector(4, plane);
        engine.Script_GetToken(false);
        setTexture(texInfo, token());
        face = engine.Face_Create(reader->map, brush, (const struct TextureInfo*)texInfo, 0);
        if (!face) return 0;
        memcpy((char*)face + FACE_NORMAL, plane, 3 * sizeof(float));
        FIELD(face, FACE_DIST, float) = plane[3];
        FIELD(face, FACE_AXIAL, int32_t) = plane[0] != 0.0f ? 0 : plane[1] != 0.0f ? 1 : 2;
    }
    engine.Brush_RecordUndoCreated(brush);
    return 1;
}

static int readPatch(Reader* reader, struct EntityRecord* entity) {
    struct BrushRecord* brush = engine.Brush_Create(reader->map, entity);
    struct PatchRecord* patch;
    char texInfo[TEXINFO_SIZE];
    int columns = (int)number(), rows = (int)number(), c, r;
    if (!brush || columns < 3 || rows < 3 || columns > PATCH_GRID || rows > PATCH_GRID) return 0;
    engine.Script_GetToken(true);
    setTexture(texInfo, token());
    patch = engine.Patch_Create(brush, (const struct TextureInfo*)texInfo, columns, rows);
    if (!patch) return 0;
    engine.Script_MatchToken("{");
    for (c = 0; c < columns; ++c)
        for (r = 0; r < rows; ++r) {
            float point[5];
            char* at = (char*)patch + PATCH_POINTS + (c * PATCH_GRID + r) * PATCH_POINT_SIZE;
            engine.Script_ParseVector(5, point);
            memcpy(at, point, 3 * sizeof(float));
            memcpy(at + 24, point + 3, 2 * sizeof(float));
        }
    engine.Script_MatchToken("}");
    engine.Brush_RecordUndoCreated(brush);
    return 1;
}

static int readEntity(Reader* reader) {
    EPairRecord* pairs = NULL;
    EPairRecord** tail = &pairs;
    struct EntityRecord* entity = NULL;
    struct GroupRecord* group = NULL;
    char classname[64] = "";
    float origin[3] = {0, 0, 0};
    engine.Script_GetToken(true);
    if (!strcmp(token(), "group")) {
        group = readGroup(reader);
        engine.Script_GetToken(true);
    }
    if (strcmp(token(), "{")) return 0;
    while (engine.Script_GetToken(true) && strcmp(token(), "}")) {
        const char* word = token();
        if (!strcmp(word, "brush") || !strcmp(word, "patch")) {
            int isBrush = !strcmp(word, "brush");
            if (!entity) {
                uint32_t flags = !strcmp(classname, "worldspawn") ? ENTITY_WORLD : 0;
                entity = engine.Entity_Create(reader->map, classname, origin, flags);
                if (!entity) return 0;
                FIELD(entity, ENTITY_EPAIRS, EPairRecord*) = pairs;
            }
            if (!(isBrush ? readBrush(reader, entity) : readPatch(reader, entity))) return 0;
            continue;
        }
        {
            EPairRecord* pair = (EPairRecord*)engine.Sys_Alloc(sizeof(EPairRecord));
            pair->key = engine.Sys_StrDup(word);
            engine.Script_GetToken(false);
            pair->value = engine.Sys_StrDup(token());
            if (!strcmp(pair->key, "classname")) strncpy(classname, pair->value, sizeof classname - 1);
            if (!strcmp(pair->key, "origin"))
                sscanf(pair->value, "%f %f %f", &origin[0], &origin[1], &origin[2]);
            *tail = pair;
            tail = &pair->next;
        }
    }
    if (!entity) {
        entity = engine.Entity_Create(reader->map, classname, origin, ENTITY_POINT);
        if (!entity) return 0;
        FIELD(entity, ENTITY_EPAIRS, EPairRecord*) = pairs;
    }
    if (group) engine.Group_AddEntity(group, entity);
    engine.Entity_Update(entity, 5);
    if (!(FIELD(entity, ENTITY_FLAGS, uint32_t) & ENTITY_WORLD)) engine.Entity_RecordUndoCreated(entity);
    return 1;
}

static int readVisGroup(Reader* reader) {
    int32_t id = (int32_t)number(), made;
    engine.Script_GetToken(false);
    made = engine.VisGroup_Create(reader->map);
    engine.VisGroup_Set(reader->map, made, token(), id, NULL);
    return 1;
}

KP_EXPORT int32_t kpImport(int32_t id, const char* path, struct MapWorld** map) {
    Reader reader;
    int ok = 1;
    if (id != 1 || !engine.Script_LoadFile(path, 0)) return 0;
    memset(&reader, 0, sizeof reader);
    reader.map = map;
    engine.Undo_BeginStep(map, "Import");
    while (ok && engine.Script_GetToken(true)) {
        if (!strcmp(token(), "entity"))
            ok = readEntity(&reader);
        else if (!strcmp(token(), "visgroup"))
            ok = readVisGroup(&reader);
        else {
            engine.Script_Error("unknown token \"%s\"", token());
            ok = 0;
        }
    }
    engine.Undo_EndStep(map);
    engine.Script_Close();
    return ok && !engine.Script_HasError();
}

/* ---- Export -------------------------------------------------------------------------------- */
typedef struct Writer {
    FILE* file;
    struct MapWorld** map;
    struct GroupRecord* groups[MAX_GROUPS];
    int groupCount;
} Writer;

static int groupNumber(Writer* writer, struct GroupRecord* group) {
    int i;
    for (i = 0; i < writer->groupCount; ++i)
        if (writer->groups[i] == group) return i + 1;
    if (writer->groupCount == MAX_GROUPS) return 0;
    writer->groups[writer->groupCount] = group;
    return ++writer->groupCount;
}

#define MAX_FACES 64

static float faceKey(const void* face) {
    const float* n = (const float*)((const char*)face + FACE_NORMAL);
    int axis = FIELD(face, FACE_AXIAL, int32_t);
    if (axis < 0 || axis > 2) axis = 2;
    return (float)axis * 4.0f + n[axis];
}

static int compareFaces(const void* a, const void* b) {
    float ka = faceKey(*(void*const*)a), kb = faceKey(*(void*const*)b);
    return ka < kb ? -1 : ka > kb ? 1 : 0;
}

static void writeBrush(Writer* writer, struct BrushRecord* brush) {
    void* faces[MAX_FACES];
    int count, i;
    struct PatchRecord* patch = FIELD(brush, BRUSH_PATCH, struct PatchRecord*);
    struct GroupRecord* group = FIELD(brush, BRUSH_GROUP, struct GroupRecord*);
    if (patch) {
        int columns = FIELD(patch, PATCH_COLUMNS, int32_t), rows = FIELD(patch, PATCH_ROWS, int32_t), c, r;
        fprintf(writer->file, "patch %i %i %s\n{\n", columns, rows,
                (char*)patch + PATCH_TEXINFO + TEXINFO_NAME);
        for (c = 0; c < columns; ++c)
            for (r = 0; r < rows; ++r) {
                const float* p =
                    (const float*)((char*)patch + PATCH_POINTS + (c * PATCH_GRID + r) * PATCH_POINT_SIZE);
                fprintf(writer->file, "( %g %g %g %g %g )\n", p[0], p[1], p[2], p[6], p[7]);
            }
        fprintf(writer->file, "}\n");
        return;
    }
    fprintf(writer->file, "brush");
    if (group) fprintf(writer->file, " group %i", groupNumber(writer, group));
    if (engine.Brush_GetVisGroupCount(brush) > 0)
        fprintf(writer->file, " visgroup %i", engine.Brush_GetVisGroupId(brush, 0));
    fprintf(writer->file, "\n{\n");
    /* The editor keeps faces in an order of its own: write them by axis, negative side first. */
    count = 0;
    for (void* face = FIELD(brush, BRUSH_FIRST_FACE, void*); face && count < MAX_FACES;
         face = FIELD(face, FACE_NEXT, void*))
        faces[count++] = face;
    qsort(faces, (size_t)count, sizeof faces[0], compareFaces);
    for (i = 0; i < count; ++i) {
        const float* n = (const float*)((char*)faces[i] + FACE_NORMAL);
        fprintf(writer->file, "( %g %g %g %g ) %s\n", n[0], n[1], n[2], FIELD(faces[i], FACE_DIST, float),
                (char*)faces[i] + FACE_TEXINFO + TEXINFO_NAME);
    }
    fprintf(writer->file, "}\n");
}

KP_EXPORT int32_t kpExport(int32_t id, const char* path, struct MapWorld** map) {
    Writer writer;
    int32_t count, i;
    struct EntityRecord* entity;
    if (id != 1 || !map || !*map) return 0;
    memset(&writer, 0, sizeof writer);
    writer.map = map;
    writer.file = fopen(path, "w");
    if (!writer.file) return 0;
    count = engine.VisGroup_GetCount(map);
    for (i = 0; i < count; ++i) {
        char name[64] = "";
        int32_t visId = 0, visible = 0;
        engine.VisGroup_GetInfo(map, i, name, (int32_t)sizeof name, &visId, &visible, NULL);
        fprintf(writer.file, "visgroup %i \"%s\"\n", visId, name);
    }
    /* The world entity heads the entity list. */
    for (entity = FIELD(*map, WORLD_ENTITIES, struct EntityRecord*); entity;
         entity = FIELD(entity, ENTITY_NEXT, struct EntityRecord*)) {
        struct GroupRecord* group = FIELD(entity, ENTITY_GROUP, struct GroupRecord*);
        EPairRecord* pair;
        struct BrushRecord* brush;
        fprintf(writer.file, "entity");
        if (group) fprintf(writer.file, " group %i", groupNumber(&writer, group));
        fprintf(writer.file, "\n{\n");
        for (pair = FIELD(entity, ENTITY_EPAIRS, EPairRecord*); pair; pair = pair->next)
            fprintf(writer.file, "\"%s\" \"%s\"\n", pair->key ? pair->key : "",
                    pair->value ? pair->value : "");
        for (brush = FIELD(entity, ENTITY_FIRST_BRUSH, struct BrushRecord*); brush;
             brush = FIELD(brush, BRUSH_NEXT, struct BrushRecord*))
            writeBrush(&writer, brush);
        fprintf(writer.file, "}\n");
    }
    return fclose(writer.file) == 0;
}
#endif
