// manualpictures OUTDIR SAMPLEMAP: takes the manual's pictures with the program's own windows, driven
// as a user drives them (the commands' actions, real mouse and key events in the views): the main window on
// the sample map, a first map from the empty room to its player start, each tool at work in the top
// view, and the dialogs a designer meets. Run by scripts/make_manual_pictures.sh under Xvfb with a
// fresh settings folder, so the program starts as on a first run.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <functional>

#include "ToolDriver.h"
#include "core/BaseDirectory.h"
#include "gamedata/PluginManager.h"
#include "core/Prompt.h"
#include "document/MapDocument.h"
#include "kstdlib/kstdlib.h"
#include "mainwindow/MainWindow.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "views/GLFormat.h"

namespace {

QString g_out;
int g_failures = 0;

void settle(int ms = 300) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void save(const QImage& image, const char* name) {
    const QString path = g_out + QLatin1Char('/') + QLatin1String(name);
    if (image.isNull() || !image.save(path)) {
        std::fprintf(stderr, "manualpictures: cannot take %s\n", name);
        ++g_failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

void save(QWidget* widget, const char* name) {
    if (!widget) {
        std::fprintf(stderr, "manualpictures: nothing to take for %s\n", name);
        ++g_failures;
        return;
    }
    settle(200);
    save(widget->grab().toImage(), name);
}

// The window's command of this object name, as its menu entry and key run it.
QAction* action(const cMainWindow& window, const char* name) {
    for (const QList<QAction*>* list : {&window.actionList, &window.toolActions})
        for (QAction* a : *list)
            if (a->objectName() == QLatin1String(name)) return a;
    std::fprintf(stderr, "manualpictures: no command %s\n", name);
    ++g_failures;
    return nullptr;
}

void run(const cMainWindow& window, const char* name) {
    if (QAction* a = action(window, name)) a->trigger();
    settle(200);
}

// Runs the command as its menu entry or key does; a dialog it shows modally is taken once it is
// shown, then closed with `close` (Reject when not given).
void command(cMainWindow& window, const char* name, const char* picture = nullptr,
             std::function<void(QDialog*)> prepare = {}) {
    QAction* command = action(window, name);
    if (!command) return;
    bool taken = false;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || taken) return;
        taken = true;
        poll.stop();
        if (prepare) prepare(dialog);
        if (picture) save(dialog, picture);
        dialog->reject();
    });
    poll.start();
    command->trigger();
    settle(300);
}

cCanvas* view(cMainWindow& window, int type) {
    cChildWindow* child = window.activeChildWindow();
    if (!child) return nullptr;
    for (cCanvas* v : child->views)
        if (v->viewType == type) return v;
    return nullptr;
}

// The top view at one pixel a unit, centred on (x, y); the driver works in it.
cCanvas* topView(cMainWindow& window, cToolDriver& driver, float zoom, float x, float y) {
    cCanvas* top = view(window, ViewType::Top);
    if (!top) return nullptr;
    top->zoom = zoom;
    top->scrollX = x;
    top->scrollY = y;
    top->needsFullRedraw = true;
    top->update();
    driver.setView(top);
    top->setFocus();
    settle(200);
    return top;
}

