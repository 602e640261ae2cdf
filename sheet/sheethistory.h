#pragma once

#include "sheet/gradeentry.h"

#include <QColor>
#include <QHash>
#include <QObject>
#include <QUndoStack>

namespace sheet {

class SpreadGrid;

// The undo history of a grade sheet. Every change the teacher makes to a cell is one
// step: a grade committed (with the rewrite and colour its check gives it), a mark, each
// cell of an exempted row, an observation validated. Correcting a refused grade belongs to
// the step that typed it. Undo and redo put the cell back through grade entry, so that
// the sheet is unsaved and the journal holds the cell as it is now, and put the cursor on
// it. Nothing here undoes a save: the kept copies of the file do that.
class SheetHistory : public QObject {
    Q_OBJECT

public:
    SheetHistory(SpreadGrid& grid, GradeEntry& entry, QObject* parent = nullptr);
    ~SheetHistory() override;

    // Forgets every step: undo stops at the sheet as it is now.
    void restart();
    QUndoStack& stack() { return m_stack; }

    // An observation was validated on a pupil's row: its text and the name's look are
    // written.
    void observationValidated(int row);

    struct GradeLook {
        QString text;
        QColor background;
        friend bool operator==(const GradeLook& a, const GradeLook& b)
        {
            return a.text == b.text && a.background == b.background;
        }
    };
    struct ObservationLook {
        QString text;
        QColor nameColour;
        bool nameBold = false;
        friend bool operator==(const ObservationLook& a, const ObservationLook& b)
        {
            return a.text == b.text && a.nameColour == b.nameColour && a.nameBold == b.nameBold;
        }
    };

    // A grade cell, or the observation of a pupil's row, as the sheet shows it now.
    GradeLook lookOf(Cell cell) const;
    ObservationLook lookOf(int row) const;
    // Puts a look back into the sheet, with the cursor on it.
    void show(Cell cell, const GradeLook& look);
    void show(int row, const ObservationLook& look);

private:
    void cellChanged(Cell cell, CellChange change);

    SpreadGrid& m_grid;
    GradeEntry& m_entry;
    QUndoStack m_stack;
    // Each grade cell and each observation as the last change left it: the look a new
    // step goes back to. The grid's own text is already the new one when a change is told.
    QHash<int, GradeLook> m_grades;
    QHash<int, ObservationLook> m_observations;
};

} // namespace sheet
