#pragma once

#include "core/disk/osfile.h"
#include "core/gradefile/fileerror.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// The journal of one sheet's unsaved changes: every change the teacher commits to a cell
// is appended and flushed to the device before the sheet goes on, so that a crash or a
// power cut loses nothing the teacher saw done.
//
// A journal is a UTF-8 text file of records, one per line, each ending in a check of its
// own bytes: the header (the program's mark, the journal version, the grade file's key,
// its disk folder, the hash of its content as opened, the start time), then one record
// per committed cell (time, column, row, text). A last record cut short by a crash is
// left out; any other record that does not check makes the whole journal damaged.
namespace recovery {

inline constexpr int kJournalVersion = 1;

// The grade file a journal belongs to, and the content its changes apply to. The key and
// the content say which file it is; the folder only says where the disk was when the
// journal was written (a stick pulled out and put back may come back at another folder,
// a drive at another letter).
struct JournalIdentity {
    QString key;
    QString diskFolder;     // canonical, see canonicalDiskFolder
    QByteArray contentHash; // gradefile::contentHashOf the file's bytes as opened
};

// One committed change: the cell's whole text after it.
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
    // nullopt when the journal is refused (error) and when it holds nothing at all (a
    // crash while its very first record was written: error is then None).
    std::optional<JournalContents> contents;
    gradefile::FileError error; // Malformed (damaged), OtherVersion, or a read failure
};

// Journals larger than this are refused as damaged without being read whole.
inline constexpr qint64 kMaxJournalBytes = 64 * 1024 * 1024;

JournalRead readJournal(const QString& path);
// The same, from bytes already read; path only names the journal in errors.
JournalRead parseJournal(const QByteArray& bytes, const QString& path);

// The bytes of a journal's records, for writers and for tests that build journals.
QByteArray headerRecord(const JournalIdentity& identity, const QDateTime& started,
                        int version = kJournalVersion);
QByteArray cellRecord(const JournalCell& cell);

// Appends to one journal file, each append flushed to the device before it returns.
class JournalWriter {
public:
    // Creates the journal at path (which must not exist yet) with its header and first
    // cells; nullptr with error set when it cannot.
    static std::unique_ptr<JournalWriter>
    create(const QString& path, const JournalIdentity& identity, const QDateTime& started,
           const std::vector<JournalCell>& cells, gradefile::FileError& error);

    // Appends cells and flushes them to the device, or, with flush false, leaves them in
    // the system's hands (they survive the program, not a power cut) until flush().
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
