#include "WidgetInput.h"
#include "dialogs/application/DefaultRoomDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <gtest/gtest.h>
#include <cstring>

#include "DialogAnswer.h"
#include "SampleWindowFixture.h"
#include "core/Prompt.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "gamedata/TextureManager.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"

namespace {

void clickButton(QDialog* d, QDialogButtonBox::StandardButton which) {
    Widget_Click(Widget_Find<QDialogButtonBox>(d, "buttonBox")->button(which));
}

// The program's window on the sample game's configuration (entity definitions, textures).
class DefaultRoomWindowTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        QFile shipped(QStringLiteral(ZARV_BIN_DIR "/KDKGameCfg.ini"));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        writeFile("base/KDKGameCfg.ini", shipped.readAll());
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        // A first map precaches the configuration (behind its wait window) and keeps it in use,
        // so the answers below meet the room dialog only.
        window->settings.SkipDefaultRoomDialog = true;
        newMap({}, true);
        window->settings.SkipDefaultRoomDialog = false;
    }
    void TearDown() override {
        for (auto& d : documents)
            Project_Destroy(d.get());
        documents.clear();
        window.reset();
        cWindowFixture::TearDown();
    }
    // A new map as File > New makes it; fill answers the room dialog (none: it must not open).
    MapDocument* newMap(const std::function<void(QDialog*)>& fill, bool accept, bool* asked = nullptr) {
        documents.push_back(std::make_unique<MapDocument>());
        MapDocument* d = documents.back().get();
        Project_Construct(d);
        cDialogAnswer answer(fill, accept);
        EXPECT_TRUE(Project_New(d));
        if (asked) *asked = answer.answered;
        return d;
    }
    // The world dump cut into its brush and entity blocks, sorted, without the brushes' random
    // display colours (which decide the dump's brush order).
    static QStringList brushBlocks(const MapWorld* w) {
        QString text = QString::fromUtf8(Map_DumpWorld(w));
        text.replace(QRegularExpression("(\n  brush [^\n]*) color [0-9,]+"), "\\1");
        QStringList blocks = text.split(QRegularExpression("\n(?=  brush |entity )"));
        blocks.sort();
        return blocks;
    }
    static int entityCount(const MapWorld* w) {
        int n = 0;
        for (const EntityRecord* e = w->entities; e; e = e->next)
            ++n;
        return n;
    }

    std::unique_ptr<cMainWindow> window;
    std::vector<std::unique_ptr<MapDocument>> documents;
    cPromptScript prompts;
};

TEST_F(DefaultRoomWindowTest, FormAndPresetsOfTheProfile) {
    const MapProfileRecord* profile = GameCfg_CurrentProfile(&window->gameConfigs);
    QString title;
    QStringList order, texts;
    QSize minimum, maximum;
    bool nullEnabled = false, nullChecked = false, help = true;
    struct Spin {
        int min, max, step, value;
        QString label;
        QWidget* buddy;
        QWidget* box;
    } spins[3];
    MapDocument* d = newMap(
        [&](QDialog* dialog) {
            title = dialog->windowTitle();
            minimum = dialog->minimumSize();
            maximum = dialog->maximumSize();
            help = dialog->windowFlags() & Qt::WindowContextHelpButtonHint;
            const char* names[3][2] = {{"sbX", "lblX"}, {"sbY", "lblY"}, {"sbZ", "lblZ"}};
            for (int i = 0; i < 3; ++i) {
                auto* box = Widget_Find<QSpinBox>(dialog, names[i][0]);
                auto* label = Widget_Find<QLabel>(dialog, names[i][1]);
                spins[i] = {box->minimum(),
                            box->maximum(),
                            box->singleStep(),
                            box->value(),
                            label->text(),
                            label->buddy(),
                            box};
            }
            for (const char* name : {"txtWall", "txtCeil", "txtFloor"})
                texts << Widget_Find<QLineEdit>(dialog, name)->text();
            nullEnabled = Widget_Find<QCheckBox>(dialog, "cbNullFaces")->isEnabled();
            nullChecked = Widget_Find<QCheckBox>(dialog, "cbNullFaces")->isChecked();
            const QStringList named = {"sbX",     "sbY",      "sbZ",      "txtWall",
                                       "txtCeil", "txtFloor", "cbNoShow", "buttonBox"};
            QWidget* w = Widget_Find<QWidget>(dialog, "sbX");
            for (int i = 0; i < 60 && order.size() < named.size(); ++i, w = w->nextInFocusChain())
                if (named.contains(w->objectName()) && !order.contains(w->objectName()))
                    order.append(w->objectName());
        },
        false);
    EXPECT_EQ(title, "Default Room Properties");
    EXPECT_EQ(minimum, maximum);
    EXPECT_FALSE(help);
    const char* labels[3] = {"&X:", "&Y:", "&Z:"};
    const int values[3] = {512, 512, 160};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(spins[i].min, 128);
        EXPECT_EQ(spins[i].max, 1024);
        EXPECT_EQ(spins[i].step, 16);
        EXPECT_EQ(spins[i].value, values[i]);
        EXPECT_EQ(spins[i].label, labels[i]);
        EXPECT_EQ(spins[i].buddy, spins[i].box);
    }
    EXPECT_EQ(order,
              (QStringList{"sbX", "sbY", "sbZ", "txtWall", "txtCeil", "txtFloor", "cbNoShow", "buttonBox"}));
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(texts, (QStringList{profile->wallTexture, profile->ceilingTexture, profile->floorTexture}));
    const bool found = Tex_FindShader(&window->textures, profile->nullTexture);
    EXPECT_EQ(nullEnabled, found);
    EXPECT_EQ(nullChecked, found);
    // Cancelled: the map holds its world entity only.
    EXPECT_EQ(entityCount(d->world), 1);
    EXPECT_EQ(d->world->entities->firstBrush, nullptr);
}

