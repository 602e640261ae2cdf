#pragma once

#include <QColor>
#include <QString>

namespace observation {

// Pupil rows count from 1, as the grid's rows do.
class ObservationSheet {
public:
    virtual ~ObservationSheet() = default;

    virtual int pupilCount() const = 0;
    virtual QString pupilName(int row) const = 0;
    virtual QString orderNumber(int row) const = 0;
    virtual QString observationCell(int row) const = 0;

    virtual void setObservationCell(int row, const QString& text) = 0;
    virtual void setNameLook(int row, const QColor& colour, bool bold) = 0;
    // The grid's cursor follows the dialog.
    virtual void moveCursorTo(int row) = 0;
    // Quitting the sheet then asks to save, as after typed grades.
    virtual void markModified() = 0;
    // With the save command's own checks and messages.
    virtual void save() = 0;
};

} // namespace observation
