// The dialog's typed editors (smart mode), the spawnflag boxes, the visgroup page and the class
// change.
#include <QAudioDevice>
#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMediaDevices>
#include <QSignalBlocker>
#include <QSoundEffect>
#include <QTableWidget>
#include <QTemporaryFile>
#include <QUrl>
#include <QHash>
#include <QListWidget>
#include <algorithm>
#include <cstddef>
#include <iterator>

#include "core/NumberText.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "dialogs/application/CustomAngleBox.h"
#include "dialogs/editing/EditGroupsDialog.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "gamedata/TextureLists.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/TargetNames.h"
#include "document/UndoHistory.h"
#include "document/VisGroup.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "gamedata/PluginInterface.h"
#include "gamedata/SkyManager.h"
#include "dialogs/editing/SkyCombo.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapPath.h"
#include "dialogs/application/DialogHost.h"
#include "core/Prompt.h"
#include "document/SelectionBox.h"
#include "ui_ObjectPropertiesDialog.h"

namespace {

QString text(const char* bytes) {
    return Text_FromWindows1251(bytes ? bytes : "");
}

const char* kNoChange = "(no change)";

// How many numbers a typed value of the type must hold: {min, max}; {0, 0} takes any text.
std::pair<int, int> numberCount(PropertyType type) {
    switch (type) {
    case PropertyType::Integer:
    case PropertyType::Float:
        return {1, 1};
    case PropertyType::Origin:
    case PropertyType::Vector:
        return {3, 3};
    case PropertyType::Angle:
        return {1, 3};
    case PropertyType::Color1:
    case PropertyType::Color255:
        return {3, 64};
    default:
        return {0, 0};
    }
}

const char* typeName(PropertyType type) {
    static const char* names[] = {
        "string",  "integer",   "float",  "origin",  "angle",         "vector",
        "flags",   "choices",   "color",  "color",   "target_source", "target_destination",
        "float",   "sprite",    "model",  "sound",   "decal",         "shader",
        "texture", "particles", "prefab", "skyname", "script"};
    const int i = int(type);
    return i >= 0 && i < int(std::size(names)) ? names[i] : "???";
}

} // namespace

// ---- Smart editors ---------------------------------------------------------------------------------

QByteArray cObjectPropertiesDialog::smartShownValue(const QByteArray& key) const {
    const QList<EntityRecord*> list = edited();
    if (list.isEmpty()) return {};
    auto valueOf = [&](EntityRecord* e) {
        EPair* p = e->handle->findKey(key.constData());
        return QByteArray(p && p->value ? p->value : "");
    };
    const QByteArray first = valueOf(list.first());
    for (EntityRecord* e : list)
        if (valueOf(e) != first) return kNoChange;
    return first;
}

