// The program's window on the sample game, driven as a new user drives it: keys through the
// application's shortcuts, mouse events in the map windows' views, the dock's combo and the
// context menus. Each case is a fault met on the basic editing path; the session at the end walks
// the whole path from a new map to reopening what was saved.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <vector>

#include "ConsoleCapture.h"
#include "ToolDriver.h"
#include "ViewPixels.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "views/AbstractTool.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

// Picks the entries of the next popup menu one after another (a submenu's entry opens it) with
// real clicks; records what it found.
class cMenuPicker {
public:
    explicit cMenuPicker(QStringList path) : m_path(std::move(path)) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { step(); });
        m_timer.start();
    }
    QStringList picked;

private:
    void step() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || m_path.isEmpty()) return;
        if (menu != m_lastMenu)
            for (QAction* action : menu->actions()) {
                if (!action->isVisible() || action->text().remove('&') != m_path.first()) continue;
                picked.append(m_path.takeFirst());
                m_lastMenu = menu;
                m_waited = 0;
                // By the keyboard: a click on a submenu's entry can land while the menu moves or
                // closes under a loaded machine; the active entry and a key cannot miss.
                menu->setActiveAction(action);
                QTest::keyClick(menu, action->menu() ? Qt::Key_Right : Qt::Key_Return);
                if (m_path.isEmpty()) m_timer.stop();
                return;
            }
        // A submenu opens, and a menu may fill, a moment after its entry was clicked: wait for it
        // (three seconds at most), then give up rather than leave the menu open.
        if (++m_waited < 300) return;
        m_timer.stop();
        menu->close();
    }
    QStringList m_path;
    QTimer m_timer;
    QMenu* m_lastMenu = nullptr;
    int m_waited = 0;
};

class EditingSessionTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        QFile config(QStringLiteral(ZARV_BIN_DIR "/KDKGameCfg.ini"));
        if (!config.open(QIODevice::ReadOnly)) GTEST_SKIP() << "the sample game is not built";
        writeFile("base/KDKGameCfg.ini", config.readAll());
        writeFile("config/zarv/KDKSettings.ini", "[General]\nSkipDefaultRoomDialog=true\n");
        QDir().mkpath(path("maps"));
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->resize(1100, 820);
        window->show();
        activate(window.get());
    }
    void TearDown() override {
        window.reset();
        cWindowFixture::TearDown();
    }

    static void activate(QWidget* widget, int waitMs = 10000) {
        if (widget->isActiveWindow()) return;
        widget->activateWindow();
        QElapsedTimer clock;
        clock.start();
        while (!widget->isActiveWindow() && clock.elapsed() < waitMs)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    static void settle(int rounds = 20) {
        for (int i = 0; i < rounds; ++i)
            QApplication::processEvents();
    }
    // A key as the user types it: to the focus widget, through the shortcuts. Shortcuts reach only
    // the active window, which tests sharing the display may hold for a while: then the command
    // the key is bound to runs as the shortcut would run it.
    void type(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        activate(window.get(), 2000);
        if (window->isActiveWindow()) {
            QWidget* to = QApplication::focusWidget();
            QTest::keyClick(to ? to : window.get(), Qt::Key(key), mods);
        } else {
            const QKeySequence sequence(QKeyCombination(mods, Qt::Key(key)));
            for (const QList<QAction*>* list : {&window->actionList, &window->toolActions})
                for (QAction* action : *list)
                    if (action->shortcut() == sequence && action->isEnabled()) {
                        action->trigger();
                        settle();
                        return;
                    }
            ADD_FAILURE() << "no command has the key " << sequence.toString().toStdString();
        }
        settle();
    }
    cChildWindow* child() const { return window->activeChildWindow(); }
    MapWorld* world() const { return child() && child()->document ? child()->document->world : nullptr; }
    cCanvas* view(int type) const {
        for (cCanvas* v : child()->views)
            if (v->viewType == type) return v;
        return nullptr;
    }
    // Points the driver at a flat view, reset to one pixel a unit around the origin.
    void useView(int type) {
        cCanvas* v = view(type);
        v->zoom = 1.0f;
        v->scrollX = v->scrollY = 0;
        v->needsFullRedraw = true;
        driver.setView(v);
        v->setFocus();
        settle();
    }
    // Ctrl+N; the room dialog is skipped.
    MapDocument* newMap() {
        type(Qt::Key_N, Qt::ControlModifier);
        // The new window's GL views take the activation from the test display's windows.
        activate(window.get());
        return child() ? child()->document : nullptr;
    }
    // The dock's names combo moved onto the name with the arrow key, as a user picks one.
    void pickTexture(const QString& name) {
        QComboBox* names = window->texturesDock.names;
        const int at = names->findText(name);
        ASSERT_GT(at, 0) << name.toStdString();
        names->setCurrentIndex(at - 1);
        QTest::keyClick(names, Qt::Key_Down);
        ASSERT_EQ(names->currentText(), name);
    }
    // Shift+B, a drag in the top view, Return: one block.
    void drawBlock(QPoint from, QPoint to) {
        type(Qt::Key_B, Qt::ShiftModifier);
        useView(ViewType::Top);
        driver.drag(driver.at(from.x(), from.y()), driver.at(to.x(), to.y()));
        driver.key(Qt::Key_Return);
        settle();
    }
    static QStringList faceTextures(const BrushRecord* b) {
        QStringList names;
        for (const FaceRecord* f = b->firstFace; f; f = f->next)
            names << QString::fromLatin1(f->texInfo.name);
        names.removeDuplicates();
        return names;
    }
    static BrushRecord* lastBrush(MapWorld* w) {
        BrushRecord* last = nullptr;
        for (BrushRecord* b = w->entities->firstBrush; b; b = b->next)
            last = b;
        return last;
    }
    static EntityRecord* findEntity(MapWorld* w, const char* classname) {
        for (EntityRecord* e = w->entities; e; e = e->next)
            if (qstrcmp(e->classname, classname) == 0) return e;
        return nullptr;
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
    cToolDriver driver;
};

} // namespace

