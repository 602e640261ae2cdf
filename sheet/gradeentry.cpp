#include "sheet/gradeentry.h"

#include "gradefile/leadingnumber.h"

namespace sheet {

namespace {

GradeLook lookOf(CellColour colour)
{
    switch (colour) {
    case CellColour::Yellow:
        return GradeLook::Zero;
    case CellColour::Red:
        return GradeLook::Refused;
    case CellColour::White:
    case CellColour::Unchanged:
        break;
    }
    return GradeLook::Plain;
}

} // namespace

GradeEntry::GradeEntry(SheetKind kind, GradeSheet& sheet, EntryCursor& cursor, QObject* parent)
    : QObject(parent), m_kind(kind), m_sheet(sheet), m_cursor(cursor)
{}

bool GradeEntry::isModified() const
{
    return m_sheet.isModified();
}

void GradeEntry::setModified(bool modified)
{
    m_sheet.setModified(modified);
}

bool GradeEntry::keyDown(Qt::Key key, Qt::KeyboardModifiers)
{
    return keyPressed(entryKeyOf(key));
}

EntryKey GradeEntry::entryKeyOf(Qt::Key key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return EntryKey::Enter;
    case Qt::Key_F1:
        return EntryKey::AbsentMark;
    case Qt::Key_F2:
        return EntryKey::ExemptMark;
    case Qt::Key_F3:
        return EntryKey::NoGradeMark;
    case Qt::Key_F4:
    case Qt::Key_F5:
    case Qt::Key_F6:
    case Qt::Key_F7:
    case Qt::Key_F8:
        return EntryKey::SheetCommand;
    default:
        return EntryKey::Other;
    }
}

bool GradeEntry::keyPressed(EntryKey key)
{
    const bool mark =
        key == EntryKey::AbsentMark || key == EntryKey::ExemptMark || key == EntryKey::NoGradeMark;
    // Nothing is written in a sheet shown for reading, not even a check's rewrite: Enter
    // only moves.
    if (m_readOnly)
        return mark;
    return m_kind == SheetKind::Grade ? gradeSheetKey(key) : plainSheetKey(key);
}

bool GradeEntry::gradeSheetKey(EntryKey key)
{
    if (key == EntryKey::Other)
        return false;
    // While an Enter wrap is under way every one of these keys waits for it to end.
    if (m_wrapPending)
        return true;
    switch (key) {
    case EntryKey::Enter:
        return enterPressed();
    case EntryKey::AbsentMark:
        writeMark(m_cursor.activeCell().column, kAbsentMark);
        break;
    case EntryKey::ExemptMark:
        for (int column : exemptionColumns(m_gradeSpan))
            writeMark(column, kExemptMark);
        break;
    case EntryKey::NoGradeMark:
        writeMark(m_cursor.activeCell().column, kNoGradeMark);
        break;
    case EntryKey::SheetCommand:
    case EntryKey::Other:
        break;
    }
    return true;
}

bool GradeEntry::plainSheetKey(EntryKey key)
{
    QStringView mark;
    if (key == EntryKey::AbsentMark)
        mark = kAbsentMark;
    else if (key == EntryKey::ExemptMark)
        mark = kExemptMark;
    else if (key == EntryKey::NoGradeMark)
        mark = kNoGradeMark;
    else
        return false;
    const Cell cell = m_cursor.activeCell();
    writeCell(cell, mark.toString());
    emit cellChanged(cell, CellChange::Marked);
    m_cursor.queueEnter();
    return true;
}

void GradeEntry::writeMark(int column, QStringView mark)
{
    const Cell cell{column, m_cursor.activeCell().row};
    m_cursor.setActiveCell(cell);
    writeCell(cell, mark.toString());
    emit cellChanged(cell, CellChange::Marked);
    // A mark is an entry like a typed grade: the sheet now has something to save.
    noteEntry(true);
    m_cursor.queueEnter();
}

void GradeEntry::noteEntry(bool accepted)
{
    if (accepted)
        m_sheet.setModified(true);
    emit entryMade();
}

bool GradeEntry::characterTyped(char32_t character)
{
    const KeyDecision decision = filterKey(m_kind, int(character), m_cursor.activeText());
    if (m_kind == SheetKind::Grade)
        noteEntry(decision.accepted);
    else if (!decision.accepted && decision.beep)
        m_cursor.beep();
    return decision.accepted;
}

// Returns whether the grid must not move.
bool GradeEntry::enterPressed()
{
    const Cell active = m_cursor.activeCell();
    const EnterStep step =
        sheet::enterPressed({m_mode, active, m_sheet.pupilCount(), m_gradeSpan, m_wrapPending});
    m_cursor.setEnterDirection(step.direction);
    bool stay = false;
    switch (step.action) {
    case EnterAction::Ignore:
        stay = true;
        break;
    case EnterAction::Move:
        break;
    case EnterAction::PrepareWrap:
        m_cursor.setActiveCell(step.prePosition);
        break;
    case EnterAction::CheckInPlace:
        stay = true;
        // What is being typed is committed first: it is the teacher's change, the check's
        // rewrite comes after it.
        m_cursor.setActiveCell(active);
        applyCheck(active, checkCell(SheetKind::Grade, m_sheet.text(active)));
        break;
    }
    m_wrapPending = step.wrapFlag;
    return stay;
}

bool GradeEntry::leavingCell(Cell from, Cell to)
{
    if (m_readOnly)
        return true;
    return m_kind == SheetKind::Grade ? leavingGradeSheetCell(from, to)
                                      : leavingPlainSheetCell(from, to);
}

