// The one main window, reached through g_mainWindow (null before it is built and after it is
// gone). This holds what the core services and the map document use: the settings, the game
// configurations, the archives and the console. Menus, docks and views come with the window.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMainWindow>
#include <array>
#include <functional>
#include <span>
#include <QString>
#include <QStringList>
#include <memory>

#include "core/BaseDirectory.h"
#include "core/FileLookup.h"
#include "dialogs/editing/FacePropertiesDialog.h"
#include "document/Clipboard.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "gamedata/ModelCache.h"
#include "gamedata/PluginManager.h"
#include "gamedata/SkyManager.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/ActionTable.h"
#include "core/MainSettings.h"
#include "mainwindow/Splash.h"
#include "mainwindow/WindowCursors.h"
#include "views/AbstractTool.h"
#include "render/ColorScheme.h"
#include "views/DialogParent.h"
#include "views/ViewHost.h"

class QAction;
class QActionGroup;
class QUrl;
class QKeyEvent;
class QSignalMapper;
class QMdiArea;
class QMdiSubWindow;
class QTimer;
class QWidget;
class cChildWindow;
class SysHost;
class DialogHost;
class DocumentHost;
class GameDataHost;
class ToolHost;
class MapDocument;
class cAbstractTool;
class cCanvas;
class cObjectPropertiesDialog;
class cPaintHold;
class cRunMapDialog;
class cRunMapOutput;
class cTextureBrowserDialog;
class cTextureReplaceDialog;
class cShaderEditDialog;
class cEntityListDialog;
class cEntityHelpDialog;
class cScaleVertexDialog;
class QCustomAction;
class QDialog;
class QCheckBox;
class QComboBox;
class QDockWidget;
class QPushButton;
class QSpinBox;
class QTextEdit;
class QVisGroupList;
struct EntityClass;
struct EntityRecord;
class QLabel;
class QListWidgetItem;
class QMenu;
class QToolBar;
struct ClassTreeNode;
struct Clipboard;
class ToolSet;
// The Textures dock.
class cTextureView;
struct MapWorld;
struct ShaderRecord;

// Bits of cMainWindow::hiddenDialogs: floating dialogs hidden while the application is inactive.
namespace HiddenDialog {
constexpr uint32_t FaceProperties = 0x1;
constexpr uint32_t ObjectProperties = 0x2;
constexpr uint32_t EntityList = 0x4;
constexpr uint32_t EntityHelp = 0x8;
constexpr uint32_t ScaleVertices = 0x10;
} // namespace HiddenDialog

// Interactive builds the program's window (docks, MDI area, settings and game configurations read,
// plugins loaded); Headless only the settings, managers and console that tests and tools use,
// without widgets or files.
enum class WindowMode { Headless, Interactive };

class cMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit cMainWindow(WindowMode mode = WindowMode::Headless);
    ~cMainWindow() override;
    cMainWindow(const cMainWindow&) = delete;
    cMainWindow& operator=(const cMainWindow&) = delete;

    // Appends one line to the console: plain text has "<" escaped, bold wraps it in <b>.
    void printToConsole(const QString& text, bool asHtml, bool bold);
    // Repaints the views of every map window: 1 the 2D views, 2 the 3D views.
    void updateAllViews(int mask);
    // Re-checks the view-mode actions for the focus view (the actions come with the menus).
    void updateViewModeActions();
    // The document of the active map window (the first open one until the MDI area exists).
    MapDocument* currentDocument() const { return documents.isEmpty() ? nullptr : documents.first(); }
    // ---- Documents (MainWindowDocuments.cpp) ----
    // Loads a map into a new document with a four-view map window; null (reported) on failure.
    MapDocument* openFile(const QString& path);
    // Asks to save, closes the document's windows and frees it. False when the user cancelled.
    bool closeDocument(MapDocument* document);
    // A map window for the document in the MDI area (layout -1 four views, 0-3 one view of that
    // kind), shown maximized and made active.
    cChildWindow* createChildWindow(MapDocument* document, int layout = -1);
    // The map window of the active (else current) sub-window; null without one.
    cChildWindow* activeChildWindow() const;

    // ---- Input (MainWindowInput.cpp) ----
    // Doubles ("+") or halves ("-") the grid within 1..512; true when the key was a grid key.
    bool handleGridKey(int key);
    // Makes a view the one taking input; the one before it has its input state reset.
    void setActiveCanvas(cCanvas* view);
    // The application went to the background: floating dialogs hide, held keys are released.
    void applicationDeactivated();
    // The application came back: hidden dialogs show again and the action states are refreshed.
    void applicationActivated();

    // ---- States and commands the menus reach (MainWindowStates.cpp) ----
    // Refreshes the Textures dock for the active document; keepLists false refills the groups too.
    void updateTextureBar(bool keepLists);
    void updateVisGroupList();
    void updateDocumentActions();

    // ---- Tools (MainWindowTools.cpp; the tool slots are with the other slots below) ----
    // Every tool refreshes from the selection for the view (nothing without a view).
    void notifySelectionChanged(cCanvas* view);
    // Leaves texture-application mode for the selection tool.
    void exitTextureApplication();

    // ---- Command list (CommandList.cpp) ----
    // The Help menu's command list: "key: description" lines, sorted.
    QStringList commandListLines() const;

    // ---- Vertex tool (VertexCommands.cpp) ----
    // Whether a command may go on: in the vertex tool's morph mode the user is asked to leave it
    // (Yes switches to the selection tool, which ends morph mode).
    bool confirmExitMorphMode();
    // Whether the vertex tool is the active or the secondary tool (morph mode for the commands).
    bool inMorphMode() const;
    // Ends morph mode quietly when it works on the document (before the document closes).
    void endMorphModeFor(MapDocument* document);

    // Sets the checkable action of that object name (in actionList) without running its slot.
    void setActionChecked(const QString& name, bool checked);
    // Every member of settings to its default; the recent-files list empty.
    void setDefaultSettings();
    // Reads "KDKSettings.ini" (the user's, else the shipped copy) and derives the action states,
    // the colour scheme, the texture quality and the lower bounds from it.
    void readSettings();
    // Writes every key to the user's file, then the game configurations. False (with a warning
    // naming the file) when either could not be written.
    bool writeSettings();
    // The file whose "ColorScheme%1" groups name the colour schemes.
    QString colorSchemeFile() const;
    // Drops recent files that no longer exist (the menu comes with the window's menus).
    void updateRecentFilesMenu();
    // Moves a path to the top of the recent-files list.
    void addRecentFile(const QString& path);
    // Sets the application palette from the scheme's application colour; black keeps or brings
    // back the palette the window started with.
    void applySchemePalette();
    // The application palette when the window was made, and whether a scheme replaced it.
    QPalette initialPalette;
    bool paletteReplaced = false;
    // Refreshes the status bar's "Snap: %1 Grid: %2".
    void updateSnapGridStatus();
    // Loads the plugins (the plugin menu comes with the window's menus).
    void loadPlugins();
    // Runs the plugin action at the index of the sorted list with its user value, file look-ups
    // searching the current game configuration; a wait cursor the plugin left pushed is popped.
    void runPluginAction(int index);
    // ---- Running the compilers (FileCommands.cpp; the slot cmdFileRun runs them) ----
    // Exports the active map to its export path (the map's path with ".map" when none is stored).
    bool exportMapForRun();
    // The run dialog and the output window, made once (interactive windows only).
    void createRunWindows();
    // A settings file by name: for writing the one in the settings folder (made on first use); for
    // reading that one when it exists, else the one in the program's base folder.
    QString resolveConfigFile(const QString& name, bool forWriting) const;

    MainSettings settings;
    // Most recent first; the file keeps eight.
    QStringList recentFiles;
    // The window's actions, found by object name.
    QList<QAction*> actionList;
    // The managers, built in this order (the plugin manager first: it fills the engine table).
    PluginManager plugins;
    GameConfigManager gameConfigs;
    GameDataRegistry gameData;
    ArchiveRegistry archives;
    FoundFiles foundFiles; // the file look-ups' remembered answers
    // How the system layer and the documents reach this window (installed while this is
    // g_mainWindow).
    std::unique_ptr<SysHost> sysHost;
    std::unique_ptr<DocumentHost> documentHost;
    // How the game-data layer reaches this window (installed with the system host).
    std::unique_ptr<GameDataHost> gameDataHost;
    // How the views and the tools reach this window (installed with the system host).
    std::unique_ptr<ViewHost> viewHost;
    std::unique_ptr<ToolHost> toolHost;
    // How the dialogs reach this window (installed with the system host).
    std::unique_ptr<DialogHost> dialogHost;
    TextureManager textures;
    ModelCache models;
    SkyManager skies;
    cFacePropertiesDialog faceDialog{this};
    // The long-lived dialogs of the program's window (null headless); the entity list and help
    // are made on first use.
    cObjectPropertiesDialog* objectPropertiesDialog = nullptr;
    cRunMapDialog* runMapDialog = nullptr;
    cRunMapOutput* runMapOutput = nullptr;
    cTextureBrowserDialog* textureBrowserDialog = nullptr;
    cTextureReplaceDialog* textureReplaceDialog = nullptr;
    cShaderEditDialog* shaderEditDialog = nullptr;
    cEntityListDialog* entityListDialog = nullptr;
    cEntityHelpDialog* entityHelpDialog = nullptr;
    cScaleVertexDialog* scaleVertexDialog = nullptr;
    // The map objects cut or copied, shared by every open map; emptied when the window goes.
    Clipboard clipboard;
    // The tools' cursors (loaded by the program's window).
    WindowCursors cursors;
    cColorScheme colorScheme;
    // The open maps, in opening order.
    QList<MapDocument*> documents;
    // Views: the one taking keys, the one before it, the last one under input.
    cCanvas* focusView = nullptr;
    cCanvas* previousFocusView = nullptr;
    cCanvas* lastInputCanvas = nullptr;
    // The eleven tools, indexed by tool id; made with the window.
    std::unique_ptr<ToolSet> toolSet;
    cAbstractTool* activeTool = nullptr;
    cAbstractTool* secondaryTool = nullptr;
    uint32_t heldKeys = 0;      // HeldKey (views/ViewHost.h)
    uint32_t hiddenDialogs = 0; // HiddenDialog
    // Set by the object-properties dialog as it closes: the next activation only clears it.
    bool skipNextActivation = false;
    // Texts of the status bar's position and zoom labels.
    QString positionLabelText;
    QString zoomLabelText;
    // The views' texture-filter word; -1 asks them to rebuild it from the settings.
    int32_t textureFilterWord = -1;
    // The last progress text shown.
    QString splashMessage;
    // Interactive windows only.
    QMdiArea* mdiArea = nullptr;
    QTimer* autosaveTimer = nullptr;
    QSignalMapper* signalMapper = nullptr;
    QMdiSubWindow* lastActiveSubWindow = nullptr;
    cCanvas* lastDeactivatedView = nullptr;
    // The window is closing its maps to leave: a map window activated as another closes is not
    // made current (docks, lists and menus would be refilled for a map about to go).
    bool leaving = false;

    // ==== Menus, tool bars and context menus; slots; action state; language; status bar; layout ====
    // Built from the command and tool tables (MainWindowMenus.cpp); tests may give fixture tables.
    std::span<const ActionEntry> actionTable = Action_Table();
    std::span<const ActionEntry> toolTable = Action_ToolTable();
    QList<QMenu*> menus; // menu-bar menus and their submenus
    QList<QMenu*> contextSubmenus;
    QList<QMenu*> contextMenus;
    QList<QToolBar*> toolBars;
    QList<QAction*> toolActions;
    QAction* recentFilesSeparator = nullptr;
    QAction* recentInsertSeparator = nullptr;
    QAction* windowListSeparator = nullptr;
    QMenu* screenElementsMenu = nullptr;
    QMenu* colorSchemeMenu = nullptr;
    QMenu* languageMenu = nullptr;
    QMenu* languageParentMenu = nullptr;
    QMenu* pluginMenu = nullptr;
    QMenu* curveMenu = nullptr;
    std::array<QCustomAction*, 8> recentFileActions{};
    QList<QAction*> colorSchemeActions;
    // The class submenus of "Create" and "Tie to entity" (ActionState.cpp).
    QList<QAction*> createEntries;
    QList<QMenu*> createSubmenus;
    QList<QAction*> tieEntries;
    QList<QMenu*> tieSubmenus;
    QAction* createPlaceholder = nullptr;
    QAction* tiePlaceholder = nullptr;
    bool createEntriesShown = true;
    bool tieMenuBuilt = false;
    QString classMenuConfigTitle;
    QString createClassName;
    // Language code of the translations in use, lower case (Language.cpp).
    QString languageCode = QStringLiteral("en");
    // The status bar's seven labels (StatusBar.cpp).
    std::array<QLabel*, 7> statusLabels{};
    // The map window state the Map menu saves and the layout file keeps (block 6).
    QByteArray savedWindowGeometry;
    bool savedWindowMaximized = false;
    bool savedWindowPresent = false;
    uint32_t currentVisGroup = 0;
    QString tieClassName;
    // Start-up and close hooks: translators, status bar, menus, bars, layout (MainWindowMenus.cpp).
    void buildCommandInterface();
    // After the window has its default size: the layout file, then the toggles and states.
    void finishCommandInterface();
    void saveCommandInterface();
    // Builders (MainWindowMenus.cpp).
    void createMenus();
    void createMapToolBar(const QString& name, uint32_t bit);
    void createContextMenu(const QString& name, uint32_t bit);
    void createToolsBar();
    void createViewToggles();
    // Action state, class menus, colour schemes and retranslation (ActionState.cpp).
    void updateActions(int mask);
    void buildClassSubmenu(bool forCreate, QMenu* parent, const ClassTreeNode& node);
    void fillCreateObjectMenu();
    void fillTieToEntityMenu();
    void updateCreateActions(const QString& className, int flags);
    void createColorSchemeMenu();
    void retranslateAll();
    // Language file and translators (Language.cpp).
    void installTranslators();
    void loadLanguage();
    bool saveLanguage();
    // One checkable entry per "zarv_*.qm" of <base>/local in the "&Language" submenu.
    void createLanguageMenu();
    QActionGroup* languageGroup = nullptr;
    QList<QAction*> languageActions;
    int languageCount = 0;
    // Status bar (StatusBar.cpp).
    void createStatusBar();
    // Layout file (LayoutFile.cpp).
    void readLayout();
    void writeLayout();
    // Stand-ins for the texture browser and the effect editor until those dialogs come.
    void createLayoutDialogs();
    // Operations the slots call whose bodies come with their commands (RuntimeMenus.cpp and the
    // command files).
    void installLanguage(QAction* action, const QString& language);
    void applyLanguage(QAction* action, const QString& language);
    void updateToolActions();
    // ---- Broadcasts to every open document, in opening order (Broadcasts.cpp) ----
    // Each document binds its configuration again, re-applies its views' settings and takes the
    // undo level count (a changed count discards its history); then the action states.
    void applySettings();
    // The blended bits of faces, patches and overlays from TextureTransparency.
    void applyTextureTransparency();
    // The blended bit of every entity from EntityTransparency and its blend-state word.
    void applyEntityTransparency();
    // Every tool refreshes for the focus view (none without one), then the selection actions.
    void notifySelectionChanged();
    // Hidden objects leave every document's selection; then as notifySelectionChanged.
    void deselectHiddenObjects();
    void applyPatchMatrixOp(const QString& undoName, int op);
    void execPreferences(int page);

    // ==== Documents and recent files (MainWindowDocuments.cpp) ====
    // The open document of that file: paths compare canonically (symbolic links, "./", "//").
    MapDocument* findDocument(const QString& path) const;
    // Opens each file; all share the configuration the first one got. The count of new documents.
    int openFiles(const QStringList& paths);
    // The map window(s) of a new document, as IndependentWindows and CreateDefaultWindows say.
    void openDocumentWindows(MapDocument* document);
    // The plugins' commands in "Pl&ugins", submenus by section (RuntimeMenus.cpp).
    void fillPluginMenu();
    // ==== Docks: console, New Objects (ConsoleDock.cpp, NewObjectsDock.cpp) ====
    void createConsoleDock();
    void retranslateConsoleDock();
    void createObjectsDock();
    void retranslateObjectsDock();
    // Refills the category list for the active tool and document.
    void fillObjectCategories();
    void addPrimitiveCategories(const QString& rememberedCategory);
    // Lists the primitives of the category; the remembered one is a list position + 1 (0 none).
    void fillPrimitiveObjects(const QString& category, int rememberedPosition);
    void fillEntityObjects(const QString& rememberedClass);
    // The point class chosen in the dock (null without one or without an active map).
    EntityClass* currentObjectClass();
    // Ties the selected brushes to the entity (null: a new one of tieClassName), each to its own
    // when each is set.
    void tieToEntity(EntityRecord* entity, bool each);
    // ---- Object properties, entity chooser and help window (ObjectPropertiesSync.cpp) ----
    // Reloads the visible object-properties dialog from the active map's selection (not while
    // the entity chooser is shown).
    void updateObjectProperties();
    // Deletes the entity chooser when its rows name entities of the document.
    void closeEntityListFor(MapDocument* document);
    // VisGroups dock (VisGroupsDock.cpp). None of its operations is an undo step.
    void createVisGroupsDock();
    void retranslateVisGroupsDock();
    void updateVisGroupIcons();
    void updateVisGroupCounts(QListWidgetItem* row);
    struct VisGroupsDock {
        QDockWidget* dock = nullptr;
        QLabel* label = nullptr;
        QVisGroupList* list = nullptr;
        QPushButton* assign = nullptr;
        QPushButton* edit = nullptr;
        QPushButton* mark = nullptr;
        QPushButton* purge = nullptr;
    } visGroupsDock;
    QDockWidget* consoleDock = nullptr;
    QTextEdit* consoleText = nullptr;
    // Lines in a burst are painted together.
    cPaintHold* consolePaintHold = nullptr;
    struct ObjectsDock {
        QDockWidget* dock = nullptr;
        QLabel* moveLabel = nullptr;
        QPushButton* toWorld = nullptr;
        QPushButton* toEntity = nullptr;
        QLabel* categoryLabel = nullptr;
        QComboBox* categories = nullptr;
        QLabel* objectLabel = nullptr;
        QComboBox* objects = nullptr;
        QLabel* facesLabel = nullptr;
        QSpinBox* faces = nullptr;
        QCheckBox* randomYaw = nullptr;
        QPushButton* insertPrefab = nullptr;
        QPushButton* createPrefab = nullptr;
        QString category;    // remembered category text
        QString entityClass; // remembered class name
        int primitive = 0;   // remembered primitive: list position + 1, 0 none
        EntityClass* cachedClass = nullptr;
        bool classChanged = true;
        bool settingRange = false;
    } objectsDock;

