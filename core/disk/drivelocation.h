#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace app {

// What the command line says about the folder of the disk the grade files are on.
struct DriveArgument {
    bool valid = true;             // false when "--drive" has no folder after it
    std::optional<QString> folder; // the folder of "--drive DIR" or "--drive=DIR"
};

DriveArgument driveArgumentOf(const QStringList& arguments);

// Where the disk is when nothing else tells: drive A: on Windows, the conventional mount
// point of a removable disk elsewhere.
QString defaultDriveFolder();

} // namespace app
