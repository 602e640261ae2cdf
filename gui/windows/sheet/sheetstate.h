#pragma once

#include "core/recovery/datafolder.h"

#include <QtGlobal>

namespace sheet {

// What the grade sheet windows share for the whole run.
struct SheetState {
    // The pupil row shown in the observation dialog.
    qint16 currentPupilRow = 0;
    // Where the journals of unsaved changes and the kept copies of saved files go.
    recovery::DataFolder dataFolder;
};

} // namespace sheet
