#include "gui/windows/sheet/sheethistory.h"

namespace sheet {

namespace {

class CellsStep : public QUndoCommand {
public:
    CellsStep(GradeSheet& sheet, CellEdits edits, std::function<void(Cell)> placeCursor)
        : m_sheet(sheet), m_edits(std::move(edits)), m_placeCursor(std::move(placeCursor))
    {
        // Undo goes back to what the save would have written, never to a refused text.
        for (CellEdit& edit : m_edits) {
            m_correctsRefused = m_correctsRefused || edit.before.result == CheckResult::Refused;
            edit.before = m_sheet.acceptedState(edit.cell);
        }
    }

    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const CellsStep*>(other);
        return next->m_correctsRefused && amend(next->m_edits);
    }
    // The cell's change goes into this step, when the step changed that cell.
    bool amend(const CellEdits& edits)
    {
        if (edits.size() != 1)
            return false;
        for (CellEdit& edit : m_edits) {
            if (edit.cell == edits.first().cell) {
                edit.after = edits.first().after;
                return true;
            }
        }
        return false;
    }
    void undo() override { set(true); }
    void redo() override { set(false); }

private:
    void set(bool back)
    {
        for (const CellEdit& edit : m_edits)
            m_sheet.setData(m_sheet.indexOf(edit.cell),
                            QVariant::fromValue(back ? edit.before : edit.after),
                            GradeSheet::CellStateRole);
        // The step is made where the teacher is: only going back and forth moves the cursor.
        if (std::exchange(m_made, true))
            m_placeCursor(m_edits.first().cell);
    }

    GradeSheet& m_sheet;
    CellEdits m_edits;
    std::function<void(Cell)> m_placeCursor;
    bool m_correctsRefused = false;
    bool m_made = false;
};

} // namespace

SheetHistory::SheetHistory(GradeSheet& sheet, std::function<void(Cell)> placeCursor,
                           QObject* parent)
    : QObject(parent), m_sheet(sheet), m_placeCursor(std::move(placeCursor))
{
    m_sheet.setRecorder(this);
}

SheetHistory::~SheetHistory()
{
    m_sheet.setRecorder(nullptr);
}

void SheetHistory::record(const CellEdits& edits, Kind kind)
{
    if (kind == Kind::Change) {
        m_stack.push(new CellsStep(m_sheet, edits, m_placeCursor));
        return;
    }
    // The check's rewrite goes with the last change, if that changed the cell.
    if (const int last = m_stack.index() - 1; last >= 0)
        static_cast<CellsStep*>(const_cast<QUndoCommand*>(m_stack.command(last)))->amend(edits);
}

} // namespace sheet
