// The program window's autosave: its timer writes a time-stamped copy of every map that has a file
// and has changed, and leaves the maps themselves as they were.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStatusBar>
#include <QTimer>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "document/MapDocument.h"
#include "mainwindow/MainWindow.h"

namespace {

class FileCommandsTest : public cWindowFixture {
protected:
    // Copies of "level.map" in the work folder, in name order.
    QStringList copies() const {
        return QDir(path("work")).entryList({QStringLiteral("level-*.map")}, QDir::Files, QDir::Name);
    }
    // Runs the event loop until the timer has fired at least once.
    static void waitForTimer(QTimer* timer) {
        int fired = 0;
        QObject::connect(timer, &QTimer::timeout, timer, [&fired] { ++fired; });
        QElapsedTimer clock;
        clock.start();
        while (!fired && clock.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        QObject::disconnect(timer, &QTimer::timeout, timer, nullptr);
        ASSERT_GT(fired, 0);
    }
};

TEST_F(FileCommandsTest, TheTimerCopiesChangedMapsWithAFileAndLeavesTheDocumentsAlone) {
    struct Case {
        const char* title;
        bool onChanges;
        bool modified;
        int copies;
    };
    const Case cases[] = {
        {"changed map", true, true, 1},
        {"unchanged map, only on changes", true, false, 0},
        {"unchanged map, every time", false, false, 1},
    };
    writeQuake3Config();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        QDir(path("work")).removeRecursively();
        QDir().mkpath(path("work"));
        ASSERT_TRUE(QFile::copy(kSampleMap, path("work/level.map")));
        cConsoleCapture console;
        cPromptScript prompts; // the beep
        cMainWindow window(WindowMode::Interactive);
        window.show();
        window.settings.AutosaveOnChanges = c.onChanges;
        window.settings.AutosaveToCurrentDir = true;
        window.settings.SkipDefaultRoomDialog = true;
        window.cmdFileNew(); // never saved: nothing to name its copy after
        MapDocument* document = window.openFile(path("work/level.map"));
        ASSERT_NE(document, nullptr);
        if (c.modified) Project_SetModified(document);
        const QString exportPath = document->exportPath;

        window.autosaveTimer->start(1);
        waitForTimer(window.autosaveTimer);
        window.autosaveTimer->stop();

        EXPECT_EQ(copies().size(), c.copies) << copies().join(' ').toStdString();
        EXPECT_EQ(document->filePath, QFileInfo(path("work/level.map")).absoluteFilePath());
        EXPECT_EQ(document->modified, c.modified);
        EXPECT_EQ(document->exportPath, exportPath);
        EXPECT_EQ(window.statusBar()->currentMessage() == QStringLiteral("1 project(s) autosaved"),
                  c.copies > 0);
        for (MapDocument* open : window.documents)
            open->modified = false;
        EXPECT_TRUE(window.close());
    }
}

} // namespace
