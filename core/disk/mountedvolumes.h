#pragma once

#include "core/disk/drivechoice.h"

#include <QList>

namespace app {

// Mounted and ready now.
QList<MountedVolume> mountedVolumes();

} // namespace app
