#pragma once

#include <QString>

namespace sheet {

// The answers and positions the grade sheet windows share for the whole run.
struct SheetState {
    // The answer of the last question: "OK" when its Yes button was pressed, "Cancel"
    // otherwise.
    QString dialogResult = QStringLiteral("Cancel");
    // The pupil row shown in the observation dialog.
    qint16 currentPupilRow = 0;
};

} // namespace sheet
