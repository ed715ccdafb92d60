#include "document/MapDocument.h"

#include "core/SysHost.h"
#include "document/ProjectHooks.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryFile>
#include <cstdio>

#include "core/FileLookup.h"
#include "core/MainSettings.h"
#include "core/Prompt.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "core/WaitScope.h"
#include "document/Clipboard.h"
#include "gamedata/TextureLists.h"
#include "document/CullTree.h"
#include "document/DocumentHost.h"
#include "document/SelectionBox.h"
#include "document/DefaultRoom.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "document/VisGroup.h"
#include "document/WorldRefresh.h"
#include "document/ZmfFile.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameData.h"
#include "gamedata/GameConfig.h"
#include "gamedata/ModelCache.h"
#include "gamedata/TextureDecoding.h"
#include "gamedata/TextureRecords.h"
#include "gamedata/MapFormats.h"
#include "gamedata/MapProfile.h"
#include "map/MapCamera.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/OverlayRecord.h"
#include "map/PatchRecord.h"

namespace {

// The number of the next new map: process-wide, never reused.
int32_t s_newMapCounter = 1;

// Restores the cursor on every way out of a file operation.
class cWaitCursor {
public:
    cWaitCursor() : active(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (active) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~cWaitCursor() {
        if (active) QGuiApplication::restoreOverrideCursor();
    }
    cWaitCursor(const cWaitCursor&) = delete;
    cWaitCursor& operator=(const cWaitCursor&) = delete;

private:
    bool active;
};

GameConfigManager* configManager() {
    return GameCfg_Manager();
}

void bindConfig(MapDocument* document, GameConfig* config) {
    if (document->gameConfig == config) return;
    if (document->gameConfig) --document->gameConfig->inUseCount;
    document->gameConfig = config;
    document->gameConfigName = config ? config->Title : QString();
    if (config) ++config->inUseCount;
}

void makeConfigCurrent(MapDocument* document) {
    if (GameConfigManager* manager = configManager()) {
        manager->makeCurrent(document->gameConfig);
        manager->currentProfile = GameCfg_CurrentProfile(manager);
    }
}

// The plugin of the current map profile; null for the built-in empty profile.
void* currentProfilePlugin(QString* profileName) {
    if (!GameCfg_HasCurrentProfile(configManager())) return nullptr;
    const MapProfileRecord* profile = GameCfg_CurrentProfile(configManager());
    if (profileName) *profileName = profile->name;
    return profile->owner;
}

QString lowerExtension(const QString& path) {
    return QStringLiteral(".") + QFileInfo(path).suffix().toLower();
}

bool isZmf(const QString& path) {
    return QFileInfo(path).suffix().compare(QStringLiteral("zmf"), Qt::CaseInsensitive) == 0;
}

void setIdentity(MapDocument* document, const QString& path) {
    document->isNew = false;
    document->modified = false;
    document->filePath = path;
    document->title = QFileInfo(path).fileName();
    Project_UpdateTitles(document);
}

// Writes the file under a temporary name in the target's folder and renames it over the
// target only when the writer succeeded, so a failed save never destroys the previous file.
template <typename Writer> bool writeReplacing(const QString& path, Writer&& write) {
    const QFileInfo target(path);
    const QString suffix = target.suffix().isEmpty() ? QString() : QStringLiteral(".") + target.suffix();
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.completeBaseName() +
                        QStringLiteral("-XXXXXX") + suffix);
    if (!temp.open()) {
        Sys_Error("Unable to write \"%s\": %s", Text_ToWindows1251(path).constData(),
                  Text_ToWindows1251(temp.errorString()).constData());
        return false;
    }
    temp.close();
    const QString tempPath = temp.fileName();
    if (!write(tempPath)) return false; // the temporary file goes with `temp`

