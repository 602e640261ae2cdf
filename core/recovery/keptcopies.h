#pragma once

#include "core/gradefile/fileerror.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Kept copies of grade files: before a save replaces a grade file on the disk, the file
// as it was is copied into the program's data folder, backups/<key>/<disk tag>/, under a
// name that tells when it was kept and the save number written in it. The last
// kKeptCopiesPerFile copies of each key on each disk are kept. Copies kept before they
// were grouped by disk, straight in backups/<key>/, are listed with them.
namespace recovery {

inline constexpr int kKeptCopiesPerFile = 20;

struct KeptCopy {
    QString path;
    QDateTime time;     // when it was kept (UTC, to the millisecond)
    int saveNumber = 0; // the save number in the copy's end line
    QString diskFolder; // the folder of the disk it was kept from; empty when not known
};

// How a copy differs from the file on the disk now: what tells copies apart when their
// pupils are the same.
struct CopyDifference {
    int cells = 0;           // grades, marks and observations that differ
    QStringList firstPupils; // the names of the first pupils they belong to, in row order
};

// What the list of copies shows of one copy.
struct KeptCopySummary {
    KeptCopy copy;
    std::optional<CopyDifference> difference; // nullopt without a file to compare with
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
// lines with the save number of their last end line set to saveNumber, every other field
// as it was; lines unchanged without an end line.
QStringList withSaveNumber(QStringList lines, int saveNumber);

inline constexpr int kFirstPupilsShown = 3;
// How the subject grade file copy differs from current, pupil row by pupil row; nullopt
// when either does not open as a subject grade file of key.
std::optional<CopyDifference> differenceOf(const QString& key, const QStringList& copy,
                                           const QStringList& current);

class KeptCopies {
public:
    explicit KeptCopies(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

    const QString& dataFolder() const { return m_dataFolder; }

    // Keeps bytes, the grade file of key as it is on the disk at diskFolder, unless the
    // newest copy of that disk holds the same bytes already; the oldest copies of that disk
    // beyond kKeptCopiesPerFile go.
    gradefile::FileError keep(const QString& key, const QString& diskFolder,
                              const QByteArray& bytes,
                              const QDateTime& now = QDateTime::currentDateTimeUtc()) const;

    // The copies of key from every disk, newest first.
    std::vector<KeptCopy> list(const QString& key) const;
    // The keys that have copies, in name order.
    QStringList keys() const;

    // Reads a copy and checks that it is a grade file of key: a damaged, truncated or
    // foreign copy is refused and left where it is.
    KeptCopyRead read(const KeptCopy& copy, const QString& key) const;
    // current: the lines of the file of key on the disk now, when there is one.
    KeptCopySummary summarize(const KeptCopy& copy, const QString& key,
                              const std::optional<QStringList>& current) const;
    // The bytes that bring copy back in place of replaced (the file there now, if any): its
    // grades as kept, its save number one more than any the file has had, in the file it
    // replaces or in a copy, so that the save counter never runs back and two different
    // files never carry the same number.
    KeptCopyRead restored(const KeptCopy& copy, const QString& key,
                          const std::optional<QByteArray>& replaced) const;

private:
    QString m_dataFolder;
};

} // namespace recovery
