// The dialog's form, page modes, loading, the key/value table, the yaw box and the raw key edits.
#include "dialogs/editing/ObjectPropertiesDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QIcon>
#include <QCloseEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSoundEffect>
#include <QTableWidget>
#include <algorithm>
#include <cmath>

#include "core/NumberText.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "dialogs/application/CustomAngleBox.h"
#include "dialogs/application/NamedDialogs.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "gamedata/MapProfile.h"
#include "gamedata/PluginInterface.h"
#include "map/EPair.h"
#include "map/MapEntity.h"
#include "core/MainSettings.h"
#include "dialogs/application/DialogHost.h"
#include "document/SelectionBox.h"
#include "ui_ObjectPropertiesDialog.h"

namespace {

// Map text of a table cell or edit field.
QByteArray bytes(const QString& text) {
    return Text_ToWindows1251(text);
}

QString text(const char* bytes) {
    return Text_FromWindows1251(bytes ? bytes : "");
}

bool sameKey(const char* a, const QByteArray& b) {
    return a && qstricmp(a, b.constData()) == 0;
}

// The yaw code of an entity: -1 straight up, -2 straight down, else the yaw in 0..359 when negative.
int angleCode(const EntityRecord* e) {
    const float* a = e->angles;
    if (a[0] == -90 && a[1] == 0 && a[2] == 0) return -1;
    if (a[0] == 90 && a[1] == 0 && a[2] == 0) return -2;
    const int yaw = int(a[1]);
    return yaw < 0 ? 359 - ((-yaw - 1) % 360) : yaw;
}

} // namespace

cObjectPropertiesDialog::cObjectPropertiesDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint),
      ui(new Ui::cObjectPropertiesDialog) {
    ui->setupUi(this);
    setFixedSize(size());
    setWindowIcon(QIcon(QStringLiteral(":/qrc/table.png")));
    // Return in an edit field finishes that edit; it must not press a button of the window.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    ui->wSmartOff->move(ui->wSmartOn->pos());
    ui->cbParm->move(ui->txtParm->pos());
    ui->btnDecal->move(ui->txtParm->pos());
    ui->btnPlaySound->move(ui->btnPickColor->pos());
    ui->cbAngle->addItems({tr("Up"), tr("Down")});
    m_angleBox = new QCustomAngleBox(ui->classWidget);
    m_angleBox->setGeometry(QRect(QPoint(440, 18), QPoint(499, 67)));
    ui->epairTable->verticalHeader()->setDefaultSectionSize(15);
    for (int i = 0; i < 24; ++i) {
        auto* box = new QCheckBox(ui->tab_2);
        box->setObjectName(QStringLiteral("chkFlag%1").arg(i));
        box->setToolTip(QString::number(1u << i));
        box->setWhatsThis(QString::number(i));
        m_flagBoxes[i] = box;
        connect(box, &QCheckBox::stateChanged, this, &cObjectPropertiesDialog::exec_on_setFlags);
    }
    layoutFlagBoxes();
    m_newKeyvalue = new cNewKeyvalueDialog(this);

    connect(ui->btnSmart, &QPushButton::clicked, this, &cObjectPropertiesDialog::exec_on_toggleSmartMode);
    connect(ui->btnHelp, &QPushButton::clicked, this, &cObjectPropertiesDialog::exec_on_showHelp);
    connect(m_angleBox, &QCustomAngleBox::valueChanged, ui->cbAngle, &QComboBox::setEditText);
    connect(ui->cbAngle, &QComboBox::editTextChanged, this, &cObjectPropertiesDialog::exec_on_setAngle);
    connect(ui->cbClassList, &QComboBox::editTextChanged, this,
            &cObjectPropertiesDialog::exec_on_changeClass);
    connect(ui->cbClassList, &QComboBox::activated, this, &cObjectPropertiesDialog::exec_on_commitClass);
    connect(ui->cbClassList->lineEdit(), &QLineEdit::textEdited, this, [this] { m_classTyped = true; });
    connect(ui->cbClassList->lineEdit(), &QLineEdit::editingFinished, this,
            &cObjectPropertiesDialog::exec_on_commitClass);
    connect(ui->epairTable, &QTableWidget::currentCellChanged, this,
            &cObjectPropertiesDialog::exec_on_selectKeyValue);
    connect(ui->txtKey, &QLineEdit::textEdited, this, &cObjectPropertiesDialog::exec_on_modifyKey);
    connect(ui->txtKey, &QLineEdit::editingFinished, this, &cObjectPropertiesDialog::exec_on_keyEditFinished);
    connect(ui->txtValue, &QLineEdit::editingFinished, this,
            &cObjectPropertiesDialog::exec_on_keyEditFinished);
    connect(ui->txtKey, &QLineEdit::returnPressed, this, &cObjectPropertiesDialog::exec_on_commitKey);
    connect(ui->txtValue, &QLineEdit::returnPressed, this, &cObjectPropertiesDialog::exec_on_commitKey);
    // A key is renamed in the table itself, where the user sees which row changes.
    ui->epairTable->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    connect(ui->epairTable, &QTableWidget::itemChanged, this, &cObjectPropertiesDialog::exec_on_renameKey);
    connect(ui->txtValue, &QLineEdit::textEdited, this, &cObjectPropertiesDialog::exec_on_modifyValue);
    connect(ui->btnAdd, &QPushButton::clicked, this, &cObjectPropertiesDialog::exec_on_addKeyValue);
    connect(ui->btnDel, &QPushButton::clicked, this, &cObjectPropertiesDialog::exec_on_deleteKeyValue);
    connect(ui->txtParm, &QLineEdit::editingFinished, this,
            &cObjectPropertiesDialog::exec_on_modifySmartValue);
    connect(ui->cbParm, &QComboBox::editTextChanged, this,
            &cObjectPropertiesDialog::exec_on_modifySmartValue);
    connect(ui->btnPickColor, &QPushButton::clicked, this, &cObjectPropertiesDialog::exec_on_pickColor);
    connect(ui->btnPlaySound, &QPushButton::clicked, this, &cObjectPropertiesDialog::exec_on_playSound);
    connect(ui->btnDecal, &QPushButton::clicked, this, &cObjectPropertiesDialog::exec_on_pickDecal);
    connect(ui->btnBrowse, &QPushButton::clicked, this, &cObjectPropertiesDialog::exec_on_browseFile);
    connect(ui->btnCopy, &QPushButton::clicked, this, &cObjectPropertiesDialog::exec_on_copyEpairs);
    connect(ui->btnPaste, &QPushButton::clicked, this, &cObjectPropertiesDialog::exec_on_pasteEpairs);
    connect(ui->btnEditGroups, &QPushButton::clicked, this, &cObjectPropertiesDialog::exec_on_editVisGroups);
    connect(ui->lstVisGroups, &QListWidget::itemChanged, this,
            &cObjectPropertiesDialog::exec_on_modifyVisGroups);
    // Keystroke levels end when the focus moves on.
    for (QWidget* w : {static_cast<QWidget*>(ui->txtKey), static_cast<QWidget*>(ui->txtValue),
                       static_cast<QWidget*>(ui->cbAngle), static_cast<QWidget*>(ui->txtParm)})
        w->installEventFilter(this);
    setSmart(false);
    setPages(0);
}