void cObjectPropertiesDialog::showSmartEditor() {
    m_loadingSmart = true;
    for (QWidget* w : {static_cast<QWidget*>(ui->txtParm), static_cast<QWidget*>(ui->cbParm),
                       static_cast<QWidget*>(ui->btnBrowse), static_cast<QWidget*>(ui->btnPickColor),
                       static_cast<QWidget*>(ui->btnDecal), static_cast<QWidget*>(ui->btnPlaySound)})
        w->hide();
    if (!m_property) {
        m_loadingSmart = false;
        return;
    }
    const QByteArray value = smartShownValue(m_property->name);
    const QString shown = Text_FromWindows1251(value);
    ui->txtParm->setText(shown);
    switch (m_property->type) {
    case PropertyType::Choices: {
        ui->cbParm->clear();
        const QByteArray current = value.isEmpty() ? QByteArray("0") : value;
        int index = -1;
        for (const PropertyChoice& c : m_property->choices) {
            ui->cbParm->addItem(c.caption, c.value);
            if (index < 0 && (c.value == current || (value.isEmpty() && c.value.isEmpty())))
                index = ui->cbParm->count() - 1;
        }
        if (index >= 0)
            ui->cbParm->setCurrentIndex(index);
        else
            ui->cbParm->setEditText(Text_FromWindows1251(current));
        ui->cbParm->show();
        break;
    }
    case PropertyType::TargetDestination:
        fillTargetList(shown);
        ui->cbParm->show();
        break;
    case PropertyType::Sky:
        if (m_config) {
            ui->cbParm->clear();
            Sky_FillComboBox(Sky_Manager(), m_config, ui->cbParm, shown);
            if (ui->cbParm->currentText() != shown) ui->cbParm->setEditText(shown);
        }
        ui->cbParm->show();
        break;
    case PropertyType::Color1:
    case PropertyType::Color255:
        ui->txtParm->show();
        ui->btnPickColor->show();
        break;
    case PropertyType::Sound:
        ui->txtParm->show();
        ui->btnBrowse->show();
        ui->btnPlaySound->show();
        break;
    case PropertyType::Sprite:
    case PropertyType::Studio:
    case PropertyType::Texture:
    case PropertyType::Particle:
    case PropertyType::Instance:
    case PropertyType::Script:
        ui->txtParm->show();
        ui->btnBrowse->show();
        break;
    case PropertyType::Decal:
    case PropertyType::Shader:
        ui->btnDecal->setText(shown);
        ui->btnDecal->show();
        break;
    case PropertyType::Flags:
        Sys_Warning("unhandled SmartVariable: %i", int(m_property->type));
        break;
    default:
        if (int(m_property->type) > int(PropertyType::Script)) {
            Sys_Warning("unhandled SmartVariable: %i", int(m_property->type));
            break;
        }
        ui->txtParm->show();
    }
    m_loadingSmart = false;
}

void cObjectPropertiesDialog::fillTargetList(const QString& current) {
    const QStringList names = Map_TargetNames(m_document ? m_document->world : nullptr);
    ui->cbParm->clear();
    ui->cbParm->addItems(names);
    const int index = names.indexOf(current);
    if (index >= 0)
        ui->cbParm->setCurrentIndex(index);
    else
        ui->cbParm->setEditText(current);
}

QByteArray cObjectPropertiesDialog::smartEditedValue() const {
    if (!m_property) return {};
    switch (m_property->type) {
    case PropertyType::Choices:
    case PropertyType::Sky: {
        const QString t = ui->cbParm->currentText();
        const int index = ui->cbParm->findText(t);
        if (index >= 0 && ui->cbParm->itemData(index).isValid()) {
            const QVariant data = ui->cbParm->itemData(index);
            return data.typeId() == QMetaType::QByteArray ? data.toByteArray()
                                                          : Text_ToWindows1251(data.toString());
        }
        return Text_ToWindows1251(t);
    }
    case PropertyType::TargetDestination:
        return Text_ToWindows1251(ui->cbParm->currentText());
    case PropertyType::Decal:
    case PropertyType::Shader:
        return Text_ToWindows1251(ui->btnDecal->text());
    default:
        return Text_ToWindows1251(ui->txtParm->text());
    }
}

// Numeric keys take only their numbers: a mistyped value is refused with a message.
bool cObjectPropertiesDialog::smartValueAccepted(const QByteArray& value) const {
    const auto [least, most] = numberCount(m_property->type);
    if (!least || value.isEmpty() || value == kNoChange) return true;
    const QList<QByteArray> parts = value.simplified().split(' ');
    bool ok = parts.size() >= least && parts.size() <= most;
    // A point stays inside the world; any other number is one a float holds.
    const double limit =
        m_property->type == PropertyType::Origin ? double(Select_HalfWorldSize()) : kNumberKeyLimit;
    for (const QByteArray& part : parts) {
        bool number = false;
        float scratch = 0.0f;
        if (m_property->type == PropertyType::Integer)
            part.toInt(&number);
        else
            number = Number_Read(QString::fromLatin1(part), -limit, limit, &scratch);
        ok = ok && number;
    }
    if (!ok)
        Sys_Warning("'%s' is no value for the %s key %s", value.constData(), typeName(m_property->type),
                    m_property->name.constData());
    return ok;
}

