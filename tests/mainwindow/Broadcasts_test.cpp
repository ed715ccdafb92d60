#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QTextBlock>
#include <QTextLayout>
#include <cstring>
#include <functional>
#include <vector>

#include "WindowFixture.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "dialogs/editing/ShaderEditScript.h"
#include "document/CullTree.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "gamedata/RenderApi.h"
#include "gamedata/TextureRecords.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapObject.h"
#include "mainwindow/MainWindow.h"
#include "dialogs/application/QCustomAction.h"
#include "tools/ToolSet.h"
#include "tools/ToolSupport.h"
#include "views/ChildWindow.h"
#include "render/ColorScheme.h"

namespace {

// The program's window with two copies of the sample map open, "light" defined for both.
class BroadcastsTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeFile("defs/lights.fgd", "@PointClass = light : \"Light\" []\n");
        writeFile("base/KDKGameCfg.ini",
                  QStringLiteral("[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\n"
                                 "GameData0=%1\n")
                      .arg(path("defs/lights.fgd"))
                      .toUtf8());
        // One scheme whose random brush colours are a single colour, so that the result shows.
        writeFile("config/zarv/KDKSettings.ini",
                  "[ColorScheme0]\nTitle=Flat\nCOLOR_BRUSH_RANDOM_MIN=10 200 30\n"
                  "COLOR_BRUSH_RANDOM_MAX=10 200 30\n"
                  "COLOR_SHADEREDIT_COMMENT=1 2 250\n");
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        for (const char* name : {"maps/a.map", "maps/b.map"}) {
            QDir().mkpath(path("maps"));
            ASSERT_TRUE(QFile::copy(kSampleMap, path(name)));
            MapDocument* document = window->openFile(path(name));
            ASSERT_NE(document, nullptr);
            documents.append(document);
        }
        QApplication::setActiveWindow(window.get());
        window->checkActiveState(false, true);
        Tool_SetCommandHook([this](const QString& command) { commands.append(command); });
    }
    void TearDown() override {
        Tool_SetCommandHook(nullptr);
        if (window) {
            for (MapDocument* d : window->documents)
                d->modified = false;
            window->close();
            window.reset();
        }
        Color_ResetTables();
        cWindowFixture::TearDown();
    }
    QAction* action(const QString& name) const {
        for (QAction* a : window->actionList)
            if (a->objectName() == name) return a;
        ADD_FAILURE() << name.toStdString();
        return nullptr;
    }
    // Runs the checkable command so that it ends in the state on, as a click on its menu entry.
    void switchTo(const QString& name, bool on) {
        QAction* a = action(name);
        if (!a) return;
        {
            const QSignalBlocker blocker(a);
            a->setChecked(!on);
        }
        a->trigger();
    }
    static EntityRecord* firstOfClass(MapWorld* world, const char* name) {
        for (EntityRecord* e = world->entities; e; e = e->next)
            if (e->classname && std::strcmp(e->classname, name) == 0) return e;
        return nullptr;
    }
    static FaceRecord* firstTexturedFace(MapWorld* world) {
        for (EntityRecord* e = world->entities; e; e = e->next)
            for (BrushRecord* b = e->firstBrush; b; b = b->next)
                for (FaceRecord* f = b->firstFace; f; f = f->next)
                    if (f->texture && f->handle) return f;
        return nullptr;
    }

    std::unique_ptr<cMainWindow> window;
    QList<MapDocument*> documents;
    QStringList commands;
};

// A tool that notes in which order the window asks it to refresh.
class cRefreshRecorder : public cAbstractTool {
public:
    explicit cRefreshRecorder(std::vector<int>* calls) : calls(calls) {}
    void refresh(cCanvas*) override { calls->push_back(getId()); }
    std::vector<int>* calls;
};

} // namespace

