#include <gtest/gtest.h>

#include <QDir>
#include <QBuffer>
#include <QDataStream>
#include <QDockWidget>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/application/NamedDialogs.h"
#include "dialogs/editing/TextureBrowserDialog.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "dialogs/editing/LayoutRecords.h"
#include "mainwindow/LayoutFile.h"
#include "StateStream.h"

namespace {

class LayoutFileTest : public cWindowFixture {
protected:
    QString layoutFile() const { return path("config/zarv/KDKLayout.dat"); }
    cConsoleCapture console;
};

QBuffer* buffer(QByteArray* bytes) {
    auto* b = new QBuffer(bytes);
    b->open(QIODevice::ReadWrite);
    return b;
}

// A main-window state: the header of version 0, then the parts given.
QByteArray mainState(const QByteArray& parts) {
    return Test_StateInts({0xff, 0}) + parts;
}

// A dock sequence marker, an orientation and the count of items that follow.
QByteArray dockSequence(qint32 items) {
    return QByteArray("\xfc\x01", 2) + Test_StateInts({items});
}

} // namespace

TEST_F(LayoutFileTest, RecordFraming) {
    struct Case {
        QByteArray input;
        bool ok;
        QByteArray bytes;
    } cases[] = {
        {QByteArray("\x03\x00"
                    "abc",
                    5),
         true, "abc"},
        {QByteArray("\x00\x00"
                    "abc",
                    5),
         false,
         {}}, // zero length
        {QByteArray("\x05\x00"
                    "abc",
                    5),
         false,
         {}},                               // short read
        {QByteArray("\x03", 1), false, {}}, // half a length
        {QByteArray(), false, {}},
        {QByteArray("\x00\x01", 2) + QByteArray(256, 'x'), true, QByteArray(256, 'x')}, // little endian
    };
    for (const Case& c : cases) {
        QByteArray input = c.input;
        std::unique_ptr<QBuffer> device(buffer(&input));
        QByteArray out;
        EXPECT_EQ(Layout_ReadBytes(device.get(), out), c.ok) << c.input.toHex().constData();
        if (c.ok) EXPECT_EQ(out, c.bytes);
    }
    // Arrays the length cannot hold, and empty ones, are refused before anything is written.
    for (const auto& [size, ok] : {std::pair{65536, false}, std::pair{0, false}, std::pair{65535, true}}) {
        QByteArray written;
        std::unique_ptr<QBuffer> device(buffer(&written));
        EXPECT_EQ(Layout_WriteBytes(device.get(), QByteArray(size, 'y')), ok) << size;
        EXPECT_EQ(written.size(), ok ? size + 2 : 0) << size;
    }
    // Block 6 without a saved state is the single byte 0, and reads back as nothing saved.
    cMainWindow window(WindowMode::Headless);
    QByteArray block;
    std::unique_ptr<QBuffer> device(buffer(&block));
    ASSERT_TRUE(Layout_WriteWindowState(&window, device.get()));
    EXPECT_EQ(block, QByteArray(1, '\0'));
    window.savedWindowPresent = true;
    window.savedWindowGeometry = "old";
    device->seek(0);
    EXPECT_TRUE(Layout_ReadWindowState(&window, device.get()));
    EXPECT_FALSE(window.savedWindowPresent);
    EXPECT_TRUE(window.savedWindowGeometry.isEmpty());
}

