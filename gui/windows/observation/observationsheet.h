#pragma once

#include <QColor>
#include <QString>

namespace observation {

// What the observation dialog needs of the grade sheet whose pupils it goes through.
// Pupil rows count from 1 to pupilCount(), as the grid's rows do.
class ObservationSheet {
public:
    virtual ~ObservationSheet() = default;

    virtual int pupilCount() const = 0;
    // The texts of the pupil's name, order number and (hidden) observation columns.
    virtual QString pupilName(int row) const = 0;
    virtual QString orderNumber(int row) const = 0;
    virtual QString observationCell(int row) const = 0;

    // Writes the observation column of a pupil; the sheet keeps it as an unsaved change.
    virtual void setObservationCell(int row, const QString& text) = 0;
    // Shows the pupil's name in the colour of the observation's level, bold or not.
    virtual void setNameLook(int row, const QColor& colour, bool bold) = 0;
    // Puts the grid's cursor on the pupil's row, so that it follows the dialog.
    virtual void moveCursorTo(int row) = 0;
    // An observation was validated: the save command becomes available, and quitting the
    // sheet asks to save, as it does after typed grades.
    virtual void markModified() = 0;
    // The sheet's save command, with its own checks and messages.
    virtual void save() = 0;
};

} // namespace observation
