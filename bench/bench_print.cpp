// Time to draw the grade card of a 40-pupil class and of a 1,000-pupil file into a PDF,
// in memory and through the safe write to a file, with pages per second. The pupils are
// those of a sample grade file, repeated. Runs offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_print
#include "core/card/pageheader.h"
#include "print/cardprinter.h"
#include "print/pagerenderer.h"
#include "tests/support/samplecard.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kSample = QStringLiteral("8410203L09310002025.xml");

void BM_RenderCardToPdf(benchmark::State& state)
{
    const std::optional<SampleCard> card = sampleCard(kSample, int(state.range(0)));
    if (!card) {
        state.SkipWithError("the sample grade file cannot be read");
        return;
    }
    const print::PageHeader codes = print::composePageHeader(card->texts, QDate(2025, 3, 14));
    int pages = 0;
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(1200);
        const print::RenderResult result = print::renderCard(card->sheet, codes, writer);
        if (!result.ok)
            state.SkipWithError("the card did not render");
        pages = result.pageCount;
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["pages"] = pages;
    state.counters["pages/s"] =
        benchmark::Counter(double(pages), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_WriteCardPdfFile(benchmark::State& state)
{
    const std::optional<SampleCard> card = sampleCard(kSample, int(state.range(0)));
    QTemporaryDir folder;
    if (!card || !folder.isValid()) {
        state.SkipWithError("no sample card or no temporary folder");
        return;
    }
    const print::PageHeader codes = print::composePageHeader(card->texts, QDate(2025, 3, 14));
    const QString path = folder.filePath(QStringLiteral("card.pdf"));
    for (auto _ : state) {
        if (!print::writeCardPdf(card->sheet, codes, path).ok)
            state.SkipWithError("the PDF was not written");
    }
}

BENCHMARK(BM_RenderCardToPdf)->Arg(40)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteCardPdfFile)->Arg(40)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