    // A new file gets the usual permissions, a replaced one keeps its own.
    const QFileDevice::Permissions permissions = target.exists()
                                                     ? QFile::permissions(path)
                                                     : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                           QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(tempPath, permissions);
    if (std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(path).constData()) != 0) {
        Sys_Error("Unable to write \"%s\"", Text_ToWindows1251(path).constData());
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}

bool runPluginExport(MapDocument* document, const QString& path, void* plugin, const QString& ext,
                     MapFormatResult* result) {
    *result = MapFormatResult::NoFormat;
    return writeReplacing(path, [&](const QString& tempPath) {
        *result =
            MapFormat_Run(MapFormatDirection::Export, plugin, ext, tempPath, Map_Handle(document->world));
        return *result == MapFormatResult::Done;
    });
}

// The ".map" export itself, without touching the document's export state.
bool exportFile(MapDocument* document, const QString& path, bool makeBackup) {
    Sys_ForgetFoundFiles(); // the file and its backup may land in a game folder
    const QFileInfo file(path);
    if (makeBackup && file.exists()) Project_Backup(file);
    QString profileName;
    void* plugin = currentProfilePlugin(&profileName);
    if (!plugin) return false;
    MapFormatResult result;
    if (runPluginExport(document, path, plugin, QStringLiteral(".map"), &result)) return true;
    if (result == MapFormatResult::NoFormat) Sys_Error("map format is not supported");
    return false;
}

// The project file itself (reader and writer report their own errors).
bool readZmf(MapDocument* document, MapWorld* world, const QString& path) {
    ProjectSerializer s;
    s.document = document;
    s.map = Map_Handle(world);
    s.path = path;
    s.askBugFix = [](const QString& question) {
        // The question is the user's: no wait cursor over it.
        const bool gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
        if (gui) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        const bool yes = Prompt_Question(nullptr, PromptIcon::Warning, question,
                                         PromptButton::Yes | PromptButton::No) == PromptButton::Yes;
        if (gui) QGuiApplication::restoreOverrideCursor();
        return yes;
    };
    if (!Project_ReadFile(s)) return false;
    if (s.exportInfoRead && !s.exportPath.isEmpty()) {
        document->exportPath = s.exportPath;
        document->confirmExportPath = true;
    }
    return true;
}

// The writer replaces the target only when the new file is complete.
bool writeZmf(MapDocument* document, const QString& path) {
    ProjectSerializer s;
    s.document = document;
    s.map = Map_Handle(document->world);
    s.path = path;
    s.writing = 1;
    s.exportPath = document->exportPath;
    return Project_WriteFile(s);
}

// A project file, or an import through the current profile's plugin (any plugin's format of the
// extension when the profile's has none).
bool readWorld(MapDocument* document, MapWorld* world, const QString& path) {
    if (isZmf(path)) return readZmf(document, world, path);
    const QString ext = lowerExtension(path);
    QString profileName;
    void* plugin = currentProfilePlugin(&profileName);
    if (!plugin) return false;
    MapFormatResult result = MapFormat_Run(MapFormatDirection::Import, plugin, ext, path, Map_Handle(world));
    if (result == MapFormatResult::NoFormat) {
        Sys_Warning("map format is not native for \"%s\", loading anyway...",
                    Text_ToWindows1251(profileName).constData());
        result = MapFormat_Run(MapFormatDirection::Import, nullptr, ext, path, Map_Handle(world));
    }
    if (result == MapFormatResult::NoFormat) Sys_Error("map format is not supported");
    return result == MapFormatResult::Done;
}

// Brush faces, patches and overlays whose texture no package provides.
int32_t missingTextureFaces(const MapWorld* world) {
    int32_t count = 0;
    for (const EntityRecord* e = world->entities; e; e = e->next)
        for (const BrushRecord* b = e->firstBrush; b; b = b->next) {
            for (const FaceRecord* f = b->firstFace; f; f = f->next)
                count += Shader_IsMissing(f->texture);
            count += b->patch && Shader_IsMissing(b->patch->texture);
            count += b->overlay && Shader_IsMissing(b->overlay->texture);
        }
    return count;
}

} // namespace

// ---- Construction ------------------------------------------------------------------------------

