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

// When the data folder cannot be written the sheet goes on without it, and the teacher is
// told once in the run.
class SheetRecovery final : public CellJournal {
public:
    // window is the sheet: it parents the questions and notices.
    SheetRecovery(recovery::DataFolder& dataFolder, recovery::JournalIdentity identity,
                  QWidget* window);

    // Written at once, so that it survives the program; flushed to the device with the other
    // changes of the same keystroke once it is handled.
    void cellCommitted(Cell cell, const QString& text) override;

    // Once the teacher agreed; a no sets the journals aside for the kept copies window, as are
    // journals of another content of the file; those that cannot be applied stay in place. A
    // change leaving a cell as texts gives it counts for nothing. shown: the teacher saw a
    // question or a notice.
    CellTexts changesToBringBack(const recovery::SheetBounds& bounds,
                                 const std::function<QString(Cell)>& texts, const QString& title,
                                 bool& shown);
    // The journals the changes came from go once the changes are safely in this one.
    void broughtBack();

    // Before a save replaces the file.
    void keepCopy(const QString& diskFolder, const QByteArray& bytes);
    // The journal is no longer needed.
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
