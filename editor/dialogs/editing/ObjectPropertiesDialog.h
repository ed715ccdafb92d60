// The modeless window for the keyvalues of the selected entities: class, key/value table (raw keys
// or the class's typed properties), yaw, spawnflags, visgroups and the key/value clipboard text.
// Edits go straight into the entity records; each one is one undo level over the edited entities.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>
#include <cstdint>
#include <functional>

#include "dialogs/editing/NewKeyvalueDialog.h"

class MapDocument;
class QCheckBox;
class QCustomAngleBox;
class QListWidgetItem;
class QSoundEffect;
class QTableWidgetItem;
struct BrushRecord;
struct EntityClass;
struct EntityProperty;
struct EntityRecord;
struct GameConfig;
struct MapProfileRecord;
struct UndoHistory;
struct UndoLevel;

namespace Ui {
class cObjectPropertiesDialog;
} // namespace Ui

class cObjectPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    explicit cObjectPropertiesDialog(QWidget* parent = nullptr);
    ~cObjectPropertiesDialog() override;

    // 0 nothing editable, 1 one entity, 2 brushes only (visgroups), 3 a selection with entities.
    void setPages(int mode);
    void setDocument(MapDocument* document);
    void loadObject(EntityRecord* entity);
    void loadSelection(EntityRecord* head);
    // The brushes the visgroup page edits (the selected-brush chain).
    void setBrushes(BrushRecord* head) { m_brushes = head; }
    void retranslate();
    void refreshEntityHelp();
    // Loads the document's selection again (after an undo, redo or selection change).
    void reload();

    // ---- Parts the tests and the main window read ----
    int pageMode() const { return m_mode; }
    MapDocument* document() const { return m_document; }
    EntityRecord* head() const { return m_head; }
    bool smartMode() const;
    uint32_t profileFlags() const { return m_profileFlags; }
    QCheckBox* flagBox(int bit) const { return m_flagBoxes[bit]; }
    cNewKeyvalueDialog* newKeyvalueDialog() const { return m_newKeyvalue; }
    QCustomAngleBox* angleBox() const { return m_angleBox; }
    // Forgets that the user turned smart editing off (the dialog is shown afresh).
    void resetSmartForced() { m_smartForcedOff = false; }
    // Rebuilds the visgroup page for the edited objects.
    void refreshVisGroups() { updateVisGroups(); }

    // The window's texture browser, for decal and shader keys: the chosen name (group in and out).
    std::function<QString(const QString& name, QString* group)> browseTextures;
    // Runs after a picked texture was written (the window refreshes its action states).
    std::function<void()> afterPick;

    // The class help text, built once and cached in the class.
    static const QString& buildClassHelp(EntityClass* eclass);
    // The clipboard text of the edited entities (header, classname line, key lines).
    QByteArray copyText() const;
    // Applies a clipboard text; false when it is no keyvalue text or stops at an error.
    bool pasteText(const QByteArray& text);
    QString fileFilter(int type) const;
    // The folder a browse starts in and the stored form of a chosen file (relative to the game).
    QString browseStart(bool shift) const;
    QString relativeGamePath(const QString& chosen, int type) const;
    // The existing file a sound preview plays ("" when none, the tried path in *tried).
    QString resolveSound(const QString& value, QString* tried) const;

    Ui::cObjectPropertiesDialog* ui;

public slots:
    void exec_on_toggleSmartMode(bool on);
    void exec_on_showHelp();
    void exec_on_setAngle(const QString& text);
    void exec_on_changeClass(const QString& text);
    void exec_on_commitClass();
    void exec_on_selectKeyValue(int row, int column, int previousRow, int previousColumn);
    void exec_on_modifyKey(const QString& text);
    void exec_on_keyEditFinished();
    void exec_on_commitKey();
    void exec_on_renameKey(QTableWidgetItem* item);
    void exec_on_modifyValue(const QString& text);
    void exec_on_addKeyValue();
    void exec_on_deleteKeyValue();
    void exec_on_modifySmartValue();
    void exec_on_pickColor();
    void exec_on_playSound();
    void exec_on_pickDecal();
    void exec_on_browseFile();
    void exec_on_copyEpairs();
    void exec_on_pasteEpairs();
    void exec_on_editVisGroups();
    void exec_on_modifyVisGroups(QListWidgetItem* item);
    void exec_on_setFlags();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<EntityRecord*> edited() const;
    UndoHistory* history() const;
    // Opens one undo level over the edited entities, or continues the newest one when it was
    // opened by the same field on the same row and entities (keystroke edits).
    void beginEdit(const char* name, const QString& field = QString());

public:
    // Ends the keystroke level: the next edit opens a new one.
    void endEdit() { m_editLevel = nullptr; }

private:
    void markModified();
    void refreshKey(EntityRecord* e, const QByteArray& key);
    bool isRenderKey(const QByteArray& key) const;
    bool isModelKey(EntityRecord* e, const QByteArray& key) const;
    bool isSkyKey(EntityRecord* e, const QByteArray& key) const;
    bool isDrawableKey(EntityRecord* e, const QByteArray& key) const;
    void setAnglesFromValue(EntityRecord* e, const QByteArray& key, const QByteArray& value);
    void fillClassList(bool solid, const QByteArray& current);
    void fillKeyValueTable();
    void loadAngles();
    void applyAngle(int code);
    void setSmart(bool on);
    void setFlagCaptions(const EntityClass* eclass);
    void loadFlags();
    void updateVisGroups();
    void showSmartEditor();
    void fillTargetList(const QString& current);
    QByteArray smartShownValue(const QByteArray& key) const;
    QByteArray smartEditedValue() const;
    bool placementAccepted(const QByteArray& key, const QByteArray& value) const;
    // The raw table's row of a key (without regard to case); -1 when no edited entity has it.
    int rowOfKey(const QString& key) const;
    bool smartValueAccepted(const QByteArray& value) const;
    void writeSmartValue(const QByteArray& key, const QByteArray& value);
    void beginLoad();
    static bool sameKeyName(const char* a, const QByteArray& b);
    void layoutFlagBoxes();

    int m_mode = 0;
    MapDocument* m_document = nullptr;
    GameConfig* m_config = nullptr;
    const MapProfileRecord* m_profile = nullptr;
    uint32_t m_profileFlags = 0;
    EntityRecord* m_head = nullptr;
    bool m_single = false;
    BrushRecord* m_brushes = nullptr;
    const EntityProperty* m_property = nullptr;
    QByteArray m_lastKey;
    int m_smartPreference = -1;
    bool m_smartForcedOff = false;
    bool m_loadingAngles = false;
    bool m_loadingFlags = false;
    bool m_loadingVisGroups = false;
    bool m_loadingSmart = false;
    QByteArray m_keyBeforeEdit; // the row's key name when the key edit began
    bool m_renaming = false;    // the table's key cells are being rewritten by a rename
    QString m_committedClass;
    bool m_classTyped = false; // the class text was typed since the last commit
    QByteArray m_geometry;
    QSoundEffect* m_sound = nullptr;
    QString m_soundCopy; // temporary copy of an archived sound
    cNewKeyvalueDialog* m_newKeyvalue = nullptr;
    QCustomAngleBox* m_angleBox = nullptr;
    QCheckBox* m_flagBoxes[24] = {};
    // The keystroke level that may be continued.
    const UndoLevel* m_editLevel = nullptr;
    QString m_editToken;
};
