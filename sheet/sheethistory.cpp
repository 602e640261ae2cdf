#include "sheet/sheethistory.h"

#include "gradefile/sheetcolumns.h"
#include "sheet/spreadgrid.h"

namespace sheet {

using gradefile::kLevelColumn;
using gradefile::kNameColumn;
using gradefile::kSheetColumns;

namespace {

const QColor kRefusedRed(255, 0, 0);

int keyOf(Cell cell)
{
    return cell.row * kSheetColumns + cell.column;
}

// A step keeps the look its cell had before the change; the look after it is taken when
// the step is undone, so that the check's rewrite and colour, which come after the change,
// belong to it.
template <typename Look, typename Where> class LookStep : public QUndoCommand {
public:
    LookStep(SheetHistory& history, Where where, Look before)
        : m_history(history), m_where(where), m_before(std::move(before))
    {}

    void undo() override
    {
        m_after = m_history.lookOf(m_where);
        m_history.show(m_where, m_before);
    }
    // The first redo is the push: the change is already in the sheet.
    void redo() override
    {
        if (m_pushed)
            m_history.show(m_where, m_after);
        m_pushed = true;
    }

protected:
    SheetHistory& m_history;
    Where m_where;
    Look m_before;
    Look m_after;
    bool m_pushed = false;
};

using ObservationStep = LookStep<SheetHistory::ObservationLook, int>;

class GradeStep final : public LookStep<SheetHistory::GradeLook, Cell> {
public:
    using LookStep::LookStep;

    int id() const override { return 1; }
    // A change to a grade the check refused corrects the step that typed it: undo goes
    // back past the red cell, to what the cell held before.
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const GradeStep*>(other);
        return next->m_where == m_where && next->m_before.background == kRefusedRed;
    }
};

} // namespace

SheetHistory::SheetHistory(SpreadGrid& grid, GradeEntry& entry, QObject* parent)
    : QObject(parent), m_grid(grid), m_entry(entry)
{
    connect(&m_entry, &GradeEntry::cellChanged, this, &SheetHistory::cellChanged);
}

SheetHistory::~SheetHistory() = default;

void SheetHistory::restart()
{
    m_stack.clear();
    m_grades.clear();
    m_observations.clear();
    for (int row = 1; row <= m_grid.maxRows(); ++row) {
        for (int column = 1; column <= kFirstGradeColumn; ++column)
            m_grades.insert(keyOf({column, row}), lookOf({column, row}));
        m_observations.insert(row, lookOf(row));
    }
}

void SheetHistory::cellChanged(Cell cell, CellChange change)
{
    const auto known = m_grades.find(keyOf(cell));
    if (known == m_grades.end())
        return;
    const GradeLook before = *known;
    *known = lookOf(cell);
    // The check's rewrite is part of the change that made it, or of what the file held.
    if (change == CellChange::Checked || *known == before)
        return;
    m_stack.push(new GradeStep(*this, cell, before));
}

void SheetHistory::observationValidated(int row)
{
    const auto known = m_observations.find(row);
    if (known == m_observations.end())
        return;
    const ObservationLook before = *known;
    *known = lookOf(row);
    if (!(*known == before))
        m_stack.push(new ObservationStep(*this, row, before));
}

SheetHistory::GradeLook SheetHistory::lookOf(Cell cell) const
{
    return {m_grid.text(cell.column, cell.row), m_grid.cellBackColor(cell.column, cell.row)};
}

void SheetHistory::show(Cell cell, const GradeLook& look)
{
    m_grid.setCellBackColor(cell.column, cell.row, look.background);
    m_entry.putBack(cell, look.text);
    m_grades.insert(keyOf(cell), look);
    m_entry.placeCursor(cell);
}

SheetHistory::ObservationLook SheetHistory::lookOf(int row) const
{
    return {m_grid.text(kLevelColumn, row), m_grid.cellForeColor(kNameColumn, row),
            m_grid.cellFont(kNameColumn, row).bold()};
}

void SheetHistory::show(int row, const ObservationLook& look)
{
    m_grid.setCellForeColor(kNameColumn, row, look.nameColour);
    QFont font = m_grid.cellFont(kNameColumn, row);
    font.setBold(look.nameBold);
    m_grid.setCellFont(kNameColumn, row, font);
    m_entry.putBack({kLevelColumn, row}, look.text);
    m_observations.insert(row, look);
    m_entry.placeCursor({kNameColumn, row});
}

} // namespace sheet