TEST_F(EditingSessionTest, ABlockTakesTheTexturePickedInTheDock) {
    ASSERT_NE(newMap(), nullptr);
    pickTexture(QStringLiteral("sample/glass"));
    drawBlock({0, 0}, {64, 32});
    BrushRecord* block = lastBrush(world());
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(faceTextures(block), QStringList{"sample/glass"});
    // The surface properties dialog's choice is the same current texture.
    App_SetCurrentTexture(QStringLiteral("sample/slime"), QStringLiteral("(All Textures)"));
    drawBlock({128, 0}, {192, 32});
    EXPECT_EQ(faceTextures(lastBrush(world())), QStringList{"sample/slime"});
}

TEST_F(EditingSessionTest, TheCreateSubmenuMakesTheClassItNames) {
    ASSERT_NE(newMap(), nullptr);
    type(Qt::Key_E, Qt::ShiftModifier);
    useView(ViewType::Top);
    driver.click(driver.at(64, 128));
    settle();
    ASSERT_EQ(findEntity(world(), "light"), nullptr);
    {
        cMenuPicker picker({QStringLiteral("Lights"), QStringLiteral("light")});
        driver.click(driver.at(64, 128), Qt::RightButton);
        settle();
        EXPECT_EQ(picker.picked, (QStringList{"Lights", "light"}));
    }
    const EntityRecord* light = findEntity(world(), "light");
    ASSERT_NE(light, nullptr);
    EXPECT_FLOAT_EQ(light->origin[0], 64.0f);
    EXPECT_FLOAT_EQ(light->origin[1], 128.0f);
    EXPECT_TRUE(child()->document->modified);
}
TEST_F(EditingSessionTest, SavingInTheVertexToolWritesTheMapNotTheToolsMarks) {
    ASSERT_NE(newMap(), nullptr);
    drawBlock({0, 0}, {64, 64});
    BrushRecord* block = lastBrush(world());
    ASSERT_NE(block, nullptr);
    Map_SelectObject(world(), block);
    type(Qt::Key_V, Qt::ShiftModifier);
    ASSERT_EQ(Tool_Id(window->activeTool), ToolId::Vertex);
    useView(ViewType::Top);
    driver.drag(driver.at(64, 64), driver.at(80, 64));
    settle();
    // The tool's marks are there while it runs.
    int marked = 0;
    for (const FaceRecord* f = block->firstFace; f; f = f->next)
        for (int i = 0; i < f->vertexCount; ++i)
            marked += f->vertices[i].flags != 0;
    ASSERT_TRUE((block->flags & BrushFlags::Morphed) || marked > 0);

    const QString file = path("maps/morphed.zmf");
    {
        cPromptScript prompts;
        prompts.answerText(file);
        type(Qt::Key_S, Qt::ControlModifier);
    }
    ASSERT_TRUE(QFileInfo::exists(file));
    MapDocument reopened;
    Project_Construct(&reopened);
    ASSERT_TRUE(Project_Load(&reopened, file, nullptr));
    int brushes = 0;
    for (const BrushRecord* b = reopened.world->entities->firstBrush; b; b = b->next) {
        ++brushes;
        EXPECT_EQ(b->flags & (BrushFlags::Morphed | BrushFlags::Dragged), 0u);
        for (const FaceRecord* f = b->firstFace; f; f = f->next)
            for (int i = 0; i < f->vertexCount; ++i)
                EXPECT_EQ(f->vertices[i].flags, 0) << i;
    }
    EXPECT_EQ(brushes, 1);
    Project_Destroy(&reopened);
}