cObjectPropertiesDialog::~cObjectPropertiesDialog() {
    // The base destructor hides the window, and the focus leaving a field would reach the slots
    // of this part already destroyed.
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
    delete m_sound;
    if (!m_soundCopy.isEmpty()) QFile::remove(m_soundCopy);
    delete ui;
}

void cObjectPropertiesDialog::layoutFlagBoxes() {
    const int w = (ui->tabWidget->width() - 22) / 3;
    for (int i = 0; i < 24; ++i)
        m_flagBoxes[i]->setGeometry((i / 8) * (w + 4) + 10, (i % 8) * 22 + 12, w, 20);
}

bool cObjectPropertiesDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut || event->type() == QEvent::FocusIn) endEdit();
    return QDialog::eventFilter(watched, event);
}

// ---- Binding and page modes ----------------------------------------------------------------------

void cObjectPropertiesDialog::setPages(int mode) {
    m_mode = mode;
    m_head = nullptr;
    m_brushes = nullptr;
    m_property = nullptr;
    endEdit();
    ui->tabWidget->clear();
    if (mode != 2) ui->tabWidget->addTab(ui->tab_1, tr("&Class Info"));
    if (mode == 3) ui->tabWidget->addTab(ui->tab_2, tr("&Flags"));
    if (mode == 2 || mode == 3) ui->tabWidget->addTab(ui->tab_3, tr("&VisGroup"));
    ui->classWidget->setVisible(mode == 1 || mode == 3);
    ui->lblNoProps->setVisible(mode == 0);
}

void cObjectPropertiesDialog::setDocument(MapDocument* document) {
    m_document = document;
    m_config = document ? document->gameConfig : nullptr;
    m_profile = nullptr;
    if (m_config && GameCfg_Manager())
        m_profile = GameCfg_FindProfile(GameCfg_Manager(), m_config->MapProfile.toUtf8().constData());
    m_profileFlags = m_profile ? m_profile->capabilities : 0;
}

void cObjectPropertiesDialog::retranslate() {
    ui->retranslateUi(this);
    m_newKeyvalue->retranslate();
    {
        const QSignalBlocker blocker(ui->cbAngle);
        ui->cbAngle->clear();
        ui->cbAngle->addItems({tr("Up"), tr("Down")});
    }
    EntityRecord* head = m_head;
    const bool single = m_single;
    BrushRecord* brushes = m_brushes;
    setPages(m_mode);
    m_brushes = brushes;
    if (head) single ? loadObject(head) : loadSelection(head);
}

