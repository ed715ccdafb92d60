// The program's window with its docks: console lines appended behind a console already holding
// 0 or 10,000 lines; switching the active map window while the texture lists hold 3,000 textures
// (the Textures dock refills its lists on every switch); 20 new documents made and closed.
#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTextEdit>

#include "FrameRig.h"
#include "core/SysHost.h"
#include "gamedata/TextureLists.h"
#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"
#include "tools/ToolHost.h"
#include "render/ColorScheme.h"
#include "views/ViewHost.h"

namespace {

// The global window with the hosts and colour scheme it installs, taken and put back together.
struct GlobalWindow {
    cMainWindow* window = g_mainWindow;
    SysHost* sys = Sys_Host();
    ViewHost* view = View_Host();
    ToolHost* tool = Tool_Host();

    void install() const {
        g_mainWindow = window;
        Sys_SetHost(sys);
        View_SetHost(view);
        Tool_SetHost(tool);
        Color_SetActiveScheme(window ? &window->colorScheme : nullptr);
    }
};

// One program window for these cases, on a settings folder and a base folder of its own with one
// Quake III configuration. The process's other window stays the global one outside these cases.
struct DockRig {
    DockRig() {
        Bench_InitApplication();
        const GlobalWindow previous;
        qputenv("XDG_CONFIG_HOME", folder.filePath("config").toUtf8());
        QDir().mkpath(folder.filePath("config/zarv"));
        QDir().mkpath(folder.filePath("base"));
        QFile config(folder.filePath("base/KDKGameCfg.ini"));
        if (config.open(QIODevice::WriteOnly))
            config.write("[Config0]\nTitle=Bench\nEnabled=true\nMapProfile=kpQuake3\n");
        config.close();
        App_SetBaseDirectory(folder.filePath("base"));
        Plugin_SetFolder(QStringLiteral(ZARV_PLUGIN_DIR));
        window = new cMainWindow(WindowMode::Interactive);
        window->settings.SkipDefaultRoomDialog = true;
        window->resize(1280, 1024);
        // Shown as the global window: its docks' widgets reach it through the global while they
        // set up.
        window->show();
        QCoreApplication::processEvents();
        own = GlobalWindow();
        previous.install();
    }
    QTemporaryDir folder;
    cMainWindow* window = nullptr;
    GlobalWindow own;
};

DockRig& rig() {
    static DockRig* r = new DockRig; // kept to the end of the process, as the other windows
    return *r;
}

// Makes the rig's window the global one for a case.
class cUseRigWindow {
public:
    cUseRigWindow() { rig().own.install(); }
    ~cUseRigWindow() { m_previous.install(); }
    cUseRigWindow(const cUseRigWindow&) = delete;
    cUseRigWindow& operator=(const cUseRigWindow&) = delete;

private:
    GlobalWindow m_previous;
};

void closeAll(cMainWindow* window) {
    while (!window->documents.isEmpty())
        window->closeDocument(window->documents.last());
    QCoreApplication::processEvents();
}

void BM_ConsoleAppend(benchmark::State& state) {
    DockRig& r = rig();
    cUseRigWindow use;
    r.window->consoleText->clear();
    for (int i = 0; i < state.range(0); ++i)
        r.window->printToConsole(QStringLiteral("line %1: some text & more").arg(i), false, false);
    int n = 0;
    for (auto _ : state)
        r.window->printToConsole(QStringLiteral("appended %1 <b>x</b>").arg(++n), false, false);
    state.counters["lines"] = r.window->consoleText->document()->blockCount();
    r.window->consoleText->clear();
}
BENCHMARK(BM_ConsoleAppend)->Arg(0)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SwitchMapWindowWith3000Textures(benchmark::State& state) {
    DockRig& r = rig();
    cUseRigWindow use;
    closeAll(r.window);
    r.window->cmdFileNew();
    r.window->cmdFileNew();
    TextureLists* lists = GameCfg_CurrentTextureLists();
    if (!lists || r.window->mdiArea->subWindowList().size() != 2) {
        closeAll(r.window);
        return state.SkipWithError("no texture lists or map windows");
    }
    // 3,000 listed textures under 40 groups.
    QList<ShaderRecord*> made;
    for (int i = 0; i < 3000; ++i) {
        const QByteArray name = QStringLiteral("set%1/texture%2").arg(i % 40).arg(i).toLatin1();
        ShaderRecord* shader = Tex_CreateShader(&r.window->textures, name.constData(), name.constData(), 0);
        shader->width = shader->height = 64;
        made.append(shader);
        lists->entries.insert(QString::fromLatin1(name).toUpper(),
                              {QStringLiteral("set%1").arg(i % 40), nullptr, shader});
    }
    lists->groupPackages.insert(QString::fromLatin1(kAllTexturesGroup), nullptr);
    lists->groups = {{QString::fromLatin1(kAllTexturesGroup), {}}};
    const QList<QMdiSubWindow*> windows = r.window->mdiArea->subWindowList();
    QComboBox* names = r.window->texturesDock.names;
    // Every step activates the window that is not active (activating the active one does nothing).
    qsizetype k = windows.indexOf(r.window->mdiArea->activeSubWindow());
    int unlisted = 0;
    for (auto _ : state) {
        // Emptied outside the timing: only a refill by the switch itself lists the names again.
        state.PauseTiming();
        names->clear();
        state.ResumeTiming();
        k = k == 0 ? 1 : 0;
        r.window->mdiArea->setActiveSubWindow(windows[k]);
        QCoreApplication::processEvents();
        if (names->count() < 3000) ++unlisted;
    }
    state.counters["names"] = names->count();
    if (unlisted) state.SkipWithError("a switch left textures unlisted");
    // The dock lets go of the records before they are freed.
    closeAll(r.window);
    for (ShaderRecord* shader : std::as_const(made)) {
        lists->entries.remove(QString::fromLatin1(shader->name).toUpper());
        Tex_ReleaseShader(&r.window->textures, shader);
    }
}
BENCHMARK(BM_SwitchMapWindowWith3000Textures)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TwentyDocumentsNewThenClosed(benchmark::State& state) {
    DockRig& r = rig();
    cUseRigWindow use;
    closeAll(r.window);
    for (auto _ : state) {
        for (int i = 0; i < 20; ++i)
            r.window->cmdFileNew();
        closeAll(r.window);
    }
    // Each new view's first paint builds Mesa's shaders for its own context; the disk cache
    // (on unless MESA_SHADER_CACHE_DISABLE is set, as the tests do) spares part of that.
    const QByteArray disabled = qgetenv("MESA_SHADER_CACHE_DISABLE").toLower();
    state.counters["shaderCache"] = disabled == "true" || disabled == "1" ? 0 : 1;
}
BENCHMARK(BM_TwentyDocumentsNewThenClosed)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
