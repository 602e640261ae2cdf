#pragma once

#include "core/recovery/journal.h"

#include <QString>

#include <memory>
#include <vector>

namespace recovery {

// It begins with the first change and ends when the changes reach the disk or are given up.
// Once a write failed it is not written again: the sheet goes on without it.
class SessionJournal {
public:
    SessionJournal(QString dataFolder, JournalIdentity identity);
    ~SessionJournal();

    // Flushed before it returns. The error of the write that broke the journal, once.
    gradefile::FileError record(const std::vector<JournalCell>& cells);
    // A sheet writes each change at once and flushes the changes of one keystroke together.
    gradefile::FileError write(const std::vector<JournalCell>& cells);
    gradefile::FileError flush();

    // The next change begins a new journal over that content.
    void saved(const QByteArray& contentHash);
    void discard();

    // Empty before the first change.
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

// <key>~<folder tag>~<start>.journal: the tag only keeps names apart.
QString journalFileName(const JournalIdentity& identity, const QDateTime& started);
// Whatever its disk, oldest first.
QStringList journalsOfKey(const QString& folder, const QString& key);
QStringList journalKeys(const QString& folder);

} // namespace recovery
