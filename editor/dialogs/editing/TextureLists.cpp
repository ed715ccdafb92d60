// The texture lists: name index, groups, recent names and the widget fillers.
#include "dialogs/editing/TextureLists.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QTabBar>
#include <QTreeWidget>
#include <algorithm>
#include <cstring>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TexturePackage.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"

namespace {
// ShaderRecord::flags read only here.
constexpr int32_t SHADER_EDITED = 0x100;         // changed in the effect editor, not saved
constexpr int32_t SHADER_NEVER_MISSING = 0x2000; // never listed as missing
} // namespace

ShaderRecord* TexList_FindShader(const TextureLists* lists, const QString& name) {
    if (!lists) return nullptr;
    const QString key = name.toUpper();
    const auto found = lists->entries.constFind(key);
    if (found != lists->entries.constEnd()) return found->shader;
    return lists->unlisted.value(key, nullptr);
}

ShaderRecord* TexList_CreateMissing(TextureLists* lists, const QString& name) {
    // Without lists (or a manager) nothing could own a new record: the shared one serves instead.
    TextureManager* m = g_mainWindow ? &g_mainWindow->textures : nullptr;
    if (!lists || !m) return Tex_CreateNoTexture();
    const QByteArray bytes = Text_ToWindows1251(name).left(63);
    // The manager's placeholder for the name, shared by every configuration's lists; its
    // reference goes to the package that defines the name, which takes it over in place.
    ShaderRecord* result = m->placeholders.value(bytes.toUpper(), nullptr);
    if (!result) {
        result = Tex_CreateShader(m, nullptr, bytes.constData(), SHADER_NO_SHIFT_WRAP);
        result->takeOverWord = 16;
        const ShaderRecord* noTexture = Tex_CreateNoTexture();
        result->width = noTexture->width;
        result->height = noTexture->height;
        result->image = noTexture->image;
        result->flags |= SHADER_PLACEHOLDER;
    }
    TextureListEntry& entry = lists->entries[name.toUpper()];
    entry.group = QString::fromLatin1(kMissingTexturesGroup);
    entry.package = nullptr;
    entry.shader = result;
    ++lists->missingCount;
    return result;
}

void TexList_RemoveUngrouped(TextureLists* lists) {
    if (!lists) return;
    for (auto it = lists->entries.begin(); it != lists->entries.end();) {
        if (it->group == QLatin1String(kMissingTexturesGroup))
            it = lists->entries.erase(it);
        else
            ++it;
    }
    lists->missingCount = 0;
}

void TexList_AddUngrouped(TextureLists* lists) {
    TextureManager* m = g_mainWindow ? &g_mainWindow->textures : nullptr;
    if (!lists || !m) return;
    for (ShaderRecord* shader : std::as_const(m->effects)) {
        if (shader->flags & (SHADER_NO_CARVE | SHADER_NEVER_MISSING)) continue;
        const QString key = Text_FromWindows1251(QByteArray(shader->name)).toUpper();
        if (lists->entries.contains(key)) continue;
        lists->entries.insert(key, {QString::fromLatin1(kMissingTexturesGroup), nullptr, shader});
        ++lists->missingCount;
    }
}

void TexList_Clear(TextureLists* lists) {
    if (!lists) return;
    lists->groupPackages.clear();
    lists->entries.clear();
    lists->unlisted.clear();
    lists->groups.clear();
    lists->recent.clear();
    lists->recentShown = 0;
}

void TexList_Destroy(TextureLists* lists) {
    if (!lists) return;
    TexList_Clear(lists);
    lists->groupPackages = {};
    lists->entries = {};
    lists->unlisted = {};
    lists->groups = {};
    lists->recent = {};
}

