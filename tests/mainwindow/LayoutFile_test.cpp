#include <gtest/gtest.h>

#include <QBuffer>
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