TEST_F(LayoutFileTest, ClosedWindowIsRestoredByTheNextOne) {
    QRect geometry, textureGeometry, effectGeometry;
    QList<int> outerSizes, innerSizes;
    {
        cMainWindow window(WindowMode::Interactive);
        window.setGeometry(50, 60, 900, 700);
        window.show();
        geometry = window.geometry();
        window.toolBars[1]->hide();
        window.findChild<QDockWidget*>(QStringLiteral("textures"))->hide();
        window.statusBar()->hide();
        window.textureBrowserDialog->setGeometry(300, 310, 400, 300);
        window.shaderEditDialog->setGeometry(200, 210, 500, 400);
        window.shaderEditDialog->show();
        auto* outer = window.shaderEditDialog->findChild<QSplitter*>(QStringLiteral("splitter"));
        auto* inner = window.shaderEditDialog->findChild<QSplitter*>(QStringLiteral("splitter_2"));
        outer->setSizes({120, 300});
        inner->setSizes({100, 200});
        outerSizes = outer->sizes();
        innerSizes = inner->sizes();
        textureGeometry = window.textureBrowserDialog->geometry();
        effectGeometry = window.shaderEditDialog->geometry();
        window.shaderEditDialog->hide();
        window.savedWindowPresent = true;
        window.savedWindowMaximized = true;
        window.savedWindowGeometry = "geometry";
        cPromptScript script;
        EXPECT_TRUE(window.close());
        EXPECT_TRUE(script.asked.isEmpty());
    }
    ASSERT_TRUE(QFile::exists(layoutFile()));
    cPromptScript script;
    cMainWindow window(WindowMode::Interactive);
    EXPECT_TRUE(script.asked.isEmpty());
    window.show();
    EXPECT_EQ(window.geometry(), geometry);
    EXPECT_FALSE(window.statusBar()->isVisibleTo(&window));
    EXPECT_FALSE(window.toolBars[1]->isVisibleTo(&window));
    EXPECT_TRUE(window.toolBars[0]->isVisibleTo(&window));
    EXPECT_FALSE(window.findChild<QDockWidget*>(QStringLiteral("textures"))->isVisibleTo(&window));
    EXPECT_TRUE(window.findChild<QDockWidget*>(QStringLiteral("console"))->isVisibleTo(&window));
    // The View menu's toggles follow what was restored.
    for (QAction* action : window.actionList)
        if (action->text() == QLatin1String("&Status Bar")) EXPECT_FALSE(action->isChecked());
    EXPECT_EQ(window.textureBrowserDialog->geometry(), textureGeometry);
    EXPECT_EQ(window.shaderEditDialog->geometry(), effectGeometry);
    window.shaderEditDialog->show();
    EXPECT_EQ(window.shaderEditDialog->findChild<QSplitter*>(QStringLiteral("splitter"))->sizes(),
              outerSizes);
    EXPECT_EQ(window.shaderEditDialog->findChild<QSplitter*>(QStringLiteral("splitter_2"))->sizes(),
              innerSizes);
    window.shaderEditDialog->hide();
    EXPECT_TRUE(window.savedWindowPresent);
    EXPECT_TRUE(window.savedWindowMaximized);
    EXPECT_EQ(window.savedWindowGeometry, QByteArray("geometry"));
    window.close();
}

TEST_F(LayoutFileTest, DamagedFilesWarnOnceAndStartUpGoesOn) {
    {
        cMainWindow window(WindowMode::Interactive);
        window.show();
        window.statusBar()->hide();
        window.savedWindowPresent = true;
        window.savedWindowGeometry = "geometry";
        window.close();
    }
    const QByteArray whole = readFile("config/zarv/KDKLayout.dat");
    ASSERT_GT(whole.size(), 20);
    // Cut inside block 6: the blocks before it stay applied, one warning, nothing saved.
    writeFile("config/zarv/KDKLayout.dat", whole.left(whole.size() - 3));
    {
        cPromptScript script;
        cMainWindow window(WindowMode::Interactive);
        ASSERT_EQ(script.asked.size(), 1);
        EXPECT_TRUE(
            script.asked[0].text.startsWith(QStringLiteral("Failed to read: ") + layoutFile() + "\n"));
        EXPECT_EQ(script.asked[0].icon, PromptIcon::Warning);
        EXPECT_FALSE(window.statusBar()->isVisibleTo(&window));
        EXPECT_FALSE(window.savedWindowPresent);
        EXPECT_FALSE(window.menus.isEmpty());
    }
    // Cut inside block 1, garbage, and an empty file (no layout at all).
    for (const auto& [bytes, warnings] :
         {std::pair{whole.left(10), 1}, std::pair{QByteArray(64, '\xff'), 1}, std::pair{QByteArray(), 0}}) {
        writeFile("config/zarv/KDKLayout.dat", bytes);
        cPromptScript script;
        cMainWindow window(WindowMode::Interactive);
        EXPECT_EQ(script.asked.size(), warnings) << bytes.size();
        EXPECT_TRUE(window.statusBar()->isVisibleTo(&window));
    }
}