void pictureOfTop(cMainWindow& window, const char* name) {
    cCanvas* top = view(window, ViewType::Top);
    if (top) {
        top->needsFullRedraw = true;
        top->update();
    }
    save(top, name);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: manualpictures OUTDIR SAMPLEMAP\n");
        return 64;
    }
    View_InitGLDefaults();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    K_MathLib_Initialize(0);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);
    const QString sample = QString::fromLocal8Bit(argv[2]);

    // The program's folder: the sample game's configuration and the plugins beside it.
    Plugin_SetFolder(QStringLiteral(ZARV_PLUGIN_DIR));
    App_SetBaseDirectory(QFileInfo(QStringLiteral(ZARV_PLUGIN_DIR)).absolutePath());
    cMainWindow window(WindowMode::Interactive);
    window.resize(1280, 900);
    window.show();
    settle(1000);

    // The main window on the sample map, as the first chapter shows it.
    window.openFile(sample);
    settle(1500);
    save(&window, "main-window.png");

    // A first map: the room dialog of File > New, the empty room it makes.
    command(window, "FileNew", "new-map-room.png");
    // Rejecting the dialog makes no room: the second time it is accepted.
    {
        QTimer poll;
        poll.setInterval(50);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                poll.stop();
                dialog->accept();
            }
        });
        poll.start();
        run(window, "FileNew");
        settle(1500);
    }
    if (cChildWindow* child = window.activeChildWindow()) {
        child->showMaximized();
        settle(800);
        save(child, "first-room.png");
    }

    cToolDriver driver;
    // The block tool: a block dragged out in the top view.
    run(window, "ToolBlk");
    if (topView(window, driver, 1.0f, 0, 0)) {
        driver.drag(driver.at(-96, -32), driver.at(32, 64));
        settle(200);
        pictureOfTop(window, "tool-block-drag.png");
        driver.key(Qt::Key_Return);
        settle(300);
        pictureOfTop(window, "tool-block.png");
    }
    // The selection tool with the block's handles.
    run(window, "ToolSel");
    if (topView(window, driver, 1.0f, 0, 0)) {
        driver.click(driver.at(-32, 16));
        settle(200);
        pictureOfTop(window, "tool-selection.png");
    }
    // The clipper: two points across the selected block.
    run(window, "ToolC");
    if (topView(window, driver, 1.0f, 0, 0)) {
        driver.click(driver.at(-128, 96));
        driver.click(driver.at(64, -64));
        settle(200);
        pictureOfTop(window, "tool-clip.png");
        driver.key(Qt::Key_Escape);
    }
    // The vertex tool on the block.
    run(window, "ToolSel");
    topView(window, driver, 1.0f, 0, 0);
    driver.click(driver.at(-32, 16));
    run(window, "ToolV");
    settle(200);
    pictureOfTop(window, "tool-vertex.png");
    // The entity tool: the class of New Objects placed with a click and Return.
    run(window, "ToolEnt");
    if (topView(window, driver, 1.0f, 0, 0)) {
        driver.click(driver.at(96, 96));
        settle(200);
        driver.key(Qt::Key_Return);
        settle(300);
        pictureOfTop(window, "tool-entity.png");
    }
    // The object properties of the new entity.
    command(window, "EditProps");
    settle(500);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->inherits("cObjectPropertiesDialog")) {
            save(top, "object-properties.png");
            top->close();
        }
    // The path tool: three nodes.
    run(window, "ToolPath");
    if (topView(window, driver, 1.0f, 0, 0)) {
        for (const QPoint& p : {QPoint(-160, -96), QPoint(-64, -160), QPoint(64, -128)}) {
            driver.click(driver.at(p.x(), p.y()));
            settle(100);
        }
        pictureOfTop(window, "tool-path.png");
    }
    run(window, "ToolSel");
    settle(200);
    // The camera view of the room.
    save(view(window, ViewType::Camera), "camera-view.png");

    // The dialogs: surface properties, texture browser, effect editor, map check, run, options.
    run(window, "ToolTA");
    settle(600);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->inherits("cFacePropertiesDialog")) save(top, "surface-properties.png");
    run(window, "ToolSel");
    settle(300);
    if (window.texturesDock.browse) {
        window.texturesDock.browse->click();
        settle(1500);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->inherits("cTextureBrowserDialog")) {
                save(top, "texture-browser.png");
                top->close();
            }
    }
    command(window, "ToolsShdEdit");
    settle(800);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->inherits("cShaderEditDialog")) {
            save(top, "effect-editor.png");
            top->close();
        }
    command(window, "MapCheck");
    settle(500);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->inherits("cMapCheckDialog")) {
            save(top, "map-check.png");
            top->close();
        }
    command(window, "FileRun", "run-dialog.png");
    command(window, "ToolsOptions", "options-game-profiles.png", [](QDialog* dialog) {
        if (auto* tabs = dialog->findChild<QTabWidget*>(QStringLiteral("tabWidget")))
            tabs->setCurrentIndex(tabs->count() - 1);
        settle(300);
    });

    // Leave without keeping the first map.
    {
        cPromptScript prompts;
        for (int i = 0; i < 8; ++i)
            prompts.answerButton(PromptButton::No);
        window.close();
    }
    settle(200);
    return g_failures == 0 ? 0 : 1;
}