int32_t Project_UndoLevelCount() {
    return std::max(Sys_Settings().UndoLevels, kUndoMinLevels);
}

void Project_Construct(MapDocument* document) {
    document->isNew = true;
    document->modified = false;
    document->saveAsked = false;
    document->confirmExportPath = false;
    document->exported = false;
    document->filePath.clear();
    document->exportPath.clear();
    document->title.clear();
    document->gameConfigName.clear();
    document->gameConfig = nullptr;
    document->windows.clear();
    for (SelectionBox& box : document->selectionBoxes)
        Select_ClearBox(&box);

    document->world = new MapWorld{};
    Map_InitWorld(document->world, document);
    document->undo = new UndoHistory{};
    const bool undoEnabled = Sys_Settings().UndoEnabled;
    Undo_InitHistory(document->undo, Map_Handle(document->world), Project_UndoLevelCount(), undoEnabled);
    if (!undoEnabled) Undo_Reset(document->undo);
    document->createdAt = QTime::currentTime();
}

void Project_Destroy(MapDocument* document) {
    if (!document) return;
    // The clipboard must not go on reaching into this world (its history) once it is freed.
    Clipboard* clipboard = Document_Host().clipboard();
    if (clipboard && document->world) Clip_ForgetMap(clipboard, Map_Handle(document->world));
    bindConfig(document, nullptr);
    for (SelectionBox& box : document->selectionBoxes)
        Select_ClearBox(&box);
    if (document->undo) {
        Undo_Reset(document->undo);
        delete document->undo;
        document->undo = nullptr;
    }
    if (document->world) {
        Map_DestroyWorld(document->world);
        delete document->world;
        document->world = nullptr;
    }
}

MapDocument* Project_FromWorld(const MapWorld* world) {
    return world ? world->owner : nullptr;
}

MapDocument* Project_FromHandle(MapHandle map) {
    return Project_FromWorld(Map_FromHandle(map));
}

// ---- New and load ------------------------------------------------------------------------------

int32_t Project_NextMapNumber() {
    return s_newMapCounter;
}

bool Project_New(MapDocument* document) {
    const bool shift = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
    if (!Project_ChooseGameConfig(document)) return false;

    document->isNew = true;
    document->modified = false;
    document->filePath.clear();
    document->exportPath.clear();
    document->title = QStringLiteral("Map%1").arg(s_newMapCounter++);

    MapWorld* world = document->world;
    Map_ClearWorld(world);
    Model_PurgeUnused(); // models of closed maps go before the new map's are needed
    makeConfigCurrent(document);

    DefaultRoomParameters room;
    bool roomAccepted = false;
    if (!Sys_Settings().SkipDefaultRoomDialog || shift)
        roomAccepted = Project_AskDefaultRoom(GameCfg_CurrentProfile(configManager()), &room);

    makeConfigCurrent(document);
    TexList_RemoveUngrouped(GameCfg_CurrentTextureLists());

    const EntityClass* worldClass = Fgd_FindWorldClass(document->gameConfig);
    const QByteArray classname = worldClass ? worldClass->name : QByteArray("worldspawn");
    const float origin[3] = {0, 0, 0};
    EntityRecord* entity = Entity_Create(Map_Handle(world), classname.constData(), origin,
                                         EntityFlag::World | EntityFlag::NeedsUpdate);
    if (cMapEntity* handle = cMapEntity::fromRecord(entity)) {
        handle->applyClassKeys(true);
        handle->update(EntityUpdate::SkyKeys);
    }

    if (roomAccepted) Map_CreateDefaultRoom(Map_Handle(world), document->gameConfig, room);

    TexList_AddUngrouped(GameCfg_CurrentTextureLists());
    Map_CreateCullTree(world);
    Sys_Printf("Created new project with game configuration \"%s\"",
               Text_ToWindows1251(document->gameConfigName).constData());
    return true;
}