void cObjectPropertiesDialog::exec_on_modifySmartValue() {
    if (m_loadingSmart || !m_property || ui->epairTable->currentRow() < 0 || !m_head) return;
    const QByteArray key = m_property->name;
    const QByteArray value = smartEditedValue();
    if (value == kNoChange || value == smartShownValue(key) || !smartValueAccepted(value)) return;
    const bool combo = m_property->type == PropertyType::Choices || m_property->type == PropertyType::Sky ||
                       m_property->type == PropertyType::TargetDestination;
    beginEdit("Change Value", combo ? QStringLiteral("smart") : QString());
    writeSmartValue(key, value);
}

void cObjectPropertiesDialog::writeSmartValue(const QByteArray& key, const QByteArray& value) {
    bool angles = false;
    for (EntityRecord* e : edited()) {
        cMapEntity* m = e->handle;
        EPair* pair = m->findKey(key.constData());
        if (pair) {
            if (sameKeyName(m->keyName(KEY_ANGLES), key) || key.compare("angle", Qt::CaseInsensitive) == 0) {
                setAnglesFromValue(e, key, value);
                angles = true;
            }
            if (value.isEmpty())
                m->removeKey(key.constData());
            else if (qstrcmp(pair->value ? pair->value : "", value.constData()) != 0)
                EPair_SetValue(pair, value.constData());
        } else if (!value.isEmpty()) {
            markModified();
            m->appendKeyValue(key.constData(), value.constData());
            setAnglesFromValue(e, key, value);
            angles = angles || key.compare("angle", Qt::CaseInsensitive) == 0;
        }
        refreshKey(e, key);
    }
    if (angles) loadAngles();
    markModified();
}

bool cObjectPropertiesDialog::sameKeyName(const char* a, const QByteArray& b) {
    return a && qstricmp(a, b.constData()) == 0;
}

void cObjectPropertiesDialog::exec_on_pickColor() {
    if (!m_property || !m_head) return;
    const bool unit = m_property->type == PropertyType::Color1;
    EPair* pair = m_head->handle->findKey(m_property->name.constData());
    const QList<QByteArray> parts =
        QByteArray(pair && pair->value ? pair->value : "").simplified().split(' ');
    double c[3] = {0, 0, 0};
    for (int i = 0; i < 3 && i < parts.size(); ++i)
        if (!parts[i].isEmpty()) c[i] = unit ? parts[i].toDouble() : parts[i].toInt();
    QColor start =
        unit ? QColor::fromRgbF(float(std::clamp(c[0], 0.0, 1.0)), float(std::clamp(c[1], 0.0, 1.0)),
                                float(std::clamp(c[2], 0.0, 1.0)))
             : QColor(std::clamp(int(c[0]), 0, 255), std::clamp(int(c[1]), 0, 255),
                      std::clamp(int(c[2]), 0, 255));
    const QColor chosen =
        QColorDialog::getColor(start, this, tr("Choose Color"), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid()) return;
    QString result =
        unit ? QStringLiteral("%1 %2 %3").arg(chosen.redF()).arg(chosen.greenF()).arg(chosen.blueF())
             : QStringLiteral("%1 %2 %3").arg(chosen.red()).arg(chosen.green()).arg(chosen.blue());
    for (int i = 3; i < parts.size(); ++i)
        result += QStringLiteral(" %1").arg(Text_FromWindows1251(parts[i]));
    ui->txtParm->setText(result);
    beginEdit("Change Value");
    writeSmartValue(m_property->name, Text_ToWindows1251(result));
}

