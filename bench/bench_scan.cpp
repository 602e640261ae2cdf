// The main window's scan of a disk: each file's description alone (the list before it counted
// the grades typed), beside each file's description and its "N / M" count, on 40 files of 40
// pupils and on 2,000 files. The count keeps the 40-file scan within 1.5 times the other.
//   build/bench/bench_scan [--benchmark_min_time=1]
#include "classlines.h"
#include "core/copies/listedfile.h"
#include "core/gradefile/gradefileio.h"
#include "ratioreporter.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {

// A disk of files files, each its own key, written once per file count.
const gradefile::GradeDisk& diskOf(int files)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    static std::map<int, gradefile::GradeDisk> disks;
    if (!folders.count(files)) {
        folders[files] = std::make_unique<QTemporaryDir>();
        const gradefile::GradeDisk disk(folders[files]->path());
        for (int i = 0; i < files; ++i) {
            const QString key =
                kBenchKey.left(13) + QStringLiteral("%1").arg(i, 6, 10, QChar(u'0'));
            QStringList lines = benchClassLines(40, 3);
            lines.first().replace(kBenchKey, key);
            lines.last().replace(kBenchKey, key);
            gradefile::writeGradeFile(disk.pathOf(key + QStringLiteral(".xml")), lines);
        }
        disks.emplace(files, disk);
    }
    return disks.at(files);
}

void BM_DescriptionsOnly(benchmark::State& state)
{
    const gradefile::GradeDisk& disk = diskOf(int(state.range(0)));
    for (auto _ : state) {
        const QStringList names = *disk.list().fileNames;
        for (const QString& name : names) {
            const gradefile::GradeFileRead read = gradefile::readGradeFile(disk.pathOf(name));
            benchmark::DoNotOptimize(gradefile::listDescription(name, *read.lines));
        }
    }
}

void BM_DescriptionsAndTyped(benchmark::State& state)
{
    const gradefile::GradeDisk& disk = diskOf(int(state.range(0)));
    for (auto _ : state) {
        const QStringList names = *disk.list().fileNames;
        for (const QString& name : names)
            if (sheet::listedFile(disk, name).typed.isEmpty())
                state.SkipWithError("a file's grades were not counted");
    }
}

BENCHMARK(BM_DescriptionsOnly)->Arg(40)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DescriptionsAndTyped)->Arg(40)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const std::map<std::string, double> times = runBenchmarks(argc, argv);
    std::printf("\nScan time with the count, relative to the descriptions alone:\n");
    for (const char* files : {"40", "2000"}) {
        const auto before = times.find(std::string("BM_DescriptionsOnly/") + files);
        const auto after = times.find(std::string("BM_DescriptionsAndTyped/") + files);
        if (before != times.end() && after != times.end() && before->second > 0)
            std::printf("  %5s files: %8.2f ms -> %8.2f ms  %5.2fx\n", files, before->second * 1e3,
                        after->second * 1e3, after->second / before->second);
    }
    return 0;
}
