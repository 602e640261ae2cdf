#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace app {

struct MountedVolume {
    QString rootPath;
    bool removable = false;
};

enum class DriveSource { Argument, Remembered, RemovableVolume, PlatformDefault };

struct DriveChoice {
    QString folder;
    DriveSource source = DriveSource::PlatformDefault;
};

struct DriveCandidates {
    std::optional<QString> argument; // the folder of "--drive"
    QString remembered;              // the folder chosen last time; empty when none
    bool rememberedExists = false;   // it is there now (its disk is in)
    // In the order the system lists them.
    QStringList volumesWithGradeFiles;
    QString platformDefault;
};

// A remembered folder that is not there gives way to a removable volume that holds grade
// files; with no such volume it is kept all the same, so that the scan asks for its disk.
DriveChoice chooseDriveFolder(const DriveCandidates& candidates);

struct DriveEnvironment {
    QString remembered;
    std::function<QList<MountedVolume>()> volumes;
    QString platformDefault;
};

DriveEnvironment systemDriveEnvironment();

// Volumes are looked at only when neither the argument nor an existing remembered folder decides.
DriveChoice chooseStartFolder(const std::optional<QString>& argument,
                              const DriveEnvironment& environment);

// A "*.xml" file counts.
bool holdsGradeFiles(const QString& folder);

// Empty when none was chosen.
QString rememberedDriveFolder();
void rememberDriveFolder(const QString& folder);

} // namespace app
