#include "sheet/sheethistory.h"

namespace sheet {

namespace {

quint64 keyOf(Cell cell)
{
    return (quint64(quint32(cell.row)) << 32) | quint32(cell.column);
}

using CellStates = QList<std::pair<Cell, CellState>>;

// A step keeps the cells as they were before the change; as they are after it is taken when
// the step is undone, so that the check's rewrite and colour, which come after the change,
// belong to it.
class CellStep : public QUndoCommand {
public:
    CellStep(SheetHistory& history, CellStates before, bool grade)
        : m_history(history), m_before(std::move(before)), m_grade(grade)
    {}

    int id() const override { return m_grade ? 1 : -1; }
    // A change to a grade the check refused corrects the step that typed it: undo goes
    // back past the red cell, to what the cell held before.
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const CellStep*>(other);
        return next->m_before.first().first == m_before.first().first &&
               next->m_before.first().second.look == GradeLook::Refused;
    }
    void undo() override
    {
        m_after.clear();
        for (const auto& [cell, unused] : m_before)
            m_after.append({cell, m_history.sheet().state(cell)});
        m_history.show(m_before);
    }
    // The first redo is the push: the change is already in the sheet.
    void redo() override
    {
        if (m_pushed)
            m_history.show(m_after);
        m_pushed = true;
    }

private:
    SheetHistory& m_history;
    CellStates m_before;
    CellStates m_after;
    bool m_grade;
    bool m_pushed = false;
};

} // namespace

SheetHistory::SheetHistory(GradeSheet& sheet, GradeEntry& entry, QObject* parent)
    : QObject(parent), m_sheet(sheet), m_entry(entry)
{
    connect(&m_sheet, &GradeSheet::cellChanged, this, &SheetHistory::sheetChanged);
    connect(&m_entry, &GradeEntry::cellChanged, this, &SheetHistory::entryChanged);
    connect(&m_entry, &GradeEntry::cellsBrought, this, &SheetHistory::cellsBrought);
}

SheetHistory::~SheetHistory() = default;

void SheetHistory::restart()
{
    m_stack.clear();
    m_before.clear();
}

void SheetHistory::sheetChanged(Cell cell, const CellState& before)
{
    if (!m_stepping && cell.row >= 1 && !m_before.contains(keyOf(cell)))
        m_before.insert(keyOf(cell), before);
}

CellState SheetHistory::takeBefore(Cell cell)
{
    const auto found = m_before.constFind(keyOf(cell));
    if (found == m_before.constEnd())
        return m_sheet.state(cell);
    const CellState before = *found;
    m_before.erase(found);
    return before;
}

void SheetHistory::entryChanged(Cell cell, CellChange change)
{
    const CellState before = takeBefore(cell);
    // The check's rewrite is part of the change that made it, or of what the file held.
    if (change == CellChange::Checked || before == m_sheet.state(cell))
        return;
    m_stack.push(new CellStep(*this, {{cell, before}}, true));
}

void SheetHistory::observationValidated(int row)
{
    const Cell text = GradeSheet::observationCell(row);
    const Cell name = GradeSheet::fieldCell(row, GradeSheet::PupilField::Name);
    // The name first: undoing puts the cursor on it.
    CellStates before{{name, takeBefore(name)}, {text, takeBefore(text)}};
    if (before[0].second != m_sheet.state(name) || before[1].second != m_sheet.state(text))
        m_stack.push(new CellStep(*this, std::move(before), false));
}

// The refused cell comes first: correcting it belongs to the block's step, and undo puts the
// cursor back on it.
void SheetHistory::cellsBrought(const QList<Cell>& cells)
{
    CellStates before;
    bool changed = false;
    for (const Cell cell : cells) {
        before.append({cell, takeBefore(cell)});
        changed = changed || before.last().second != m_sheet.state(cell);
    }
    if (changed)
        m_stack.push(new CellStep(*this, std::move(before), true));
}

void SheetHistory::show(const CellStates& states)
{
    m_stepping = true;
    for (const auto& [cell, state] : states) {
        m_entry.putBack(cell, state.text);
        m_sheet.setState(cell, state);
    }
    m_stepping = false;
    m_entry.placeCursor(states.first().first);
}

} // namespace sheet
