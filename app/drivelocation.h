#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace app {

// The folder of the disk the grade files are on: the value of "--drive DIR" when the
// program is started with it, else the drive A: on Windows and the conventional mount
// point of a removable disk elsewhere. nullopt when --drive has no folder after it.
std::optional<QString> driveFolderFromArguments(const QStringList& arguments);

QString defaultDriveFolder();

} // namespace app