void cObjectPropertiesDialog::reload() {
    if (!m_document || !m_document->world) return;
    MapWorld* world = m_document->world;
    const int mode = world->selectedEntities ? 3 : world->selectedBrushes ? 2 : 0;
    setPages(mode);
    m_brushes = world->selectedBrushes;
    if (world->selectedEntities)
        loadSelection(world->selectedEntities);
    else if (mode == 2)
        updateVisGroups();
}

QList<EntityRecord*> cObjectPropertiesDialog::edited() const {
    QList<EntityRecord*> list;
    for (EntityRecord* e = m_head; e; e = m_single ? nullptr : e->selNext)
        list.append(e);
    return list;
}

UndoHistory* cObjectPropertiesDialog::history() const {
    return m_document ? m_document->undo : nullptr;
}

void cObjectPropertiesDialog::beginEdit(const char* name, const QString& field) {
    UndoHistory* h = history();
    if (!h) return;
    QString token;
    if (!field.isEmpty()) {
        token = field + QLatin1Char('|') + QString::number(ui->epairTable->currentRow());
        for (EntityRecord* e : edited())
            token += QLatin1Char(',') + QString::number(e->serial);
    }
    if (!token.isEmpty() && token == m_editToken && m_editLevel && Undo_NewestLevel(h) == m_editLevel &&
        qstrcmp(m_editLevel->name, name) == 0)
        return;
    Undo_BeginLevel(h, name);
    for (EntityRecord* e : edited())
        Undo_SaveEntity(h, e, UndoList::ChangedEntities);
    Undo_EndLevel(h);
    m_editLevel = token.isEmpty() ? nullptr : Undo_NewestLevel(h);
    m_editToken = token;
}

void cObjectPropertiesDialog::markModified() {
    if (!m_document) return;
    Project_SetModified(m_document);
    // A class or name changed here changes what the status bar says of the selection.
    if (DialogHost* host = Dialog_Host()) host->setStatusText(Map_SelectionSummaryText(m_document->world), 2);
}

bool cObjectPropertiesDialog::smartMode() const {
    return ui->btnSmart->isChecked();
}

void cObjectPropertiesDialog::setSmart(bool on) {
    ui->btnSmart->setChecked(on);
    ui->wSmartOn->setVisible(on);
    ui->wSmartOff->setVisible(!on);
}

// ---- Key classes -----------------------------------------------------------------------------------

bool cObjectPropertiesDialog::isRenderKey(const QByteArray& key) const {
    if (key == "_light" || key == "light" || key == "color" || key == "_color") return true;
    if ((m_profileFlags & 0x100) &&
        (key == "rendermode" || key == "rendercolor" || key == "renderfx" || key == "renderamt"))
        return true;
    return (m_profileFlags & 0x200) && key == "alpha";
}

bool cObjectPropertiesDialog::isModelKey(EntityRecord* e, const QByteArray& key) const {
    for (const char* k : {"body", "skin", "framerate", "sequence", "radius"})
        if (key == k) return true;
    return key == e->handle->keyName(KEY_SCALE);
}

bool cObjectPropertiesDialog::isSkyKey(EntityRecord* e, const QByteArray& key) const {
    if (!(e->flags & EntityFlag::World)) return false;
    if ((m_profileFlags & 0x8000) && key == e->handle->keyName(KEY_SKYNAME)) return true;
    return (m_profileFlags & 0x10000) && (key == "skyaxis" || key == "skyrotate");
}

bool cObjectPropertiesDialog::isDrawableKey(EntityRecord* e, const QByteArray& key) const {
    static const int roles[] = {
        -1, KEY_SPRITE_MODEL, KEY_TEXTURE, KEY_STUDIO_MODEL, KEY_PARTICLE_MODEL, KEY_INSTANCE_MODEL};
    const int kind = e->modelKind;
    if (kind >= 1 && kind <= 5) return key == e->handle->keyName(roles[kind]);
    // Without a drawable yet, a key that names one makes it.
    for (int i = 1; i <= 5; ++i)
        if (key == e->handle->keyName(roles[i])) return true;
    return false;
}

void cObjectPropertiesDialog::refreshKey(EntityRecord* e, const QByteArray& key) {
    cMapEntity* m = e->handle;
    if (!m) return;
    m->updateTargets();
    if (isDrawableKey(e, key)) m->rebuildModel(true);
    if (isModelKey(e, key)) m->readModelKeys();
    if (isRenderKey(key)) m->readRenderKeys();
    if (isSkyKey(e, key)) m->readSkyKeys();
}

// The angles a typed "angles" or "angle" value gives; nothing for other keys.
void cObjectPropertiesDialog::setAnglesFromValue(EntityRecord* e, const QByteArray& key,
                                                 const QByteArray& value) {
    float angles[3] = {e->angles[0], e->angles[1], e->angles[2]};
    if (sameKey(e->handle->keyName(KEY_ANGLES), key)) {
        Key_ParseFloats(value.constData(), angles, 3);
    } else if (key.compare("angle", Qt::CaseInsensitive) == 0) {
        const float v = Key_ToFloat(value.constData());
        angles[0] = v == -1 ? -90 : v == -2 ? 90 : 0;
        angles[1] = (v == -1 || v == -2) ? 0 : v;
        angles[2] = 0;
    } else {
        return;
    }
    std::copy(angles, angles + 3, e->angles);
    if (e->modelKind == EntityModelKind::Model) e->handle->updateModelBounds(true);
}