public slots:
    // The slot table, in its order; each group lives in the file named.
    // MainWindowInput.cpp
    void changeSubwindowActiveState(QMdiSubWindow*);
    void updateLayout();
    // MainWindowSlots.cpp
    void setActiveChildWindow(QWidget*);
    void checkActiveState(bool);
    void updateStatusBar(const QString& text);
    void toggleStatusBar();
    void runPluginAction();
    void selectVisGroup(QListWidgetItem*);
    void switchLanguage(QAction*);
    void cmdFileExit();
    void cmdEditSelectByHandles();
    void cmdEditSelectAuto();
    void cmdEditCreateObject();
    void cmdEditPathDeleteNodes();
    void cmdEditPathReverse();
    void cmdMapToggleGridSnap();
    void cmdMapToggleGrid();
    void cmdViewToggleEntityNames();
    void cmdViewToggleItems();
    void cmdViewTogglePaths();
    void cmdViewToggleCurves();
    void cmdViewToggleDetail();
    void cmdViewToggleUnknownEntities();
    void cmdToolsTieToEntityEx();
    void cmdToolsTextureAlignment();
    void cmdToolsCordon();
    void cmdToolsOptions();
    void cmdVertexFaceSplit();
    void cmdVertexWeld();
    void cmdVertexTriangulate();
    void cmdVertexScaleMode();
    void cmdVertexSnapToGrid();
    void cmdVertexClearSelection();
    void cmdCurveMatrixInverse();
    void cmdCurveMatrixTranspose();
    void cmdCurveMatrixPrependRows();
    void cmdCurveMatrixAppendRows();
    void cmdCurveMatrixPrependCols();
    void cmdCurveMatrixAppendCols();
    void cmdCurveMatrixRemoveFirstRows();
    void cmdCurveMatrixRemoveLastRows();
    void cmdCurveMatrixRemoveFirstCols();
    void cmdCurveMatrixRemoveLastCols();
    void cmdCurveMatrixRedisperseRows();
    void cmdCurveMatrixRedisperseCols();
    void cmdCurveMatrixRandomize();
    void cmdCurveSelect();
    void cmdWindowCascade();
    void cmdWindowTile();
    void cmdWindowNext();
    void cmdWindowPrev();
    void cmdWindowMessages();
    void cmdHelpOnWeb();
    void cmdHelpUpdateCheck();
    void toolMagnify();
    void toolCamera();
    // RuntimeMenus.cpp
    void checkActiveState(bool, bool);
    void updateWindowList();
    void applyColorScheme();
    void openRecentFile();
    // FileCommands.cpp
    void cmdFileRun();
    void cmdFileNew();
    void cmdFileOpen();
    void cmdFileClose();
    void cmdFileCloseAll();
    void cmdFileSave();
    void cmdFileSaveAs();
    void cmdFileSaveIncremental();
    void cmdFileAutosave();
    void cmdFileExport();
    void cmdFileExportAgain();
    // EditCommands.cpp
    void cmdEditSelectTouching();
    void cmdEditSelectInside();
    void cmdEditSelectHandles();
    void cmdEditProperties();
    void cmdEditSelectMouseMove();
    void cmdEditUndo();
    void cmdEditRedo();
    void cmdEditToggleUndoRedo();
    void cmdEditCut();
    void cmdEditCopy();
    void cmdEditPaste();
    void cmdEditPasteSpecial();
    void cmdEditDelete();
    void cmdEditSelectNone();
    void cmdEditSelectInvert();
    void cmdEditSelectAll();
    void cmdEditCreateObjectEx();
    // PathCommands.cpp
    void cmdEditPathAddNodes();
    void cmdEditPathNodeProperties();
    void cmdEditPathDelete();
    void cmdEditPathProperties();
    void cmdEditPathSelect();
    void cmdEditPathSplit();
    void cmdEditPathMerge();
    void cmdEditPathConvert();
    // MapCommands.cpp
    void cmdMapSmallerGrid();
    void cmdMapBiggerGrid();
    void cmdMapToggleGrid3D();
    void cmdMapLoadWindowState();
    void cmdMapSaveWindowState();
    void cmdMapGotoBrush();
    void cmdMapGotoCoords();
    void cmdMapShowInfo();
    void cmdMapEntityReport();
    void cmdMapCheckForProblems();
    void cmdMapProperties();
    void cmdMapLoadPointfile();
    void cmdMapUnloadPointfile();
    void cmdMapLoadPortalfile();
    void cmdMapUnloadPortalfile();
    void cmdMapLoadHullfile();
    void cmdMapUnloadHullfile();
    // StatusBar.cpp
    void updateScreenElements();
    void toggleDockWidget();
    // MainWindowMenus.cpp
    void toggleToolbar();
    // NewObjectsDock.cpp, TexturesDock.cpp, VisGroupsDock.cpp
    void editCategoryList();
    void editObjectList();
    void editFaceCount(int);
    void editTextureGroup();
    void editTextureName();
    void execBrowseTexture();
    void assignVisGroup();
    void markVisGroup();
    void purgeVisGroups();
    void editVisGroups();
    void changeVisGroupVis(QListWidgetItem*);
    void mergeVisGroups(QListWidgetItem*, QListWidgetItem*);
    // WindowCommands.cpp
    void msgFeatureUnderDevelopment();
    void cmdWindowNew();
    void cmdWindowExportMessages();
    void cmdHelpTopics();
    void cmdHelpAbout();
    void cmdHelpCmdList();
    // ViewCommands.cpp
    void cmdViewHideSelection();
    void cmdViewHideNotSelection();
    void cmdViewShowHidden();
    void cmdViewToggleGridUV();
    void cmdViewOpenModel();
    void cmdViewReloadModel();
    void cmdView2DXY();
    void cmdView2DYZ();
    void cmdView2DXZ();
    void cmdView3DWireframe();
    void cmdView3DFilled();
    void cmdView3DTextured();
    void cmdView3DShadedTextured();
    void cmdViewAutosize();
    void cmdViewCenterOnSelection2D();
    void cmdViewCenterOnSelection3D();
    void cmdViewToggleConnections();
    void cmdViewToggleModels2D();
    void cmdViewToggleNodraw();
    void cmdViewToggleHint();
    void cmdViewToggleClip();
    void cmdViewToggleTrigger();
    void cmdViewToggleShaderAnimations();
    void cmdViewToggleSky();
    void cmdViewToggleTexTrans();
    void cmdViewToggleEntTrans();
    // ToolsCommands.cpp
    void cmdToolsCarve();
    void cmdToolsMerge();
    void cmdToolsHollow();
    void cmdToolsGroup();
    void cmdToolsUngroup();
    void cmdToolsIgnoreGroups();
    void cmdToolsMakeStructural();
    void cmdToolsMakeDetail();
    void cmdToolsTieToEntity();
    void cmdToolsMoveToWorld();
    void cmdToolsTextureReplace();
    void cmdToolsTextureLock();
    void cmdToolsTextureLockScale();
    void cmdToolsTextureLockUV();
    void cmdToolsTextureAlignToView();
    void cmdToolsSnapToGrid();
    void cmdToolsSnapToGrid2();
    void cmdToolsTransform();
    void cmdToolsToggleVertexRes();
    void cmdToolsToggleVertexCM();
    void cmdToolsAlignLeft();
    void cmdToolsAlignRight();
    void cmdToolsAlignTop();
    void cmdToolsAlignBottom();
    void cmdToolsFlipHorz();
    void cmdToolsFlipVert();
    void cmdToolsRotateAntiClockwise();
    void cmdToolsRotateClockwise();
    void cmdToolsConnectEntities();
    void cmdToolsShaderEdit();
    // MainWindowTools.cpp
    void toolSelect();
    void toolEntity();
    void toolBrush();
    void toolTextureApplication();
    void toolApplyTexture();
    void toolApplyDecals();
    void toolClipper();
    void toolVertexManipulation();
    void toolCordon();
    void toolPath();
    // ==== end of menus, tool bars, slots and action state ====

