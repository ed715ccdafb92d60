// The "Edit Effects" window: the effects of the current game configuration by group, the chosen
// one's script in the script editor, and checking and building it through the game plugin. Its
// list, preview and script areas sit in the two splitters whose states the layout file keeps
// ("splitter_2" across, "splitter" down the right side).
#pragma once

#include <QDialog>
#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QTimer>
#include <QVector>

#include <cstdint>

class QComboBox;
class QGroupBox;
class QPushButton;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;
class QCustomAction;
class cShaderEditScript;
class cShaderEditCanvas;
struct MapProfileRecord;
struct ShaderRecord;

// One row of the tool bars: text null for a separator; bar 1 preview, 2 script; flags 0x1
// exclusive, 0x2 checkable, 0x4 checked, 0x100 undo, 0x200 redo, 0x400 needs the profile's
// functions, 0x800 needs an effect with a script file.
struct ShaderEditAction {
    const char* text;
    const char* icon;
    const char* slot;
    uint32_t toolbarMask;
    uint32_t flags;
};
inline constexpr int kShaderEditActionCount = 25;
extern const ShaderEditAction ShaderEditActionTable[kShaderEditActionCount];

struct EditedEffect {
    ShaderRecord* effect = nullptr;
    QString text;
};

// ShaderRecord::flags bits of the editor.
inline constexpr int32_t SHADER_EDITED = 0x100;
inline constexpr int32_t SHADER_CREATED_HERE = 0x200;

class cShaderEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit cShaderEditDialog(QWidget* parent);

    // Prepares an opening on the texture name and group.
    void setShader(const QString& name, const QString& group);
    void retranslate();
    // The preview, once the main window's views exist: the views' format with its multisampling.
    void createCanvas();
    // Checks (checkOnly) or builds the editor text into the open effect.
    void buildScript(bool askIfUnchanged, bool checkOnly);
    // Stores or discards the edits at close after asking; false when the user cancelled or a
    // file could not be written (the dialog then stays open with those edits).
    bool resolveChanges();
    // Stores every edited text in its effect and, with save, rewrites each script file once;
    // false when a file could not be written.
    bool writeModifiedEffects(bool save);

    // Form.
    QSplitter* splitter = nullptr;
    QSplitter* splitter2 = nullptr;
    QComboBox* shaderGroup = nullptr;
    QTreeWidget* shaderList = nullptr;
    QComboBox* cbFilter = nullptr;
    QWidget* canvasBase = nullptr;
    QWidget* editBase = nullptr;
    QPushButton* btnNew = nullptr;
    QPushButton* btnDel = nullptr;
    QPushButton* btnClose = nullptr;

    const MapProfileRecord* profile = nullptr;
    QVBoxLayout* previewLayout = nullptr;
    QVBoxLayout* scriptLayout = nullptr;
    cShaderEditCanvas* preview = nullptr;
    cShaderEditScript* script = nullptr;
    QString currentGroup;
    QString currentName;
    QString imageDirectory;
    QTreeWidgetItem* currentItem = nullptr;
    ShaderRecord* currentEffect = nullptr;
    QTimer filterTimer;
    QRegularExpression filter;
    bool filterActive = false;
    bool refilling = false;
    bool loading = false;
    QVector<QCustomAction*> contextActions;
    QVector<QCustomAction*> actions; // every tool-bar action, in table order (separators null)
    QHash<QString, EditedEffect> edits;
    QString statusText; // the last build's result line, shown by the preview

public slots:
    void exec_on_changeShader();
    void exec_on_changeShaderGroup();
    void exec_on_toggleAutoRotation();
    void exec_on_toggleDrawTris();
    void exec_on_toggleDrawNormals();
    void exec_on_changeGeom0();
    void exec_on_changeGeom1();
    void exec_on_changeGeom2();
    void exec_on_changeGeom3();
    void exec_on_changeGeom4();
    void exec_on_filterChanged(const QString& text);
    void exec_on_applyFilter();
    void exec_on_load_image();
    void exec_on_load_scriptfile();
    void exec_on_save_scriptfile();
    void exec_on_saveas_scriptfile();
    void exec_on_reformat();
    void exec_on_compileScript();
    void exec_on_buildScript();
    void exec_on_toggleAutoComplete();
    void exec_on_toggleAutoIndent();
    void exec_on_changeModificationState();
    void exec_on_changeSource();
    void exec_on_undo();
    void exec_on_redo();
    void exec_on_undoEnable(bool value);
    void exec_on_redoEnable(bool value);
    void exec_on_newShader();
    void exec_on_deleteShader();

public:
    // A slot already (QDialog's); kept out of this class's own slot table.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createToolBar(uint32_t mask, QVBoxLayout* layout);
    void updateActions();
    void stashEdits();
    void refreshEffectItem();
    QCustomAction* firstContextAction(uint32_t flag) const;
    bool writeEffectFile(const QString& path, ShaderRecord* head, bool wholeChain);
    void setPreviewFlag(int flag);
    void setPreviewShape(int n);
    // The editor text becomes the open effect's new script text, as an edit that can be undone.
    void takeScriptFromEffect();
    QString fileFilter(const char* title, const char* extensions) const;
    QString profileFolder(const char* folder) const;
    // Releases a new effect no map object uses; one in use keeps its text in memory.
    void dropNewEffect(ShaderRecord* effect);
    // After a write: offers to list an unlisted file as a package, then refreshes the lists.
    void offerPackageEntry(const QString& path);
};