QIcon TexList_GroupIcon(const QString& group, const TexturePackage* package) {
    enum { All, Effects, Wad, Folder };
    int icon = All;
    if (!group.startsWith(u'(') && package) {
        if (package->kind == kPackageFormat)
            icon = Effects;
        else if (package->kind == kPackageWad)
            icon = Wad;
        else if (package->kind != kPackageFile)
            icon = Folder;
    }
    // Made once: an icon made from a file reads the image to learn its sizes, which costs more
    // than the rest of a rebuild. Kept to the end of the process (the icons are shared copies).
    static const QIcon* const icons =
        new QIcon[4]{QIcon(QStringLiteral(":/qrc/l_all.png")), QIcon(QStringLiteral(":/qrc/l_shd.png")),
                     QIcon(QStringLiteral(":/qrc/l_wad.png")), QIcon(QStringLiteral(":/qrc/l_dir.png"))};
    return icons[icon];
}

namespace {

// The index key of a record's name: upper-cased text; plain ASCII names skip the codec.
QString keyOf(const char* name) {
    const qsizetype length = qsizetype(strnlen(name, sizeof ShaderRecord::name));
    bool ascii = true;
    for (qsizetype i = 0; i < length && ascii; ++i)
        ascii = static_cast<unsigned char>(name[i]) < 0x80;
    return (ascii ? QString::fromLatin1(name, length) : Text_FromWindows1251(name, length)).toUpper();
}

} // namespace

void TexList_Rebuild(TextureLists* lists, const GameConfig* config) {
    TexList_Clear(lists);
    if (!lists || !config || !g_mainWindow) return;
    TextureManager* m = &g_mainWindow->textures;
    const bool hideIncomplete = g_mainWindow->settings.HideIncompleteShaders;
    for (const QString& path : config->Parcel) {
        TexturePackage* package = Tex_FindPackage(path);
        if (!package || Tex_GetPackageInfo(m, package).count == 0) continue;
        const QString group = package->kind == kPackageFile
                                  ? QString::fromLatin1(kMiscellaneousGroup)
                                  : Sys_MakeRelativePath(config->GameBasedir, package->path);
        lists->groupPackages.insert(QString::fromLatin1(kAllTexturesGroup), package);
        lists->groupPackages.insert(group, package);
        for (ShaderRecord* shader : std::as_const(package->shaders)) {
            if (shader->flags & SHADER_NO_CARVE) continue;
            const QString key = keyOf(shader->name);
            // Hidden from view only: a map naming it still gets the defined effect.
            if ((shader->flags & SHADER_STAGE_WITHOUT_IMAGE) && hideIncomplete) {
                if (!lists->unlisted.contains(key)) lists->unlisted.insert(key, shader);
                continue;
            }
            // A name an earlier package listed keeps its first entry (one search: the hint).
            const auto at = lists->entries.lowerBound(key);
            if (at == lists->entries.end() || at.key() != key)
                lists->entries.insert(at, key, {group, package, shader});
        }
    }
    for (auto it = lists->groupPackages.constBegin(); it != lists->groupPackages.constEnd(); ++it)
        lists->groups.append({it.key(), TexList_GroupIcon(it.key(), it.value())});
}

bool TexList_AddRecent(TextureLists* lists, const QString& name) {
    if (!lists) return false;
    const qsizetype at = lists->recent.indexOf(name);
    if (at == 0) return false;
    if (at > 0)
        lists->recent.removeAt(at);
    else if (lists->recent.size() >= kRecentTextureCount)
        lists->recent.removeLast();
    lists->recent.prepend(name);
    return true;
}

QString TexList_FindGroup(const TextureLists* lists, const QString& name) {
    if (lists) {
        const auto found = lists->entries.constFind(name.toUpper());
        if (found != lists->entries.constEnd() && !found->group.isEmpty()) return found->group;
    }
    return QString::fromLatin1(kAllTexturesGroup);
}

QString TexList_FindDecalGroup(const TextureLists* lists) {
    if (lists)
        for (const TextureGroupItem& group : lists->groups)
            if (group.name.contains(QLatin1String("decals"))) return group.name;
    return QString::fromLatin1(kAllTexturesGroup);
}

