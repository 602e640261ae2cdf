#pragma once

#include "recovery/journal.h"

#include <QDateTime>
#include <QStringList>

#include <vector>

namespace recovery {

// A journal that cannot be applied; it stays where it is, for the support team.
struct RefusedJournal {
    QString path;
    gradefile::FileError error; // Malformed, OtherVersion, OtherFile, or a read failure
};

// What the journals of a grade file hold when it is opened.
struct PendingChanges {
    // The last text of each changed cell, in the order the cells were first changed.
    std::vector<JournalCell> cells;
    QDateTime lastChange;
    // The journals the cells come from, to remove once they are applied or given up.
    QStringList journals;
    // Journals that began on another content of the file (it changed on the disk since).
    QStringList changedOnDisk;
    std::vector<RefusedJournal> refused;
    // Journals cut short before their first change: they hold nothing.
    QStringList empty;
};

// The cells a journal may change in a sheet: the grade columns shown (lastGradeColumn up
// to column 6, the first exam) and the observation column of pupil rows 1 to rowCount,
// with texts a grade file line can hold.
struct SheetBounds {
    int rowCount = 0;
    int lastGradeColumn = 1;
};

// Reads the journals of the grade file identified by current in the folder journals.
// A journal is applied whole or not at all: one that is damaged, of another version, of
// another file or that reaches outside the sheet is refused.
PendingChanges findPendingChanges(const QString& journals, const JournalIdentity& current,
                                  const SheetBounds& bounds);

// Why a journal's cells do not fit the sheet; nullopt when they do.
std::optional<QString> cellsOutsideSheet(const std::vector<JournalCell>& cells,
                                         const SheetBounds& bounds);

// Moves a journal into the folder aside; the path it now has, or nullopt when it stayed.
std::optional<QString> setAside(const QString& journal, const QString& aside);

void removeJournals(const QStringList& paths);

} // namespace recovery
