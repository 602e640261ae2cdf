#pragma once

#include "core/disk/osfile.h"
#include "core/gradefile/fileerror.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// Each change is flushed before the sheet goes on, so that a crash or a power cut loses nothing
// the teacher saw done. Each UTF-8 line ends in a check of its own bytes: a last record cut
// short by a crash is left out; any other that does not check makes the journal damaged.
namespace recovery {

inline constexpr int kJournalVersion = 1;

// The key and the content say which file it is; the folder only says where the disk was (a
// stick put back may come back at another folder, a drive at another letter).
struct JournalIdentity {
    QString key;
    QString diskFolder;     // canonical, see canonicalDiskFolder
    QByteArray contentHash; // gradefile::contentHashOf the file's bytes as opened
};

struct JournalCell {
    int column = 0;
    int row = 0;
    QString text;
    QDateTime time; // UTC, to the millisecond
};

// The last text of each cell, in the order the cells were first changed.
std::vector<JournalCell> lastTextOfEachCell(const std::vector<JournalCell>& cells);

struct JournalContents {
    JournalIdentity identity;
    QDateTime started;
    std::vector<JournalCell> cells; // in the order they were committed
    bool tornTail = false;          // a last record cut short was left out
};

struct JournalRead {
    // Also nullopt, with no error, for a crash while the very first record was written.
    std::optional<JournalContents> contents;
    gradefile::FileError error; // Malformed (damaged), OtherVersion, or a read failure
};

// Journals larger than this are refused as damaged without being read whole.
inline constexpr qint64 kMaxJournalBytes = 64 * 1024 * 1024;

JournalRead readJournal(const QString& path);
// path only names the journal in errors.
JournalRead parseJournal(const QByteArray& bytes, const QString& path);

QByteArray headerRecord(const JournalIdentity& identity, const QDateTime& started,
                        int version = kJournalVersion);
QByteArray cellRecord(const JournalCell& cell);

class JournalWriter {
public:
    // path must not exist yet; nullptr with error set when it cannot be created.
    static std::unique_ptr<JournalWriter>
    create(const QString& path, const JournalIdentity& identity, const QDateTime& started,
           const std::vector<JournalCell>& cells, gradefile::FileError& error);

    // Without flush the cells survive the program, not a power cut, until flush().
    gradefile::FileError append(const std::vector<JournalCell>& cells, bool flush = true);
    gradefile::FileError flush();
    const QString& path() const { return m_path; }

private:
    explicit JournalWriter(QString path) : m_path(std::move(path)) {}
    gradefile::FileError write(const QByteArray& bytes, bool flush);
    gradefile::FileError systemError(int failure) const;

    QString m_path;
    gradefile::os::FileHandle m_handle;
    bool m_unflushed = false;
};

} // namespace recovery
