#pragma once

#include "sheet/gradeentry.h"
#include "sheet/spreadgrid.h"

namespace sheet {

// Connects a grid to grade entry both ways: the grid asks grade entry about the keys,
// characters and moves of the teacher, and grade entry reads and writes the grid's cells.
class EntryGridBinding final : public EntryGrid, public GridInputHandler {
public:
    explicit EntryGridBinding(SpreadGrid& grid) : m_grid(grid) {}
    // Starts asking entry; the grid stops asking anything when the binding goes.
    void bind(GradeEntry& entry);
    ~EntryGridBinding() override;

    int rowCount() const override;
    QString text(Cell cell) const override;
    void setText(Cell cell, const QString& text) override;
    void setBackground(Cell cell, CellColour colour) override;
    Cell activeCell() const override;
    QString activeText() const override;
    void setActiveCell(Cell cell) override;
    void setEnterDirection(EnterDirection direction) override;
    void queueEnter() override;
    void beep() override;

    bool keyDown(Qt::Key key, Qt::KeyboardModifiers modifiers) override;
    bool characterTyped(char32_t character) override;
    bool leavingCell(Cell from, Cell to) override;

    // What a key means to grade entry: Enter, the marks F1 to F3 (with any modifier), the
    // sheet's commands F4 to F8, or nothing.
    static EntryKey entryKeyOf(Qt::Key key);

private:
    SpreadGrid& m_grid;
    GradeEntry* m_entry = nullptr;
};

} // namespace sheet
