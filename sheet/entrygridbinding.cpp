#include "sheet/entrygridbinding.h"

#include "sheet/gridkeys.h"

#include <QApplication>
#include <QColor>

namespace sheet {

void EntryGridBinding::bind(GradeEntry& entry)
{
    m_entry = &entry;
    m_grid.setInputHandler(this);
}

EntryGridBinding::~EntryGridBinding()
{
    m_grid.setInputHandler(nullptr);
}

int EntryGridBinding::rowCount() const
{
    return m_grid.maxRows();
}

QString EntryGridBinding::text(Cell cell) const
{
    return m_grid.text(cell.column, cell.row);
}

void EntryGridBinding::setText(Cell cell, const QString& text)
{
    m_grid.setText(cell.column, cell.row, text);
}

void EntryGridBinding::setBackground(Cell cell, CellColour colour)
{
    switch (colour) {
    case CellColour::Unchanged:
        return;
    case CellColour::White:
        m_grid.setCellBackColor(cell.column, cell.row, QColor(255, 255, 255));
        return;
    case CellColour::Yellow:
        m_grid.setCellBackColor(cell.column, cell.row, QColor(255, 255, 0));
        return;
    case CellColour::Red:
        m_grid.setCellBackColor(cell.column, cell.row, QColor(255, 0, 0));
        return;
    }
}

Cell EntryGridBinding::activeCell() const
{
    return {m_grid.activeCol(), m_grid.activeRow()};
}

QString EntryGridBinding::activeText() const
{
    return m_grid.activeText();
}

void EntryGridBinding::setActiveCell(Cell cell)
{
    m_grid.setActiveCell(cell.column, cell.row);
}

void EntryGridBinding::setEnterDirection(EnterDirection direction)
{
    m_grid.setEnterAction(direction == EnterDirection::Down ? SpreadGrid::EnterAction::Down
                                                            : SpreadGrid::EnterAction::Next);
}

void EntryGridBinding::queueEnter()
{
    m_grid.queueEnter();
}

void EntryGridBinding::beep()
{
    QApplication::beep();
}

EntryKey EntryGridBinding::entryKeyOf(Qt::Key key)
{
    if (keys::isEnterKey(key))
        return EntryKey::Enter;
    switch (key) {
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

bool EntryGridBinding::keyDown(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(modifiers);
    return m_entry && m_entry->keyPressed(entryKeyOf(key));
}

bool EntryGridBinding::characterTyped(char32_t character)
{
    return !m_entry || m_entry->characterTyped(character);
}

bool EntryGridBinding::leavingCell(Cell from, Cell to)
{
    return !m_entry || m_entry->leavingCell(from, to);
}

} // namespace sheet
