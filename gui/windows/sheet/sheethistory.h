#pragma once

#include "core/sheet/gradesheet.h"

#include <QObject>
#include <QUndoStack>

#include <functional>

namespace sheet {

// The undo history of a grade sheet. Every change the teacher makes is one step, made by the
// step itself: a grade committed, a mark, each cell of an exempted row, an observation validated
// (its text and the name's look), a block of grades pasted or imported. The check's rewrite of a
// cell belongs to the step that changed the cell last, if any, and correcting a refused grade to
// the step that typed it. Undo and redo put the cursor on the step's first cell. Nothing here
// undoes a save: the kept copies of the file do that.
class SheetHistory : public QObject, public EditRecorder {
    Q_OBJECT

public:
    SheetHistory(GradeSheet& sheet, std::function<void(Cell)> placeCursor,
                 QObject* parent = nullptr);
    ~SheetHistory() override;

    void record(const CellEdits& edits, Kind kind) override;
    // Forgets every step: undo stops at the sheet as it is now.
    void restart() { m_stack.clear(); }
    QUndoStack& stack() { return m_stack; }

private:
    GradeSheet& m_sheet;
    std::function<void(Cell)> m_placeCursor;
    QUndoStack m_stack;
};

} // namespace sheet