// ---- Loading ---------------------------------------------------------------------------------------

void cObjectPropertiesDialog::beginLoad() {
    m_newKeyvalue->counter = 1;
    m_committedClass.clear();
    m_classTyped = false;
    endEdit();
    ui->btnSmart->setFocus();
}

void cObjectPropertiesDialog::loadObject(EntityRecord* entity) {
    m_head = entity;
    m_single = true;
    if (!entity) return;
    if (m_mode == 1 || m_mode == 3) {
        beginLoad();
        cMapEntity* m = entity->handle;
        const bool hasClass = m && m->entityClass;
        ui->btnHelp->setEnabled(hasClass);
        if (!m_smartForcedOff) setSmart(m_smartPreference == 1 && hasClass);
        if (entity->flags & EntityFlag::World) {
            const QSignalBlocker blocker(ui->cbClassList);
            ui->cbClassList->setEnabled(false);
            ui->cbClassList->clear();
            ui->cbClassList->addItem(text(entity->classname));
        } else {
            fillClassList(entity->firstBrush != nullptr,
                          QByteArray(entity->classname ? entity->classname : ""));
        }
        m_committedClass = ui->cbClassList->currentText();
        setFlagCaptions(hasClass ? m->entityClass : nullptr);
        fillKeyValueTable();
        loadAngles();
        loadFlags();
    }
    if (m_mode == 2 || m_mode == 3) updateVisGroups();
}

void cObjectPropertiesDialog::loadSelection(EntityRecord* head) {
    if (head && !head->selNext) return loadObject(head);
    m_head = head;
    m_single = false;
    if (!head) return;
    if (m_mode == 1 || m_mode == 3) {
        beginLoad();
        bool allClassed = true, sameName = true, sameKind = true;
        for (EntityRecord* e = head; e; e = e->selNext) {
            allClassed = allClassed && e->handle && e->handle->entityClass;
            sameName = sameName && qstrcmp(e->classname, head->classname) == 0;
            sameKind = sameKind && (e->flags & EntityFlag::Point) == (head->flags & EntityFlag::Point) &&
                       (e->firstBrush != nullptr) == (head->firstBrush != nullptr);
        }
        const bool common = allClassed && sameName && sameKind;
        ui->btnHelp->setEnabled(common);
        if (!m_smartForcedOff) setSmart(m_smartPreference == 1 && common);
        {
            const QSignalBlocker blocker(ui->cbClassList);
            ui->cbClassList->setEnabled(false);
            ui->cbClassList->clear();
        }
        if (sameKind) {
            fillClassList(head->firstBrush != nullptr,
                          sameName && head->classname ? QByteArray(head->classname) : QByteArray());
            setFlagCaptions(sameName && head->handle ? head->handle->entityClass : nullptr);
        } else {
            const QSignalBlocker blocker(ui->cbClassList);
            ui->cbClassList->addItem(tr("(no change)"));
            setFlagCaptions(nullptr);
        }
        m_committedClass = ui->cbClassList->currentText();
        fillKeyValueTable();
        loadAngles();
        loadFlags();
    }
    if (m_mode == 2 || m_mode == 3) updateVisGroups();
}

void cObjectPropertiesDialog::fillClassList(bool solid, const QByteArray& current) {
    const QSignalBlocker blocker(ui->cbClassList);
    ui->cbClassList->setEnabled(false);
    ui->cbClassList->clear();
    QList<QByteArray> names;
    GameDataRegistry* registry = Fgd_Registry();
    if (m_config && registry) {
        bool first = true;
        for (const QString& path : m_config->GameData) {
            GameData* file = registry->files.value(path);
            if (!file || file->loadState != GameDataState::Loaded) continue;
            const int32_t kind = solid ? EntityClassKind::Solid : EntityClassKind::Point;
            for (const auto& [name, eclass] : file->classes) {
                if (eclass->kind != kind) continue;
                // a structured binding is captured through a named reference (clang 14)
                if (!first && std::any_of(names.begin(), names.end(), [&, &key = name](const QByteArray& n) {
                        return n.compare(key, Qt::CaseInsensitive) == 0;
                    }))
                    continue;
                names.append(name);
            }
            first = false;
        }
    }
    std::sort(names.begin(), names.end());
    for (const QByteArray& name : names)
        ui->cbClassList->addItem(Text_FromWindows1251(name));
    const int index = current.isEmpty() ? -1 : names.indexOf(current);
    if (index >= 0)
        ui->cbClassList->setCurrentIndex(index);
    else
        ui->cbClassList->setEditText(Text_FromWindows1251(current));
    ui->cbClassList->setEnabled(true);
}