// New map, a texture picked, a block, a light from the Create menu, a second map opened, a camera
// fly, save, reopen: the file holds the texture and the light, both windows keep their size and
// the top view its whole grid.
TEST_F(EditingSessionTest, FromANewMapToReopeningWhatWasSaved) {
    window->settings.EnableGrid2D = true;
    MapDocument* first = newMap();
    ASSERT_NE(first, nullptr);
    QMdiSubWindow* firstFrame = window->mdiArea->activeSubWindow();
    pickTexture(QStringLiteral("sample/glass"));
    drawBlock({0, 0}, {128, 128});

    type(Qt::Key_E, Qt::ShiftModifier);
    useView(ViewType::Top);
    driver.click(driver.at(64, 256));
    {
        cMenuPicker picker({QStringLiteral("Lights"), QStringLiteral("light")});
        driver.click(driver.at(64, 256), Qt::RightButton);
        settle();
    }
    ASSERT_NE(findEntity(first->world, "light"), nullptr);

    // A second map through File > Open.
    QFile::copy(kSampleMap, path("maps/second.map"));
    {
        cPromptScript prompts;
        prompts.answerText(path("maps/second.map"));
        type(Qt::Key_O, Qt::ControlModifier);
    }
    ASSERT_EQ(window->documents.size(), 2);
    activate(window.get());
    QWidget* area = window->mdiArea->viewport();
    for (QMdiSubWindow* frame : window->mdiArea->subWindowList()) {
        window->mdiArea->setActiveSubWindow(frame);
        settle();
        EXPECT_TRUE(frame->isMaximized());
        EXPECT_GE(frame->width(), area->width() - 2);
        EXPECT_GE(frame->height(), area->height() - 2);
    }

    // Back in the first map, the wheel turned over its camera view.
    window->mdiArea->setActiveSubWindow(firstFrame);
    settle();
    cCanvas* top = view(ViewType::Top);
    useView(ViewType::Top);
    View_WaitForPaint(top);
    const int grid = View_GridPixels(View_ShownFrame(top));
    ASSERT_GT(grid, 1000);
    cCanvas* camera = view(ViewType::Camera);
    driver.setView(camera);
    const QPoint middle(camera->viewWidth / 2, camera->viewHeight / 2);
    driver.click(middle);
    const std::vector<float> eye(camera->eye, camera->eye + 3);
    for (int step = 0; step < 5; ++step) {
        driver.wheel(middle, 120);
        settle(5);
    }
    ASSERT_NE(std::vector<float>(camera->eye, camera->eye + 3), eye) << "the camera did not move";
    View_WaitForPaint(top);
    EXPECT_GT(View_GridPixels(View_ShownFrame(top)), grid * 95 / 100);

    const QString file = path("maps/session.zmf");
    {
        cPromptScript prompts;
        prompts.answerText(file);
        type(Qt::Key_S, Qt::ControlModifier);
    }
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(firstFrame->isMaximized());

    MapDocument reopened;
    Project_Construct(&reopened);
    ASSERT_TRUE(Project_Load(&reopened, file, nullptr));
    const BrushRecord* block = lastBrush(reopened.world);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(faceTextures(block), QStringList{"sample/glass"});
    const EntityRecord* light = findEntity(reopened.world, "light");
    ASSERT_NE(light, nullptr);
    EXPECT_FLOAT_EQ(light->origin[0], 64.0f);
    EXPECT_FLOAT_EQ(light->origin[1], 256.0f);
    Project_Destroy(&reopened);
}
