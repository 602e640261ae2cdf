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

// What the journals of a grade file hold when it is opened.
struct PendingChanges {
    // The last text of each changed cell, in the order the cells were first changed.
    std::vector<JournalCell> cells;
    QDateTime lastChange;
    // The journals the cells come from: removed once their cells are safely in the sheet's
    // own journal, set aside when the teacher gives them up.
    QStringList journals;
    // The disk folders those journals were written for, when not the one the file is
    // opened from: the same disk come back at another folder, or a copy of the file.
    QStringList otherFolders;
    // Journals that began on another content of the file (it changed on the disk since).
    QStringList changedOnDisk;
    std::vector<RefusedJournal> refused;
    // Journals cut short before their first change: they hold nothing.
    QStringList empty;
};

// The cells a journal may change in a sheet: the grades of the exams shown (the first
// examCount) and the observations of pupils 1 to pupilCount, with texts a grade file line can
// hold.
struct SheetBounds {
    int pupilCount = 0;
    int examCount = 1;
};

// Reads the journals of the grade file identified by current in the folder journals: those
// of its key that began on its content, wherever its disk was. A journal is applied whole
// or not at all: one that is damaged, of another version, of another file or that reaches
// outside the sheet is refused.
PendingChanges findPendingChanges(const QString& journals, const JournalIdentity& current,
                                  const SheetBounds& bounds);

// Why a journal's cells do not fit the sheet; nullopt when they do.
std::optional<QString> cellsOutsideSheet(const std::vector<JournalCell>& cells,
                                         const SheetBounds& bounds);

// Moves a journal into the aside folder of dataFolder; the path it now has, or nullopt
// when it stayed where it was.
std::optional<QString> setAside(const QString& journal, const QString& dataFolder);

// Moves the journal named journalName (a file name, or a path into the aside folder) from
// the aside folder of dataFolder back among the journals, so that the next open of its file
// offers its changes again. A name outside the aside folder, a journal that cannot be read,
// or one whose name is taken among the journals is refused and left where it is.
gradefile::FileError bringBack(const QString& journalName, const QString& dataFolder);

void removeJournals(const QStringList& paths);

} // namespace recovery
