// The widget fillers of the texture lists.
#include "dialogs/editing/TextureListFill.h"

#include <QComboBox>
#include <QRegularExpression>
#include <QTabBar>
#include <QTreeWidget>

#include "core/TextEncoding.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"

namespace {
// ShaderRecord::flags read only here.
constexpr int32_t SHADER_EDITED = 0x100; // changed in the effect editor, not saved
} // namespace

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
