// manualpictures OUTDIR SAMPLEMAP [WORKDIR Q3MAP2]: takes the manual's pictures with the program's own
// windows, driven as a user drives them (the commands' actions, real mouse and key events in the views
// and dialogs): the main window on the sample map, a first map from the empty room to its compile,
// each tool at work in the top view, and the dialogs a designer meets. Given a work folder and the
// Quake III map compiler, the first map is saved there, the compiler is set up in the options and
// File > Run compiles it into the work folder's game folder. Run by scripts/make_manual_pictures.sh
// under Xvfb with a fresh settings folder, so the program starts as on a first run.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <functional>

#include "DialogAnswer.h"
#include "ToolDriver.h"
#include "WidgetInput.h"
#include "core/BaseDirectory.h"
#include "core/Prompt.h"
#include "dialogs/application/RunMapOutput.h"
#include "document/MapDocument.h"
#include "gamedata/PluginManager.h"
#include "kstdlib/kstdlib.h"
#include "mainwindow/MainWindow.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "render/GLFormat.h"

namespace {

QString g_out;
int g_failures = 0;

void settle(int ms = 300) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void fail(const char* what, const char* name) {
    std::fprintf(stderr, "manualpictures: %s %s\n", what, name);
    ++g_failures;
}

void save(const QImage& image, const char* name) {
    const QString path = g_out + QLatin1Char('/') + QLatin1String(name);
    if (image.isNull() || !image.save(path)) return fail("cannot take", name);
    std::printf("%s\n", qPrintable(path));
}

void save(QWidget* widget, const char* name) {
    if (!widget) return fail("nothing to take for", name);
    settle(200);
    save(widget->grab().toImage(), name);
}

// The window's command of this object name, as its menu entry and key run it.
QAction* action(const cMainWindow& window, const char* name) {
    for (const QList<QAction*>* list : {&window.actionList, &window.toolActions})
        for (QAction* a : *list)
            if (a->objectName() == QLatin1String(name)) return a;
    fail("no command", name);
    return nullptr;
}

void run(const cMainWindow& window, const char* name) {
    if (QAction* a = action(window, name)) a->trigger();
    settle(200);
}

template <class W> W* child(QWidget* parent, const char* name) {
    W* w = parent ? parent->findChild<W*>(QString::fromLatin1(name)) : nullptr;
    if (!w) fail("no control", name);
    return w;
}

void type(QLineEdit* edit, const QString& text) {
    if (!edit) return;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Runs the command as its menu entry or key does and takes the window it opens: a modal dialog
// of that class once it is shown (a message box before it is answered with OK and named on the
// output), else the visible top-level window of that class. `fill` prepares it; a modal dialog is
// then accepted or rejected, a modeless window closed.
void dialogOf(cMainWindow& window, const char* command, const char* className, const char* picture,
              std::function<void(QDialog*)> fill = {}, bool accept = false) {
    bool taken = false;
    {
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            if (!dialog->inherits(className)) {
                if (auto* box = qobject_cast<QMessageBox*>(dialog))
                    std::printf("message before %s: %s\n", className, qPrintable(box->text()));
                dialog->accept();
                return;
            }
            poll.stop();
            taken = true;
            settle(300);
            if (fill) fill(dialog);
            if (picture) save(dialog, picture);
            if (dialog->isVisible()) accept ? dialog->accept() : dialog->reject();
        });
        poll.start();
        run(window, command);
        settle(500);
    }
    if (taken) return;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->inherits(className)) {
            auto* dialog = qobject_cast<QDialog*>(top);
            if (fill && dialog) fill(dialog);
            if (picture) save(top, picture);
            top->close();
            settle(200);
            return;
        }
    fail("no window for", picture ? picture : command);
}

cCanvas* view(cMainWindow& window, int type) {
    cChildWindow* mapWindow = window.activeChildWindow();
    if (!mapWindow) return nullptr;
    for (cCanvas* v : mapWindow->views)
        if (v->viewType == type) return v;
    return nullptr;
}

