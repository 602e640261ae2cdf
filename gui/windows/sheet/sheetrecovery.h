#pragma once

#include "core/recovery/pendingchanges.h"
#include "core/recovery/sessionjournal.h"
#include "core/sheet/celljournal.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <utility>

namespace recovery {
struct DataFolder;
}

namespace sheet {

using CellTexts = QList<std::pair<Cell, QString>>;

// The grade sheet's side of crash recovery: it journals every change the teacher commits,
// keeps a copy of the file before a save replaces it, and offers the changes a crash left
// in a journal when the file is opened again. When the data folder cannot be written the
// sheet goes on without it, and the teacher is told once in the run.
class SheetRecovery final : public CellJournal {
public:
    // window is the sheet: it parents the questions and notices.
    SheetRecovery(recovery::DataFolder& dataFolder, recovery::JournalIdentity identity,
                  QWidget* window);

    // Written into the journal at once, so that it survives the program; flushed to the
    // device with the other changes of the same keystroke (a typed grade and its rewrite)
    // as soon as the keystroke is handled.
    void cellCommitted(Cell cell, const QString& text) override;

    // The changes a crash left for this file, wherever its disk was then, once the teacher
    // agreed to bring them back (question titled title); empty when there are none or the
    // teacher said no, which sets their journals aside for the kept copies window to bring
    // back. Journals that cannot be applied are reported and left in place; journals of
    // another content of the file are set aside. texts gives a cell's text in the sheet as
    // opened: a change that leaves a cell as it is counts for nothing. shown tells whether
    // the teacher saw a question or a notice.
    CellTexts changesToBringBack(const recovery::SheetBounds& bounds,
                                 const std::function<QString(Cell)>& texts, const QString& title,
                                 bool& shown);
    // The changes were put into the sheet: they go into this sheet's journal, and the
    // journals they came from go once they are safely there.
    void broughtBack();

    // Before a save replaces the file on the disk at diskFolder: the file as it is there
    // (bytes) is kept.
    void keepCopy(const QString& diskFolder, const QByteArray& bytes);
    // The sheet reached the disk as bytes of this content hash: the journal is no longer
    // needed.
    void saved(const QByteArray& contentHash);
    // The teacher gave the unsaved changes up.
    void givenUp() { m_journal.discard(); }

    const recovery::SessionJournal& journal() const { return m_journal; }

private:
    void flushJournal();
    void reportNotWritable(const gradefile::FileError& error);
    // True when there was anything to report.
    bool reportUnusable(const recovery::PendingChanges& pending);

    recovery::DataFolder& m_dataFolder;
    recovery::SessionJournal m_journal;
    QPointer<QWidget> m_window;
    bool m_flushQueued = false;
    // The journals whose changes the teacher took back, until they are in this one.
    QStringList m_broughtBackFrom;
    std::vector<recovery::JournalCell> m_broughtBackCells;
};

} // namespace sheet