bool Project_Load(MapDocument* document, const QString& path, GameConfig* config) {
    if (config)
        bindConfig(document, config);
    else if (!Project_ChooseGameConfig(document))
        return false;

    cWaitCursor cursor;
    // The file is read into a fresh world that replaces the document's only when the read
    // succeeded: a file that cannot be opened or read leaves the open map as it was.
    MapWorld* world = new MapWorld{};
    Map_InitWorld(world, document);
    const QString previousExportPath = document->exportPath;
    document->exportPath.clear();
    makeConfigCurrent(document);
    TexList_RemoveUngrouped(GameCfg_CurrentTextureLists());

    if (!readWorld(document, world, path)) {
        Map_DestroyWorld(world);
        delete world;
        document->exportPath = previousExportPath;
        TexList_AddUngrouped(GameCfg_CurrentTextureLists());
        return false;
    }
    MapWorld* previous = document->world;
    document->world = world;
    if (document->undo) document->undo->world = Map_Handle(world);
    Map_DestroyWorld(previous);
    delete previous;
    Model_PurgeUnused(); // the closed map's models go; the new map holds what it uses

    TexList_AddUngrouped(GameCfg_CurrentTextureLists());
    Map_RefreshAfterLoad(world);
    Map_UpdateSky(world);
    Map_UpdateVisGroupStates(world);
    Map_CreateCullTree(world);

    setIdentity(document, path);
    Sys_Printf("Loaded project with game configuration \"%s\"",
               Text_ToWindows1251(document->gameConfigName).constData());
    if (const int32_t missing = missingTextureFaces(world))
        Sys_Warning("%i faces of the map have no texture (Map > Check for problems lists them)", missing);
    return true;
}

// ---- Save, backup and export ---------------------------------------------------------------------

QString Project_BackupPath(const QFileInfo& file) {
    QString suffix = file.suffix();
    if (suffix.isEmpty())
        suffix = QStringLiteral("x");
    else if (suffix.endsWith(QLatin1Char('x'), Qt::CaseInsensitive))
        suffix += suffix.back();
    else
        suffix.back() = QLatin1Char('x');
    return QStringLiteral("%1/%2.%3").arg(file.absolutePath(), file.completeBaseName(), suffix);
}

bool Project_Backup(const QFileInfo& file) {
    const QString backup = Project_BackupPath(file);
    if (QFileInfo::exists(backup)) QFile::remove(backup);
    if (!QFile::copy(file.absoluteFilePath(), backup)) {
        Sys_Error("Z.A.R.V. was unable to backup the existing file \"%s\". Please verify that the there is "
                  "space on the hard drive and that the path still exists.",
                  Text_ToWindows1251(file.filePath()).constData());
        return false;
    }
    Sys_Printf("Backup: \"%s\"", Text_ToWindows1251(backup).constData());
    return true;
}

bool Project_Save(MapDocument* document, const QString& path, bool makeBackup, bool keepIdentity) {
    const QFileInfo file(path);
    const bool exists = file.exists();
    cWaitCursor cursor;
    Sys_ForgetFoundFiles(); // the file and its backup may land in a game folder
    // Any other path, an autosave copy too: the remembered export path is confirmed before reuse.
    if (path != document->filePath) document->confirmExportPath = true;
    if (makeBackup && exists) Project_Backup(file);

    bool written = false;
    if (isZmf(path)) {
        written = writeZmf(document, path);
    } else {
        QString profileName;
        void* plugin = currentProfilePlugin(&profileName);
        if (!plugin) return false;
        MapFormatResult result;
        written = runPluginExport(document, path, plugin, lowerExtension(path), &result);
        if (result == MapFormatResult::NoFormat)
            Sys_Error("map format is not supported (please save the project as either ZMF or any format "
                      "supported by %s plugin)",
                      Text_ToWindows1251(profileName).constData());
    }
    if (!written) return false;
    if (!keepIdentity) setIdentity(document, path);
    return true;
}

