// Tools → "Tie to entity": the selected brushes join an entity of the pending class, an entity
// they already belong to, or (when they belong to several) the one the user picks in the chooser.
#include <QGuiApplication>

#include "core/Prompt.h"
#include "core/TextEncoding.h"
#include "dialogs/editing/EntityListDialog.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "gamedata/GameConfig.h"
#include "map/MapBrush.h"
#include "map/ObjectRecords.h"
#include "mainwindow/MainWindow.h"
#include "views/ChildWindow.h"

void cMainWindow::cmdToolsTieToEntity() {
    cChildWindow* child = activeChildWindow();
    if (!child || !child->document || !child->document->world) return;
    MapDocument* document = child->document;
    MapWorld* world = document->world;
    if (tieClassName.isEmpty() && document->gameConfig)
        tieClassName = document->gameConfig->DefaultSolidClass;
    if (tieClassName.isEmpty()) {
        Prompt_Message(this, PromptIcon::Warning,
                       tr("There are no solid entities in current game data!\nTieToEntity function is not "
                          "available."));
        tieClassName.clear();
        return;
    }
    if (!world->selectedBrushes) {
        Prompt_Message(this, PromptIcon::Warning, tr("There are no eligible selected objects."));
        tieClassName.clear();
        return;
    }
    int points = 0;
    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext)
        if (e->flags & EntityFlag::Point) ++points;
    if (points > 0) {
        const QString text = tr("There are %1 point entities selected.\nThey will be deselected prior to "
                                "TieToEntity operation.\nDo you wish to continue?")
                                 .arg(points);
        if (Prompt_Question(this, PromptIcon::Question, text, PromptButton::Yes | PromptButton::No) !=
            PromptButton::Yes) {
            tieClassName.clear();
            return;
        }
        for (EntityRecord* e = world->selectedEntities; e;) {
            EntityRecord* next = e->selNext;
            if (e->flags & EntityFlag::Point) Map_DeselectObject(world, e);
            e = next;
        }
    }
    delete entityListDialog;
    entityListDialog = nullptr;

    EntityRecord* owner = nullptr;
    int brushes = 0;
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        ++brushes;
        EntityRecord* entity = b->entity;
        if (!entity || (entity->flags & EntityFlag::World)) continue;
        if (!owner) {
            owner = entity;
            continue;
        }
        if (entity == owner) continue;
        if (!entityListDialog) {
            entityListDialog = new cEntityListDialog(this);
            entityListDialog->addEntity(Text_FromWindows1251(owner->classname), owner);
            if (objectPropertiesDialog && !objectPropertiesDialog->isVisible())
                objectPropertiesDialog->resetSmartForced();
        }
        entityListDialog->addEntity(Text_FromWindows1251(entity->classname), entity);
    }
    if (entityListDialog) {
        if (objectPropertiesDialog) {
            objectPropertiesDialog->show();
            const QRect frame = objectPropertiesDialog->frameGeometry();
            entityListDialog->move(frame.x() + objectPropertiesDialog->width(), frame.y());
        }
        entityListDialog->show();
        entityListDialog->raise();
        entityListDialog->activateWindow();
        // The pending class stays for the chooser's choice.
        return;
    }
    if (owner) {
        const QString text = tr("You have selected an existing entity (a '%1').\nWould you like to add the "
                                "selected solids to the existing entity?\nIf you select 'No', a new entity "
                                "('%2') will be created.")
                                 .arg(Text_FromWindows1251(owner->classname), tieClassName);
        const int32_t answer = Prompt_Question(this, PromptIcon::Question, text,
                                               PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
        if (answer == PromptButton::Cancel) {
            tieClassName.clear();
            return;
        }
        if (answer == PromptButton::Yes) {
            tieToEntity(owner, false);
            return;
        }
    }
    bool each = false;
    if (brushes >= 2 && (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier)) {
        const QString text =
            tr("There are multiple solids selected.\n Would you like to tie each solid to a separate entity "
               "('%1')?")
                .arg(tieClassName);
        const int32_t answer = Prompt_Question(this, PromptIcon::Question, text,
                                               PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
        if (answer == PromptButton::Cancel) {
            tieClassName.clear();
            return;
        }
        each = answer == PromptButton::Yes;
    }
    tieToEntity(nullptr, each);
}
