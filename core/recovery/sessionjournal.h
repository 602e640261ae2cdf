#pragma once

#include "core/recovery/journal.h"

#include <QString>

#include <memory>
#include <vector>

namespace recovery {

// The journal of one open sheet. It begins with the first change the teacher commits
// and ends when the changes reach the disk or are given up. A journal that could not be
// written once is not written again: the sheet goes on without it.
class SessionJournal {
public:
    // The journal is written into the journals folder of dataFolder.
    SessionJournal(QString dataFolder, JournalIdentity identity);
    ~SessionJournal();

    // Records committed changes, flushed to the device before it returns. The error of
    // the write that broke the journal, once; no error before or after.
    gradefile::FileError record(const std::vector<JournalCell>& cells);
    // The same, the flush to the device left to flush(): a sheet writes each change at
    // once and flushes the changes of one keystroke together.
    gradefile::FileError write(const std::vector<JournalCell>& cells);
    gradefile::FileError flush();

    // The sheet reached the disk as bytes whose hash is contentHash: the journal goes, and
    // the next change begins a new one over that content.
    void saved(const QByteArray& contentHash);
    // The teacher gave the unsaved changes up: the journal goes.
    void discard();

    // The journal file, empty before the first change.
    QString path() const;
    const JournalIdentity& identity() const { return m_identity; }

private:
    gradefile::FileError append(const std::vector<JournalCell>& cells, bool flush);
    gradefile::FileError broken(const gradefile::FileError& error);
    QString newJournalPath() const;

    QString m_dataFolder;
    QString m_journals;
    JournalIdentity m_identity;
    std::unique_ptr<JournalWriter> m_writer;
    bool m_broken = false;
};

// The journal file names of a grade file: <key>~<folder tag>~<start>.journal. The tag
// only keeps names apart: a journal belongs to its key and content wherever the disk is.
QString journalFileName(const JournalIdentity& identity, const QDateTime& started);
// Every journal in folder for key, whatever its disk, oldest first.
QStringList journalsOfKey(const QString& folder, const QString& key);
// The keys of the journals in folder, each once, in name order.
QStringList journalKeys(const QString& folder);

} // namespace recovery