QString cObjectPropertiesDialog::fileFilter(int type) const {
    static const struct {
        PropertyType type;
        const char* description;
        size_t offset;
    } kinds[] = {
        {PropertyType::Sprite, QT_TR_NOOP("Sprite Files"), offsetof(MapProfileRecord, spriteExtensions)},
        {PropertyType::Studio, QT_TR_NOOP("Model Files"), offsetof(MapProfileRecord, modelExtensions)},
        {PropertyType::Sound, QT_TR_NOOP("Sound Files"), offsetof(MapProfileRecord, soundExtensions)},
        {PropertyType::Texture, QT_TR_NOOP("Texture Files"), offsetof(MapProfileRecord, textureExtensions)},
        {PropertyType::Particle, QT_TR_NOOP("Particle Files"),
         offsetof(MapProfileRecord, particleExtensions)},
        {PropertyType::Instance, QT_TR_NOOP("Instance Files"),
         offsetof(MapProfileRecord, instanceExtensions)},
        {PropertyType::Script, QT_TR_NOOP("Script Files"), offsetof(MapProfileRecord, scriptExtensions)},
    };
    const QString all = tr("All Files (*)");
    if (!m_profile) return all;
    for (const auto& kind : kinds) {
        if (int(kind.type) != type) continue;
        const char* list = reinterpret_cast<const char*>(m_profile) + kind.offset;
        const QStringList exts =
            QString::fromLatin1(list, qstrnlen(list, 128)).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (exts.isEmpty()) return all;
        // Game files are often upper-case: offer both spellings.
        QStringList patterns;
        for (const QString& e : exts) {
            patterns << QLatin1Char('*') + e.toLower();
            if (e.toUpper() != e.toLower()) patterns << QLatin1Char('*') + e.toUpper();
        }
        return QStringLiteral("%1 (%2)").arg(tr(kind.description), patterns.join(QLatin1Char(' ')));
    }
    return all;
}