bool Project_Export(MapDocument* document, const QString& path, bool makeBackup) {
    cWaitCursor cursor;
    document->exported = false;
    if (!exportFile(document, path, makeBackup)) return false;
    document->exportPath = path;
    document->confirmExportPath = false;
    document->exported = true;
    return true;
}

bool Project_ExportCopy(MapDocument* document, const QString& path) {
    cWaitCursor cursor;
    return exportFile(document, path, false);
}

// ---- Close question and windows -------------------------------------------------------------------

bool Project_AskSaveChanges(MapDocument* document) {
    if (!document->modified) return true;
    const int32_t answer = Prompt_Question(nullptr, PromptIcon::Warning,
                                           QStringLiteral("Save changes to %1?").arg(document->title),
                                           PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
    if (answer == PromptButton::No) return true;
    if (answer != PromptButton::Yes) return false;

    QString path = document->filePath;
    if (path.isEmpty()) {
        const QString start = document->gameConfig ? document->gameConfig->MapSourceFileDirectory : QString();
        path = Prompt_GetSaveFileName(nullptr, QStringLiteral("Save Project"), start,
                                      QStringLiteral("Map Projects (*.zmf)"));
        if (path.isEmpty()) return false;
        if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".zmf");
    }
    const bool saved = Project_Save(document, path, Sys_Settings().BackupFiles, false);
    if (saved && Project_WindowHooks().savedAfterQuestion) Project_WindowHooks().savedAfterQuestion(path);
    return saved;
}

void Project_SetModified(MapDocument* document) {
    if (!document) return;
    document->modified = true;
    Project_UpdateTitles(document);
}

void Project_SetModified(MapHandle map) {
    Project_SetModified(Project_FromHandle(map));
}

void Project_UpdateTitles(MapDocument* document) {
    const QString mark = document->modified ? QStringLiteral("*") : QString();
    DocumentHost& host = Document_Host();
    if (document->windows.size() == 1) {
        host.setWindowTitle(document->windows.first(), document->title + mark);
        return;
    }
    for (qsizetype i = 0; i < document->windows.size(); ++i)
        host.setWindowTitle(document->windows[i],
                            QStringLiteral("%1:%2").arg(document->title).arg(i + 1) + mark);
}

void Project_AddWindow(MapDocument* document, cChildWindow* window) {
    if (!window || document->windows.contains(window)) return;
    Document_Host().attachWindow(window, document);
    document->windows.append(window);
}

void Project_RemoveWindow(MapDocument* document, cChildWindow* window) {
    document->windows.removeAll(window);
}

bool Project_OnChildWindowClose(MapDocument* document, cChildWindow* window) {
    const bool last = document->windows.size() == 1 && document->windows.first() == window;
    if (last && !Project_AskSaveChanges(document)) return false;
    Project_RemoveWindow(document, window);
    if (!document->windows.isEmpty())
        Project_UpdateTitles(document);
    else
        document->saveAsked = true; // the main window closes the document now
    return true;
}

bool Project_CloseAllWindows(MapDocument* document) {
    if (!document->saveAsked && !Project_AskSaveChanges(document)) return false;
    const QList<cChildWindow*> windows = document->windows;
    for (cChildWindow* window : windows)
        Document_Host().closeWindow(window);
    document->windows.clear();
    return true;
}

void Project_UpdateActiveViews(MapDocument* document) {
    DocumentHost& host = Document_Host();
    bool ownsActive = false;
    for (cChildWindow* window : document->windows) {
        host.setFrameTimersRunning(window, host.isActive(window));
        ownsActive |= host.isActive(window);
    }
    if (!ownsActive) return;
    makeConfigCurrent(document);
    // The status label shows the box of the active tool: selection 0, block 1, entity 2 (its
    // placement point), cordon 5; other tools show none.
    int slot = -1, mode = 0;
    switch (host.activeTool()) {
    case ToolId::Selection:
        slot = 0;
        break;
    case ToolId::Brush:
        slot = 1;
        break;
    case ToolId::Entity:
        slot = 2;
        mode = BoxStatus::Centre;
        break;
    case ToolId::Cordon:
        slot = 5;
        break;
    default:
        break;
    }
    int32_t i = 0, j = 1; // x and y without a 2D focus view
    host.focusViewAxes(&i, &j);
    host.showBoxStatus(slot < 0 ? QString()
                                : Select_BoxStatusText(&document->selectionBoxes[slot], i, j, mode));
    Map_UpdateSelectionSummary(document->world);
}