void cObjectPropertiesDialog::fillKeyValueTable() {
    QTableWidget* table = ui->epairTable;
    const QSignalBlocker blocker(table);
    table->clear();
    table->setRowCount(0);
    ui->txtKey->clear();
    ui->txtValue->clear();
    m_property = nullptr;
    int select = -1;
    const int width = table->viewport()->width();
    EntityClass* eclass = m_head && m_head->handle ? m_head->handle->entityClass : nullptr;
    if (smartMode() && eclass) {
        ui->lblAttibs->setText(tr("Attributes:"));
        table->setColumnCount(1);
        table->setColumnWidth(0, width);
        for (const EntityProperty& p : eclass->properties) {
            if (p.type == PropertyType::Flags || p.type == PropertyType::Origin) continue;
            const int row = table->rowCount();
            table->insertRow(row);
            auto* item =
                new QTableWidgetItem(p.displayName.isEmpty() ? Text_FromWindows1251(p.name) : p.displayName);
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            item->setData(Qt::UserRole, p.name);
            table->setItem(row, 0, item);
            if (p.name == m_lastKey) {
                m_property = &p;
                select = row;
            }
        }
    } else {
        ui->lblAttibs->setText(tr("Keyvalues:"));
        table->setColumnCount(2);
        table->setColumnWidth(0, width / 2);
        table->setColumnWidth(1, width - width / 2);
        for (EntityRecord* e : edited()) {
            const char* flagsKey = e->handle->keyName(KEY_SPAWNFLAGS);
            const char* originKey = e->handle->keyName(KEY_ORIGIN);
            for (EPair* p = e->epairs; p; p = p->next) {
                if (!p->key || qstricmp(p->key, flagsKey) == 0 || qstricmp(p->key, originKey) == 0) continue;
                const QString key = text(p->key), value = text(p->value);
                int row = 0;
                for (; row < table->rowCount(); ++row)
                    if (table->item(row, 0)->text() == key) break;
                if (row < table->rowCount()) {
                    if (table->item(row, 1)->text() != value) table->item(row, 1)->setText(tr("(no change)"));
                    continue;
                }
                table->insertRow(row);
                auto* name = new QTableWidgetItem(key);
                name->setData(Qt::UserRole, QByteArray(p->key));
                table->setItem(row, 0, name);
                auto* shown = new QTableWidgetItem(value);
                shown->setFlags(shown->flags() & ~Qt::ItemIsEditable);
                table->setItem(row, 1, shown);
                if (m_lastKey == p->key) select = row;
            }
        }
    }
    if (select >= 0) {
        table->setCurrentCell(select, 0);
        if (!smartMode()) {
            ui->txtKey->setText(table->item(select, 0)->text());
            ui->txtValue->setText(table->item(select, 1)->text());
        }
    }
    if (smartMode()) showSmartEditor();
}

void cObjectPropertiesDialog::exec_on_selectKeyValue(int row, int column, int previousRow,
                                                     int previousColumn) {
    (void)column;
    (void)previousColumn;
    if (row == previousRow) return;
    endEdit();
    QTableWidget* table = ui->epairTable;
    if (row < 0 || !table->item(row, 0)) {
        m_property = nullptr;
        ui->txtKey->clear();
        ui->txtValue->clear();
        showSmartEditor();
        return;
    }
    if (smartMode()) {
        m_property = nullptr;
        const QByteArray key = table->item(row, 0)->data(Qt::UserRole).toByteArray();
        if (m_head && m_head->handle && m_head->handle->entityClass)
            for (const EntityProperty& p : m_head->handle->entityClass->properties)
                if (p.name == key) {
                    m_property = &p;
                    break;
                }
        if (m_property) m_lastKey = m_property->name;
        showSmartEditor();
    } else {
        ui->txtKey->setText(table->item(row, 0)->text());
        ui->txtValue->setText(table->item(row, 1) ? table->item(row, 1)->text() : QString());
        m_lastKey = bytes(ui->txtKey->text());
        m_keyBeforeEdit = m_lastKey;
    }
}

// ---- Angles ----------------------------------------------------------------------------------------

void cObjectPropertiesDialog::loadAngles() {
    m_loadingAngles = true;
    const QList<EntityRecord*> list = edited();
    if (!list.isEmpty()) {
        const int code = angleCode(list.first());
        QString shown = code == -1   ? ui->cbAngle->itemText(0)
                        : code == -2 ? ui->cbAngle->itemText(1)
                                     : QString::number(code);
        for (EntityRecord* e : list)
            if (angleCode(e) != code) shown = tr("(diff)");
        ui->cbAngle->setEditText(shown);
        m_angleBox->setAngle(shown);
    }
    m_loadingAngles = false;
}

