#pragma once

#include "sheet/gradeentry.h"
#include "sheet/gradesheet.h"

#include <QHash>
#include <QObject>
#include <QUndoStack>

namespace sheet {

// The undo history of a grade sheet. Every change the teacher makes to a cell is one
// step: a grade committed (with the rewrite and colour its check gives it), a mark, each
// cell of an exempted row, an observation validated (its text and the name's look), a block
// of grades pasted or imported.
// Correcting a refused grade belongs to the step that typed it. A step sets the sheet's
// cells back through grade entry, so that the sheet is unsaved and the journal holds the
// cell as it is now, and puts the cursor on it. Nothing here undoes a save: the kept copies
// of the file do that.
class SheetHistory : public QObject {
    Q_OBJECT

public:
    SheetHistory(GradeSheet& sheet, GradeEntry& entry, QObject* parent = nullptr);
    ~SheetHistory() override;

    // Forgets every step: undo stops at the sheet as it is now.
    void restart();
    QUndoStack& stack() { return m_stack; }

    // An observation was validated on a pupil's row: its text and the name's look are
    // written.
    void observationValidated(int row);
    // Values brought from outside were written: the whole block is one step.
    void cellsBrought(const QList<Cell>& cells);

    // Sets cells back to states, with the cursor on the first; a step's undo and redo.
    void show(const QList<std::pair<Cell, CellState>>& states);
    GradeSheet& sheet() { return m_sheet; }

private:
    void sheetChanged(Cell cell, const CellState& before);
    void entryChanged(Cell cell, CellChange change);
    CellState takeBefore(Cell cell);

    GradeSheet& m_sheet;
    GradeEntry& m_entry;
    QUndoStack m_stack;
    // Each cell changed since its last step, as it was before: what a new step goes back to.
    // The check's rewrite of a file's own text is no step, and is forgotten here.
    QHash<quint64, CellState> m_before;
    bool m_stepping = false;
};

} // namespace sheet