public:
protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A change of the system's locale switches to its language.
    void changeEvent(QEvent* event) override;

private:
    // The program window's construction steps (MainWindowStartup.cpp) and their undoing.
    void buildInteractive();
    void createDialogs();
    void deleteDialogs();
    // The floating dialogs hidden on deactivation, in HiddenDialog bit order (null when absent).
    std::array<QWidget*, 5> floatingDialogs() const;
    void createDocks();
    // The last map window closed: no view is active any more.
    void noMapWindowLeft();
    // Frees the documents whose last map window was closed.
    void closeEmptyDocuments();
    // Takes the document off the list and frees it (its windows are gone).
    void destroyDocument(MapDocument* document);
    // The switch of the tool commands: which modes to leave first, then deactivate and activate.
    void switchTool(int id, int keep);
    // ---- Tool switching and commands (MainWindowTools.cpp and the command files) ----
    void finishToolSwitch();

public:
    // Deselects the path nodes of every open document.
    void deselectPathNodes();
    // The Textures dock's texture that "Apply Current Texture" puts on the selection.
    QString currentTextureName;
    // New Window's single-view layouts cycle 1, 2, 3 over the run.
    int newWindowCounter = 0;
    // ---- end of tool switching and commands ----

    // ==== Textures dock and the current texture (TexturesDock.cpp) ====
    void createTexturesDock();
    void retranslateTexturesDock();
    // Runs the texture browser modally on name; group in and out; the chosen name (empty: none).
    QString execTextureBrowser(const QString& name, QString* group);
    // Runs the replace dialog modally finding name; the name it reports back (empty: none).
    QString execTextureReplace(const QString& name);
    struct TexturesDock {
        QDockWidget* dock = nullptr;
        QLabel* groupLabel = nullptr;
        QComboBox* groups = nullptr;
        QLabel* nameLabel = nullptr;
        QComboBox* names = nullptr;
        cTextureView* preview = nullptr;
        QLabel* size = nullptr;
        QPushButton* browse = nullptr;
        QPushButton* replace = nullptr;
    } texturesDock;
    // The current texture group (empty means "(All Textures)"); the name is currentTextureName.
    QString currentTextureGroup;
    // Set while the dock is refilled or a browser result applied: the combos' texts are not taken.
    bool textureBarUpdating = false;
    // Set while the recent part of the name list is rebuilt.
    bool textureNameGuard = false;
};