bool GradeEntry::leavingGradeSheetCell(Cell from, Cell to)
{
    bool cancelled = false;
    // Only grade cells are checked: the pupil information is never rewritten, and the
    // header cell a vertical wrap starts from holds an exam name, not a grade.
    if (from.row >= 1 && from.column >= 1 && from.column <= kFirstGradeColumn) {
        const CellCheck check = checkCell(SheetKind::Grade, m_sheet.text(from));
        applyCheck(from, check);
        cancelled = check.refused;
        if (check.tooLarge) {
            m_refused = from;
            return false;
        }
    }
    if (m_wrapPending) {
        const WrapCells cells = wrapCells(m_mode, from, m_sheet.pupilCount(), m_gradeSpan);
        const WrapCompletion done = completeWrap(m_mode, cells, m_sheet.text(cells.reallyLeft));
        applyCheck(cells.reallyLeft, done.check);
        m_cursor.setActiveCell(done.active);
        m_wrapPending = false;
        cancelled = cancelled || done.check.refused;
        m_cursor.setEnterDirection(done.direction);
    }
    afterLeaving(cancelled, m_cursor.activeCell(), to);
    return !cancelled;
}

bool GradeEntry::leavingPlainSheetCell(Cell from, Cell to)
{
    bool cancelled = false;
    if (from.row >= 1 && from.column == kPlainGradeColumn) {
        const CellCheck check = checkCell(SheetKind::Plain, m_sheet.text(from));
        applyCheck(from, check);
        cancelled = check.refused;
    }
    afterLeaving(cancelled, from, to);
    return !cancelled;
}

// A refusal keeps the cursor on keptOn; otherwise the click rule applies to the cell the
// cursor goes to.
void GradeEntry::afterLeaving(bool cancelled, Cell keptOn, Cell to)
{
    if (cancelled) {
        m_refused = keptOn;
        return;
    }
    m_refused.reset();
    clicked(to);
}

void GradeEntry::clicked(Cell cell)
{
    if (cell.row < 1 || m_refused == m_cursor.activeCell())
        return;
    if (const std::optional<Cell> target = clickTarget(m_kind, cell))
        m_cursor.setActiveCell(*target);
}

void GradeEntry::activated()
{
    if (m_kind != SheetKind::Grade)
        return;
    // The unsaved grades stay unsaved: only a successful save clears the modified flag.
    const Cell first{kFirstGradeColumn, 1};
    const Cell from = m_cursor.activeCell();
    // What was being typed is committed, then checked as on any move.
    m_cursor.setActiveCell(from);
    if (m_cursorPlaced && from != first && !leavingCell(from, first)) {
        m_cursor.setActiveCell(m_cursor.activeCell());
        return;
    }
    m_cursorPlaced = true;
    m_cursor.setActiveCell(first);
}

bool GradeEntry::isCellUnderCursorAboveTwenty() const
{
    const QString text = m_cursor.activeText();
    return m_cursor.activeCell().column <= kFirstGradeColumn && text != kNoGradeMark &&
           gradefile::leadingNumber(text).value_or(0) > kGradeMax;
}

bool GradeEntry::checkCellUnderCursor()
{
    const Cell active = m_cursor.activeCell();
    m_cursor.setActiveCell(active);
    if (active.row < 1 || active.column < 1 || active.column > kFirstGradeColumn ||
        m_sheet.text(active).isEmpty())
        return true;
    const CellCheck check = checkCell(SheetKind::Grade, m_sheet.text(active));
    applyCheck(active, check);
    return !check.refused;
}

void GradeEntry::applyCheck(Cell cell, const CellCheck& check)
{
    if (m_sheet.text(cell) != check.text)
        writeCell(cell, check.text);
    if (check.colour != CellColour::Unchanged)
        m_sheet.setLook(cell, lookOf(check.colour));
    emit cellChanged(cell, CellChange::Checked);
}

void GradeEntry::writeCell(Cell cell, const QString& text)
{
    m_sheet.setText(cell, text);
    record(cell);
}

void GradeEntry::record(Cell cell)
{
    if (m_journal)
        m_journal->cellCommitted(cell, m_sheet.text(cell));
}

void GradeEntry::cellEdited(Cell cell)
{
    record(cell);
    emit cellChanged(cell, CellChange::Typed);
}

void GradeEntry::putBack(Cell cell, const QString& text)
{
    writeCell(cell, text);
    noteEntry(true);
}

void GradeEntry::placeCursor(Cell cell)
{
    m_refused.reset();
    m_cursor.setActiveCell(cell);
}

void GradeEntry::restoreCells(const QList<std::pair<Cell, QString>>& cells)
{
    std::optional<Cell> refused;
    for (const auto& [cell, text] : cells) {
        m_sheet.setText(cell, text);
        if (cell.column < 1 || cell.column > kFirstGradeColumn || text.isEmpty())
            continue;
        // A grade is coloured as its check colours it; the text stays as it was kept.
        const CellCheck check = checkCell(m_kind, text);
        if (check.refused && !refused)
            refused = cell;
        if (check.refused || check.text == text)
            m_sheet.setLook(cell, lookOf(check.colour));
    }
    if (refused) {
        m_cursor.setActiveCell(*refused);
        m_refused = refused;
        // Coming back to the sheet checks the refused cell before the cursor may leave it.
        m_cursorPlaced = true;
    }
    if (!cells.isEmpty())
        noteEntry(true);
}

} // namespace sheet