void cObjectPropertiesDialog::exec_on_setAngle(const QString& value) {
    if (m_loadingAngles) return;
    // Only numbers and the named directions are angles: half-typed text changes nothing.
    const QString t = value.trimmed();
    bool number = false;
    t.toInt(&number);
    const bool named = t.compare(QLatin1String("up"), Qt::CaseInsensitive) == 0 ||
                       t.compare(QLatin1String("down"), Qt::CaseInsensitive) == 0 ||
                       t.compare(ui->cbAngle->itemText(0), Qt::CaseInsensitive) == 0 ||
                       t.compare(ui->cbAngle->itemText(1), Qt::CaseInsensitive) == 0;
    if (!number && !named) return;
    const int code = m_angleBox->setAngle(t);
    if (code == -3 || !m_head) return;
    beginEdit("Change Angle", QStringLiteral("angle"));
    applyAngle(code);
}

void cObjectPropertiesDialog::applyAngle(int code) {
    bool bounds = false;
    for (EntityRecord* e : edited()) {
        cMapEntity* m = e->handle;
        float a[3] = {e->angles[0], e->angles[1], e->angles[2]};
        if (code == -1) {
            a[0] = -90, a[1] = 0, a[2] = 0;
        } else if (code == -2) {
            a[0] = 90, a[1] = 0, a[2] = 0;
        } else if (std::abs(a[0]) == 90 && a[1] == 0 && a[2] == 0) {
            a[0] = 0, a[1] = float(code), a[2] = 0;
        } else {
            a[1] = float(code);
        }
        std::copy(a, a + 3, e->angles);
        const char* anglesKey = m->keyName(KEY_ANGLES);
        EPair* pair = nullptr;
        for (EPair* p = e->epairs; p && !pair; p = p->next)
            if (p->key && (qstricmp(p->key, "angle") == 0 || qstricmp(p->key, anglesKey) == 0)) pair = p;
        char buf[3][32];
        const QByteArray anglesText = QByteArray(Key_FormatFloat(buf[0], 32, a[0])) + ' ' +
                                      Key_FormatFloat(buf[1], 32, a[1]) + ' ' +
                                      Key_FormatFloat(buf[2], 32, a[2]);
        if (pair && qstricmp(pair->key, "angle") == 0)
            m->setKeyValue(pair->key, QByteArray::number(code).constData());
        else if (pair)
            m->setKeyValue(pair->key, anglesText.constData());
        else
            m->prependKeyValue(anglesKey, anglesText.constData());
        if (e->modelKind == EntityModelKind::Model) {
            m->updateModelBounds(true);
            bounds = true;
        }
    }
    markModified();
    if (bounds && m_document) Project_RedrawViews(m_document, ViewMask::Views2D | ViewMask::View3D);
    const QByteArray keep = m_lastKey;
    fillKeyValueTable();
    m_lastKey = keep;
}

// ---- Raw key edits ---------------------------------------------------------------------------------

void cObjectPropertiesDialog::exec_on_addKeyValue() {
    if (!m_head) return;
    m_newKeyvalue->prepare();
    if (m_newKeyvalue->exec() != QDialog::Accepted) return;
    const QByteArray key = bytes(m_newKeyvalue->key().trimmed());
    const QByteArray value = bytes(m_newKeyvalue->value());
    if (key.isEmpty()) return;
    beginEdit("Add Keyvalue");
    for (EntityRecord* e : edited()) {
        QByteArray candidate = key;
        for (int n = 1; e->handle->findKey(candidate.constData()); ++n)
            candidate = key + '#' + QByteArray::number(n);
        if (e == m_head) m_lastKey = candidate;
        markModified();
        e->handle->appendKeyValue(candidate.constData(), value.constData());
        setAnglesFromValue(e, candidate, value);
        refreshKey(e, candidate);
    }
    fillKeyValueTable();
    loadAngles();
}

void cObjectPropertiesDialog::exec_on_deleteKeyValue() {
    QTableWidget* table = ui->epairTable;
    const int row = table->currentRow();
    if (row < 0 || !table->item(row, 0) || !m_head) return;
    const QByteArray key = smartMode() ? table->item(row, 0)->data(Qt::UserRole).toByteArray()
                                       : bytes(table->item(row, 0)->text());
    beginEdit("Delete Keyvalue");
    bool anglesRemoved = false;
    for (EntityRecord* e : edited()) {
        cMapEntity* m = e->handle;
        m->removeKey(key.constData());
        if (sameKey(m->keyName(KEY_ANGLES), key)) {
            std::fill(e->angles, e->angles + 3, 0.0f);
            anglesRemoved = true;
        }
        refreshKey(e, key);
        const bool modelOrSprite =
            e->modelKind == EntityModelKind::Model || e->modelKind == EntityModelKind::Sprite;
        if ((e->modelKind == EntityModelKind::Model && key == "sequence") ||
            (modelOrSprite && sameKey(m->keyName(KEY_SCALE), key)))
            m->updateModelBounds(true);
    }
    markModified();
    {
        const QSignalBlocker blocker(table);
        table->removeRow(row);
    }
    const int next = table->rowCount() ? std::max(0, row - 1) : -1;
    table->setCurrentCell(-1, -1);
    if (next >= 0) table->setCurrentCell(next, 0);
    if (next < 0) exec_on_selectKeyValue(-1, -1, row, 0);
    if (anglesRemoved) loadAngles();
}

