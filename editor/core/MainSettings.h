// The user's preferences: one member per key of "KDKSettings.ini", named after the key, with its
// default. The key table in SettingsFile.cpp reads and writes them.
#pragma once

#include <QDir>
#include <QString>
#include <cstdint>

struct MainSettings {
    // Top level.
    bool IndependentWindows = false;
    bool CreateDefaultWindows = true;
    bool AutoActivateWindows = true;
    bool ModelAltScale = true;
    bool SmallToolIcons = false;
    bool SkipFitDialog = false;
    bool HalfSizeTextures = false;
    int32_t MinHalfSizeTextureDims = 128;
    bool TextureCompression = false;
    bool TextureNPOT = true;
    bool AutoMipmaps = true;
    int32_t TextureQuality = 0; // 0 asks for the choice by physical memory
    bool SnapOnMove = true;
    int32_t SkipAdvertisement = 0; // 2 skips the advertisement at start-up
    bool DefaultSmartEdit = true;
    bool UseCullTree = true;
    bool DrawCullTree = false;
    bool TransformAngles = true;
    bool DontSnapPrimitivePoints = false;
    bool StretchArches = true;
    bool RestoreCutObjects = true;
    bool KeepInternalConnections = true;
    bool SkipDefaultRoomDialog = false;
    bool UndoEnabled = true;
    int32_t UndoLevels = 50;     // stored as at least 5
    int32_t MaxWorldSize = 8192; // the world box is ±MaxWorldSize/2 on each axis
    int32_t SelectionBulletSize = 8;
    bool NoPolyOffset = false;
    int32_t VertexToolBulletSize = 8;
    bool PreciseModelSelection = true;
    bool AnisotropicFilter = false;
    int32_t CurrentColorScheme = 0; // -1 the custom scheme
    float MapVertexRoundEps = 0.01f;
    bool KeepDefaultEpairs = false;
    bool NoPrecache = true;       // game configurations are precached when a document takes them
    bool LoadFromArchives = true; // precaching opens the configuration's archives

    // "RecentFiles".
    QString RecentMapDirectory;
    QString RecentExportDirectory;
    QString RecentOpenFilter;
    QString RecentSaveFilter;
    QString RecentExportFilter;

    // "View2D".
    bool CrosshairCursor = true;
    bool DefaultFixedDegreeRotation = false;
    int32_t FixedDegreeRotation = 15;
    bool EnableScrollbars = true;
    bool DrawVertices = true;
    bool DrawModels = true;
    bool DrawCamera = true;
    bool FastCamera = true;
    bool DrawSizingInfo = false;
    bool ClipSizingInfo = false;
    bool CenterOnCamera = false;
    bool UseVisgroupColors = true;
    bool ArrowKeyNudge = true;
    bool ReorientPrimitives = false;
    bool SelectAuto = false;
    bool SelectByHandles = false;
    bool SelectCurves = true;
    bool SelectMouseMove = false;
    bool KeepCloneVisGroup = false;
    int32_t GridDefaultSize = 32;
    int32_t GridHighlightStep = 8;
    bool GridHighlight = true;
    bool HideSmallGrid = true;
    bool DottedGrid = false;

    // "View3D".
    int32_t BackClip = 5000;
    int32_t Sensitivity = 10;
    int32_t TextureFilter = 1;
    bool Antialiasing = false;
    bool Transparency = true;
    bool TransparentSort = true;
    bool AnimateModels = true;
    bool AnimateShaders = false;
    bool DrawSky = false;
    int32_t ModelRenderDistance = 500;
    bool EnergySavingMode = false;
    bool LimitFPS = true;
    bool Mouselook = true;
    bool MouseReverseY = false;
    bool TabletPenInput = false;
    int32_t ForwardSpeed = 1000;
    int32_t TimeToTopSpeed = 500;
    int32_t CameraFOV = 90;
    bool AlphaBuffer = true;
    float MinAlphaValue = 0.2f; // alpha-test reference 0..1 (0..255 in the file)

    // "Map".
    bool EnableGrid2D = true;
    bool EnableGrid3D = false;
    bool SnapToGrid = true;
    bool IgnoreMapExportInfo = false;

    // "View".
    bool ShowConnections = false;
    bool DrawNoDraw = true;
    bool DrawHint = true;
    bool DrawClip = true;
    bool DrawTrigger = true;
    bool TextureTransparency = true;
    bool EntityTransparency = true;
    int32_t HideMask = 0;
    int32_t CanvasConfig = 0; // the map windows' layout word; 0 none stored
    bool EnableGridUV = false;
    float DistanceGridUV = 1024.0f;
    bool SelOverlaySkipDepth = false;

    // "Compiler".
    bool ExpertMode = false;
    bool EnableCordon = false;

    // "Autosave".
    bool BackupFiles = true;
    bool AutosaveEnable = false;
    bool AutosaveOnChanges = true;
    bool AutosaveBeep = true;
    int32_t AutosaveDelay = 5; // minutes; the timer uses at least one
    bool AutosaveToCurrentDir = true;
    int32_t AutosaveLimit = 5; // 0 keeps every autosave
    QString AutosaveDir = QDir::toNativeSeparators(QDir::homePath()) + QStringLiteral("/Z.A.R.V.Autosave");

    // "Tools".
    bool TextureLock = true;
    bool TextureLockScale = false;
    bool TextureLockUV = false;
    bool TextureFaceAlign = false;
    bool IgnoreGroups = false;
    bool VertexToolRestrict = false;
    bool VertexToolCoplanarMerge = true;
    bool ClearSelectionOnEscape = false;
    bool KeepHideMask = true;
    bool HideIncompleteShaders = true;
    bool TextureBrowserAnimate = false;
    int32_t TextureBrowserScaleMode = 6; // "128 x 128": a page shows many of a real game's textures

    // "Updates".
    bool AutoUpdateCheck = true;
    QString Server; // the update server, "http://host:port"; none by default

    // "EntityReport": the entity report dialog's last filter, in the order it exchanges them.
    int32_t Type = 0; // 0 everything, 1 brush entities, 2 point entities
    bool bHidden = false;
    bool bKVD = false;
    bool bClass = false;
    bool bExact = false;
    QString ClassFilter;
    QString KeyFilter;
    QString ValueFilter;

    // "PasteSpecial": the last values of the paste-special dialog.
    int32_t NumCopies = 1;
    int32_t PasteFlags = 0;
    float OffsetX = 0.0f;
    float OffsetY = 0.0f;
    float OffsetZ = 0.0f;
    float RotationX = 0.0f;
    float RotationY = 0.0f;
    float RotationZ = 0.0f;

    // Not a key: the grid size in use, which starts from GridDefaultSize.
    int32_t CurrentGridSize = 32;
};
