#pragma once

#include "gradefile/fileerror.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Kept copies of grade files: before a save replaces a grade file on the disk, the file
// as it was is copied into the program's data folder, backups/<key>/, under a name that
// tells when it was kept and the save number written in it. The last kKeptCopiesPerFile
// copies of each key are kept.
namespace recovery {

inline constexpr int kKeptCopiesPerFile = 20;

struct KeptCopy {
    QString path;
    QDateTime time;     // when it was kept (UTC, to the millisecond)
    int saveNumber = 0; // the save number in the copy's end line
};

// What the list of copies shows of one copy.
struct KeptCopySummary {
    KeptCopy copy;
    int pupilsWithGrades = 0;
    gradefile::FileError error; // the copy cannot be brought back (damaged, another file)
};

// A copy read and checked to be a grade file of its key.
struct KeptCopyRead {
    std::optional<QByteArray> bytes;
    gradefile::FileError error;
};

// The save number a grade file's end line holds: the field before the print number,
// as the program's save and the administration's system both write it. 0 without one.
int savedNumberOf(const QStringList& lines);

// The pupils of a grade file with at least one grade or mark other than the no-grade
// mark; nullopt when the lines do not open as a subject grade file.
std::optional<int> pupilsWithGradesOf(const QString& fileName, const QStringList& lines);

class KeptCopies {
public:
    explicit KeptCopies(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

    // Keeps bytes, the grade file of key as it is on the disk, unless the newest copy
    // holds the same bytes already; the oldest copies beyond kKeptCopiesPerFile go.
    gradefile::FileError keep(const QString& key, const QByteArray& bytes,
                              const QDateTime& now = QDateTime::currentDateTimeUtc()) const;

    // The copies of key, newest first.
    std::vector<KeptCopy> list(const QString& key) const;
    // The keys that have copies, in name order.
    QStringList keys() const;

    // Reads a copy and checks that it is a grade file of key: a damaged, truncated or
    // foreign copy is refused and left where it is.
    KeptCopyRead read(const KeptCopy& copy, const QString& key) const;
    KeptCopySummary summarize(const KeptCopy& copy, const QString& key) const;

private:
    QString m_dataFolder;
};

} // namespace recovery
