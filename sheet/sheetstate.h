#pragma once

#include <QtGlobal>

namespace sheet {

// What the grade sheet windows share for the whole run.
struct SheetState {
    // The pupil row shown in the observation dialog.
    qint16 currentPupilRow = 0;
};

} // namespace sheet
