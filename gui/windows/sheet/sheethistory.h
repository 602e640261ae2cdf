#pragma once

#include "core/sheet/gradesheet.h"

#include <QObject>
#include <QUndoStack>

#include <functional>

namespace sheet {

// A check's rewrite belongs to the step that changed the cell last, and correcting a refused
// grade to the step that typed it. A save is undone by the kept copies, not here.
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
