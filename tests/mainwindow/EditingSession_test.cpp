// The program's window on the sample game, driven as a new user drives it: keys through the
// application's shortcuts, mouse events in the map windows' views, the dock's combo and the
// context menus. Each case is a fault met on the basic editing path; the session at the end walks
// the whole path from a new map to reopening what was saved.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "ConsoleCapture.h"
#include "ToolDriver.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
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
        for (QAction* action : menu->actions()) {
            if (!action->isVisible() || action->text().remove('&') != m_path.first()) continue;
            picked.append(m_path.takeFirst());
            QTest::mouseMove(menu, menu->actionGeometry(action).center());
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            if (m_path.isEmpty()) m_timer.stop();
            return;
        }
        // Not there: give up rather than leave the menu open.
        m_timer.stop();
        menu->close();
    }
    QStringList m_path;
    QTimer m_timer;
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

    static void activate(QWidget* widget) {
        widget->activateWindow();
        QElapsedTimer clock;
        clock.start();
        while (!widget->isActiveWindow() && clock.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    static void settle(int rounds = 20) {
        for (int i = 0; i < rounds; ++i)
            QApplication::processEvents();
    }
    // A key as the user types it: to the focus widget, through the shortcuts.
    void type(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* to = QApplication::focusWidget();
        QTest::keyClick(to ? to : window.get(), Qt::Key(key), mods);
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
