// The user's preferences: one member per key of "KDKSettings.ini", named after the key, with its
// default. Reading and writing the file come with the main window.
#pragma once

#include <QDir>
#include <QString>
#include <cstdint>

struct MainSettings {
    // Top level.
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
    float MapVertexRoundEps = 0.01f;
    bool KeepDefaultEpairs = false;

    // "View2D".
    int32_t FixedDegreeRotation = 15;
    bool DrawVertices = true;
    bool UseVisgroupColors = true;
    bool ReorientPrimitives = false;
    bool KeepCloneVisGroup = false;
    int32_t GridDefaultSize = 32;
    bool EnableGrid2D = true;

    // "View3D".
    int32_t CameraFOV = 90;
    float MinAlphaValue = 0.2f; // alpha-test reference 0..1 (0..255 in the file)
    bool EnableGrid3D = false;

    // "Map".
    bool SnapToGrid = true;
    bool IgnoreMapExportInfo = false;

    // "View".
    bool TextureTransparency = true;
    bool EntityTransparency = true;
    int32_t HideMask = 0;

    // "Autosave".
    bool BackupFiles = true;
    bool AutosaveToCurrentDir = true;
    int32_t AutosaveLimit = 5; // 0 keeps every autosave
    QString AutosaveDir = QDir::toNativeSeparators(QDir::homePath()) + QStringLiteral("/Z.A.R.V.Autosave");

    // "Tools".
    bool TextureLock = true;
    bool TextureLockScale = false;
    bool TextureLockUV = false;
    bool TextureFaceAlign = false;
    bool IgnoreGroups = false;
    bool EnableCordon = false;

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
