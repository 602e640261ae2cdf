// Time to open a grade file from the main window's list up to the filled grade grid, for
// a 40-pupil class and a 5,000-pupil file. Runs offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_open
#include "classlines.h"
#include "core/gradefile/gradefileio.h"
#include "gui/grid/gradegrid.h"
#include "gui/windows/app/appstate.h"
#include "gui/windows/app/mainwindow.h"
#include "gui/windows/sheet/gradesheetwindow.h"
#include "gui/windows/sheet/sheetstate.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

namespace {

void BM_OpenGradeFile(benchmark::State& state)
{
    QTemporaryDir disk;
    gradefile::writeGradeFile(disk.filePath(kBenchKey + QStringLiteral(".xml")),
                              benchClassLines(int(state.range(0)), 3));
    app::AppState appState{true};
    sheet::SheetState sheetState;
    app::MainWindow window(appState, sheetState, disk.path());
    window.scanDisk();
    window.fileList()->setCurrentItem(window.fileList()->topLevelItem(0));
    for (auto _ : state) {
        window.openSelectedFile();
        if (!window.gradeSheet() || window.gradeSheet()->grid()->maxRows() != state.range(0))
            state.SkipWithError("the sheet did not open");
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_OpenGradeFile)->Arg(40)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
