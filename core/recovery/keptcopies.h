#pragma once

#include "core/gradefile/fileerror.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Before a save replaces a grade file, the file as it was goes into backups/<key>/<disk tag>/.
// Copies straight in backups/<key>/, kept before they were grouped by disk, are listed too.
namespace recovery {

inline constexpr int kKeptCopiesPerFile = 20;

struct KeptCopy {
    QString path;
    QDateTime time;     // when it was kept (UTC, to the millisecond)
    int saveNumber = 0; // the save number in the copy's end line
    QString diskFolder; // the folder of the disk it was kept from; empty when not known
};

// What tells copies apart when their pupils are the same.
struct CopyDifference {
    int cells = 0;           // grades, marks and observations that differ
    QStringList firstPupils; // the names of the first pupils they belong to, in row order
};

struct KeptCopySummary {
    KeptCopy copy;
    std::optional<CopyDifference> difference; // nullopt without a file to compare with
    gradefile::FileError error; // the copy cannot be brought back (damaged, another file)
};

struct KeptCopyRead {
    std::optional<QByteArray> bytes;
    gradefile::FileError error;
};

// The field before the print number, as the program and the administration's system both
// write it. 0 without an end line.
int savedNumberOf(const QStringList& lines);
// Lines unchanged without an end line.
QStringList withSaveNumber(QStringList lines, int saveNumber);

inline constexpr int kFirstPupilsShown = 3;
// nullopt when either does not open as a subject grade file of key.
std::optional<CopyDifference> differenceOf(const QString& key, const QStringList& copy,
                                           const QStringList& current);

class KeptCopies {
public:
    explicit KeptCopies(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

    const QString& dataFolder() const { return m_dataFolder; }

    // Unless the newest copy of that disk holds the same bytes already; the oldest copies of
    // that disk beyond kKeptCopiesPerFile go.
    gradefile::FileError keep(const QString& key, const QString& diskFolder,
                              const QByteArray& bytes,
                              const QDateTime& now = QDateTime::currentDateTimeUtc()) const;

    // Newest first.
    std::vector<KeptCopy> list(const QString& key) const;
    QStringList keys() const;

    // A damaged, truncated or foreign copy is refused and left where it is.
    KeptCopyRead read(const KeptCopy& copy, const QString& key) const;
    // current: the lines of the file of key on the disk now, when there is one.
    KeptCopySummary summarize(const KeptCopy& copy, const QString& key,
                              const std::optional<QStringList>& current) const;
    // Its save number is one more than any the file has had, on the disk or in a copy, so that
    // the save counter never runs back and two different files never carry the same number.
    KeptCopyRead restored(const KeptCopy& copy, const QString& key,
                          const std::optional<QByteArray>& replaced) const;

private:
    QString m_dataFolder;
};

} // namespace recovery
