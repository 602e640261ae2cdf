// The journal's cost per committed cell: one record appended and flushed to the device,
// beside a plain write and flush of the same bytes to a file; and what one grade costs the
// sheet, the text typed and its "00.00" rewrite written at once and flushed together.
// Typing stays instant while a cell stays under 5 ms.
//   build/bench/bench_journal [--benchmark_min_time=2]
// The journal goes into a temporary folder under BENCH_JOURNAL_DIR (default: the system's
// temporary folder): point it at the disk that holds the program's data folder.
#include "core/disk/osfile.h"
#include "core/recovery/journal.h"
#include "core/recovery/sessionjournal.h"
#include "ratioreporter.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

const recovery::JournalIdentity kIdentity{QStringLiteral("8410203C07120002025"),
                                          QStringLiteral("/media/floppy"), QByteArray(64, 'a')};

std::unique_ptr<QTemporaryDir> benchFolder()
{
    const QByteArray base = qgetenv("BENCH_JOURNAL_DIR");
    return base.isEmpty() ? std::make_unique<QTemporaryDir>()
                          : std::make_unique<QTemporaryDir>(QString::fromLocal8Bit(base) +
                                                            QStringLiteral("/journal-XXXXXX"));
}

// A grade as the teacher leaves a cell: the typical record.
recovery::JournalCell gradeCell(qint64 i)
{
    return {4, int(i % 40) + 1, QStringLiteral("12.50"), QDateTime::currentDateTimeUtc()};
}

void BM_JournalAppend(benchmark::State& state)
{
    const std::unique_ptr<QTemporaryDir> dir = benchFolder();
    gradefile::FileError error;
    std::unique_ptr<recovery::JournalWriter> writer =
        recovery::JournalWriter::create(dir->filePath(QStringLiteral("j.journal")), kIdentity,
                                        QDateTime::currentDateTimeUtc(), {gradeCell(0)}, error);
    if (!writer) {
        state.SkipWithError("the journal cannot be created");
        return;
    }
    qint64 i = 0;
    for (auto _ : state) {
        if (writer->append({gradeCell(++i)}).isError())
            state.SkipWithError("an append failed");
    }
    state.SetBytesProcessed(state.iterations() * recovery::cellRecord(gradeCell(0)).size());
}

// "7" committed by the grid, then "07.00" written by the cell check, one flush.
void BM_TypedGradeAndRewrite(benchmark::State& state)
{
    const std::unique_ptr<QTemporaryDir> dir = benchFolder();
    recovery::SessionJournal session(dir->path(), kIdentity);
    qint64 i = 0;
    for (auto _ : state) {
        recovery::JournalCell typed = gradeCell(++i);
        typed.text = QStringLiteral("7");
        recovery::JournalCell rewritten = typed;
        rewritten.text = QStringLiteral("07.00");
        if (session.write({typed}).isError() || session.write({rewritten}).isError() ||
            session.flush().isError())
            state.SkipWithError("a record failed");
    }
}

// The floor: the same bytes written and flushed, with nothing of the journal around them.
void BM_PlainWriteAndFlush(benchmark::State& state)
{
    const std::unique_ptr<QTemporaryDir> dir = benchFolder();
    gradefile::os::FileHandle handle;
    if (gradefile::os::createNewFile(dir->filePath(QStringLiteral("plain")), handle) != 0) {
        state.SkipWithError("the file cannot be created");
        return;
    }
    const QByteArray bytes = recovery::cellRecord(gradeCell(0));
    for (auto _ : state) {
        if (gradefile::os::writeAll(handle, bytes) != 0 ||
            gradefile::os::flushToDevice(handle) != 0)
            state.SkipWithError("the write failed");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

BENCHMARK(BM_PlainWriteAndFlush)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JournalAppend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypedGradeAndRewrite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const std::map<std::string, double> times = runBenchmarks(argc, argv);
    const auto plain = times.find("BM_PlainWriteAndFlush");
    std::printf("\nPer committed cell (goal: under 5 ms), beside a plain write and flush:\n");
    for (const auto& [name, seconds] : times) {
        if (plain != times.end() && plain->second > 0)
            std::printf("  %-22s %8.3f ms  %5.2fx\n", name.c_str(), seconds * 1e3,
                        seconds / plain->second);
    }
    return 0;
}
