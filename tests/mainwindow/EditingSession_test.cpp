// The program's window on the sample game, driven as a new user drives it: keys through the
// application's shortcuts, mouse events in the map windows' views, the dock's combo and the
// context menus. Each case is a fault met on the basic editing path; the session at the end walks
// the whole path from a new map to reopening what was saved.
#include <gtest/gtest.h>

#include <QApplication>
#include <functional>
#include <QComboBox>
#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QToolBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <vector>

#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "ToolDriver.h"
#include "ViewPixels.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "map/EPair.h"
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

// What a file dialog showed: its title, folder, filters (the chosen one), the proposed name and
// the names it listed once its folder was read.
struct SeenFileDialog {
    QString title, folder, filter, name;
    QStringList filters, listed;
};

SeenFileDialog lookAt(QDialog* dialog, int expectListed) {
    SeenFileDialog seen;
    auto* files = qobject_cast<QFileDialog*>(dialog);
    if (!files) return seen;
    seen.title = files->windowTitle();
    seen.folder = QFileInfo(files->directory().absolutePath()).canonicalFilePath();
    seen.filters = files->nameFilters();
    seen.filter = files->selectedNameFilter();
    if (auto* edit = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) seen.name = edit->text();
    auto* list = files->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        seen.listed.clear();
        if (!list) break;
        const QModelIndex root = list->rootIndex();
        for (int row = 0; row < list->model()->rowCount(root); ++row)
            seen.listed.append(list->model()->index(row, 0, root).data().toString());
    } while (seen.listed.size() < expectListed && clock.elapsed() < 5000);
    return seen;
}

// With ZARV_SESSION_SHOTS naming a folder, the widget as the user sees it is saved there as
// name.png (pictures of a session for a person to look at); otherwise nothing.
void shot(QWidget* widget, const char* name) {
    const QString folder = qEnvironmentVariable("ZARV_SESSION_SHOTS");
    if (folder.isEmpty() || !widget) return;
    QDir().mkpath(folder);
    widget->grab().save(QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".png")));
}

// An icon that draws something at the size shown: not null, not one colour, not transparent.
bool drawsSomething(const QIcon& icon, QSize size) {
    const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) colours.insert(image.pixel(x, y));
    return colours.size() > 2;
}

// Types the name over the dialog's proposal (none: keeps it) and presses Return.
void enterName(QDialog* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!edit) return;
    if (!name.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, name);
    }
    QTest::keyClick(edit, Qt::Key_Return);
}

