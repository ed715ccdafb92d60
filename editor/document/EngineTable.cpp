// The engine-function table: every editor function a plugin may call, in its fixed slot order.
#include "document/EngineTable.h"

#include "core/AppVersion.h"
#include "core/Script.h"
#include "core/System.h"
#include "core/TempBuffer.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/VisGroup.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/PluginDialogs.h"
#include "gamedata/PluginManager.h"
#include "gamedata/RenderApi.h"
#include "gamedata/TextureApi.h"
#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "map/MapPath.h"
#include "document/ObjectApi.h"

void Plugin_FillEngineFuncs(EngineFuncs* table) {
    if (!table) return;
    table->size = KP_ENGINE_FUNCS_SIZE;
    table->Sys_Printf = Sys_Printf;
    table->Sys_VerbosePrintf = Sys_VerbosePrintf;
    table->Sys_Warning = Sys_Warning;
    table->Sys_Error = Sys_Error;
    table->Sys_Alloc = Sys_Alloc;
    table->Sys_Free = Sys_Free;
    table->Sys_StrDup = Sys_StrDup;
    table->TempBuffer_GetSpace = TempBuffer_GetSpace;
    table->Sys_Seconds = Sys_Seconds;
    table->Sys_GetOption = Sys_GetOption;
    table->Sys_SetOption = Sys_SetOption;
    table->Render_PointSize = Render_PointSize;
    table->Render_LineWidth = Render_LineWidth;
    table->Render_BindShader = Render_BindShader;
    table->Render_BindImage = Render_BindImage;
    table->Render_SetPrimitive = Render_SetPrimitive;
    table->Render_Flush = Render_Flush;
    table->Render_Color4ub = Render_Color4ub;
    table->Render_ColorPacked = Render_ColorPacked;
    table->Render_TexCoord2f = Render_TexCoord2f;
    table->Render_TexCoord2fv = Render_TexCoord2fv;
    table->Render_Normal3fv = Render_Normal3fv;
    table->Render_Vertex3fv = Render_Vertex3fv;
    table->Render_GetStateBits = Render_GetStateBits;
    table->Render_SetStateBits = Render_SetStateBits;
    table->Render_GetContext = Render_GetContext;
    table->Render_GetMinAlpha = Render_GetMinAlpha;
    table->Render_ShadeForNormal = Render_ShadeForNormal;
    table->Script_LoadFile = Script_LoadFile;
    table->Script_LoadMemory = Script_LoadMemory;
    table->Script_Token = Script_Token;
    table->Script_Line = Script_Line;
    table->Script_Error = Script_Error;
    table->Script_HasError = Script_HasError;
    table->Script_ClearError = Script_ClearError;
    table->Script_GetToken = Script_GetToken;
    table->Script_TryGetToken = Script_TryGetToken;
    table->Script_UngetToken = Script_UngetToken;
    table->Script_TokenAvailable = Script_TokenAvailable;
    table->Script_MatchToken = Script_MatchToken;
    table->Script_CheckToken = Script_CheckToken;
    table->Script_SkipRestOfLine = Script_SkipRestOfLine;
    table->Script_ParseVector = Script_ParseVector;
    table->Script_ParseMatrix = Script_ParseMatrix;
    table->Script_ParseMatrixArray = Script_ParseMatrixArray;
    table->Script_Close = Script_Close;
    table->Script_SetFlags = Script_SetFlags;
    table->Script_GetFlags = Script_GetFlags;
    table->Script_BlockLength = Script_BlockLength;
    table->Script_CopyBlock = Script_CopyBlock;
    table->Script_SkipBlock = Script_SkipBlock;
    table->Script_NeedsQuotes = Script_NeedsQuotes;
    table->Sys_GetGameDir = Sys_GetGameDir;
    table->Sys_GetModDir = Sys_GetModDir;
    table->Sys_FindFile = Sys_FindFile;
    table->Sys_NativePath = Sys_NativePath;
    table->Sys_FileExists = Sys_FileExists;
    table->Sys_LoadFile = Sys_LoadFile;
    table->Sys_CreatePath = Sys_CreatePath;
    table->Math_SnapVector = Math_SnapVector;
    table->Math_SnapFloats = Math_SnapFloats;
    table->Sys_SnapToGrid = Sys_SnapToGrid;
    table->Sys_SnapVector = Sys_SnapVector;
    table->App_GetVersionString = App_GetVersionString;
    table->Sys_GetTextureGamma = Sys_GetTextureGamma;
    table->App_GetActiveMap = GameData_ActiveMap;
    table->Map_ApiGetTexturePackageList = Map_ApiGetTexturePackageList;
    table->Entity_Create = Entity_Create;
    table->Entity_Update = Entity_Update;
    table->Entity_SetColor = Entity_SetColor;
    table->Entity_GetColor = Entity_GetColor;
    table->Entity_AddToVisGroup = Object_AddToVisGroup;
    table->Entity_RemoveFromVisGroup = Object_RemoveFromVisGroup;
    table->Entity_GetVisGroupCount = Object_GetVisGroupCount;
    table->Entity_GetVisGroupId = Object_GetVisGroupId;
    table->Entity_FindByClassname = Entity_FindByClassname;
    table->Entity_FindByTargetname = Entity_FindByTargetname;
    table->Entity_FindByKeyValue = Entity_FindByKeyValue;
    table->Brush_Create = Brush_Create;
    table->Brush_Delete = Brush_Delete;
    table->Brush_SetColor = Brush_SetColor;
    table->Brush_GetColor = Object_GetColor;
    table->Brush_AddToVisGroup = Object_AddToVisGroup;
    table->Brush_RemoveFromVisGroup = Object_RemoveFromVisGroup;
    table->Brush_GetVisGroupCount = Object_GetVisGroupCount;
    table->Brush_GetVisGroupId = Object_GetVisGroupId;
    table->Face_Create = Face_Create;
    table->Face_Delete = Face_Delete;
    table->Patch_Create = Patch_Create;
    table->Patch_Delete = Patch_Delete;
    table->Patch_SmoothColumns = Patch_SmoothColumns;
    table->Patch_NaturalizeTexture = Patch_NaturalizeTexture;
    table->Patch_FitTexture = Patch_FitTexture;
    table->Overlay_Create = Overlay_Create;
    table->Overlay_Delete = Overlay_Delete;
    table->Path_Create = Path_Create;
    table->Path_Delete = Path_Delete;
    table->Node_Append = Node_Append;
    table->Node_InsertBefore = Node_InsertBefore;
    table->Node_Delete = Node_Delete;
    table->Group_Create = Group_Create;
    table->Group_Delete = Group_Delete;
    table->Group_SetParent = Group_SetParent;
    table->Group_AddBrush = Group_AddBrush;
    table->Group_AddEntity = Group_AddEntity;
    table->Group_SetColor = Group_SetColor;
    table->Group_GetColor = Object_GetColor;
    table->Camera_Create = Camera_Create;
    table->Camera_Delete = Camera_Delete;
    table->Camera_SetColor = Camera_SetColor;
    table->Camera_GetColor = Object_GetColor;
    table->Camera_SetEyeAndTarget = Camera_SetEyeAndTarget;
    table->Tex_AcquireShaderByName = Tex_AcquireShaderByName;
    table->Tex_FindOrCreateShader = Tex_FindOrCreateShader;
    table->Plugin_ReleaseShader = Plugin_ReleaseShader;
    table->Plugin_AddShaderStage = Plugin_AddShaderStage;
    table->Plugin_FreeShaderData = Plugin_FreeShaderData;
    table->Plugin_FinishShader = Plugin_FinishShader;
    table->Plugin_FindImage = Plugin_FindImage;
    table->Plugin_WhiteImage = Plugin_WhiteImage;
    table->Plugin_BlackImage = Plugin_BlackImage;
    table->Plugin_UploadImage = Plugin_UploadImage;
    table->Plugin_FreeImage = Plugin_FreeImage;
    table->VisGroup_Create = VisGroup_Create;
    table->VisGroup_Delete = VisGroup_Delete;
    table->VisGroup_Set = VisGroup_Set;
    table->VisGroup_GetCount = VisGroup_GetCount;
    table->VisGroup_FindIndex = VisGroup_FindIndex;
    table->VisGroup_GetInfo = VisGroup_GetInfo;
    table->VisGroup_Renumber = VisGroup_Renumber;
    table->Undo_BeginStep = Undo_BeginStep;
    table->Undo_EndStep = Undo_EndStep;
    table->Entity_RecordUndoCreated = Entity_RecordUndoCreated;
    table->Brush_RecordUndoCreated = Brush_RecordUndoCreated;
    table->Group_RecordUndoCreated = Group_RecordUndoCreated;
    table->Path_RecordUndoCreated = Path_RecordUndoCreated;
    table->Node_RecordUndoCreated = Node_RecordUndoCreated;
    table->Entity_RecordUndoDeleted = Entity_RecordUndoDeleted;
    table->Brush_RecordUndoDeleted = Brush_RecordUndoDeleted;
    table->Group_RecordUndoDeleted = Group_RecordUndoDeleted;
    table->Path_RecordUndoDeleted = Path_RecordUndoDeleted;
    table->Node_RecordUndoDeleted = Node_RecordUndoDeleted;
    table->Entity_RecordUndoModified = Entity_RecordUndoModified;
    table->Brush_RecordUndoModified = Brush_RecordUndoModified;
    table->Face_RecordUndoModified = Face_RecordUndoModified;
    table->Path_RecordUndoModified = Path_RecordUndoModified;
    table->Node_RecordUndoModified = Node_RecordUndoModified;
    table->Undo_RecordSelectedBrushesCreated = Undo_RecordSelectedBrushesCreated;
    table->Undo_RecordSelectedEntitiesCreated = Undo_RecordSelectedEntitiesCreated;
    table->Undo_RecordSelectedNodesCreated = Undo_RecordSelectedNodesCreated;
    table->Undo_RecordSelectedBrushesDeleted = Undo_RecordSelectedBrushesDeleted;
    table->Undo_RecordSelectedEntitiesDeleted = Undo_RecordSelectedEntitiesDeleted;
    table->Undo_RecordSelectedNodesDeleted = Undo_RecordSelectedNodesDeleted;
    table->Undo_RecordSelectedBrushesChanged = Undo_RecordSelectedBrushesChanged;
    table->Undo_RecordSelectedEntitiesChanged = Undo_RecordSelectedEntitiesChanged;
    table->Undo_RecordSelectedFacesChanged = Undo_RecordSelectedFacesChanged;
    table->Undo_RecordSelectedNodesChanged = Undo_RecordSelectedNodesChanged;
    Plugin_FillDialogEntries(table);
}
