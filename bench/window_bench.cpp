// Paint passes of the window on the offscreen platform: the whole main window rendered
// into an image (as a repaint after a change shows it), and the curve editor's own paint
// pass into its back image plus its copy to the screen image, and the editor's tick
// while the engine runs (the live rpm moving on every tick).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "app/mainform.h"
#include "curveeditor/widget/tab.h"

namespace {

// One window for all the benchmarks of this file, in a settings folder of its own.
app::TMainForm& benchWindow()
{
    static std::unique_ptr<QApplication> application;
    static std::unique_ptr<app::TMainForm> window;
    if (!window) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("TAVRIN_UPDATE_BASE", "http://127.0.0.1:9");
        static int argc = 1;
        static char name[] = "tavrin-bench";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QApplication>(argc, argv);
        const auto folder = std::filesystem::temp_directory_path() / ("tavrin-bench-window-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "settings");
        app::StartOptions options;
        options.arguments = {"nopatchcheck"};
        options.startTimer = false;
        options.settingsFolder = QString::fromStdString((folder / "settings").string());
        options.testFlagsPath = QString::fromStdString((folder / "test_dorvik.txt").string());
        options.deviceFolders = devlink::DeviceFolders{folder / "ports", folder / "dev", folder / "sys", false};
        window = std::make_unique<app::TMainForm>(options);
        window->FormCreate();
        window->show();
        QApplication::processEvents();
    }
    return *window;
}

void PaintMainWindow(benchmark::State& state)
{
    app::TMainForm& window = benchWindow();
    QImage image(window.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        window.render(&painter);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(window.width()) + "x" + std::to_string(window.height()));
}
BENCHMARK(PaintMainWindow)->Unit(benchmark::kMillisecond);

void PaintCurveEditor(benchmark::State& state)
{
    app::TMainForm& window = benchWindow();
    curveeditor::TTab& editor = *window.curveEditor;
    QImage image(editor.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        editor.Render();
        QPainter painter(&image);
        editor.render(&painter);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(editor.width()) + "x" + std::to_string(editor.height()));
}
BENCHMARK(PaintCurveEditor)->Unit(benchmark::kMillisecond);

// One window tick of the editor with the live rpm changed since the last one, as it
// runs while the engine rides: the speed line moves and now and then the live cell.
void CurveEditorLiveTick(benchmark::State& state)
{
    app::TMainForm& window = benchWindow();
    curveeditor::TTab& editor = *window.curveEditor;
    // The offscreen screen is small, so the window shows at a zoom below 1; the second
    // run is at the design size, as on a full-HD screen at 96 dpi.
    const double shownZoom = editor.Zoom();
    if (state.range(0) == 100)
        editor.SetZoom(1.0);
    state.SetLabel("zoom " + std::to_string(int(std::lround(editor.Zoom() * 100))) + " %");
    editor.model.liveOff = 0;
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 200;
        editor.model.live.rpm = 2000 + 31 * step;  // 2 000 .. 8 169 rpm and back
        editor.Tick();
        benchmark::DoNotOptimize(editor.BackBitmap().constBits());
    }
    editor.model.liveOff = 1;
    editor.model.live.rpm = 0;
    editor.SetZoom(shownZoom);
}
BENCHMARK(CurveEditorLiveTick)->Arg(0)->Arg(100)->ArgName("designSize")->Unit(benchmark::kMicrosecond);

}  // namespace