int cObjectPropertiesDialog::rowOfKey(const QString& key) const {
    const QTableWidget* table = ui->epairTable;
    if (key.isEmpty() || smartMode()) return -1;
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0) && table->item(row, 0)->text().compare(key, Qt::CaseInsensitive) == 0)
            return row;
    return -1;
}

// A typed key name is looked up, not renamed: a key the entities have becomes the current row
// (its value shown, value edits change it); a new name leaves no row current until Return adds
// it. A blank field changes nothing.
void cObjectPropertiesDialog::exec_on_modifyKey(const QString& typed) {
    if (!m_head || smartMode() || typed.trimmed().isEmpty()) return;
    QTableWidget* table = ui->epairTable;
    const int row = rowOfKey(typed.trimmed());
    if (row == table->currentRow()) return;
    endEdit();
    const QSignalBlocker blocker(table);
    if (row >= 0) {
        table->setCurrentCell(row, 0);
        ui->txtValue->setText(table->item(row, 1)->text());
        m_lastKey = table->item(row, 0)->data(Qt::UserRole).toByteArray();
    } else {
        table->setCurrentCell(-1, -1);
        table->clearSelection();
        ui->txtValue->clear();
    }
}

// Return in the key or value field: a key no edited entity has is added with the typed value.
void cObjectPropertiesDialog::exec_on_commitKey() {
    if (!m_head || smartMode() || ui->epairTable->currentRow() >= 0) return;
    const QByteArray key = bytes(ui->txtKey->text().trimmed());
    if (key.isEmpty() || rowOfKey(ui->txtKey->text().trimmed()) >= 0) return;
    // The flags and the origin have their own editors and no row.
    if (sameKey(m_head->handle->keyName(KEY_SPAWNFLAGS), key) ||
        sameKey(m_head->handle->keyName(KEY_ORIGIN), key))
        return;
    QString one = ui->txtValue->text();
    one.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    const QByteArray value = bytes(one);
    if (!placementAccepted(key, value)) return;
    beginEdit("Add Keyvalue");
    for (EntityRecord* e : edited()) {
        e->handle->appendKeyValue(key.constData(), value.constData());
        setAnglesFromValue(e, key, value);
        refreshKey(e, key);
    }
    markModified();
    m_lastKey = key;
    fillKeyValueTable();
    loadAngles();
}

// A key cell edited in the table renames that key in every edited entity.
void cObjectPropertiesDialog::exec_on_renameKey(QTableWidgetItem* item) {
    if (m_renaming || !item || item->column() != 0 || smartMode() || !m_head) return;
    QTableWidget* table = ui->epairTable;
    const int row = item->row();
    const QByteArray oldKey = item->data(Qt::UserRole).toByteArray();
    const QString typed = item->text().trimmed();
    m_renaming = true;
    if (typed.isEmpty() || oldKey.isEmpty() || bytes(typed) == oldKey || oldKey == bytes(tr("(no change)"))) {
        // A blank name names nothing, and a row of differing names no one key: the row stays.
        item->setText(text(oldKey.constData()));
        m_renaming = false;
        return;
    }
    const QByteArray newKey = bytes(typed);
    endEdit();
    beginEdit("Rename Key");
    QByteArray firstUnique;
    bool differ = false;
    for (EntityRecord* e : edited()) {
        cMapEntity* m = e->handle;
        EPair* pair = m->findKey(oldKey.constData());
        if (!pair) continue;
        QByteArray candidate = newKey;
        for (int n = 1;; ++n) {
            bool taken = false;
            for (EPair* p = e->epairs; p && !taken; p = p->next)
                taken = p != pair && p->key && qstricmp(p->key, candidate.constData()) == 0;
            if (!taken) break;
            candidate = newKey + '#' + QByteArray::number(n);
        }
        if (candidate != newKey) {
            if (firstUnique.isEmpty())
                firstUnique = candidate;
            else if (firstUnique != candidate)
                differ = true;
        }
        if (qstrcmp(pair->key, candidate.constData()) != 0) {
            Sys_Free(pair->key);
            pair->key = Sys_StrDup(candidate.constData());
        }
        refreshKey(e, oldKey);
        refreshKey(e, candidate);
    }
    endEdit();
    const QString shown = differ                   ? tr("(no change)")
                          : !firstUnique.isEmpty() ? text(firstUnique.constData())
                                                   : typed;
    item->setText(shown);
    item->setData(Qt::UserRole, bytes(shown));
    m_renaming = false;
    if (row == table->currentRow()) ui->txtKey->setText(shown);
    m_lastKey = bytes(shown);
    markModified();
}