// ---- Game configuration ------------------------------------------------------------------------------

namespace {
ProjectWindowHooks& windowHooks() {
    static ProjectWindowHooks hooks;
    return hooks;
}
void editConfigurationsOn(int32_t answer) {
    if (answer == PromptButton::Yes && windowHooks().editConfigurations) windowHooks().editConfigurations();
}
} // namespace

void Project_SetWindowHooks(ProjectWindowHooks hooks) {
    windowHooks() = std::move(hooks);
}

const ProjectWindowHooks& Project_WindowHooks() {
    return windowHooks();
}

bool Project_ChooseGameConfig(MapDocument* document) {
    GameConfigManager* manager = configManager();
    const QList<GameConfig*> configs = manager ? manager->configs : QList<GameConfig*>();
    if (configs.isEmpty()) {
        const int32_t answer = Prompt_Question(
            nullptr, PromptIcon::Warning,
            QStringLiteral("No game configurations are available. You must set them up in the "
                           "\"Game Profiles\" tab of the Options dialog box before creating or "
                           "loading a map.\n\nDo you want to create a new game configuration now?"),
            PromptButton::Yes | PromptButton::No);
        editConfigurationsOn(answer);
        return false;
    }
    QStringList enabled;
    GameConfig* chosen = nullptr;
    for (GameConfig* config : configs) {
        if (!config->Enabled) continue;
        enabled.append(config->Title);
        chosen = config;
    }
    if (enabled.isEmpty()) {
        const int32_t answer = Prompt_Question(
            nullptr, PromptIcon::Warning,
            QStringLiteral("No game configurations are available. However, there are some "
                           "configurations set up, but they are disabled. You must enable them in "
                           "the \"Game Profiles\" tab of the Options dialog box before creating or "
                           "loading a map.\n\nDo you want to do this now?"),
            PromptButton::Yes | PromptButton::No);
        editConfigurationsOn(answer);
        return false;
    }
    if (enabled.size() > 1) {
        const int32_t index = Prompt_ChooseGameConfig(enabled);
        if (index < 0 || index >= enabled.size()) return false;
        chosen = nullptr;
        for (GameConfig* config : configs)
            if (config->Title == enabled[index]) {
                chosen = config;
                break;
            }
        if (!chosen) return false;
    }

    bindConfig(document, chosen);
    if (GameCfg_NeedsPrecache(chosen)) {
        cWaitScope wait(QStringLiteral("Precaching game configuration..."));
        QCoreApplication::processEvents();
        GameCfg_Precache(manager, chosen);
    }
    return true;
}

void Project_RebindGameConfig(MapDocument* document) {
    GameConfig* found = nullptr;
    if (GameConfigManager* manager = configManager()) {
        for (GameConfig* config : manager->configs)
            if (config->Title == document->gameConfigName) {
                found = config;
                break;
            }
        // The old record may be gone with a rebuilt list: only a listed one gives its count back.
        if (found != document->gameConfig && document->gameConfig &&
            manager->configs.contains(document->gameConfig))
            --document->gameConfig->inUseCount;
    }
    if (found != document->gameConfig && found) ++found->inUseCount;
    document->gameConfig = found;
    Map_UpdateSky(document->world); // the sky is looked up in the configuration's skies

    for (cChildWindow* window : document->windows)
        Document_Host().refreshCanvases(window);
    const int32_t levels = Project_UndoLevelCount();
    if (document->undo && document->undo->levelCount != levels) {
        Undo_Reset(document->undo);
        document->undo->levelCount = levels;
    }
}

// ---- Cameras --------------------------------------------------------------------------------------------

