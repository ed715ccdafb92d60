#include "dialogs/editing/SkyCombo.h"

#include <QComboBox>
#include <QIcon>

#include "gamedata/SkyManager.h"
#include "gamedata/TextureRecords.h"

void Sky_FillComboBox(const SkyManager* manager, const GameConfig* config, QComboBox* combo,
                      const QString& current) {
    if (!combo) return;
    const QList<const SkyEntry*> sorted = Sky_SortedForConfig(manager, config);
    int found = -1;
    for (const SkyEntry* entry : std::as_const(sorted)) {
        const TextureImage* image = entry->shader ? entry->shader->image : nullptr;
        if (image && image->icon)
            combo->addItem(*static_cast<const QIcon*>(image->icon), entry->displayName, entry->name);
        else
            combo->addItem(entry->displayName, entry->name);
        if (found < 0 && entry->name.compare(current, Qt::CaseInsensitive) == 0) found = combo->count() - 1;
    }
    combo->setCurrentIndex(found);
    if (found < 0 && combo->isEditable()) combo->setEditText(current);
}
