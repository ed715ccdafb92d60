// Name index of the texture lists.
#include "dialogs/editing/TextureLists.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QTreeWidget>
#include <algorithm>
#include <cstring>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TexturePackage.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"

ShaderRecord* TexList_FindShader(const TextureLists* lists, const QString& name) {
    if (!lists) return nullptr;
    const auto found = lists->entries.constFind(name.toUpper());
    return found == lists->entries.constEnd() ? nullptr : found->shader;
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
    // No textures are loaded before the texture manager exists.
}

void TexList_Rebuild(TextureLists* lists, const GameConfig* config) {
    if (!lists || !config || !g_mainWindow) return;
    lists->entries.clear();
    TextureManager* m = &g_mainWindow->textures;
    const bool hideIncomplete = g_mainWindow->settings.HideIncompleteShaders;
    for (const QString& path : config->Parcel) {
        TexturePackage* package = Tex_FindPackage(path);
        if (!package || Tex_GetPackageInfo(m, package).count == 0) continue;
        const QString group = package->kind == kPackageFile
                                  ? QStringLiteral("(Miscellaneous)")
                                  : Sys_MakeRelativePath(config->GameBasedir, package->path);
        for (ShaderRecord* shader : std::as_const(package->shaders)) {
            if ((shader->flags & SHADER_NO_CARVE) ||
                ((shader->flags & SHADER_STAGE_WITHOUT_IMAGE) && hideIncomplete))
                continue;
            const QString key = Text_FromWindows1251(QByteArray(shader->name)).toUpper();
            // A name an earlier package listed keeps its first entry.
            if (!lists->entries.contains(key)) lists->entries.insert(key, {group, package, shader});
        }
    }
}

namespace {
const char* const kAllTexturesGroup = "(All Textures)";

void setRecordData(QTreeWidgetItem* item, const void* record) {
    item->setData(0, Qt::UserRole,
                  QVariant::fromValue(static_cast<quint64>(reinterpret_cast<quintptr>(record))));
}
} // namespace

void TexList_FillGroupCombo(const TextureLists* lists, QComboBox* box, const QString& current) {
    if (!lists || !box) return;
    const QIcon icon(QStringLiteral(":/qrc/l_all.png"));
    if (lists->missingCount > 0) box->addItem(icon, QString::fromLatin1(kMissingTexturesGroup));
    QStringList groups{QString::fromLatin1(kAllTexturesGroup)};
    for (const TextureListEntry& entry : lists->entries)
        if (entry.package && !groups.contains(entry.group)) groups.append(entry.group);
    std::sort(groups.begin() + 1, groups.end());
    for (const QString& group : groups)
        box->addItem(icon, group);
    if (current.isEmpty()) return;
    const int found = box->findText(current, Qt::MatchFixedString);
    if (found >= 0) box->setCurrentIndex(found);
}

void TexList_FillEffectTree(const TextureLists* lists, const QString& group, QTreeWidget* tree,
                            const QString& current, const QRegularExpression* filter) {
    if (!lists || !tree) return;
    const bool all = group == QLatin1String(kAllTexturesGroup);
    QTreeWidgetItem* chosen = nullptr;
    QTreeWidgetItem* first = nullptr;
    for (const TextureListEntry& entry : lists->entries) {
        if ((!all && entry.group != group) || !entry.shader) continue;
        const QString name = Text_FromWindows1251(QByteArray(entry.shader->name));
        if (filter && !filter->match(name).hasMatch()) continue;
        auto* item = new QTreeWidgetItem(tree);
        item->setText(0, (entry.shader->flags & 0x100) ? name + u'*' : name);
        TexList_FillStageTree(item, entry.shader);
        if (!first) first = item;
        if (!chosen && name.compare(current, Qt::CaseInsensitive) == 0) chosen = item;
    }
    if (chosen || first) tree->setCurrentItem(chosen ? chosen : first);
}

void TexList_FillStageTree(QTreeWidgetItem* item, ShaderRecord* shader) {
    if (!item || !shader) return;
    qDeleteAll(item->takeChildren());
    setRecordData(item, shader);
    auto add = [](QTreeWidgetItem* parent, const QString& text, const TextureImage* image) {
        auto* child = new QTreeWidgetItem(parent, QStringList(text));
        if (image) setRecordData(child, image);
        return child;
    };
    const ShaderStage* stage = shader->stages;
    if (!(shader->flags & SHADER_PLACEHOLDER) && shader->image &&
        (!stage || stage->frames[0] != shader->image))
        add(item, QCoreApplication::translate("TextureLists", "Editor image"), shader->image);
    for (int number = 0; stage; stage = stage->next, ++number) {
        if (!stage->frames[0]) continue;
        if (stage->frameCount < 2) {
            add(item,
                (stage->stageFlags & STAGE_LIGHTMAP)
                    ? QCoreApplication::translate("TextureLists", "Lightmap")
                    : QCoreApplication::translate("TextureLists", "Stage %1 map").arg(number),
                stage->frames[0]);
            continue;
        }
        QTreeWidgetItem* animation =
            add(item, QCoreApplication::translate("TextureLists", "Stage %1 animation").arg(number), nullptr);
        const QString frame = QCoreApplication::translate("TextureLists", "Frame %1");
        if (stage->frameChain) {
            int index = 0;
            for (const TextureImage* image = stage->frameChain; image; image = image->next) {
                add(animation, frame.arg(index++), image);
                if (image->next == stage->frameChain) break;
            }
        } else {
            for (int slot = 0; slot < kStageFrames; ++slot)
                if (stage->frames[slot]) add(animation, frame.arg(slot), stage->frames[slot]);
        }
    }
}