static void pointViewsAtCamera(MapDocument* document, const CameraRecord* camera) {
    if (!camera) return;
    vec3 direction = {camera->target[0] - camera->eye[0], camera->target[1] - camera->eye[1],
                      camera->target[2] - camera->eye[2]};
    K_VectorNormalize(direction);
    vec3 angles;
    K_VectorToAngles(direction, angles);
    angles[0] = -angles[0];
    DocumentHost& host = Document_Host();
    for (cChildWindow* window : document->windows) {
        host.setCameraOrigin(window, camera->eye);
        host.setCameraAngles(window, angles);
    }
}

static void markCurrentCamera(MapWorld* world) {
    for (CameraRecord* camera = world->cameras; camera; camera = camera->next) {
        if (camera == world->currentCamera)
            camera->flags |= CameraFlag::Selected;
        else
            camera->flags &= ~CameraFlag::Selected;
    }
}

void Project_SetCurrentCamera(MapDocument* document, CameraRecord* camera) {
    MapWorld* world = document->world;
    if (camera != world->currentCamera) {
        world->currentCamera = camera;
        markCurrentCamera(world);
    }
    pointViewsAtCamera(document, camera);
    for (cChildWindow* window : document->windows)
        Document_Host().repaintViews2D(window);
}

void Project_ApplyCurrentCamera(MapDocument* document) {
    markCurrentCamera(document->world);
    pointViewsAtCamera(document, document->world->currentCamera);
}

// ---- View broadcasts --------------------------------------------------------------------------------------

void Project_RedrawViews(MapDocument* document, int32_t mask) {
    for (cChildWindow* window : document->windows)
        Document_Host().redrawViews(window, mask);
}

void Project_BroadcastViewPoints(MapDocument* document, const float mins[3], const float maxs[3]) {
    for (cChildWindow* window : document->windows)
        Document_Host().zoomViewsToBounds(window, mins, maxs);
}

void Project_RaiseWindows(MapDocument* document) {
    for (cChildWindow* window : document->windows)
        Document_Host().raise(window);
}

void Project_CenterViewsOn(MapDocument* document, const float point[3], int32_t mask) {
    for (cChildWindow* window : document->windows)
        Document_Host().centerViewsOn(window, point, mask);
}

void Project_SetZoom(MapDocument* document, float zoom) {
    for (cChildWindow* window : document->windows)
        Document_Host().setZoom2D(window, zoom);
}

void Project_SetViewOffset(MapDocument* document, float x, float y) {
    for (cChildWindow* window : document->windows)
        Document_Host().setScroll2D(window, x, y);
}

void Project_SetCameraOrigin(MapDocument* document, const float eye[3]) {
    for (cChildWindow* window : document->windows)
        Document_Host().setCameraOrigin(window, eye);
}

void Project_ReleaseViewInput(MapDocument* document) {
    for (cChildWindow* window : document->windows)
        Document_Host().endFreeLook(window);
}

cCanvas* Project_FindCanvas(MapDocument* document, int32_t viewId) {
    for (cChildWindow* window : document->windows)
        if (cCanvas* canvas = Document_Host().findCanvas(window, viewId)) return canvas;
    return nullptr;
}

bool Project_ViewCamera(MapDocument* document, float eye[3], float angles[3]) {
    for (cChildWindow* window : document->windows)
        if (Document_Host().viewCamera(window, eye, angles)) return true;
    return false;
}

void Project_BroadcastCameraMove(MapDocument* document, const float a[3], const float b[3]) {
    for (cChildWindow* window : document->windows)
        Document_Host().invalidateCameraRects(window, a, b);
}

float Project_TickFrameClock(MapDocument* document, int64_t nowMs) {
    if (document->frameClock < 0) document->frameClock = nowMs;
    const float seconds = float(nowMs - document->frameClock) * 0.001f;
    if (seconds <= 0.0f) return 0.0f;
    document->frameClock = nowMs;
    return std::min(seconds, 0.1f);
}