// The record the current texture lists list under the name (any case); null without one.
ShaderRecord* App_FindTexture(const QString& name);
// The group the current texture lists list the name under.
QString App_FindTextureGroup(const QString& name);
// Makes name and group the current texture when both are given and one differs.
void App_SetCurrentTexture(const QString& name, const QString& group);

// After the preferences: the selection-mode actions from the settings, the autosave timer
// (re)started with AutosaveDelay minutes (at least one) or stopped.
void App_ApplyEditPreferences(cMainWindow* window);
// Faces using effects marked changed take them again in every open document; then the marks go
// (also without a window).
void App_RefreshChangedShaders(cMainWindow* window);
// New display colours for every document's groups and brushes; the effect editor's highlighter
// takes the scheme's colours.
void App_ApplySchemeColors(cMainWindow* window);
// Every document's sky from its world entity, after the game configurations were replaced.
void App_RefreshDocumentSkies(cMainWindow* window);
// Every document's entities look their classes up again (entity definitions changed).
void App_RebindEntityClasses(cMainWindow* window);
// Every document's cull tree, made where missing, rebuilt (the world size changed).
void App_RebuildCullTrees(cMainWindow* window);
// The object-properties dialog shown for one entity of the active map (the entity chooser's rows).
void App_ShowObjectProperties(EntityRecord* entity);
// The entity help window with the HTML text; made on first use under the main window's menu bar.
void App_ShowEntityHelp(const QString& html);
// The next numbered name of an incremental save: "x_v07.zmf" → "x_v08.zmf"; a name without the
// pattern starts a new sequence.
QString File_IncrementalName(const QString& path);
// The first "%folder/%base_vNN.%suffix" that does not exist yet.
QString File_NewSequenceName(const QString& path);
// What opens the manual's URL; null restores the desktop's handler (tests capture it).
using UrlOpener = bool (*)(const QUrl& url);
void App_SetUrlOpener(UrlOpener opener);