// Qt's readers trust the counts in a state: a damaged one could loop for minutes, allocate gigabytes
// or index past the four dock areas. Each is refused before Qt sees it; what Qt itself writes passes.
TEST_F(LayoutFileTest, StatesAreCheckedBeforeQtReadsThem) {
    cMainWindow window(WindowMode::Interactive);
    window.show();
    window.shaderEditDialog->show();
    auto* splitter = window.shaderEditDialog->findChild<QSplitter*>(QStringLiteral("splitter"));
    const QByteArray good = window.saveState(0);
    const QByteArray goodSplitter = splitter->saveState();
    // Docks tabbed together, then one of them floating, as a user may leave them.
    auto* console = window.findChild<QDockWidget*>(QStringLiteral("console"));
    auto* textures = window.findChild<QDockWidget*>(QStringLiteral("textures"));
    window.tabifyDockWidget(console, textures);
    const QByteArray tabbed = window.saveState(0);
    textures->setFloating(true);
    const QByteArray floating = window.saveState(0);
    window.shaderEditDialog->hide();
    QByteArray nested = dockSequence(1);
    for (int depth = 0; depth < 17; ++depth)
        nested += QByteArray(1, '\xfc') + Test_StateInts({0, 0, 0, 0}) + dockSequence(depth < 16 ? 1 : 0);
    const QByteArray docksHead = "\xfd" + Test_StateInts({1, 0, 10, 10});
    // The central widget's size and the four corners as Qt writes them (top, top, bottom, bottom).
    const QByteArray docksTail = Test_StateInts({0, 0, 4, 4, 8, 8});
    const struct {
        const char* what;
        QByteArray state;
        bool ok;
    } mainCases[] = {
        {"as Qt writes it", good, true},
        {"tabbed docks", tabbed, true},
        {"a floating dock", floating, true},
        {"no parts", mainState({}), true},
        {"tool-bar lines 0x7fffffff", mainState("\xfc" + Test_StateInts({0x7fffffff})), false},
        {"tool-bar items past the end", mainState("\xfc" + Test_StateInts({1, 0, 1000})), false},
        {"tool bar in area 4", mainState("\xfc" + Test_StateInts({1, 4, 0})), false},
        {"negative line count", mainState("\xfc" + Test_StateInts({-1})), false},
        {"old tool-bar marker", mainState("\xfe" + Test_StateInts({0})), false},
        {"dock area 7", mainState("\xfd" + Test_StateInts({1, 7, 10, 10}) + dockSequence(0) + docksTail),
         false},
        {"one dock area, empty", mainState(docksHead + dockSequence(0) + docksTail), true},
        {"dock items past the end", mainState(docksHead + dockSequence(0x7fffffff) + docksTail), false},
        {"dock name longer than the state",
         mainState(docksHead + dockSequence(1) + "\xfb" + Test_StateInts({0x100000})), false},
        {"docks nested 17 deep", mainState(docksHead + nested + docksTail), false},
        // Every value within what a screen holds: Qt sums and lays them out unchecked.
        {"dock area 0x7fffffff wide",
         mainState("\xfd" + Test_StateInts({1, 0, 0x7fffffff, 10}) + dockSequence(0) + docksTail), false},
        {"dock item 0x7fffffff long",
         mainState(docksHead + dockSequence(1) + "\xfc" + Test_StateInts({0, 0x7fffffff, 0, 0}) +
                   dockSequence(0) + docksTail),
         false},
        {"central widget -0x7fffffff high",
         mainState(docksHead + dockSequence(0) + Test_StateInts({0, -0x7fffffff, 4, 4, 8, 8})), false},
        {"corner in area 3", mainState(docksHead + dockSequence(0) + Test_StateInts({0, 0, 3, 4, 8, 8})),
         false},
        {"dock orientation 9",
         mainState(docksHead + QByteArray("\xfc\x09", 2) + Test_StateInts({0}) + docksTail), false},
        {"tool bar at 0x7fffffff",
         mainState("\xfc" + Test_StateInts({1, 0, 1, -1}) + '\1' + Test_StateInts({0x7fffffff, -1, 0, 0})),
         false},
        {"tool bar flags 0x80",
         mainState("\xfc" + Test_StateInts({1, 0, 1, -1}) + '\x80' + Test_StateInts({0, -1, 0, 0})), false},
        {"other version", Test_StateInts({0xff, 1}), false},
        {"a byte after the parts", good + '\0', false},
        {"cut", good.left(good.size() - 1), false},
        {"empty", QByteArray(), false},
    };
    for (const auto& c : mainCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Layout_CheckMainWindowState(c.state, 0), c.ok);
        if (c.ok) continue;
        QByteArray record = QByteArray(1, '\1');
        std::unique_ptr<QBuffer> device(buffer(&record));
        device->seek(1);
        Layout_WriteBytes(device.get(), window.saveGeometry());
        Layout_WriteBytes(device.get(), c.state);
        device->seek(0);
        EXPECT_FALSE(Layout_ReadMainWindow(&window, device.get()));
        EXPECT_TRUE(window.toolBars[0]->isVisibleTo(&window));
    }
    const struct {
        const char* what;
        QByteArray state;
        bool ok;
    } splitterCases[] = {
        {"as Qt writes it", goodSplitter, true},
        {"sizes claiming 3 GB", Test_StateInts({0xff, 1, 0x30000000, 100, 200}), false},
        {"sizes one past the end",
         Test_StateInts({0xff, 1, 3, 1, 2}) + '\1' + Test_StateInts({5}) + '\1' + Test_StateInts({1}) + '\0',
         false},
        {"orientation 3",
         Test_StateInts({0xff, 1, 2, 1, 2}) + '\1' + Test_StateInts({5}) + '\1' + Test_StateInts({3}) + '\0',
         false},
        {"version 2",
         Test_StateInts({0xff, 2, 0}) + '\1' + Test_StateInts({5}) + '\1' + Test_StateInts({1}) + '\0',
         false},
        {"version 0, no last flag",
         Test_StateInts({0xff, 0, 0}) + '\1' + Test_StateInts({5}) + '\1' + Test_StateInts({1}), true},
        {"cut", goodSplitter.left(goodSplitter.size() - 1), false},
        {"the style's handle width, sizes not laid out yet",
         Test_StateInts({0xff, 1, 2, -1, -1}) + '\0' + Test_StateInts({-1}) + '\1' + Test_StateInts({2}) +
             '\0',
         true},
        {"handle width 0x7fffffff",
         Test_StateInts({0xff, 1, 2, -1, -1}) + '\0' + Test_StateInts({0x7fffffff}) + '\1' +
             Test_StateInts({1}) + '\0',
         false},
        {"handle width -2",
         Test_StateInts({0xff, 1, 2, 1, 2}) + '\0' + Test_StateInts({-2}) + '\1' + Test_StateInts({1}) + '\0',
         false},
        {"a size of 0x7fffffff",
         Test_StateInts({0xff, 1, 2, 0x7fffffff, 2}) + '\1' + Test_StateInts({5}) + '\1' +
             Test_StateInts({1}) + '\0',
         false},
        {"collapsible flag 2",
         Test_StateInts({0xff, 1, 2, 1, 2}) + '\2' + Test_StateInts({5}) + '\1' + Test_StateInts({1}) + '\0',
         false},
    };
    for (const auto& c : splitterCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Layout_CheckSplitterState(c.state), c.ok);
    }
    window.close();
}