TEST_F(DefaultRoomWindowTest, OkBuildsTheRoomLikeTheBuilderWithNothingToUndo) {
    DefaultRoomParameters asked;
    MapDocument* d = newMap(
        [&](QDialog* dialog) {
            static_cast<cDefaultRoomDialog*>(dialog)->getParameters(&asked);
            clickButton(dialog, QDialogButtonBox::Ok);
        },
        true);
    const MapWorld* w = d->world;
    ASSERT_EQ(entityCount(w), 3);
    int brushes = 0;
    for (const BrushRecord* b = w->entities->firstBrush; b; b = b->next, ++brushes)
        for (int k = 0; k < 2; ++k) {
            EXPECT_GE(b->mins[k], -288.0f);
            EXPECT_LE(b->maxs[k], 288.0f);
        }
    EXPECT_EQ(brushes, 6);
    const BrushRecord* floor = w->entities->lastBrush;
    EXPECT_EQ(floor->mins[2], -32.0f);
    EXPECT_EQ(floor->maxs[2], 0.0f);
    const EntityRecord* start = w->entities->next;
    EXPECT_EQ(start->origin[0], -192.0f);
    const EntityRecord* light = start->next;
    EXPECT_EQ(light->origin[2],
              128.0f + (light->handle->entityClass ? light->handle->entityClass->offset[2] : 0));
    EXPECT_EQ(d->undo->undoChain, nullptr);
    EXPECT_EQ(w->selectedBrushes, nullptr);

    // The same room straight through the builder on a twin.
    MapDocument twin;
    Project_Construct(&twin);
    twin.gameConfig = d->gameConfig;
    const float origin[3] = {0, 0, 0};
    cMapEntity* worldEntity = Entity_Create(Map_Handle(twin.world), d->world->entities->classname, origin,
                                            EntityFlag::World | EntityFlag::NeedsUpdate)
                                  ->handle;
    worldEntity->applyClassKeys(true);
    worldEntity->update(EntityUpdate::SkyKeys);
    Map_CreateDefaultRoom(Map_Handle(twin.world), d->gameConfig, asked);
    EXPECT_EQ(brushBlocks(twin.world), brushBlocks(d->world));
    twin.gameConfig = nullptr;
    Project_Destroy(&twin);
}

TEST_F(DefaultRoomWindowTest, NoShowWarnsOnceAndIsStoredByBothButtonsButNotByEscape) {
    window->settings.SkipDefaultRoomDialog = false;
    // Escape: closed without storing the ticked box.
    newMap(
        [](QDialog* dialog) {
            Widget_Click(Widget_Find<QCheckBox>(dialog, "cbNoShow"));
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(dialog, &escape);
        },
        false);
    EXPECT_FALSE(window->settings.SkipDefaultRoomDialog);
    EXPECT_TRUE(prompts.asked.isEmpty());
    // Cancel stores it, with the warning.
    MapDocument* d = newMap(
        [](QDialog* dialog) {
            Widget_Click(Widget_Find<QCheckBox>(dialog, "cbNoShow"));
            clickButton(dialog, QDialogButtonBox::Cancel);
        },
        false);
    EXPECT_EQ(entityCount(d->world), 1);
    EXPECT_TRUE(window->settings.SkipDefaultRoomDialog);
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Warning);
    EXPECT_TRUE(prompts.asked[0].text.startsWith("You have chosen not to display the dialog later"));
    // Skipped now: no dialog, no room.
    bool opened = true;
    d = newMap({}, true, &opened);
    EXPECT_FALSE(opened);
    EXPECT_EQ(entityCount(d->world), 1);

    for (auto& open : documents)
        Project_Destroy(open.get());
    documents.clear();
    EXPECT_TRUE(window->close());
    window.reset();
    QSettings file(path("config/zarv/KDKSettings.ini"), QSettings::IniFormat);
    EXPECT_EQ(file.value("SkipDefaultRoomDialog").toString(), "true");
}

TEST_F(DefaultRoomWindowTest, AlreadyStoredNoShowGivesNoWarning) {
    window->settings.SkipDefaultRoomDialog = true;
    // Asked anyway (as with Shift held): the box shows the stored value.
    DefaultRoomParameters out;
    bool shown = false;
    cDialogAnswer answer(
        [&](QDialog* dialog) {
            shown = Widget_Find<QCheckBox>(dialog, "cbNoShow")->isChecked();
            clickButton(dialog, QDialogButtonBox::Ok);
        },
        true);
    EXPECT_TRUE(Project_AskDefaultRoom(GameCfg_CurrentProfile(&window->gameConfigs), &out));
    EXPECT_TRUE(shown);
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_EQ(out.width, 512.0f);
    EXPECT_EQ(out.height, 160.0f);
}

} // namespace