namespace {

// The profile's folder for the files of a key type, "" for none.
QString typeFolder(const MapProfileRecord* profile, PropertyType type) {
    if (!profile) return {};
    const char* folder = nullptr;
    switch (type) {
    case PropertyType::Sprite:
        folder = profile->spriteFolder;
        break;
    case PropertyType::Studio:
        folder = profile->modelFolder;
        break;
    case PropertyType::Sound:
        folder = profile->soundFolder;
        break;
    case PropertyType::Texture:
        folder = profile->textureFolder;
        break;
    case PropertyType::Particle:
        folder = profile->particleFolder;
        break;
    case PropertyType::Instance:
        folder = profile->prefabFolder;
        break;
    case PropertyType::Script:
        folder = profile->scriptFolder;
        break;
    default:
        return {};
    }
    return QString::fromUtf8(folder, qstrnlen(folder, 64));
}

uint32_t stripFlag(PropertyType type) {
    return type == PropertyType::Sound     ? 0x400u
           : type == PropertyType::Texture ? 0x800u
           : type == PropertyType::Script  ? 0x1000u
                                           : 0u;
}

// The existing path of a folder, matched without regard to case below the first existing parent.
QString existingFolder(const QString& path) {
    if (QFileInfo(path).isDir()) return path;
    const QString parent = QFileInfo(path).path();
    if (parent == path || parent.isEmpty()) return {};
    const QString base = existingFolder(parent);
    if (base.isEmpty()) return {};
    const QString name = QFileInfo(path).fileName();
    for (const QString& entry : QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return base + QLatin1Char('/') + entry;
    return {};
}

} // namespace

QString cObjectPropertiesDialog::browseStart(bool shift) const {
    if (!m_config || !m_property) return {};
    const QString root =
        !m_config->GameModdir.isEmpty() && !shift ? m_config->GameModdir : m_config->GameBasedir;
    const QString folder = typeFolder(m_profile, m_property->type);
    EPair* pair = m_head ? m_head->handle->findKey(m_property->name.constData()) : nullptr;
    QString start;
    if (pair && pair->value && *pair->value) {
        const bool inFolder = stripFlag(m_property->type) != 0;
        const QString file = root + QLatin1Char('/') + (inFolder ? folder + QLatin1Char('/') : QString()) +
                             Text_FromWindows1251(pair->value);
        start = existingFolder(QFileInfo(file).absolutePath());
    } else {
        start = existingFolder(root + QLatin1Char('/') + folder);
        if (start.isEmpty()) start = existingFolder(root);
    }
    return start.isEmpty() ? m_config->GameBasedir : start;
}

QString cObjectPropertiesDialog::relativeGamePath(const QString& chosen, int type) const {
    auto clean = [](QString p) {
        return p.isEmpty() ? p : QDir::cleanPath(QDir(p.replace('\\', '/')).absolutePath());
    };
    const QString answer = clean(chosen);
    QString result;
    for (const QString& root : {clean(m_config ? m_config->GameModdir : QString()),
                                clean(m_config ? m_config->GameBasedir : QString())})
        if (!root.isEmpty() && answer.startsWith(root + QLatin1Char('/'))) {
            result = answer.mid(root.size() + 1);
            break;
        }
    if (result.isEmpty()) {
        // Outside both game folders no relative name would find it: keep the whole path.
        Sys_Warning("'%s' lies outside the game folders", qPrintable(answer));
        return answer;
    }
    const QString folder = typeFolder(m_profile, PropertyType(type));
    if ((m_profileFlags & stripFlag(PropertyType(type))) && !folder.isEmpty() &&
        result.startsWith(folder + QLatin1Char('/')))
        result = result.mid(folder.size() + 1);
    return result;
}

void cObjectPropertiesDialog::exec_on_browseFile() {
    if (!m_property || !m_config) return;
    static const struct {
        PropertyType type;
        const char* title;
    } titles[] = {{PropertyType::Sprite, QT_TR_NOOP("Choose Sprite")},
                  {PropertyType::Studio, QT_TR_NOOP("Choose Model")},
                  {PropertyType::Sound, QT_TR_NOOP("Choose Sound")},
                  {PropertyType::Texture, QT_TR_NOOP("Choose Texture")},
                  {PropertyType::Particle, QT_TR_NOOP("Choose Particles")},
                  {PropertyType::Instance, QT_TR_NOOP("Choose Prefab")},
                  {PropertyType::Script, QT_TR_NOOP("Choose Script")}};
    QString title;
    for (const auto& t : titles)
        if (t.type == m_property->type) title = tr(t.title);
    const bool shift = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
    const QString chosen =
        Prompt_GetOpenFileName(this, title, browseStart(shift), fileFilter(int(m_property->type)));
    if (chosen.isEmpty()) return;
    const QString stored = relativeGamePath(chosen, int(m_property->type));
    ui->txtParm->setText(stored);
    beginEdit("Change Value");
    writeSmartValue(m_property->name, Text_ToWindows1251(stored));
}

QString cObjectPropertiesDialog::resolveSound(const QString& value, QString* tried) const {
    if (!m_config || value.isEmpty()) return {};
    const QString prefix = (m_profileFlags & 0x400) ? QStringLiteral("sound/") : QString();
    for (const QString& root : {m_config->GameModdir, m_config->GameBasedir}) {
        if (root.isEmpty()) continue;
        const QString path = QStringLiteral("%1/%2%3").arg(root, prefix, value);
        if (tried) *tried = path;
        if (QFileInfo::exists(path)) return path;
    }
    return {};
}

void cObjectPropertiesDialog::exec_on_playSound() {
    if (m_sound) {
        const bool finished = !m_sound->isPlaying();
        m_sound->stop();
        delete m_sound;
        m_sound = nullptr;
        if (!finished) return;
    }
    if (QMediaDevices::audioOutputs().isEmpty()) {
        Sys_Error("sound is not available");
        return;
    }
    const QString value = ui->txtParm->text();
    if (value.isEmpty()) return;
    QString tried;
    QString path = resolveSound(value, &tried);
    if (path.isEmpty()) {
        // Game sounds usually lie in archives: play a copy of the archived file.
        const QString prefix = (m_profileFlags & 0x400) ? QStringLiteral("sound/") : QString();
        uint32_t length = 0;
        char* data = Sys_LoadFile(Path_ToNative(prefix + value).constData(), &length);
        if (data) {
            QTemporaryFile copy(QDir::tempPath() + QStringLiteral("/zarv-sound-XXXXXX.") +
                                QFileInfo(value).suffix());
            copy.setAutoRemove(false);
            if (copy.open()) {
                copy.write(data, length);
                if (!m_soundCopy.isEmpty()) QFile::remove(m_soundCopy);
                m_soundCopy = path = copy.fileName();
            }
            Sys_Free(data);
        }
    }
    if (path.isEmpty()) {
        Sys_Error("no such file: '%s'", qPrintable(tried));
        return;
    }
    m_sound = new QSoundEffect(this);
    m_sound->setSource(QUrl::fromLocalFile(path));
    m_sound->play();
}

// Decals are looked for in the first group that holds them; shaders in every texture.
void cObjectPropertiesDialog::exec_on_pickDecal() {
    if (!m_property || !m_head || !browseTextures) return;
    const TextureLists* lists = GameCfg_CurrentTextureLists();
    if (!lists) return;
    const EPair* pair = m_head->handle->findKey(m_property->name.constData());
    const QString value = Text_FromWindows1251(pair && pair->value ? pair->value : "");
    QString group;
    if (m_property->type == PropertyType::Decal) group = TexList_FindDecalGroup(lists);
    const QString chosen = browseTextures(value, &group);
    if (chosen != value) {
        ui->btnDecal->setText(chosen);
        beginEdit("Change Value");
        writeSmartValue(m_property->name, Text_ToWindows1251(chosen));
    }
    if (afterPick) afterPick();
}

// ---- Flags -----------------------------------------------------------------------------------------

void cObjectPropertiesDialog::setFlagCaptions(const EntityClass* eclass) {
    for (QCheckBox* box : m_flagBoxes)
        box->setText(QString());
    if (!eclass) return;
    for (const EntityProperty& p : eclass->properties) {
        if (p.type != PropertyType::Flags) continue;
        for (const PropertyChoice& c : p.choices) {
            bool ok = false;
            const int n = c.value.toInt(&ok);
            if (ok && n >= 0 && n <= 23) m_flagBoxes[n]->setText(c.caption);
        }
        break;
    }
}

void cObjectPropertiesDialog::loadFlags() {
    m_loadingFlags = true;
    const QList<EntityRecord*> list = edited();
    for (int i = 0; i < 24; ++i) {
        QCheckBox* box = m_flagBoxes[i];
        bool mixed = false;
        for (int k = 0; k < list.size(); ++k) {
            const bool set = uint32_t(list[k]->spawnflags) & (1u << i);
            if (k == 0) {
                box->setTristate(false);
                box->setCheckState(set ? Qt::Checked : Qt::Unchecked);
            } else if (!mixed && set != (box->checkState() == Qt::Checked)) {
                mixed = true;
                box->setTristate(true);
                box->setCheckState(Qt::PartiallyChecked);
            }
        }
    }
    m_loadingFlags = false;
}

void cObjectPropertiesDialog::exec_on_setFlags() {
    if (m_loadingFlags || !m_head) return;
    beginEdit("Change Flags");
    for (EntityRecord* e : edited()) {
        // Bits no box shows (24..31) stay the entity's own.
        uint32_t value = uint32_t(e->spawnflags) & 0xff000000u;
        for (int i = 0; i < 24; ++i) {
            const Qt::CheckState state = m_flagBoxes[i]->checkState();
            if (state == Qt::Checked ||
                (state == Qt::PartiallyChecked && (uint32_t(e->spawnflags) & (1u << i))))
                value |= 1u << i;
        }
        e->spawnflags = int32_t(value);
        cMapEntity* m = e->handle;
        const QByteArray number = QByteArray::number(int32_t(value));
        const char* key = m->keyName(KEY_SPAWNFLAGS);
        if (!m->setKeyValue(key, number.constData())) {
            m->prependKeyValue(key, number.constData());
            markModified();
        }
    }
    m_loadingFlags = true;
    for (QCheckBox* box : m_flagBoxes)
        if (box->checkState() != Qt::PartiallyChecked) box->setTristate(false);
    m_loadingFlags = false;
}

// ---- Visgroups -------------------------------------------------------------------------------------

void cObjectPropertiesDialog::updateVisGroups() {
    m_loadingVisGroups = true;
    QListWidget* list = ui->lstVisGroups;
    list->clear();
    auto* none = new QListWidgetItem(tr("(no group)"));
    none->setFlags(none->flags() | Qt::ItemIsUserCheckable);
    none->setCheckState(Qt::Unchecked);
    none->setData(Qt::UserRole, 0u);
    list->addItem(none);
    MapWorld* world = m_document ? m_document->world : nullptr;
    QList<QListWidgetItem*> items;
    if (world && world->visGroups)
        for (const auto& [id, set] : *world->visGroups) {
            auto* item = new QListWidgetItem(text(set->name));
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
            item->setData(Qt::UserRole, uint32_t(id));
            items.append(item);
        }
    std::sort(items.begin(), items.end(), [](auto* a, auto* b) { return a->text() < b->text(); });
    for (QListWidgetItem* item : items)
        list->addItem(item);
    QList<const cVisGroupList*> objects;
    for (EntityRecord* e : edited())
        objects.append(&e->handle->visGroups);
    for (BrushRecord* b = m_brushes; b; b = b->selNext)
        if (cMapBrush* brush = cMapBrush::fromRecord(b)) objects.append(&brush->visGroups);
    const int n = int(objects.size());
    int z = 0;
    QHash<uint32_t, int> counts;
    for (const cVisGroupList* groups : objects) {
        if (!groups->count()) ++z;
        for (int i = 0; i < groups->count(); ++i)
            ++counts[uint32_t(groups->idAt(i))];
    }
    for (QListWidgetItem* item : items) {
        const int c = counts.value(item->data(Qt::UserRole).toUInt());
        item->setCheckState(c == 0 ? Qt::Unchecked : c == n ? Qt::Checked : Qt::PartiallyChecked);
    }
    none->setCheckState(n && z == n ? Qt::Checked : z > 0 ? Qt::PartiallyChecked : Qt::Unchecked);
    m_loadingVisGroups = false;
}

void cObjectPropertiesDialog::exec_on_modifyVisGroups(QListWidgetItem* changed) {
    QListWidget* list = ui->lstVisGroups;
    if (m_loadingVisGroups || !list->count() || !m_document || !m_document->world) return;
    MapWorld* world = m_document->world;
    QList<cVisGroupList*> objects;
    for (EntityRecord* e : edited())
        objects.append(&e->handle->visGroups);
    for (BrushRecord* b = m_brushes; b; b = b->selNext)
        if (cMapBrush* brush = cMapBrush::fromRecord(b)) objects.append(&brush->visGroups);
    m_loadingVisGroups = true;
    if (changed == list->item(0) && changed->checkState() == Qt::Checked) {
        for (int i = 1; i < list->count(); ++i)
            list->item(i)->setCheckState(Qt::Unchecked);
        for (cVisGroupList* groups : objects)
            groups->clear();
    } else {
        bool any = false;
        for (int i = 1; i < list->count(); ++i) {
            QListWidgetItem* item = list->item(i);
            VisGroup* set = Map_FindVisGroup(world, int32_t(item->data(Qt::UserRole).toUInt()));
            if (!set) continue;
            if (item->checkState() == Qt::PartiallyChecked) {
                any = true;
                continue;
            }
            for (cVisGroupList* groups : objects)
                item->checkState() == Qt::Checked ? void(groups->add(set)) : void(groups->remove(set));
            any = any || item->checkState() == Qt::Checked;
        }
        list->item(0)->setCheckState(any ? Qt::Unchecked : Qt::Checked);
    }
    m_loadingVisGroups = false;
    if (!objects.isEmpty()) markModified();
}

void cObjectPropertiesDialog::exec_on_editVisGroups() {
    if (!m_document || !m_document->world) return;
    {
        cEditGroupsDialog editor(0, m_document->world, this);
        editor.exec();
    }
    updateVisGroups();
    if (DialogHost* host = Dialog_Host()) host->updateVisGroupList();
}

// ---- Class change ----------------------------------------------------------------------------------

void cObjectPropertiesDialog::exec_on_changeClass(const QString& typed) {
    // Typed text is committed when the edit finishes (Return, focus out) or an item is chosen:
    // every prefix would rebind the entities. Text set by the program commits at once.
    if (!ui->cbClassList->isEnabled() || typed.isEmpty()) return;
    QLineEdit* line = ui->cbClassList->lineEdit();
    if (!m_classTyped && (!line || !line->isModified())) exec_on_commitClass();
}

void cObjectPropertiesDialog::exec_on_commitClass() {
    const QString typed = ui->cbClassList->currentText();
    if (!ui->cbClassList->isEnabled() || typed.isEmpty() || !m_head || typed == m_committedClass) return;
    if (typed == tr(kNoChange)) return;
    m_committedClass = typed;
    m_classTyped = false;
    const QByteArray name = Text_ToWindows1251(typed);
    const int32_t selector =
        (m_head->flags & EntityFlag::Point) ? ClassSelector::Point : ClassSelector::Solid;
    EntityClass* eclass = m_config ? Fgd_FindClassInConfig(m_config, name.constData(), selector) : nullptr;
    ui->btnHelp->setEnabled(eclass != nullptr);
    if (!m_smartForcedOff) setSmart(m_smartPreference == 1 && eclass);
    UndoHistory* h = history();
    endEdit();
    if (h) Undo_BeginLevel(h, "Change Class");
    for (EntityRecord* e : edited()) {
        if (e->flags & EntityFlag::World) continue;
        if (h) Undo_SaveEntity(h, e, UndoList::ChangedEntities);
        Sys_Free(e->classname);
        e->classname = Sys_StrDup(name.constData());
        cMapEntity* m = e->handle;
        if (EPair* p = m->findKey("classname")) EPair_SetValue(p, name.constData());
        m->setClass(eclass);
        m->applyClassKeys(true);
    }
    if (h) Undo_EndLevel(h);
    markModified();
    setFlagCaptions(eclass);
    const int code = m_angleBox->angle;
    if (code != 0 && code != -3) applyAngle(code);
    fillKeyValueTable();
    loadFlags();
}

// ---- Class help ------------------------------------------------------------------------------------

const QString& cObjectPropertiesDialog::buildClassHelp(EntityClass* eclass) {
    if (!eclass->helpText.isEmpty()) return eclass->helpText;
    auto escape = [](QString s) {
        return s.replace(QLatin1Char('<'), QLatin1String("&lt;"))
            .replace(QLatin1Char('>'), QLatin1String("&gt;"))
            .replace(QLatin1String("\\n"), QLatin1String("<br>"));
    };
    QString html;
    html.reserve(1024);
    html += QStringLiteral("<h1>%1</h1>").arg(escape(Text_FromWindows1251(eclass->name)));
    if (!eclass->description.isEmpty())
        html += QStringLiteral("<p>%1</p>\n").arg(escape(eclass->description));
    if (!eclass->note.isEmpty())
        html += QStringLiteral("<p><a href=\"%1\">Read more...</a></p>\n").arg(eclass->note.toHtmlEscaped());
    const EntityProperty* flags = nullptr;
    if (!eclass->properties.empty()) {
        html += QStringLiteral("<h1>KEYS</h1>\n");
        for (const EntityProperty& p : eclass->properties) {
            if (p.type == PropertyType::Flags) {
                flags = &p;
                continue;
            }
            QString d = escape(p.description);
            if (p.type == PropertyType::Choices) {
                d += QStringLiteral("<ul>\n");
                for (const PropertyChoice& c : p.choices)
                    d += QStringLiteral("<li><b>%1</b> %2</li>\n")
                             .arg(escape(c.caption),
                                  c.extra.isEmpty() ? QString() : QStringLiteral(": ") + escape(c.extra));
                d += QStringLiteral("</ul>\n");
            } else if (p.type == PropertyType::Color1) {
                d += QStringLiteral(
                    " Color is in RGB format, each floating-point component ranges from 0 to 1.");
            } else if (p.type == PropertyType::Color255) {
                d += QStringLiteral(" Color is in RGB format, each integer component ranges from 0 to 255.");
            }
            if (!d.isEmpty()) d = QStringLiteral(": ") + d;
            html += QStringLiteral("<p><b>%1</b> <i>%2</i> &lt;%3&gt; %4</p>\n")
                        .arg(escape(p.displayName), escape(Text_FromWindows1251(p.name)),
                             QString::fromLatin1(typeName(p.type)), d);
        }
    }
    if (flags) {
        html += QStringLiteral("<h1>FLAGS</h1>\n<ul>\n");
        for (const PropertyChoice& c : flags->choices)
            html += QStringLiteral("<li><b>%1</b> %2</li>\n")
                        .arg(escape(c.caption),
                             c.extra.isEmpty() ? QString() : QStringLiteral(": ") + escape(c.extra));
        html += QStringLiteral("\n</ul>\n");
    }
    html += QStringLiteral("<br>\n");
    eclass->helpText = html;
    return eclass->helpText;
}