namespace {

void setRecordData(QTreeWidgetItem* item, const void* record) {
    item->setData(0, Qt::UserRole,
                  QVariant::fromValue(static_cast<quint64>(reinterpret_cast<quintptr>(record))));
}

QIcon thumbnail(const TextureImage* image) {
    return image && image->icon ? *static_cast<const QIcon*>(image->icon) : QIcon();
}

QString shaderName(const ShaderRecord* shader) {
    return Text_FromWindows1251(QByteArray(shader->name));
}

void selectText(QComboBox* box, const QString& text) {
    const int found = box->findText(text, Qt::MatchFixedString);
    if (found >= 0) box->setCurrentIndex(found);
}

} // namespace

void TexList_FillGroupCombo(const TextureLists* lists, QComboBox* box, const QString& current) {
    if (!lists || !box) return;
    if (lists->missingCount > 0)
        box->addItem(TexList_GroupIcon(QString(), nullptr), QString::fromLatin1(kMissingTexturesGroup));
    for (const TextureGroupItem& group : lists->groups)
        box->addItem(group.icon, group.name);
    if (!current.isEmpty()) selectText(box, current);
}

void TexList_FillGroupTabs(const TextureLists* lists, QTabBar* bar, const QString& current) {
    if (!lists || !bar) return;
    struct Tab {
        QString name, text;
        QIcon icon;
    };
    QList<Tab> tabs;
    for (const TextureGroupItem& group : lists->groups) {
        QString text = group.name;
        if (text == QLatin1String(kAllTexturesGroup))
            text = QCoreApplication::translate("TextureLists", "&All Textures");
        else if (text == QLatin1String(kMiscellaneousGroup))
            text = QCoreApplication::translate("TextureLists", "&Miscellaneous");
        tabs.append({group.name, text, group.icon});
    }
    if (lists->missingCount > 0)
        tabs.append({QString::fromLatin1(kMissingTexturesGroup),
                     QCoreApplication::translate("TextureLists", "Mi&ssing Textures"),
                     TexList_GroupIcon(QString(), nullptr)});
    {
        // Reusing and dropping tabs moves the current one on its way: only the final choice below
        // is signalled.
        const QSignalBlocker blocker(bar);
        for (int i = 0; i < tabs.size(); ++i) {
            if (i >= bar->count()) bar->addTab(QString());
            bar->setTabIcon(i, tabs[i].icon);
            bar->setTabText(i, tabs[i].text);
            bar->setTabToolTip(i, tabs[i].name);
            bar->setTabData(i, tabs[i].name);
        }
        while (bar->count() > tabs.size())
            bar->removeTab(bar->count() - 1);
    }
    const QString wanted = current.isEmpty() ? QString::fromLatin1(kAllTexturesGroup) : current;
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabData(i).toString() == wanted) {
            bar->setCurrentIndex(i);
            break;
        }
}

void TexList_FillGroupTextures(const TextureLists* lists, const QString& group, QComboBox* box,
                               const QString& current, bool force) {
    if (!lists || !box) return;
    const bool hadCurrent = box->currentIndex() >= 0;
    const bool all = group == QLatin1String(kAllTexturesGroup);
    for (const TextureListEntry& entry : lists->entries) {
        if ((!all && entry.group != group) || !entry.shader || entry.shader->refCount < 0) continue;
        box->addItem(thumbnail(entry.shader->image), shaderName(entry.shader));
    }
    if ((!hadCurrent || force) && !current.isEmpty()) selectText(box, current);
}