// Each pass spoils something in every open map; the broadcast must mend all of them.
TEST_F(BroadcastsTest, EveryOpenDocumentIsReached) {
    struct Case {
        const char* name;
        std::function<void(MapWorld*)> spoil;
        std::function<void(cMainWindow*)> broadcast;
        std::function<bool(MapWorld*)> mended;
    };
    const Case cases[] = {
        {"RebindEntityClasses", [](MapWorld* w) { firstOfClass(w, "light")->handle->entityClass = nullptr; },
         App_RebindEntityClasses,
         [](MapWorld* w) { return firstOfClass(w, "light")->handle->entityClass != nullptr; }},
        {"RebuildCullTrees", [](MapWorld* w) { Map_FreeCullTree(w); }, App_RebuildCullTrees,
         [](MapWorld* w) { return Cull_TreeOf(w) != nullptr; }},
        {"RefreshDocumentSkies",
         [](MapWorld* w) {
             w->skyRotation = 77.0f;
             w->skyAxis[2] = 1.0f;
         },
         App_RefreshDocumentSkies,
         [](MapWorld* w) { return w->skyRotation == 0.0f && w->skyAxis[2] == 0.0f; }},
        {"RefreshChangedShaders",
         [](MapWorld* w) {
             FaceRecord* f = firstTexturedFace(w);
             f->texture->flags |= SHADER_RELOADED;
             f->flags |= FaceFlags::NeedsUpdate;
         },
         App_RefreshChangedShaders,
         [](MapWorld* w) {
             const FaceRecord* f = firstTexturedFace(w);
             return !(f->flags & FaceFlags::NeedsUpdate) && !(f->texture->flags & SHADER_RELOADED);
         }},
        {"DeselectHiddenObjects",
         [](MapWorld* w) {
             Map_SelectAll(w, false);
             w->selectedBrushes->flags |= BrushFlags::Hidden;
         },
         [](cMainWindow* window) { window->deselectHiddenObjects(); },
         [](MapWorld* w) {
             bool hiddenSelected = false;
             for (EntityRecord* e = w->entities; e; e = e->next)
                 for (BrushRecord* b = e->firstBrush; b; b = b->next) {
                     if ((b->flags & BrushFlags::Hidden) && (b->flags & RecordFlag::Selected))
                         hiddenSelected = true;
                     b->flags &= ~BrushFlags::Hidden;
                 }
             return w->selectedBrushes && !hiddenSelected;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (MapDocument* d : documents)
            c.spoil(d->world);
        c.broadcast(window.get());
        for (qsizetype i = 0; i < documents.size(); ++i)
            EXPECT_TRUE(c.mended(documents[i]->world)) << "document " << i;
    }
}

// Hiding objects changes the selection: the tools and the selection's actions must hear of it.
TEST_F(BroadcastsTest, DeselectingHiddenObjectsRefreshesTheSelectionActions) {
    commands.clear();
    window->deselectHiddenObjects();
    EXPECT_TRUE(commands.contains("updateActions 115")) << commands.join(", ").toStdString();
}

// The tools refresh in id order for the focus view; without one none does, but the selection's
// actions still follow.
TEST_F(BroadcastsTest, SelectionNoticeReachesTheToolsInIdOrder) {
    std::vector<int> calls;
    std::unique_ptr<cAbstractTool> recorders[ToolId::Count];
    for (int id = 0; id < ToolId::Count; ++id) {
        recorders[id] = std::make_unique<cRefreshRecorder>(&calls);
        recorders[id]->setId(id);
        std::swap(recorders[id], window->toolSet->tools[id]);
    }
    std::vector<int> inOrder;
    for (int id = 0; id < ToolId::Count; ++id)
        inOrder.push_back(id);
    ASSERT_NE(window->focusView, nullptr);
    const struct {
        cCanvas* view;
        std::vector<int> expected;
    } cases[] = {{window->focusView, inOrder}, {nullptr, {}}};
    for (const auto& c : cases) {
        calls.clear();
        commands.clear();
        window->notifySelectionChanged(c.view);
        EXPECT_EQ(calls, c.expected);
        EXPECT_TRUE(commands.contains("updateActions 115"));
    }
    for (int id = 0; id < ToolId::Count; ++id)
        std::swap(recorders[id], window->toolSet->tools[id]);
}

// The entity command sets the blended bit only where the entity's blend-state word asks for the
// blended pass, in every open map, and clears it again when switched off.
TEST_F(BroadcastsTest, EntityTransparencyFollowsTheBlendStateWord) {
    const struct {
        bool on;
        uint32_t blendState;
        bool blended;
    } cases[] = {{true, 0, false},     {true, 0x1, true},   {true, 0x40000, true},
                 {true, 0x100, false}, {false, 0x1, false}, {false, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.on << " " << std::hex << c.blendState);
        for (MapDocument* d : documents) {
            EntityRecord* light = firstOfClass(d->world, "light");
            light->blendState = c.blendState;
            // The opposite of the expected result, so that leaving the bit alone shows.
            light->flags =
                c.blended ? light->flags & ~EntityFlag::Blended : light->flags | EntityFlag::Blended;
        }
        switchTo(QStringLiteral("ViewEntTrans"), c.on);
        EXPECT_EQ(window->settings.EntityTransparency, c.on);
        for (qsizetype i = 0; i < documents.size(); ++i)
            EXPECT_EQ(bool(firstOfClass(documents[i]->world, "light")->flags & EntityFlag::Blended),
                      c.blended)
                << "document " << i;
    }
}

// The special-textures command marks the faces of transparent textures in every open map.
TEST_F(BroadcastsTest, TextureTransparencyReachesEveryDocument) {
    QList<FaceRecord*> faces;
    for (MapDocument* d : documents) {
        faces.append(firstTexturedFace(d->world));
        faces.back()->texture->flags |= SHADER_TRANSPARENT;
    }
    for (bool on : {true, false, true}) {
        switchTo(QStringLiteral("ViewTexTrans"), on);
        for (qsizetype i = 0; i < faces.size(); ++i)
            EXPECT_EQ(bool(faces[i]->flags & FaceFlags::Blended), on) << on << " document " << i;
    }
    for (FaceRecord* f : faces)
        f->texture->flags &= ~SHADER_TRANSPARENT;
}

// Choosing a scheme recolours the brushes of every open map and the effect editor's highlighting.
TEST_F(BroadcastsTest, ColourSchemeReachesEveryDocumentAndTheEffectEditor) {
    ASSERT_NE(window->shaderEditDialog, nullptr);
    cShaderEditScript* script = window->shaderEditDialog->script;
    ASSERT_NE(script, nullptr);
    script->setPlainText(QStringLiteral("// note"));

    QCustomAction* flat = nullptr;
    for (QAction* a : window->colorSchemeActions)
        if (auto* custom = qobject_cast<QCustomAction*>(a); custom && custom->index == 0) flat = custom;
    ASSERT_NE(flat, nullptr);
    flat->trigger();

    const ObjectColor expected = Color_FromBytes(10, 200, 30, 255);
    for (qsizetype i = 0; i < documents.size(); ++i) {
        const BrushRecord* brush = documents[i]->world->entities->firstBrush;
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(brush->handle->displayColor, expected) << "document " << i;
        EXPECT_EQ(brush->firstFace->handle->displayColor, expected) << "document " << i;
    }
    const QList<QTextLayout::FormatRange> ranges = script->document()->firstBlock().layout()->formats();
    ASSERT_FALSE(ranges.isEmpty());
    EXPECT_EQ(ranges.first().format.foreground().color(), QColor(1, 2, 250));
}

// A changed undo level count empties every map's history; the next command records again. An
// unchanged count leaves the history alone.
TEST_F(BroadcastsTest, SettingsReapplyUndoLevelsToEveryDocument) {
    auto record = [](MapDocument* d) {
        Map_SelectAll(d->world, false);
        Undo_BeginLevel(d->undo, "Test");
        Undo_SaveSelectedBrushesChanged(d->undo, true);
        Undo_EndLevel(d->undo);
    };
    for (MapDocument* d : documents)
        record(d);
    window->applySettings();
    for (MapDocument* d : documents)
        EXPECT_NE(Undo_NewestLevel(d->undo), nullptr);

    const int32_t levels = window->settings.UndoLevels + 3;
    window->settings.UndoLevels = levels;
    window->settings.MinAlphaValue = 0.75f;
    window->applySettings();
    EXPECT_EQ(Render_GetMinAlpha(), 0.75f);
    for (MapDocument* d : documents) {
        EXPECT_EQ(Undo_NewestLevel(d->undo), nullptr);
        EXPECT_EQ(d->undo->levels, nullptr);
        EXPECT_EQ(d->undo->levelCount, levels);
        record(d);
        ASSERT_NE(Undo_NewestLevel(d->undo), nullptr);
        EXPECT_STREQ(Undo_NewestLevel(d->undo)->name, "Test");
    }
}

// Re-checking the active map tells the tools of the selection only where they show it: under the
// selection tool, or while the face-properties dialog is open over another tool.
TEST_F(BroadcastsTest, ActiveStateNotifiesUnderTheSelectionToolOrTheFaceDialog) {
    const struct {
        int tool;
        bool faceDialog;
        bool notified;
    } cases[] = {
        {ToolId::Selection, false, true}, {ToolId::Entity, false, false}, {ToolId::Entity, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tool << " " << c.faceDialog);
        window->activeTool = (*window->toolSet)[c.tool];
        window->faceDialog.setVisible(c.faceDialog);
        commands.clear();
        window->checkActiveState(false, true);
        EXPECT_EQ(commands.contains("updateActions 115"), c.notified) << commands.join(", ").toStdString();
    }
    window->faceDialog.hide();
    window->activeTool = (*window->toolSet)[ToolId::Selection];
}
