// Reading and writing throughput of the grade file layer on a 5,000-pupil file, beside a
// bare pass of Qt's own XML tokenizer over the same bytes.
//   build/bench/bench_gradefile [--benchmark_min_time=1]
#include "classlines.h"
#include "core/gradefile/gradedocument.h"
#include "core/gradefile/rowsetreader.h"
#include "core/gradefile/rowsetwriter.h"
#include "ratioreporter.h"

#include <QXmlStreamReader>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

const QStringList& lines5000()
{
    static const QStringList lines = benchClassLines(5000, 6);
    return lines;
}

const QByteArray& bytes5000()
{
    static const QByteArray bytes = gradefile::rowsetBytes(lines5000());
    return bytes;
}

void BM_QtXmlTokenizer(benchmark::State& state)
{
    const QByteArray& bytes = bytes5000();
    for (auto _ : state) {
        QXmlStreamReader reader(bytes);
        qint64 attributes = 0;
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::StartElement)
                attributes += reader.attributes().size();
        }
        benchmark::DoNotOptimize(attributes);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_ReadRowset(benchmark::State& state)
{
    const QByteArray& bytes = bytes5000();
    for (auto _ : state) {
        const gradefile::LinesRead read = gradefile::readRowsetLines(bytes);
        if (!read.lines || read.lines->size() != lines5000().size())
            state.SkipWithError("the reader did not give the lines back");
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_ReadGradeDocument(benchmark::State& state)
{
    const QByteArray& bytes = bytes5000();
    for (auto _ : state) {
        const gradefile::LinesRead read = gradefile::readRowsetLines(bytes);
        const gradefile::DocumentRead document =
            gradefile::readGradeDocument(kBenchKey + QStringLiteral(".xml"), *read.lines);
        if (!document.document)
            state.SkipWithError("the document did not open");
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_WriteRowset(benchmark::State& state)
{
    const QStringList& lines = lines5000();
    for (auto _ : state) {
        if (gradefile::findUnwritableLine(lines))
            state.SkipWithError("a line cannot be written");
        const QByteArray bytes = gradefile::rowsetBytes(lines);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() * bytes5000().size());
}

BENCHMARK(BM_QtXmlTokenizer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRowset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadGradeDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteRowset)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const std::map<std::string, double> times = runBenchmarks(argc, argv);
    const auto tokenizer = times.find("BM_QtXmlTokenizer");
    std::printf("\nFile: %d lines, %lld bytes. Time relative to Qt's bare XML tokenizer:\n",
                int(lines5000().size()), static_cast<long long>(bytes5000().size()));
    for (const auto& [name, seconds] : times) {
        if (tokenizer != times.end() && tokenizer->second > 0)
            std::printf("  %-22s %8.2f ms  %5.2fx\n", name.c_str(), seconds * 1e3,
                        seconds / tokenizer->second);
    }
    return 0;
}