TEST_F(LayoutFileTest, ADamagedStateWarnsOnceAndTheWindowStartsWithItsDefaults) {
    // 19 bytes: status bar off, a one-byte geometry, 0x7fffffff tool-bar lines.
    QByteArray lines(1, '\0');
    {
        std::unique_ptr<QBuffer> device(buffer(&lines));
        device->seek(1);
        ASSERT_TRUE(Layout_WriteBytes(device.get(), "g"));
        ASSERT_TRUE(Layout_WriteBytes(device.get(), mainState("\xfc" + Test_StateInts({0x7fffffff}))));
    }
    ASSERT_EQ(lines.size(), 19);
    writeFile("config/zarv/KDKLayout.dat", lines);
    {
        cPromptScript script;
        cMainWindow window(WindowMode::Interactive);
        EXPECT_EQ(script.asked.size(), 1);
        EXPECT_TRUE(window.statusBar()->isVisibleTo(&window));
        EXPECT_TRUE(window.toolBars[0]->isVisibleTo(&window));
    }
    // The first splitter's sizes claim 3 GB: the blocks before it stay, the splitters keep theirs.
    QList<int> defaultSizes;
    QByteArray file;
    {
        cPromptScript quiet; // the file above is still there
        cMainWindow window(WindowMode::Interactive);
        window.statusBar()->hide();
        window.shaderEditDialog->show();
        auto* splitter = window.shaderEditDialog->findChild<QSplitter*>(QStringLiteral("splitter"));
        defaultSizes = splitter->sizes();
        std::unique_ptr<QBuffer> device(buffer(&file));
        ASSERT_TRUE(Layout_WriteMainWindow(&window, device.get()));
        ASSERT_TRUE(Layout_WriteGeometry(window.textureBrowserDialog, device.get()));
        ASSERT_TRUE(Layout_WriteGeometry(window.shaderEditDialog, device.get()));
        ASSERT_TRUE(Layout_WriteBytes(device.get(), splitter->saveGeometry()));
        ASSERT_TRUE(Layout_WriteBytes(device.get(), Test_StateInts({0xff, 1, 0x30000000, 100, 200})));
        window.shaderEditDialog->hide();
        window.close();
    }
    writeFile("config/zarv/KDKLayout.dat", file);
    cPromptScript script;
    cMainWindow window(WindowMode::Interactive);
    EXPECT_EQ(script.asked.size(), 1);
    EXPECT_FALSE(window.statusBar()->isVisibleTo(&window));
    window.shaderEditDialog->show();
    EXPECT_EQ(window.shaderEditDialog->findChild<QSplitter*>(QStringLiteral("splitter"))->sizes(),
              defaultSizes);
    window.shaderEditDialog->hide();
    window.close();
}