// Shift+Z in a view fills the map window with it, or brings the four views back.
void toggleMaximized(cCanvas* v) {
    if (!v) return;
    v->setFocus();
    cToolDriver(v).key(Qt::Key_Z, Qt::ShiftModifier);
    settle(400);
}

// The top view at this zoom, centred on (x, y); the driver works in it.
cCanvas* topView(cMainWindow& window, cToolDriver& driver, float zoom = 1.0f, float x = 0, float y = 0) {
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

// The flat views at half size, centred on the room's middle, or on the floor (z = 0) where new
// objects made in the top view take their height from.
void fitFlatViews(cMainWindow& window, float z = 80.0f) {
    for (int type : {int(ViewType::Top), int(ViewType::Side), int(ViewType::Front)})
        if (cCanvas* v = view(window, type)) {
            v->zoom = 0.5f;
            v->scrollX = 0;
            // The scroll is kept in window pixels, upwards negative.
            v->scrollY = type == ViewType::Top ? 0.0f : -z * v->zoom;
            v->needsFullRedraw = true;
            v->updateScrollBars();
            v->update();
        }
    settle(400);
}

// Chooses a row of a New Objects list as a click on it does.
void choose(QComboBox* combo, const QString& text) {
    const int index = combo ? combo->findText(text) : -1;
    if (index < 0) return fail("no entry", qPrintable(text));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    settle(200);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: manualpictures OUTDIR SAMPLEMAP [WORKDIR Q3MAP2]\n");
        return 64;
    }
    View_InitGLDefaults();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    K_MathLib_Initialize(0);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);
    const QString sample = QString::fromLocal8Bit(argv[2]);
    const QString work = argc == 5 ? QString::fromLocal8Bit(argv[3]) : QString();
    const QString compiler = argc == 5 ? QString::fromLocal8Bit(argv[4]) : QString();

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

    // A first map: the room dialog of File > New, accepted as it comes, and the room it makes.
    dialogOf(window, "FileNew", "cDefaultRoomDialog", "new-map-room.png", {}, true);
    settle(1500);
    if (cChildWindow* mapWindow = window.activeChildWindow()) {
        mapWindow->showMaximized();
        settle(800);
        if (cCanvas* camera = view(window, ViewType::Camera)) {
            // The eye in a corner of the room, looking across it.
            const float eye[3] = {-220, -220, 120}, angles[3] = {-15, 45, 0};
            std::copy(eye, eye + 3, camera->eye);
            std::copy(angles, angles + 3, camera->angles);
            camera->setupModelview();
            camera->cameraMoved = camera->cameraSyncPending = camera->needsFullRedraw = true;
            camera->syncCameraObject();
            camera->update();
        }
        fitFlatViews(window);
        save(mapWindow, "first-room.png");
    }

    cToolDriver driver;
    // The tools at work in the top view, filling the map window.
    toggleMaximized(view(window, ViewType::Top));
    fitFlatViews(window, 0.0f);
    // The texture of what the block tool makes, chosen in the Textures dock.
    choose(window.texturesDock.names, QStringLiteral("sample/metal"));
    // The block tool: a block dragged out in the top view, made with Return.
    run(window, "ToolBlk");
    choose(window.objectsDock.categories, QStringLiteral("(primitives)"));
    choose(window.objectsDock.objects, QStringLiteral("block"));
    if (topView(window, driver)) {
        driver.drag(driver.at(64, -160), driver.at(160, -64));
        settle(200);
        pictureOfTop(window, "tool-block-drag.png");
        driver.key(Qt::Key_Return);
        settle(300);
        pictureOfTop(window, "tool-block.png");
    }
    // The selection tool with the block's handles.
    run(window, "ToolSel");
    if (topView(window, driver)) {
        driver.click(driver.at(112, -112));
        settle(200);
        pictureOfTop(window, "tool-selection.png");
    }
    // The clipper: two points across the selected block, then dropped.
    run(window, "ToolC");
    if (topView(window, driver)) {
        driver.click(driver.at(32, -192));
        driver.click(driver.at(192, -32));
        settle(200);
        pictureOfTop(window, "tool-clip.png");
        driver.key(Qt::Key_Escape);
    }
    // The vertex tool on the block.
    run(window, "ToolV");
    settle(200);
    pictureOfTop(window, "tool-vertex.png");
    run(window, "ToolSel");

    // The entity tool: a weapon placed with a click and Return.
    run(window, "ToolEnt");
    choose(window.objectsDock.objects, QStringLiteral("weapon_shotgun"));
    if (topView(window, driver)) {
        driver.click(driver.at(96, 96));
        settle(200);
        pictureOfTop(window, "tool-entity-point.png");
        driver.key(Qt::Key_Return);
        settle(300);
    }
    // The object properties of the room's light, picked with the selection tool.
    run(window, "ToolSel");
    if (topView(window, driver)) {
        run(window, "EditSelNone");
        driver.click(driver.at(0, 0));
        settle(200);
        pictureOfTop(window, "tool-entity.png");
        dialogOf(window, "EditProps", "cObjectPropertiesDialog", "object-properties.png");
    }

    // The path tool: Shift+clicks make a path of three nodes (the first asks for its name and
    // class); the path goes again with undo, so the map compiles as the walk-through makes it.
    run(window, "ToolPath");
    if (topView(window, driver)) {
        {
            cDialogAnswer answer([](QDialog* dialog) {
                type(child<QLineEdit>(dialog, "txtName"), QStringLiteral("patrol"));
                if (auto* classes = child<QComboBox>(dialog, "cbClass"))
                    classes->setCurrentText("path_corner");
                settle(200);
                save(dialog, "path-properties.png");
            });
            driver.click(driver.at(-192, -160), Qt::LeftButton, Qt::ShiftModifier);
            settle(300);
        }
        // Each Shift+click appends a node to the path of the selected node.
        QPoint last(-192, -160);
        for (const QPoint& p : {QPoint(-96, -192), QPoint(0, -160)}) {
            cDialogAnswer unexpected({}, false);
            driver.click(driver.at(last.x(), last.y()));
            settle(100);
            driver.click(driver.at(p.x(), p.y()), Qt::LeftButton, Qt::ShiftModifier);
            if (unexpected.answered) fail("no node selected at", "the path's end");
            settle(200);
            last = p;
        }
        pictureOfTop(window, "tool-path.png");
        for (int i = 0; i < 3; ++i)
            run(window, "EditUndo");
    }
    run(window, "ToolSel");
    run(window, "EditSelNone");
    toggleMaximized(view(window, ViewType::Top));

    // The first map in the four views, and the camera view alone.
    fitFlatViews(window);
    if (cChildWindow* mapWindow = window.activeChildWindow()) save(mapWindow, "first-map.png");
    toggleMaximized(view(window, ViewType::Camera));
    save(view(window, ViewType::Camera), "camera-view.png");
    toggleMaximized(view(window, ViewType::Camera));

    // The surface properties of the texture application tool, a wall picked in the camera view.
    run(window, "ToolTA");
    settle(600);
    if (cCanvas* camera = view(window, ViewType::Camera)) {
        cToolDriver eye(camera);
        eye.click(QPoint(camera->width() * 3 / 4, camera->height() / 2));
        settle(300);
    }
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->inherits("cFacePropertiesDialog")) {
            save(top, "surface-properties.png");
            top->close();
        }
    run(window, "ToolSel");
    settle(300);

    // The texture browser from the Textures dock, the effect editor.
    {
        cDialogAnswer answer(
            [](QDialog* dialog) {
                settle(1500);
                save(dialog, "texture-browser.png");
            },
            false);
        if (window.texturesDock.browse) Widget_Click(window.texturesDock.browse);
        settle(300);
    }
    dialogOf(window, "ToolsShdEdit", "cShaderEditDialog", "effect-editor.png",
             [](QDialog*) { settle(1500); });

    // Map > Check for problems on the first map as made (a message says it is sound), then on the
    // room without its player start: the problem chosen, its
    // description shown. The start comes back with undo.
    dialogOf(window, "MapCheck", "QMessageBox", nullptr, [](QDialog* dialog) {
        std::printf("the first map checked: %s\n", qPrintable(static_cast<QMessageBox*>(dialog)->text()));
    });
    if (topView(window, driver)) {
        driver.click(driver.at(-192, 0));
        settle(200);
        run(window, "EditDelete");
        dialogOf(window, "MapCheck", "cMapCheckDialog", "map-check.png", [](QDialog* dialog) {
            if (auto* list = child<QListWidget>(dialog, "lstProblems"); list && list->count() > 0) {
                Widget_ClickAt(list->viewport(), list->visualItemRect(list->item(0)).center());
                settle(200);
            }
        });
        run(window, "EditUndo");
        run(window, "EditSelNone");
    }

    // Tools > Options, page Game Profiles: the compiler's three stages and a game folder of the
    // user's own for the compiled map.
    const bool compile = !compiler.isEmpty();
    const QString home = work + QStringLiteral("/home/baseq3");
    if (compile) QDir().mkpath(home + QStringLiteral("/maps"));
    dialogOf(
        window, "ToolsOptions", "cPreferencesDialog", nullptr,
        [&](QDialog* dialog) {
            auto* pages = child<QTabWidget>(dialog, "tabWidget");
            if (!pages) return;
            pages->setCurrentIndex(pages->count() - 2);
            settle(300);
            auto* tabs = qobject_cast<QTabWidget*>(pages->currentWidget()->findChild<QTabWidget*>());
            if (!tabs) return fail("no tabs on", "Game Profiles");
            // Each field is taken when the focus leaves it.
            tabs->setCurrentIndex(1);
            settle(200);
            if (compile) {
                type(child<QLineEdit>(dialog, "txtGameModdir"), home);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            save(dialog, "options-game-profiles.png");
            tabs->setCurrentIndex(tabs->count() - 1);
            settle(200);
            if (compile) {
                const QString stage = compiler + QStringLiteral(" -fs_basepath $gamedir/.. -fs_game baseq3 ");
                for (const auto& [name, text] :
                     {std::pair{"txtMaptoolBSP", QStringLiteral("-meta")},
                      std::pair{"txtMaptoolVIS", QStringLiteral("-vis")},
                      std::pair{"txtMaptoolLIGHT", QStringLiteral("-light -fast")}}) {
                    type(child<QLineEdit>(dialog, name), stage + text);
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                }
            }
            save(dialog, "options-build-programs.png");
            // OK keeps the settings.
            if (auto* buttons = child<QDialogButtonBox>(dialog, "buttonBox"); buttons && compile)
                Widget_Click(buttons->button(QDialogButtonBox::Ok));
        },
        compile);

    if (compile) {
        // File > Run: the map saved under a name of its own first, the dialog set to a fast VIS
        // without the game, then the compile in the output window.
        cPromptScript prompts;
        prompts.answerText(work + QStringLiteral("/firstmap.zmf"));
        for (int i = 0; i < 4; ++i)
            prompts.answerButton(PromptButton::Yes);
        dialogOf(
            window, "FileRun", "cRunMapDialog", "run-map-dialog.png",
            [](QDialog* dialog) {
                if (auto* fast = child<QRadioButton>(dialog, "rbVISFast")) Widget_Click(fast);
                if (auto* game = child<QCheckBox>(dialog, "cbDontRunGame"); game && !game->isChecked())
                    Widget_Click(game);
                settle(200);
            },
            true);
        QElapsedTimer clock;
        clock.start();
        while (window.runMapOutput && window.runMapOutput->isRunning() && clock.elapsed() < 300000)
            settle(200);
        settle(500);
        if (window.runMapOutput) save(window.runMapOutput, "run-map-output.png");
        if (!QFileInfo::exists(home + QStringLiteral("/maps/firstmap.bsp")))
            fail("no compiled map", "firstmap.bsp");
        if (window.runMapOutput) window.runMapOutput->close();
    }

    // Leave without keeping anything.
    {
        cPromptScript prompts;
        for (int i = 0; i < 8; ++i)
            prompts.answerButton(PromptButton::No);
        window.close();
    }
    settle(200);
    return g_failures == 0 ? 0 : 1;
}
