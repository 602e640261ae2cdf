// Time from F7 on the grade sheet to the first page of the preview painted on screen, for a
// 40-pupil class and a 1,000-pupil file made of a sample's pupils repeated: the card taken
// from the sheet, its pages drawn, the window shown and painted.
// Runs offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_preview
#include "core/gradefile/gradefileio.h"
#include "gui/preview/previewwindow.h"
#include "gui/windows/app/appstate.h"
#include "gui/windows/app/mainwindow.h"
#include "gui/windows/sheet/gradesheetwindow.h"
#include "gui/windows/sheet/sheetstate.h"
#include "tests/support/repeatedpupils.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QGraphicsView>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

namespace {

const QString kSample = QStringLiteral("8410203C07120002025.xml");

bool writeWithPupilsRepeated(const QString& source, const QString& destination, int pupils)
{
    const gradefile::GradeFileRead read = gradefile::readGradeFile(source);
    return read.lines &&
           gradefile::writeGradeFile(destination, linesWithPupilsRepeated(*read.lines, pupils)).ok;
}

// Notes the first paint of the widget it watches.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

bool waitForPaint(const PaintWatch& watch)
{
    const QDeadlineTimer deadline(10000);
    while (!watch.painted && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return watch.painted;
}

void closePreview(sheet::GradeSheetWindow& sheet)
{
    if (print::PreviewWindow* preview = sheet.previewWindow())
        preview->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void BM_PreviewFirstPage(benchmark::State& state)
{
    QTemporaryDir disk;
    const QString source = QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + kSample;
    if (!writeWithPupilsRepeated(source, QDir(disk.path()).filePath(kSample),
                                 int(state.range(0)))) {
        state.SkipWithError("the grade file cannot be written");
        return;
    }
    app::AppState appState{true};
    sheet::SheetState sheetState;
    app::MainWindow window(appState, sheetState, disk.path());
    window.scanDisk();
    window.fileList()->setCurrentItem(window.fileList()->topLevelItem(0));
    window.openSelectedFile();
    sheet::GradeSheetWindow* sheet = window.gradeSheet();
    if (!sheet) {
        state.SkipWithError("the sheet did not open");
        return;
    }
    // The paper of a PDF: the same on every machine, printer or not.
    sheet->setCardDestination({[] { return false; }, [](const QString&) { return QString(); }});
    QCoreApplication::processEvents();
    auto* previewButton = sheet->findChild<QPushButton*>(QStringLiteral("previewButton"));
    int pages = 0;
    for (auto _ : state) {
        previewButton->click();
        print::PreviewWindow* preview = sheet->previewWindow();
        auto* view = preview ? preview->preview()->findChild<QGraphicsView*>() : nullptr;
        if (!view) {
            state.SkipWithError("no preview");
            break;
        }
        PaintWatch watch;
        view->viewport()->installEventFilter(&watch);
        if (!waitForPaint(watch)) {
            state.SkipWithError("the first page was never painted");
            break;
        }
        state.PauseTiming();
        pages = preview->pageCount();
        view->viewport()->removeEventFilter(&watch);
        closePreview(*sheet);
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
}

BENCHMARK(BM_PreviewFirstPage)->Arg(40)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