// A file found by fuzzing: the effect editor's second splitter with a handle 0x7fffffff pixels wide,
// which kept Qt laying out the window for minutes at every start. It is refused with one warning; the
// splitter keeps its own handle.
TEST_F(LayoutFileTest, AGiantSplitterHandleIsRefused) {
    // Cleaned first: the folder named before the dots need not exist.
    QFile seed(QDir::cleanPath(QStringLiteral(ZARV_TEST_DATA_DIR "/../../fuzz/seeds/layout/splitter_handle_width.dat")));
    ASSERT_TRUE(seed.open(QIODevice::ReadOnly));
    const QByteArray file = seed.readAll();
    ASSERT_EQ(file.size(), 469);
    int handleWidth = 0;
    {
        cMainWindow window(WindowMode::Interactive);
        handleWidth =
            window.shaderEditDialog->findChild<QSplitter*>(QStringLiteral("splitter_2"))->handleWidth();
    }
    writeFile("config/zarv/KDKLayout.dat", file);
    cPromptScript script;
    cMainWindow window(WindowMode::Interactive);
    EXPECT_EQ(script.asked.size(), 1);
    window.shaderEditDialog->show();
    EXPECT_EQ(window.shaderEditDialog->findChild<QSplitter*>(QStringLiteral("splitter_2"))->handleWidth(),
              handleWidth);
    window.shaderEditDialog->hide();
    window.close();
}

TEST_F(LayoutFileTest, FailedWriteKeepsThePreviousFile) {
    writeFile("config/zarv/KDKLayout.dat", "previous");
    {
        cPromptScript script;
        cMainWindow window(WindowMode::Interactive);
        script.asked.clear();
        // A saved state the u16 length cannot hold.
        window.savedWindowPresent = true;
        window.savedWindowGeometry = QByteArray(70000, 'g');
        window.writeLayout();
        ASSERT_EQ(script.asked.size(), 1);
        EXPECT_TRUE(script.asked[0].text.startsWith(QStringLiteral("Failed to write: ") + layoutFile()));
    }
    EXPECT_EQ(readFile("config/zarv/KDKLayout.dat"), QByteArray("previous"));
    // A folder in place of the file: nothing can write it, whoever runs the test.
    QFile::remove(layoutFile());
    QDir().mkpath(layoutFile());
    cPromptScript script;
    cMainWindow window(WindowMode::Interactive);
    script.asked.clear(); // the folder could not be read either
    window.writeLayout();
    ASSERT_EQ(script.asked.size(), 1);
    EXPECT_TRUE(script.asked[0].text.startsWith(QStringLiteral("Failed to write: ")));
}
