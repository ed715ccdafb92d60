#include "dialogs/editing/TextureListsPending.h"

#include <QCoreApplication>
#include <QIcon>
#include <QSet>
#include <QTabBar>
#include <algorithm>

#include "dialogs/editing/TextureLists.h"
#include "gamedata/TexturePackage.h"

namespace {
const char* const kAll = "(All Textures)";
const char* const kMisc = "(Miscellaneous)";

QString iconFor(const TextureListEntry* entry) {
    if (!entry || !entry->package || entry->group == QLatin1String(kMisc))
        return QStringLiteral(":/qrc/l_all.png");
    switch (entry->package->kind) {
    case kPackageFile:
        return QStringLiteral(":/qrc/l_all.png");
    case 2:
        return QStringLiteral(":/qrc/l_wad.png");
    case 3:
        return QStringLiteral(":/qrc/l_shd.png");
    default:
        return QStringLiteral(":/qrc/l_dir.png");
    }
}
} // namespace

__attribute__((weak)) void TexList_FillGroupTabs(const TextureLists* lists, QTabBar* bar,
                                                 const QString& current) {
    if (!lists || !bar) return;
    struct Tab {
        QString name, text, icon;
    };
    QMap<QString, const TextureListEntry*> groups;
    for (const TextureListEntry& entry : lists->entries)
        if (entry.package && !groups.contains(entry.group)) groups.insert(entry.group, &entry);
    QList<Tab> tabs;
    if (!groups.isEmpty()) groups.insert(QLatin1String(kAll), nullptr);
    for (auto it = groups.constBegin(); it != groups.constEnd(); ++it) {
        QString text = it.key();
        if (text == QLatin1String(kAll)) text = QCoreApplication::translate("TextureLists", "&All Textures");
        if (text == QLatin1String(kMisc))
            text = QCoreApplication::translate("TextureLists", "&Miscellaneous");
        tabs.append({it.key(), text, iconFor(it.value())});
    }
    if (lists->missingCount > 0)
        tabs.append({QString::fromLatin1(kMissingTexturesGroup),
                     QCoreApplication::translate("TextureLists", "Mi&ssing Textures"),
                     QStringLiteral(":/qrc/l_all.png")});
    for (int i = 0; i < tabs.size(); ++i) {
        if (i >= bar->count()) bar->addTab(QString());
        bar->setTabIcon(i, QIcon(tabs[i].icon));
        bar->setTabText(i, tabs[i].text);
        bar->setTabToolTip(i, tabs[i].name);
        bar->setTabData(i, tabs[i].name);
    }
    while (bar->count() > tabs.size())
        bar->removeTab(bar->count() - 1);
    const QString wanted = current.isEmpty() ? QString::fromLatin1(kAll) : current;
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabData(i).toString() == wanted) {
            bar->setCurrentIndex(i);
            break;
        }
}

__attribute__((weak)) QString TexList_FindGroup(const TextureLists* lists, const QString& name) {
    if (lists) {
        const auto found = lists->entries.constFind(name.toUpper());
        if (found != lists->entries.constEnd() && !found->group.isEmpty()) return found->group;
    }
    return QString::fromLatin1(kAll);
}