// The movement code of a Qt key (Space 0, arrows 1-4, W S A D C 5-9, also on the Russian layout);
// -1 for any other key.
int App_KeyToMoveCode(int key);

extern cMainWindow* g_mainWindow;

// The file named on the command line (the last argument after the program's that contains "."),
// absolute against the working folder; empty when there is none.
QString App_StartupFileArgument(const QStringList& arguments);
// Start-up's last step before the event loop: opens the file named on the command line, else shows
// the advertisement dialog unless SkipAdvertisement is 2.
void App_OpenStartupFile(cMainWindow* window, const QStringList& arguments);
// The context menu whose what's-this text is name, run at the screen position; the chosen action
// or null (nothing chosen, no such menu).
QAction* App_ExecContextMenu(const QString& name, const QPoint& position);
// Whether the "Canvas" context menu is open.
bool App_IsCanvasMenuOpen();
// Sets status label n's text and repaints it at once; nothing without label n.
void App_SetStatusText(cMainWindow* window, const QString& text, int n);
// One shortcut per "|"-separated part (empty parts dropped), else the whole text as one.
void App_SetActionShortcuts(QCustomAction* action, const QString& text);
// The map handle of the active document; null without one. Until map windows exist the handle
// is the one set here (tests and tools).
MapWorld** App_GetActiveMap();
void App_SetActiveMap(MapWorld** map);