void TexList_FillRecentTextures(TextureLists* lists, QComboBox* box, const QString& current) {
    if (!lists || !box) return;
    // Only what a fill of this combo marked goes: another combo's recent items, or a real
    // texture of the same name, stay.
    for (int i = box->count() - 1; i >= 0; --i)
        if (box->itemData(i, kRecentItemRole).toBool()) box->removeItem(i);
    lists->recentShown = 0;
    int chosen = -1;
    for (const QString& name : std::as_const(lists->recent)) {
        const auto found = lists->entries.constFind(name.toUpper());
        if (found == lists->entries.constEnd() || !found->shader) continue;
        const int at = lists->recentShown++;
        box->insertItem(at, thumbnail(found->shader->image), shaderName(found->shader));
        box->setItemData(at, true, kRecentItemRole);
        if (chosen < 0 && name.compare(current, Qt::CaseInsensitive) == 0) chosen = at;
    }
    if (lists->recentShown > 0) {
        box->insertSeparator(lists->recentShown);
        box->setItemData(lists->recentShown, true, kRecentItemRole);
    }
    if (chosen >= 0) box->setCurrentIndex(chosen);
}

void TexList_FillEffectTree(const TextureLists* lists, const QString& group, QTreeWidget* tree,
                            const QString& current, const QRegularExpression* filter) {
    if (!lists || !tree) return;
    const bool all = group == QLatin1String(kAllTexturesGroup);
    QTreeWidgetItem* chosen = nullptr;
    QTreeWidgetItem* first = nullptr;
    for (const TextureListEntry& entry : lists->entries) {
        if ((!all && entry.group != group) || !entry.shader) continue;
        const QString name = shaderName(entry.shader);
        if (filter && !filter->match(name).hasMatch()) continue;
        auto* item = new QTreeWidgetItem(tree);
        item->setText(0, (entry.shader->flags & SHADER_EDITED) ? name + u'*' : name);
        TexList_FillStageTree(item, entry.shader);
        if (!first) first = item;
        if (!chosen && name.compare(current, Qt::CaseInsensitive) == 0) chosen = item;
    }
    if (chosen || first) tree->setCurrentItem(chosen ? chosen : first);
}

void TexList_FillStageTree(QTreeWidgetItem* item, ShaderRecord* shader) {
    if (!item || !shader) return;
    qDeleteAll(item->takeChildren());
    item->setIcon(0, thumbnail(shader->image));
    setRecordData(item, shader);
    // An animation item shows its first frame but carries no address.
    auto add = [](QTreeWidgetItem* parent, const QString& text, const TextureImage* image, bool address) {
        auto* child = new QTreeWidgetItem(parent, QStringList(text));
        child->setIcon(0, thumbnail(image));
        if (address) setRecordData(child, image);
        return child;
    };
    const ShaderStage* stage = shader->stages;
    if (!(shader->flags & SHADER_PLACEHOLDER) && shader->image &&
        (!stage || stage->frames[0] != shader->image))
        add(item, QCoreApplication::translate("TextureLists", "Editor image"), shader->image, true);
    for (int number = 0; stage; stage = stage->next, ++number) {
        if (!stage->frames[0]) continue;
        if (stage->frameCount < 2) {
            add(item,
                (stage->stageFlags & STAGE_LIGHTMAP)
                    ? QCoreApplication::translate("TextureLists", "Lightmap")
                    : QCoreApplication::translate("TextureLists", "Stage %1 map").arg(number),
                stage->frames[0], true);
            continue;
        }
        QTreeWidgetItem* animation =
            add(item, QCoreApplication::translate("TextureLists", "Stage %1 animation").arg(number),
                stage->frames[0], false);
        const QString frame = QCoreApplication::translate("TextureLists", "Frame %1");
        if (stage->frameChain) {
            int index = 0;
            for (const TextureImage* image = stage->frameChain; image; image = image->next) {
                add(animation, frame.arg(index++), image, true);
                if (image->next == stage->frameChain) break;
            }
        } else {
            for (int slot = 0; slot < kStageFrames; ++slot)
                if (stage->frames[slot]) add(animation, frame.arg(slot), stage->frames[slot], true);
        }
    }
}
