#pragma once

#include "core/disk/drivechoice.h"

#include <QList>

namespace app {

// The volumes the system has mounted and ready now, each with whether it sits on a
// removable medium (a floppy, a USB stick, a memory card).
QList<MountedVolume> mountedVolumes();

} // namespace app
