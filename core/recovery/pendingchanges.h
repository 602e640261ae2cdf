#pragma once

#include "core/recovery/journal.h"

#include <QDateTime>
#include <QStringList>

#include <vector>

namespace recovery {

// A journal that cannot be applied; it stays where it is, for the support team.
struct RefusedJournal {
    QString path;
    gradefile::FileError error; // Malformed, OtherVersion, OtherFile, or a read failure
};

struct PendingChanges {
    // In the order the cells were first changed.
    std::vector<JournalCell> cells;
    QDateTime lastChange;
    // Removed once their cells are safely in the sheet's own journal, set aside when the
    // teacher gives them up.
    QStringList journals;
    // When not the folder the file is opened from.
    QStringList otherFolders;
    // The file changed on the disk since.
    QStringList changedOnDisk;
    std::vector<RefusedJournal> refused;
    // Journals cut short before their first change: they hold nothing.
    QStringList empty;
};

// The grades of the first examCount exams and the observations, with texts a grade file line
// can hold.
struct SheetBounds {
    int pupilCount = 0;
    int examCount = 1;
};

// Wherever its disk was. A journal is applied whole or not at all: one that is damaged, of
// another version, of another file or that reaches outside the sheet is refused.
PendingChanges findPendingChanges(const QString& journals, const JournalIdentity& current,
                                  const SheetBounds& bounds);

// nullopt when they fit.
std::optional<QString> cellsOutsideSheet(const std::vector<JournalCell>& cells,
                                         const SheetBounds& bounds);

// nullopt when it stayed where it was.
std::optional<QString> setAside(const QString& journal, const QString& dataFolder);

// So that the next open of its file offers its changes again. A name outside the aside
// folder, a journal that cannot be read, or a name taken among the journals is refused.
gradefile::FileError bringBack(const QString& journalName, const QString& dataFolder);

void removeJournals(const QStringList& paths);

} // namespace recovery