// A key typed into a field of a dialog, delivered to the field alone (no window shortcut sees it).
void typeText(QWidget* field, const QString& text) {
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
        QApplication::sendEvent(field, &press);
        QApplication::sendEvent(field, &release);
    }
}
void pressKey(QWidget* field, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QKeyEvent release(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(field, &press);
    QApplication::sendEvent(field, &release);
}

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
    // Answers the file dialog that opening brings up: what it showed (the names it lists once its
    // folder is read, expectListed of them at least), its picture when named, and the name entered
    // (empty: its proposal kept). False when no dialog came.
    bool answerFileDialog(SeenFileDialog& seen, int expectListed, const char* picture, const QString& name,
                          const std::function<void()>& opening) {
        cDialogAnswer answer([&](QDialog* d) {
            seen = lookAt(d, expectListed);
            if (picture) shot(d, picture);
            enterName(d, name);
        });
        opening();
        return answer.answered;
    }
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
            // A key no command has (Return in a view) goes to the window's own focus widget.
            QWidget* to = window->focusWidget();
            QTest::keyClick(to ? to : window.get(), Qt::Key(key), mods);
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
    // A combo of the New Objects dock moved onto the text with an arrow key, as a user picks with
    // the keyboard; the combo keeps the focus, as it does after a pick with the mouse.
    void choose(QComboBox* combo, const QString& text) {
        activate(window.get(), 2000);
        const int at = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(at, 0) << text.toStdString();
        ASSERT_GT(combo->count(), 1);
        combo->setFocus();
        combo->setCurrentIndex(at > 0 ? at - 1 : 1);
        QTest::keyClick(combo, at > 0 ? Qt::Key_Down : Qt::Key_Up);
        settle();
        ASSERT_EQ(combo->currentText(), text);
    }
    void choosePrimitive(const QString& category, const QString& name) {
        choose(window->objectsDock.categories, category);
        choose(window->objectsDock.objects, name);
    }
    // The driver on a flat view reset to one pixel a unit around the origin; the keyboard focus
    // stays where it is (the driver's mouse events do not move it).
    void aimAt(int type) {
        cCanvas* v = view(type);
        v->zoom = 1.0f;
        v->scrollX = v->scrollY = 0;
        v->needsFullRedraw = true;
        driver.setView(v);
        settle();
    }
    static int brushCount(const MapWorld* w) {
        int n = 0;
        for (const BrushRecord* b = w->entities->firstBrush; b; b = b->next)
            ++n;
        return n;
    }
    int undoLevels() const {
        int n = 0;
        for (const UndoLevel* l = child()->document->undo->undoChain; l; l = l->next)
            ++n;
        return n;
    }
    QString selectionStatus() const {
        return window->statusLabels[2] ? window->statusLabels[2]->text() : QString();
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
    // The entry's class is the dock's class from then on, and the new light is the selection.
    EXPECT_EQ(window->objectsDock.objects->currentText(), QStringLiteral("light"));
    EXPECT_EQ(world()->selectedEntities, light);
    EXPECT_EQ(selectionStatus(), QStringLiteral("light"));
    useView(ViewType::Top);
    driver.click(driver.at(192, 128));
    driver.key(Qt::Key_Return);
    settle();
    int lights = 0;
    for (const EntityRecord* e = world()->entities; e; e = e->next)
        lights += qstrcmp(e->classname, "light") == 0;
    EXPECT_EQ(lights, 2);
}

// The block tool after a primitive was picked in the dock: the views take the keys again, one
// Return makes one object, which is selected and named by the status bar; a second Return makes
// nothing more.
TEST_F(EditingSessionTest, OneReturnMakesOneObjectThatShowsAsMade) {
    ASSERT_NE(newMap(), nullptr);
    type(Qt::Key_B, Qt::ShiftModifier);
    ASSERT_EQ(Tool_Id(window->activeTool), ToolId::Brush);
    struct Case {
        const char* category;
        const char* name;
        QPoint from, to;
        int kind;
        const char* status;
        const char* level;
    };
    const Case cases[] = {
        {"(curves)",
         "cylinder (9x3)",
         {0, 0},
         {128, 128},
         BrushKind::Patch,
         "patch (9 x 3)",
         "Create Cylinder"},
        {"(primitives)",
         "block",
         {256, 0},
         {320, 64},
         BrushKind::Solid,
         "solid with 6 faces.",
         "Create Block"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        choosePrimitive(QString::fromLatin1(c.category), QString::fromLatin1(c.name));
        EXPECT_FALSE(window->objectsDock.dock->isAncestorOf(QApplication::focusWidget()))
            << "the dock kept the keys";
        aimAt(ViewType::Top);
        driver.drag(driver.at(c.from.x(), c.from.y()), driver.at(c.to.x(), c.to.y()));
        settle();
        const int brushes = brushCount(world()), levels = undoLevels();
        cPromptScript prompts;
        type(Qt::Key_Return);
        ASSERT_EQ(brushCount(world()), brushes + 1);
        const BrushRecord* made = lastBrush(world());
        EXPECT_EQ(made->kind, c.kind);
        EXPECT_EQ(world()->selectedBrushes, made);
        EXPECT_EQ(made->selNext, nullptr);
        EXPECT_EQ(selectionStatus(), QString::fromLatin1(c.status));
        EXPECT_EQ(undoLevels(), levels + 1);
        EXPECT_STREQ(Undo_NewestLevel(child()->document->undo)->name, c.level);
        type(Qt::Key_Return);
        EXPECT_EQ(brushCount(world()), brushes + 1);
        EXPECT_EQ(undoLevels(), levels + 1);
        EXPECT_TRUE(prompts.asked.isEmpty());
    }
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
    QMdiSubWindow* firstFrame = window->mdiArea->currentSubWindow();
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

// The file dialogs start beside the map, list every map the program reads, offer a map read from
// another format under its own name as a project, and name the export for what it does.
TEST_F(EditingSessionTest, FileDialogsStartAtTheMapAndListEveryFormat) {
    ASSERT_TRUE(QFile::copy(kSampleMap, path("maps/castle.map")));
    writeFile("maps/notes.txt", "not a map");
    const QString maps = QFileInfo(path("maps")).canonicalFilePath();
    window->settings.RecentMapDirectory = maps;
    SeenFileDialog open;
    ASSERT_TRUE(answerFileDialog(open, 1, "open-dialog", QStringLiteral("castle.map"),
                                 [&] { type(Qt::Key_O, Qt::ControlModifier); }));
    EXPECT_EQ(open.folder, maps);
    EXPECT_TRUE(open.filters.value(0).startsWith(QStringLiteral("All supported formats (")))
        << open.filters.value(0).toStdString();
    EXPECT_EQ(open.filter, open.filters.value(0));
    EXPECT_TRUE(open.listed.contains(QStringLiteral("castle.map"))) << open.listed.join(' ').toStdString();
    EXPECT_FALSE(open.listed.contains(QStringLiteral("notes.txt")));
    ASSERT_NE(child(), nullptr);
    EXPECT_EQ(QFileInfo(child()->document->filePath).fileName(), QStringLiteral("castle.map"));

    SeenFileDialog save; // no project there yet: nothing listed
    ASSERT_TRUE(
        answerFileDialog(save, 0, "save-dialog", QString(), [&] { type(Qt::Key_S, Qt::ControlModifier); }));
    EXPECT_EQ(save.folder, maps);
    EXPECT_EQ(save.name, QStringLiteral("castle.zmf"));
    EXPECT_TRUE(QFileInfo::exists(path("maps/castle.zmf")));

    SeenFileDialog exported;
    ASSERT_TRUE(answerFileDialog(exported, 1, "export-dialog", QStringLiteral("castle_game.map"),
                                 [&] { Window_Action(*window, "FileExport")->trigger(); }));
    EXPECT_EQ(exported.title, QStringLiteral("Export Map"));
    EXPECT_TRUE(QFileInfo::exists(path("maps/castle_game.map")));
}

// The first hour of a new user: a new map, a texture, a block and a patch from the dock, a light
// from the Create menu, a key added in the object properties, a look at the effect editor, the map
// exported through its dialog and opened again.
TEST_F(EditingSessionTest, TheFirstHour) {
    ASSERT_NE(newMap(), nullptr);
    pickTexture(QStringLiteral("sample/glass"));
    type(Qt::Key_B, Qt::ShiftModifier);

    choosePrimitive(QStringLiteral("(primitives)"), QStringLiteral("block"));
    aimAt(ViewType::Top);
    driver.drag(driver.at(0, 0), driver.at(128, 128));
    type(Qt::Key_Return);
    ASSERT_EQ(brushCount(world()), 1);
    EXPECT_EQ(world()->selectedBrushes, lastBrush(world()));
    EXPECT_EQ(faceTextures(lastBrush(world())), QStringList{"sample/glass"});

    choosePrimitive(QStringLiteral("(curves)"), QStringLiteral("cylinder (9x3)"));
    aimAt(ViewType::Top);
    driver.drag(driver.at(256, 0), driver.at(384, 128));
    type(Qt::Key_Return);
    type(Qt::Key_Return);
    ASSERT_EQ(brushCount(world()), 2);
    const BrushRecord* patch = lastBrush(world());
    EXPECT_EQ(patch->kind, BrushKind::Patch);
    EXPECT_EQ(world()->selectedBrushes, patch);
    EXPECT_EQ(selectionStatus(), QStringLiteral("patch (9 x 3)"));
    shot(window.get(), "patch-made-selected");

    // A light from the Create menu; the dock takes its class.
    type(Qt::Key_E, Qt::ShiftModifier);
    useView(ViewType::Top);
    driver.click(driver.at(64, 256));
    {
        cMenuPicker picker({QStringLiteral("Lights"), QStringLiteral("light")});
        driver.click(driver.at(64, 256), Qt::RightButton);
        settle();
    }
    EntityRecord* light = findEntity(world(), "light");
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(window->objectsDock.objects->currentText(), QStringLiteral("light"));
    EXPECT_EQ(world()->selectedEntities, light);
    shot(window.get(), "light-from-create-menu");

    // Its properties (Alt+Return), raw: a row picked, a new key typed over its name, a value, Return.
    type(Qt::Key_Return, Qt::AltModifier);
    cObjectPropertiesDialog* properties = window->objectPropertiesDialog;
    ASSERT_TRUE(properties->isVisible());
    if (properties->smartMode())
        QTest::mouseClick(properties->findChild<QPushButton*>(QStringLiteral("btnSmart")), Qt::LeftButton);
    ASSERT_FALSE(properties->smartMode());
    auto* table = properties->findChild<QTableWidget*>(QStringLiteral("epairTable"));
    auto* keyField = properties->findChild<QLineEdit*>(QStringLiteral("txtKey"));
    auto* valueField = properties->findChild<QLineEdit*>(QStringLiteral("txtValue"));
    ASSERT_GT(table->rowCount(), 0);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualItemRect(table->item(0, 0)).center());
    const QByteArray pickedKey = table->item(0, 0)->text().toLatin1();
    ASSERT_NE(light->handle->findKey(pickedKey.constData()), nullptr) << pickedKey.constData();
    const QByteArray pickedValue = QByteArray(light->handle->findKey(pickedKey.constData())->value);
    pressKey(keyField, Qt::Key_A, Qt::ControlModifier);
    typeText(keyField, QStringLiteral("wait"));
    typeText(valueField, QStringLiteral("2"));
    pressKey(valueField, Qt::Key_Return);
    ASSERT_NE(light->handle->findKey("wait"), nullptr);
    EXPECT_STREQ(light->handle->findKey("wait")->value, "2");
    ASSERT_NE(light->handle->findKey(pickedKey.constData()), nullptr);
    EXPECT_EQ(QByteArray(light->handle->findKey(pickedKey.constData())->value), pickedValue);
    shot(properties, "properties-key-added");
    properties->close();
    settle();

    // The effect editor (F3): every button of its bars drawn.
    QStringList blank;
    int buttons = 0;
    {
        cDialogAnswer answer(
            [&](QDialog* d) {
                shot(d, "effect-editor");
                for (QToolBar* bar : d->findChildren<QToolBar*>())
                    for (QAction* action : bar->actions()) {
                        if (action->isSeparator()) continue;
                        ++buttons;
                        if (!drawsSomething(action->icon(), bar->iconSize())) blank << action->toolTip();
                    }
            },
            false);
        type(Qt::Key_F3);
        ASSERT_TRUE(answer.answered);
    }
    EXPECT_GT(buttons, 0);
    EXPECT_TRUE(blank.isEmpty()) << blank.join(", ").toStdString();

    // Export through its dialog, then the exported map opened again.
    SeenFileDialog exported;
    ASSERT_TRUE(answerFileDialog(exported, 0, "first-hour-export-dialog", path("maps/first.map"),
                                 [&] { Window_Action(*window, "FileExport")->trigger(); }));
    EXPECT_EQ(exported.title, QStringLiteral("Export Map"));
    ASSERT_TRUE(QFileInfo::exists(path("maps/first.map")));
    // The open dialog starts where the map went and lists it.
    SeenFileDialog opened;
    ASSERT_TRUE(answerFileDialog(opened, 1, nullptr, QStringLiteral("first.map"),
                                 [&] { type(Qt::Key_O, Qt::ControlModifier); }));
    EXPECT_EQ(opened.folder, QFileInfo(path("maps")).canonicalFilePath());
    EXPECT_TRUE(opened.listed.contains(QStringLiteral("first.map"))) << opened.listed.join(' ').toStdString();
    ASSERT_EQ(window->documents.size(), 2);
    MapWorld* reopened = world();
    ASSERT_NE(child()->document->filePath, QString());
    EXPECT_EQ(QFileInfo(child()->document->filePath).fileName(), QStringLiteral("first.map"));
    int solids = 0, patches = 0;
    for (const BrushRecord* b = reopened->entities->firstBrush; b; b = b->next) {
        solids += b->kind == BrushKind::Solid;
        patches += b->kind == BrushKind::Patch;
    }
    EXPECT_EQ(solids, 1);
    EXPECT_EQ(patches, 1);
    const EntityRecord* light2 = findEntity(reopened, "light");
    ASSERT_NE(light2, nullptr);
    ASSERT_NE(light2->handle->findKey("wait"), nullptr);
    EXPECT_STREQ(light2->handle->findKey("wait")->value, "2");
}
