// The arch dialog's preview repainted for a large box at the finest grid: over 16,000 grid lines
// plus the outline, the worst case the dialog meets while the user types.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "dialogs/application/ArchDialog.h"
#include "document/Primitives.h"
#include "FrameRig.h"
#include "mainwindow/MainWindow.h"

namespace {

void BM_ArchPreviewRepaint(benchmark::State& state) {
    Bench_EnsureApplication();
    std::unique_ptr<cMainWindow> window;
    if (!g_mainWindow) window = std::make_unique<cMainWindow>();
    g_mainWindow->settings.CurrentGridSize = 1;
    cArchDialog dialog;
    PrimitiveParams box;
    std::memset(&box, 0, sizeof box);
    box.axes[0] = 0;
    box.axes[1] = 1;
    box.axes[2] = 2;
    box.maxs[0] = box.maxs[1] = 8192;
    box.maxs[2] = 64;
    dialog.setupPreview(&box);
    QWidget* preview = dialog.findChild<QWidget*>(QStringLiteral("preview"));
    QImage image(preview->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        preview->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ArchPreviewRepaint)->Unit(benchmark::kMillisecond);

} // namespace
