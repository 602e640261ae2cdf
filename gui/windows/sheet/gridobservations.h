#pragma once

#include "gui/windows/observation/observationsheet.h"

#include "core/sheet/gradesheet.h"

#include <functional>

namespace sheet {

class GradeGrid;

// The observation dialog's view of a grade sheet: the pupils' names, order numbers and
// observations, the name's look, the grid's cursor, and the sheet's modified flag and save
// command.
class GridObservations final : public observation::ObservationSheet {
public:
    GridObservations(GradeSheet& sheet, GradeGrid& grid, std::function<void()> markModified,
                     std::function<void()> save);

    int pupilCount() const override;
    QString pupilName(int row) const override;
    QString orderNumber(int row) const override;
    QString observationCell(int row) const override;
    void setObservationCell(int row, const QString& text) override;
    void setNameLook(int row, const QColor& colour, bool bold) override;
    void moveCursorTo(int row) override;
    void markModified() override { m_markModified(); }
    void save() override { m_save(); }

private:
    GradeSheet& m_sheet;
    GradeGrid& m_grid;
    std::function<void()> m_markModified;
    std::function<void()> m_save;
    // The name's look the dialog gives first, written with the observation as one change.
    NameLook m_nameLook;
};

// A pupil's observation and the name showing its level, as the sheet takes them back.
QList<std::pair<Cell, CellState>> observationStates(const GradeSheet& sheet, int row,
                                                    const QString& text);

} // namespace sheet
