/* The plugin interface: everything a game plugin and the editor exchange. Plain C (C11 and
 * C++20 alike), fixed-width types, no editor headers: a plugin written in C includes this file
 * alone (it brings PluginInterfaceLayout.h beside it). Every record that crosses has its size and
 * field offsets asserted there, so a plugin built from these declarations matches the editor byte
 * for byte.
 *
 * Editor-owned records (entities, brushes, faces, effects, images ...) cross as pointers to
 * opaque struct tags; a plugin reads the fields it is documented to read at their byte offsets.
 * The map handle is the address of the world's handle field (struct MapWorld**).
 *
 * Memory handed across in either direction is allocated with the table's Sys_Alloc (or
 * Sys_StrDup) and freed with Sys_Free. */
#ifndef ZARV_PLUGIN_INTERFACE_H
#define ZARV_PLUGIN_INTERFACE_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

/* printf-style checking of the formatting slots where the compiler offers it. */
#if defined(__GNUC__) || defined(__clang__)
#define KP_PRINTF(formatIndex, firstArgument)                                                                \
    __attribute__((__format__(__printf__, formatIndex, firstArgument)))
#else
#define KP_PRINTF(formatIndex, firstArgument)
#endif

#ifdef __cplusplus
#define KP_STATIC_ASSERT(condition, message) static_assert(condition, message)
extern "C" {
#else
#define KP_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

/* What kpMain receives as its version and what a plugin answers to accept. */
#define KP_INTERFACE_VERSION 10
/* Byte size of the engine-function table (its first field). */
#define KP_ENGINE_FUNCS_SIZE 1440
/* Byte size of the map-profile and profile-function records. */
#define KP_MAP_PROFILE_SIZE 2896
#define KP_PROFILE_FUNCS_SIZE 56

/* Editor records, opaque to plugins. */
struct MapWorld;
struct EntityRecord;
struct BrushRecord;
struct FaceRecord;
struct PatchRecord;
struct OverlayRecord;
struct GroupRecord;
struct PathRecord;
struct NodeRecord;
struct CameraRecord;
struct TextureInfo; /* the 128-byte texture-mapping block */
struct ShaderRecord;
struct ShaderStage;
struct TextureImage;
struct PrimitiveParams;

/* ---- Message-box flags (App_MessageBox) ------------------------------------------------- */
#define MSGBOX_OKCANCEL 1
#define MSGBOX_YESNO 2
#define MSGBOX_CRITICAL 4
#define MSGBOX_WARNING 8
#define MSGBOX_INFORMATION 16
#define MSGBOX_QUESTION 32

/* ---- Argument flags of the plugin-dialog Add entries -------------------------------------- */
#define DLGARG_REQUIRED 1
#define DLGARG_EXISTING 2

/* ---- Engine-function table ---------------------------------------------------------------
 * Filled once by the editor before the first plugin loads and never changed afterwards; every
 * plugin receives the same pointer and may keep a copy of the first `size` bytes. Some functions
 * serve several object kinds and so fill more than one slot (named in the comments). */
typedef struct EngineFuncs {
    /*    0 */ uint64_t size; /* KP_ENGINE_FUNCS_SIZE */

    /* ---- Logging, memory and time ---- */
    /*    8 */ void (*Sys_Printf)(const char* format, ...) KP_PRINTF(1, 2);
    /*   16 */ void (*Sys_VerbosePrintf)(const char* format, ...) KP_PRINTF(1, 2);
    /*   24 */ void (*Sys_Warning)(const char* format, ...) KP_PRINTF(1, 2);
    /*   32 */ void (*Sys_Error)(const char* format, ...) KP_PRINTF(1, 2);
    /*   40 */ void* (*Sys_Alloc)(uint64_t size);
    /*   48 */ void (*Sys_Free)(void* block);
    /*   56 */ char* (*Sys_StrDup)(const char* text);
    /*   64 */ void* (*TempBuffer_GetSpace)(uint32_t index, uint64_t size);
    /*   72 */ float (*Sys_Seconds)(void);

    /* ---- Editor options ---- */
    /*   80 */ int32_t (*Sys_GetOption)(int32_t option);
    /*   88 */ void (*Sys_SetOption)(int32_t option, int32_t value);

    /* ---- Immediate drawing (while a plugin draws a model) ---- */
    /*   96 */ void (*Render_PointSize)(float size);
    /*  104 */ void (*Render_LineWidth)(float width);
    /*  112 */ void (*Render_BindShader)(struct ShaderRecord* shader);
    /*  120 */ void (*Render_BindImage)(struct TextureImage* image);
    /*  128 */ void (*Render_SetPrimitive)(int32_t kind);
    /*  136 */ void (*Render_Flush)(void);
    /*  144 */ uint32_t (*Render_Color4ub)(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
    /*  152 */ void (*Render_ColorPacked)(const uint32_t* rgba);
    /*  160 */ void (*Render_TexCoord2f)(float s, float t);
    /*  168 */ void (*Render_TexCoord2fv)(const float* st);
    /*  176 */ void (*Render_Normal3fv)(const float* normal);
    /*  184 */ void (*Render_Vertex3fv)(const float* point);
    /*  192 */ uint32_t (*Render_GetStateBits)(void);
    /*  200 */ void (*Render_SetStateBits)(uint32_t bits);
    /*  208 */ void (*Render_GetContext)(float* viewFrame);
    /*  216 */ float (*Render_GetMinAlpha)(void);
    /*  224 */ float (*Render_ShadeForNormal)(const float* normal);

    /* ---- Script tokenizer ---- */
    /*  232 */ bool (*Script_LoadFile)(const char* path, int32_t flags);
    /*  240 */ bool (*Script_LoadMemory)(const char* buffer, uint32_t length, int32_t flags);
    /*  248 */ char* (*Script_Token)(void);
    /*  256 */ int32_t (*Script_Line)(void);
    /*  264 */ void (*Script_Error)(const char* format, ...) KP_PRINTF(1, 2);
    /*  272 */ bool (*Script_HasError)(void);
    /*  280 */ void (*Script_ClearError)(void);
    /*  288 */ bool (*Script_GetToken)(bool crossLines);
    /*  296 */ bool (*Script_TryGetToken)(bool crossLines);
    /*  304 */ void (*Script_UngetToken)(void);
    /*  312 */ bool (*Script_TokenAvailable)(void);
    /*  320 */ const char* (*Script_MatchToken)(const char* text);
    /*  328 */ bool (*Script_CheckToken)(const char* text, bool crossLines);
    /*  336 */ bool (*Script_SkipRestOfLine)(void);
    /*  344 */ void (*Script_ParseVector)(int32_t count, float* out);
    /*  352 */ void (*Script_ParseMatrix)(int32_t rows, int32_t columns, float* out);
    /*  360 */ void (*Script_ParseMatrixArray)(int32_t count, int32_t rows, int32_t columns, float* out);
    /*  368 */ void (*Script_Close)(void);
    /*  376 */ void (*Script_SetFlags)(int32_t flags);
    /*  384 */ int32_t (*Script_GetFlags)(void);
    /*  392 */ int32_t (*Script_BlockLength)(void);
    /*  400 */ char* (*Script_CopyBlock)(void);
    /*  408 */ void (*Script_SkipBlock)(void);
    /*  416 */ bool (*Script_NeedsQuotes)(const char* text);

    /* ---- Files, paths and snapping ---- */
    /*  424 */ bool (*Sys_GetGameDir)(char* buffer, uint32_t size);
    /*  432 */ bool (*Sys_GetModDir)(char* buffer, uint32_t size);
    /*  440 */ bool (*Sys_FindFile)(const char* name, char* buffer, uint32_t size);
    /*  448 */ const char* (*Sys_NativePath)(const char* path);
    /*  456 */ bool (*Sys_FileExists)(const char* path);
    /*  464 */ char* (*Sys_LoadFile)(const char* path, uint32_t* length);
    /*  472 */ bool (*Sys_CreatePath)(const char* path);
    /*  480 */ void (*Math_SnapVector)(float* v);
    /*  488 */ void (*Math_SnapFloats)(int32_t count, float* values);
    /*  496 */ float (*Sys_SnapToGrid)(float* point);
    /*  504 */ void (*Sys_SnapVector)(float* v);

    /* ---- Application and map ---- */
    /*  512 */ const char* (*App_GetVersionString)(void);
    /*  520 */ float (*Sys_GetTextureGamma)(void);
    /*  528 */ struct MapWorld** (*App_GetActiveMap)(void);
    /*  536 */ int32_t (*Map_ApiGetTexturePackageList)(void* map, char** out, int32_t separator,
                                                       int32_t strip);

    /* ---- Map objects ---- */
    /*  544 */ struct EntityRecord* (*Entity_Create)(struct MapWorld** map, const char* classname,
                                                     const float* origin, uint32_t flags);
    /*  552 */ void (*Entity_Update)(struct EntityRecord* entity, uint32_t bits);
    /*  560 */ void (*Entity_SetColor)(struct EntityRecord* entity, uint8_t r, uint8_t g, uint8_t b,
                                       uint8_t a);
    /*  568 */ void (*Entity_GetColor)(const struct EntityRecord* entity, uint8_t* rgba);
    /*  576 */ void (*Entity_AddToVisGroup)(void* map, void* record,
                                            int32_t visGroupId); /* Object_AddToVisGroup */
    /*  584 */ void (*Entity_RemoveFromVisGroup)(void* map, void* record,
                                                 int32_t visGroupId);  /* Object_RemoveFromVisGroup */
    /*  592 */ int32_t (*Entity_GetVisGroupCount)(const void* record); /* Object_GetVisGroupCount */
    /*  600 */ int32_t (*Entity_GetVisGroupId)(const void* record, int32_t index); /* Object_GetVisGroupId */
    /*  608 */ struct EntityRecord* (*Entity_FindByClassname)(struct EntityRecord* start,
                                                              const char* classname);
    /*  616 */ struct EntityRecord* (*Entity_FindByTargetname)(struct EntityRecord* start,
                                                               const char* targetname);
    /*  624 */ struct EntityRecord* (*Entity_FindByKeyValue)(struct EntityRecord* start, const char* key,
                                                             const char* value);
    /*  632 */ struct BrushRecord* (*Brush_Create)(struct MapWorld** map, struct EntityRecord* entity);
    /*  640 */ void (*Brush_Delete)(struct MapWorld** map, struct BrushRecord* brush);
    /*  648 */ void (*Brush_SetColor)(struct BrushRecord* brush, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
    /*  656 */ void (*Brush_GetColor)(const void* record, uint8_t* rgba); /* Object_GetColor */
    /*  664 */ void (*Brush_AddToVisGroup)(void* map, void* record,
                                           int32_t visGroupId); /* Object_AddToVisGroup */
    /*  672 */ void (*Brush_RemoveFromVisGroup)(void* map, void* record,
                                                int32_t visGroupId);  /* Object_RemoveFromVisGroup */
    /*  680 */ int32_t (*Brush_GetVisGroupCount)(const void* record); /* Object_GetVisGroupCount */
    /*  688 */ int32_t (*Brush_GetVisGroupId)(const void* record, int32_t index); /* Object_GetVisGroupId */
    /*  696 */ struct FaceRecord* (*Face_Create)(struct MapWorld** map, struct BrushRecord* brush,
                                                 const struct TextureInfo* texInfo, int32_t vertexCount);
    /*  704 */ void (*Face_Delete)(struct MapWorld** map, struct FaceRecord* face);
    /*  712 */ struct PatchRecord* (*Patch_Create)(struct BrushRecord* brush,
                                                   const struct TextureInfo* texInfo, int32_t columns,
                                                   int32_t rows);
    /*  720 */ void (*Patch_Delete)(struct PatchRecord* patch);
    /*  728 */ void (*Patch_SmoothColumns)(struct PatchRecord* patch);
    /*  736 */ void (*Patch_NaturalizeTexture)(struct PatchRecord* patch);
    /*  744 */ void (*Patch_FitTexture)(struct PatchRecord* patch, float sRepeats, float tRepeats);
    /*  752 */ struct OverlayRecord* (*Overlay_Create)(struct BrushRecord* brush,
                                                       const struct TextureInfo* texInfo);
    /*  760 */ void (*Overlay_Delete)(struct OverlayRecord* overlay);
    /*  768 */ struct PathRecord* (*Path_Create)(struct MapWorld** map);
    /*  776 */ void (*Path_Delete)(struct PathRecord* path);
    /*  784 */ struct NodeRecord* (*Node_Append)(struct MapWorld** map, struct PathRecord* path);
    /*  792 */ struct NodeRecord* (*Node_InsertBefore)(struct MapWorld** map, struct NodeRecord* node);
    /*  800 */ void (*Node_Delete)(struct NodeRecord* node);
    /*  808 */ struct GroupRecord* (*Group_Create)(struct MapWorld** map);
    /*  816 */ void (*Group_Delete)(struct MapWorld** map, struct GroupRecord* group);
    /*  824 */ void (*Group_SetParent)(struct GroupRecord* parent, struct GroupRecord* child);
    /*  832 */ struct BrushRecord* (*Group_AddBrush)(struct GroupRecord* group, struct BrushRecord* brush);
    /*  840 */ struct EntityRecord* (*Group_AddEntity)(struct GroupRecord* group,
                                                       struct EntityRecord* entity);
    /*  848 */ void (*Group_SetColor)(struct GroupRecord* group, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
    /*  856 */ void (*Group_GetColor)(const void* record, uint8_t* rgba); /* Object_GetColor */
    /*  864 */ struct CameraRecord* (*Camera_Create)(void* map);
    /*  872 */ void (*Camera_Delete)(struct CameraRecord* camera);
    /*  880 */ void (*Camera_SetColor)(struct CameraRecord* camera, uint8_t r, uint8_t g, uint8_t b,
                                       uint8_t a);
    /*  888 */ void (*Camera_GetColor)(const void* record, uint8_t* rgba); /* Object_GetColor */
    /*  896 */ void (*Camera_SetEyeAndTarget)(struct CameraRecord* camera, const float* eye,
                                              const float* target);

    /* ---- Effects and texture images ---- */
    /*  904 */ struct ShaderRecord* (*Tex_AcquireShaderByName)(const char* name);
    /*  912 */ struct ShaderRecord* (*Tex_FindOrCreateShader)(const char* key, const char* name,
                                                              int32_t flags);
    /*  920 */ void (*Plugin_ReleaseShader)(struct ShaderRecord* shader);
    /*  928 */ void (*Plugin_AddShaderStage)(struct ShaderRecord* shader, const struct ShaderStage* stage);
    /*  936 */ void (*Plugin_FreeShaderData)(struct ShaderStage* stage);
    /*  944 */ void (*Plugin_FinishShader)(struct ShaderRecord* shader);
    /*  952 */ struct TextureImage* (*Plugin_FindImage)(const char* name);
    /*  960 */ struct TextureImage* (*Plugin_WhiteImage)(void);
    /*  968 */ struct TextureImage* (*Plugin_BlackImage)(void);
    /*  976 */ struct TextureImage* (*Plugin_UploadImage)(struct ShaderRecord* shader, const char* name,
                                                          int32_t format, int32_t compressedFormat,
                                                          int32_t bytesPerPixel, int32_t width,
                                                          int32_t height, bool mipmaps, const void* pixels);
    /*  984 */ void (*Plugin_FreeImage)(struct TextureImage* image);

    /* ---- Visgroups ---- */
    /*  992 */ int32_t (*VisGroup_Create)(struct MapWorld** map);
    /* 1000 */ void (*VisGroup_Delete)(struct MapWorld** map, int32_t id);
    /* 1008 */ void (*VisGroup_Set)(struct MapWorld** map, int32_t id, const char* name, int32_t newId,
                                    const uint8_t* rgba);
    /* 1016 */ int32_t (*VisGroup_GetCount)(struct MapWorld** map);
    /* 1024 */ int32_t (*VisGroup_FindIndex)(struct MapWorld** map, int32_t id);
    /* 1032 */ int32_t (*VisGroup_GetInfo)(struct MapWorld** map, int32_t index, char* name, int32_t nameSize,
                                           int32_t* id, int32_t* visible, uint8_t* rgba);
    /* 1040 */ void (*VisGroup_Renumber)(struct MapWorld** map);

    /* ---- Undo ---- */
    /* 1048 */ void (*Undo_BeginStep)(struct MapWorld** map, const char* name);
    /* 1056 */ void (*Undo_EndStep)(struct MapWorld** map);
    /* 1064 */ void (*Entity_RecordUndoCreated)(struct EntityRecord* entity);
    /* 1072 */ void (*Brush_RecordUndoCreated)(struct BrushRecord* brush);
    /* 1080 */ void (*Group_RecordUndoCreated)(struct GroupRecord* group);
    /* 1088 */ void (*Path_RecordUndoCreated)(struct PathRecord* path);
    /* 1096 */ void (*Node_RecordUndoCreated)(struct NodeRecord* node);
    /* 1104 */ void (*Entity_RecordUndoDeleted)(struct EntityRecord* entity);
    /* 1112 */ void (*Brush_RecordUndoDeleted)(struct BrushRecord* brush);
    /* 1120 */ void (*Group_RecordUndoDeleted)(struct GroupRecord* group);
    /* 1128 */ void (*Path_RecordUndoDeleted)(struct PathRecord* path);
    /* 1136 */ void (*Node_RecordUndoDeleted)(struct NodeRecord* node);
    /* 1144 */ void (*Entity_RecordUndoModified)(struct EntityRecord* entity);
    /* 1152 */ void (*Brush_RecordUndoModified)(struct BrushRecord* brush, int32_t withGeometry);
    /* 1160 */ void (*Face_RecordUndoModified)(struct FaceRecord* face);
    /* 1168 */ void (*Path_RecordUndoModified)(struct PathRecord* path);
    /* 1176 */ void (*Node_RecordUndoModified)(struct NodeRecord* node);
    /* 1184 */ void (*Undo_RecordSelectedBrushesCreated)(struct MapWorld** map);
    /* 1192 */ void (*Undo_RecordSelectedEntitiesCreated)(struct MapWorld** map);
    /* 1200 */ void (*Undo_RecordSelectedNodesCreated)(struct MapWorld** map);
    /* 1208 */ void (*Undo_RecordSelectedBrushesDeleted)(struct MapWorld** map);
    /* 1216 */ void (*Undo_RecordSelectedEntitiesDeleted)(struct MapWorld** map);
    /* 1224 */ void (*Undo_RecordSelectedNodesDeleted)(struct MapWorld** map);
    /* 1232 */ void (*Undo_RecordSelectedBrushesChanged)(struct MapWorld** map, int32_t withGeometry);
    /* 1240 */ void (*Undo_RecordSelectedEntitiesChanged)(struct MapWorld** map);
    /* 1248 */ void (*Undo_RecordSelectedFacesChanged)(struct MapWorld** map);
    /* 1256 */ void (*Undo_RecordSelectedNodesChanged)(struct MapWorld** map);

    /* ---- Message boxes, plugin dialogs and wait cursor ---- */
    /* 1264 */ int32_t (*App_MessageBox)(const char* title, const char* text, int32_t flags);
    /* 1272 */ int32_t (*App_OptionsBox)(const char* title, const char* text, const char* options,
                                         int32_t mask);
    /* 1280 */ void (*Dialog_Begin)(const char* title);
    /* 1288 */ void (*Dialog_InitExternalCommand)(const char* runText, const char* program);
    /* 1296 */ void (*Dialog_InitInternalCommand)(const char* runText, void (*command)(void));
    /* 1304 */ void (*Dialog_SetProgress)(int32_t value, int32_t maximum);
    /* 1312 */ void (*Dialog_AddTextEdit)(const char* name, const char* label, const char* text,
                                          int32_t flags);
    /* 1320 */ void (*Dialog_AddCheckBox)(const char* name, const char* label, bool checked, int32_t flags);
    /* 1328 */ void (*Dialog_AddRadioBox)(const char* name, const char* label, bool yes, int32_t flags);
    /* 1336 */ void (*Dialog_AddSpinBox)(const char* name, const char* label, int32_t value, int32_t minimum,
                                         int32_t maximum, int32_t step, int32_t flags);
    /* 1344 */ void (*Dialog_AddSpinBoxFloat)(const char* name, const char* label, float value, float minimum,
                                              float maximum, float step, int32_t flags);
    /* 1352 */ void (*Dialog_AddComboBox)(const char* name, const char* label, int32_t index,
                                          const char* items, int32_t flags);
    /* 1360 */ void (*Dialog_AddFileEdit)(const char* name, const char* label, const char* path,
                                          const char* filter, int32_t flags);
    /* 1368 */ void (*Dialog_AddFileList)(const char* name, const char* label, const char* files,
                                          const char* filter, int32_t flags);
    /* 1376 */ void (*Dialog_AddDirectoryEdit)(const char* name, const char* label, const char* path,
                                               int32_t flags);
    /* 1384 */ void (*Dialog_QueryArgument)(const char* name, char* buffer, int32_t size);
    /* 1392 */ int32_t (*Dialog_QueryArgumentInt)(const char* name);
    /* 1400 */ float (*Dialog_QueryArgumentFloat)(const char* name);
    /* 1408 */ void (*Dialog_End)(void);
    /* 1416 */ void (*Dialog_Printf)(const char* format, ...) KP_PRINTF(1, 2);
    /* 1424 */ void (*App_BeginWaitCursor)(void);
    /* 1432 */ void (*App_EndWaitCursor)(void);
} EngineFuncs;

/* ---- Plugin actions (commands of the plugin menu) ---------------------------------------- */
#define PLUGIN_ACTION_HIDE_WITHOUT_MAP 0x1u
#define PLUGIN_ACTION_DISABLE_WITHOUT_MAP 0x2u

typedef void (*PluginActionDispatchFn)(int32_t userValue);

/* The strings are kept by pointer, not copied: they must live as long as the plugin. */
typedef struct PluginAction {
    const char* title;               /* mandatory */
    const char* description;         /* status and tool tip; the title when null */
    const char* category;            /* submenu and sort key; null or empty: none */
    const char* shortcut;            /* key sequences separated by "|"; null: none */
    uint32_t flags;                  /* PLUGIN_ACTION_* */
    int32_t userValue;               /* handed to dispatch */
    PluginActionDispatchFn dispatch; /* mandatory */
} PluginAction;

/* ---- Creation primitives (New Objects list) ---------------------------------------------- */
/* A create function answers 1 when the primitive was made and recorded, 0 when nothing was. */
typedef int32_t (*PrimitiveCreateFn)(struct PrimitiveParams* params);

typedef struct PrimitiveEntry {
    const char* name;         /* shown in the Objects list; mandatory */
    const char* category;     /* shown in the Categories list; null: "(unknown)" */
    int32_t count;            /* faces or sides handed to the create function */
    int32_t minimum;          /* lowest count the Faces spin box allows */
    int32_t maximum;          /* highest count; 0: no count, the Faces control is disabled */
    int32_t capabilityMask;   /* 0: always offered; else offered when the profile shares a bit */
    PrimitiveCreateFn create; /* mandatory */
} PrimitiveEntry;

/* ---- Map profiles ------------------------------------------------------------------------- */
/* Error report of BuildSourceCode: line number, message, the caller's context. */
typedef void (*ShaderErrorFn)(int32_t line, const char* message, void* context);

/* The effect-script functions of a profile, used by the effect editor. */
typedef struct ProfileFuncs {
    uint64_t size; /* KP_PROFILE_FUNCS_SIZE */
    /* Gives an effect made from a plain image its default script text; false when the path
     * lies in no known folder. */
    bool (*ClassifyShaderPath)(const char* imagePath, struct ShaderRecord* shader);
    /* Re-reads the named effect from the script file (the effect record's name field at offset
     * 0 serves as the name); 1 when found and parsed. */
    int32_t (*LoadShaderFromScript)(const char* scriptPath, const char* shaderName);
    /* Rewrites the script file with the effect (and, with all, the effects linked after it). */
    bool (*WriteShaderScript)(const char* scriptPath, struct ShaderRecord* shader, bool all);
    /* Parses effect text into the effect (null: check only); errors go to the callback. */
    bool (*BuildSourceCode)(const char* text, struct ShaderRecord* shader, ShaderErrorFn onError,
                            void* context);
    /* Keyword kind (1 command, 2 value, 0 unknown) with its spelling in out. */
    int32_t (*LookupShaderKeyword)(const char* word, const char* firstWord, int32_t level, char* out,
                                   int32_t size);
    /* Count of keywords under the parent, each followed by a blank in out. */
    int32_t (*ListShaderKeywords)(const char* parent, int32_t level, char* out, int32_t size);
} ProfileFuncs;

/* One game's fixed description. Text fields are NUL-terminated 8-bit strings inside their
 * arrays; lists are ";"-separated (".tga;.jpg"). Fields a game does not use stay zero. */
typedef struct MapProfileRecord {
    void* owner;                /* the registering plugin library; written by the editor */
    const ProfileFuncs* funcs;  /* may be null */
    uint32_t capabilities;      /* MAP_PROFILE_* bits */
    char name[64];              /* the key game configurations refer to */
    char title[64];             /* game title shown to the user */
    char compiledExtension[16]; /* ".bsp" */
    char textureExtensions[128];
    char packageExtensions[128]; /* effect scripts */
    char archiveExtensions[128];
    char spriteExtensions[128];
    char modelExtensions[128];
    char soundExtensions[128];
    char particleExtensions[128];
    char instanceExtensions[128];
    char scriptExtensions[128];
    char skyExtensions[128];
    char skySuffixes[64]; /* sky-face suffix list */
    char spriteFolder[64];
    char modelFolder[64];
    char soundFolder[64];
    char particleFolder[64];
    char prefabFolder[64];
    char scriptFolder[64];
    char textureFolder[64];
    char shaderFolder[64]; /* effect scripts */
    char skyFolder[64];
    char csgSwitch[32]; /* compiler option switches; empty: option disabled */
    char bspSwitch[32];
    char visSwitch[32];
    char lightSwitch[32];
    char runSwitch[32]; /* between the game's command line and the map name */
    char playerStartClass[64];
    char lightClass[64];
    char decalClass[64];
    char defaultSky[64];
    char triggerTexture[64];
    char nullTexture[64];
    char wallTexture[64];
    char ceilingTexture[64];
    char floorTexture[64];
    char targetPrefixes[64];  /* special leading characters of names */
    uint32_t contentMask;     /* content bits a face keeps through texture changes */
    int32_t firstSurfaceFlag; /* bit of the first surface-flag check box */
    int32_t firstContentFlag; /* bit of the first content-flag check box */
} MapProfileRecord;

/* Capability bits of MapProfileRecord::capabilities named by the editor. */
#define MAP_PROFILE_PALETTE 0x2u /* textures and models use the configuration's palette file */
#define MAP_PROFILE_SURFACE_FLAGS 0x4u
#define MAP_PROFILE_CONTENT_FLAGS 0x8u
#define MAP_PROFILE_SURFACE_VALUE 0x10u
#define MAP_PROFILE_DECAL_CLASS 0x20u
#define MAP_PROFILE_CURVES 0x40u
#define MAP_PROFILE_RENDER_KEYS 0x100u
#define MAP_PROFILE_ALPHA_KEY 0x200u
#define MAP_PROFILE_SOUND_RELATIVE 0x400u
#define MAP_PROFILE_TEXTURE_RELATIVE 0x800u
#define MAP_PROFILE_SCRIPT_RELATIVE 0x1000u
#define MAP_PROFILE_NO_LIGHT_COLOR 0x2000u
#define MAP_PROFILE_SKY_NAME 0x8000u
#define MAP_PROFILE_SKY_AXIS 0x10000u
#define MAP_PROFILE_MODEL_PITCH_INVERTED 0x20000u
#define MAP_PROFILE_SAMPLE_SIZE 0x40000u

/* ---- Archives ----------------------------------------------------------------------------- */
typedef struct ArchiveHandle ArchiveHandle;

/* Each receives the format id the plugin registered first. Paths are UTF-8; names inside an
 * archive use "/". */
/* Non-zero when the archive was opened (its data stored in the handle). */
typedef int32_t (*kpLoadArchiveFn)(int32_t id, const char* path, ArchiveHandle* archive);
/* Non-zero when the archive holds the file. */
typedef int32_t (*kpFindArchiveFileFn)(int32_t id, ArchiveHandle* archive, const char* name);
/* The file's size (> 0) with a new Sys_Alloc buffer in *data that the caller frees; <= 0 when
 * not found. */
typedef int32_t (*kpLoadArchiveFileFn)(int32_t id, ArchiveHandle* archive, const char* name, void** data);
/* > 0 on success with *names a null-terminated Sys_Alloc array of Sys_Alloc names that the
 * caller frees (each name, then the array). */
/* Optional: the first maxBytes bytes of the file (all of a shorter one) as kpLoadArchiveFile gives
 * a whole file; <= 0 when not found. */
typedef int32_t (*kpLoadArchiveFileHeadFn)(int32_t id, ArchiveHandle* archive, const char* name,
                                           uint32_t maxBytes, void** data);
typedef int32_t (*kpListArchiveFilesFn)(int32_t id, ArchiveHandle* archive, const char* pattern,
                                        char*** names);
/* Optional: the file's size in bytes as kpLoadArchiveFile would give it, without reading it; < 0
 * when not found. */
typedef int64_t (*kpGetArchiveFileSizeFn)(int32_t id, ArchiveHandle* archive, const char* name);
typedef int32_t (*kpUnloadArchiveFn)(int32_t id, ArchiveHandle* archive);

/* Owner list node of an archive handle (editor-managed). */
typedef struct ArchiveOwnerNode {
    struct ArchiveOwnerNode* next;
    void* owner; /* a game configuration; null for a program archive */
} ArchiveOwnerNode;

/* Zero-filled by the editor; the plugin's kpLoadArchive stores its data pointer. */
struct ArchiveHandle {
    int32_t loaded; /* 1 once a format opened the archive */
    int32_t ownerCount;
    int32_t formatId;
    int32_t reserved;
    ArchiveOwnerNode* owners; /* newest first */
    void* data;               /* the plugin's archive data */
    kpFindArchiveFileFn findFile;
    kpLoadArchiveFileFn loadFile;
    kpListArchiveFilesFn listFiles;
    kpUnloadArchiveFn unload;
};

/* ---- Textures and effect packages --------------------------------------------------------- */
/* palette: 768 bytes (256 RGB triples) or null. The result is not read. */
typedef int32_t (*kpSetPaletteFn)(const uint8_t* palette);
/* 0 refuses the path as a texture name. */
typedef int32_t (*kpFilterTextureNameFn)(int32_t id, const char* path);
/* Loads the whole file image into an effect of that path; non-zero on success. */
typedef int32_t (*kpLoadTextureFn)(int32_t id, const char* path, const uint8_t* data, uint32_t size);
/* Optional: the whole file image's pixels (top row first) in a new editor block; null when refused.
   The path names the file in the decoder's warnings. */
typedef uint8_t* (*kpDecodeTextureFn)(int32_t id, const char* path, const uint8_t* data, uint32_t size,
                                      int32_t* width, int32_t* height, int32_t* components);
/* Optional: non-zero asks kpLoadTexture and the effect scripts to read image sizes only and
   upload without pixels, until it is called with zero; the editor turns it on while it loads
   packages from files it can read again, and decodes through kpDecodeTexture on first show. */
typedef void (*kpDeferTextureDecodingFn)(int32_t on);
/* One file for kpDecodeTextureJob: the editor fills size and the inputs, the plugin the results.
   The plugin keeps nothing of one job for another, writes nothing to the editor's console and
   calls no editor function but Sys_Alloc and Sys_Free, so the editor runs several jobs at once on
   worker threads (its own thread waiting) and prints each message itself. */
typedef struct TextureDecodeJob {
    int32_t size;        /* sizeof(TextureDecodeJob) */
    int32_t formatId;    /* the texture format's id */
    const char* path;    /* the file's name; not opened */
    const uint8_t* data; /* the whole file */
    uint32_t dataSize;
    int32_t width; /* results: the pixels' size and components (1, 3 or 4) */
    int32_t height;
    int32_t components;
    uint8_t* pixels;   /* a new Sys_Alloc block, top row first, that the editor frees; null when refused */
    char message[256]; /* why the file was refused, without its name; empty otherwise */
} TextureDecodeJob;
/* Optional, with kpDecodeTexture: kpDecodeTexture on a record; non-zero when decoded. */
typedef int32_t (*kpDecodeTextureJobFn)(TextureDecodeJob* job);
/* Optional: hands the plugin the editor's reader of a file's first maxBytes bytes (disk or
   archives; a zero-terminated block to free with Sys_Free, *size fewer than maxBytes when the file
   ends first; null when missing), so image sizes come without reading whole images while decoding
   waits. */
typedef char* (*kpReadFileHeadFn)(const char* path, uint32_t maxBytes, uint32_t* size);
typedef void (*kpSetFileHeadReaderFn)(kpReadFileHeadFn reader);
/* Non-zero on success; info[0] receives the package's entry count. */
typedef int32_t (*kpGetPackageInfoFn)(int32_t id, const char* path, int32_t* info);
/* Registers every entry of the package with the texture manager; non-zero on success. */
typedef int32_t (*kpLoadPackageFn)(int32_t id, const char* path);

/* ---- Sprites and models ------------------------------------------------------------------- */
typedef struct SpriteCacheEntry SpriteCacheEntry;
typedef struct ModelCacheEntry ModelCacheEntry;

/* Model drawing flags (kpRenderModel, kpGetModelBounds). */
#define MODEL_WIREFRAME 0x1
#define MODEL_NO_SHADING 0x2
#define MODEL_IGNORE_SCALE 0x8
#define MODEL_ITEM_MOTION 0x10
#define MODEL_CENTERED 0x20

/* data is the whole file; the function copies what it keeps. Non-zero on success. */
typedef int32_t (*kpLoadSpriteFn)(int32_t id, const char* path, const uint8_t* data, uint32_t size,
                                  SpriteCacheEntry* entry);
typedef int32_t (*kpUnloadSpriteFn)(int32_t id, SpriteCacheEntry* entry);
typedef int32_t (*kpLoadModelFn)(int32_t id, const char* path, const uint8_t* data, uint32_t size,
                                 ModelCacheEntry* entry);
typedef int32_t (*kpUnloadModelFn)(int32_t id, ModelCacheEntry* entry);
/* entity: the entity being drawn, or null. 1 when drawn. */
typedef int32_t (*kpRenderModelFn)(int32_t id, int32_t flags, ModelCacheEntry* entry,
                                   struct EntityRecord* entity);
/* Writes three floats each to mins and maxs; 1, or 0 without a model. */
typedef int32_t (*kpGetModelBoundsFn)(int32_t id, float* mins, float* maxs, int32_t flags,
                                      ModelCacheEntry* entry, struct EntityRecord* entity);

/* Zero-filled by the editor; the load function stores its data pointer. */
struct SpriteCacheEntry {
    int32_t loaded;
    int32_t refCount;
    int32_t formatId;
    int32_t type;                 /* orientation set by the format: 1..4, any other value faces the view */
    struct ShaderRecord* texture; /* a sprite named without extension is a texture */
    void* data;                   /* the plugin's sprite data */
    kpUnloadSpriteFn unload;
};

/* Zero-filled by the editor; the load function stores bounds, blended flag and data pointer. */
struct ModelCacheEntry {
    int32_t loaded;
    int32_t refCount;
    int32_t formatId;
    int32_t blended; /* 1 when a surface has a render state of its own */
    float mins[3];
    float maxs[3];
    void* data; /* the plugin's model data */
    kpRenderModelFn render;
    kpGetModelBoundsFn bounds;
    kpUnloadModelFn unload;
};

/* ---- Skies -------------------------------------------------------------------------------- */
/* Loads face 0..5 of a sky box from the whole file image into the effect's box images. */
typedef int32_t (*kpLoadSkyFn)(int32_t id, const uint8_t* data, uint32_t size, struct ShaderRecord* shader,
                               int32_t face);

/* ---- Map import and export ---------------------------------------------------------------- */
/* Reads (into the cleared world) or writes the file; 0 is failure. */
typedef int32_t (*kpMapFormatFn)(int32_t id, const char* path, struct MapWorld** map);
typedef kpMapFormatFn kpImportFn;
typedef kpMapFormatFn kpExportFn;

/* ---- Registration callbacks (the editor's, handed to the enumerators) -------------------- */
/* context is the value the editor passed to the enumerator; hand it back unchanged. */
typedef void (*kpProfileCallback)(const MapProfileRecord* profile, void* context);
/* 1 registered, 0 refused. */
typedef int32_t (*kpFormatCallback)(int32_t id, const char* name, const char* extension, void* context);
typedef void (*kpActionCallback)(const PluginAction* action, void* context);
typedef void (*kpPrimitiveCallback)(const PrimitiveEntry* primitive, void* context);
/* profile: the profile name; bit: 0..19 for surface flags, 0..31 for content flags; a null flag
 * name clears the bit's name. */
typedef void (*kpFlagCallback)(const char* profile, const char* flag, int32_t bit, void* context);

/* ---- Plugin exports ----------------------------------------------------------------------
 * Looked up by exact name; only kpMain is mandatory. The editor calls, in this order, kpMain
 * and then each registration export the plugin has: kpEnumProfiles, kpEnumExportFormats,
 * kpEnumImportFormats, kpEnumTextureFormats, kpEnumPackageFormats, kpEnumSkyFormats,
 * kpEnumSpriteFormats, kpEnumModelFormats, kpEnumArchiveFormats, kpEnumActions,
 * kpEnumPrimitives, kpEnumSurfaceFlags, kpEnumContentFlags. */
/* 0 accepts; a negative value refuses; a positive value is the plugin's own interface version
 * (refused, KP_INTERFACE_VERSION included). */
typedef int32_t (*kpMainFn)(const EngineFuncs* engine, int32_t version);
typedef int32_t (*kpEnumProfilesFn)(kpProfileCallback callback, void* context);
/* The count of formats registered (the editor prints it when non-zero). */
typedef int32_t (*kpEnumFormatsFn)(kpFormatCallback callback, void* context);
typedef kpEnumFormatsFn kpEnumExportFormatsFn;
typedef kpEnumFormatsFn kpEnumImportFormatsFn;
typedef kpEnumFormatsFn kpEnumTextureFormatsFn;
typedef kpEnumFormatsFn kpEnumPackageFormatsFn;
typedef kpEnumFormatsFn kpEnumSkyFormatsFn;
typedef kpEnumFormatsFn kpEnumSpriteFormatsFn;
typedef kpEnumFormatsFn kpEnumModelFormatsFn;
typedef kpEnumFormatsFn kpEnumArchiveFormatsFn;
typedef int32_t (*kpEnumActionsFn)(kpActionCallback callback, void* context);
/* The count of primitives registered. */
typedef int32_t (*kpEnumPrimitivesFn)(kpPrimitiveCallback callback, void* context);
typedef int32_t (*kpEnumFlagsFn)(kpFlagCallback callback, void* context);
typedef kpEnumFlagsFn kpEnumSurfaceFlagsFn;
typedef kpEnumFlagsFn kpEnumContentFlagsFn;

/* ---- Layout checks: every record's size and the offsets plugins rely on ------------------ */
#include "PluginInterfaceLayout.h"

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* ZARV_PLUGIN_INTERFACE_H */