// Leaving a blank key field shows the row's name again; leaving both fields with a new key typed
// adds it, as Return would.
void cObjectPropertiesDialog::exec_on_keyEditFinished() {
    QTableWidget* table = ui->epairTable;
    const int row = table->currentRow();
    if (row >= 0 && table->item(row, 0) && ui->txtKey->text().trimmed().isEmpty())
        ui->txtKey->setText(table->item(row, 0)->text());
    QWidget* focus = QApplication::focusWidget();
    if (focus != ui->txtKey && focus != ui->txtValue) exec_on_commitKey();
}

// The keys that place an entity take only finite numbers, the origin only points inside the world:
// anything else is refused with a console message and the entities keep their values.
bool cObjectPropertiesDialog::placementAccepted(const QByteArray& key, const QByteArray& value) const {
    if (!m_head) return true;
    const cMapEntity* m = m_head->handle;
    const bool origin = sameKey(m->keyName(KEY_ORIGIN), key);
    if (!origin && !sameKey(m->keyName(KEY_ANGLES), key) && key.compare("angle", Qt::CaseInsensitive) != 0)
        return true;
    float numbers[3] = {0, 0, 0};
    const int32_t read = Key_ParseFloats(value.constData(), numbers, 3);
    const float limit = origin ? Select_HalfWorldSize() : float(kNumberKeyLimit);
    for (int32_t i = 0; i < read; ++i)
        if (!std::isfinite(numbers[i]) || std::fabs(numbers[i]) > limit) {
            Sys_Warning("'%s' is no value for the key %s", value.constData(), key.constData());
            return false;
        }
    return true;
}

void cObjectPropertiesDialog::exec_on_modifyValue(const QString& typed) {
    QTableWidget* table = ui->epairTable;
    const int row = table->currentRow();
    if (row < 0 || !table->item(row, 0) || !m_head) return;
    const QByteArray key = bytes(table->item(row, 0)->text());
    QString one = typed;
    one.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    const QByteArray value = bytes(one);
    if (!placementAccepted(key, value)) return;
    beginEdit("Change Value", QStringLiteral("value"));
    bool angles = false;
    for (EntityRecord* e : edited()) {
        cMapEntity* m = e->handle;
        for (EPair* p = e->epairs; p; p = p->next) {
            if (!p->key || qstricmp(p->key, key.constData()) != 0) continue;
            if (sameKey(m->keyName(KEY_ANGLES), key) || key.compare("angle", Qt::CaseInsensitive) == 0) {
                setAnglesFromValue(e, key, value);
                angles = true;
            }
            if (qstrcmp(p->value ? p->value : "", value.constData()) != 0)
                EPair_SetValue(p, value.constData());
        }
        refreshKey(e, key);
    }
    if (angles) loadAngles();
    table->item(row, 1)->setText(one);
    markModified();
}

void cObjectPropertiesDialog::exec_on_toggleSmartMode(bool on) {
    if (on) {
        const QByteArray name = bytes(ui->cbClassList->currentText());
        bool known = m_config && Fgd_FindClassInConfig(m_config, name.constData(), ClassSelector::Any);
        bool classed = false;
        for (EntityRecord* e : edited())
            classed = classed || (e->handle && e->handle->entityClass);
        // The world's combo holds its classname too.
        if (!known && m_head && m_head->handle && m_head->handle->entityClass) known = true;
        if (!known || !classed) {
            ui->btnSmart->setChecked(false);
            return;
        }
    }
    m_smartPreference = on ? 1 : 0;
    m_smartForcedOff = !on;
    setSmart(on);
    fillKeyValueTable();
}

// ---- Window events ---------------------------------------------------------------------------------

void cObjectPropertiesDialog::showEvent(QShowEvent* event) {
    if (m_smartPreference < 0) {
        m_smartPreference = Sys_Settings().DefaultSmartEdit ? 1 : 0;
        if (m_head && !m_smartForcedOff) {
            const bool smart = m_smartPreference == 1 && m_head->handle && m_head->handle->entityClass;
            setSmart(smart);
            fillKeyValueTable();
        }
    }
    if (!m_geometry.isEmpty()) restoreGeometry(m_geometry);
    QDialog::showEvent(event);
}

void cObjectPropertiesDialog::closeEvent(QCloseEvent* event) {
    DialogHost* host = Dialog_Host();
    if (host && host->entityHelpVisible()) host->closeEntityHelp();
    if (host && (m_mode == 2 || m_mode == 3)) host->updateVisGroupList();
    if (m_sound) {
        m_sound->stop();
        delete m_sound;
        m_sound = nullptr;
    }
    m_geometry = saveGeometry();
    endEdit();
    hide();
    // Closing ends an editing mode as a tool switch does: the settings re-applied, all views repainted.
    if (host) {
        host->applySettings();
        host->updateAllViews(3);
        host->updateToolActions();
    } else if (m_document) {
        Project_RedrawViews(m_document, ViewMask::Views2D | ViewMask::View3D);
    }
    event->ignore();
}

void cObjectPropertiesDialog::reject() {
    close();
}
