#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Which folder the program takes as the disk of grade files when it starts: the one the
// command line names, else the one the teacher chose last time, else a removable volume
// that holds grade files, else the platform's usual drive.
namespace app {

// A volume the system has mounted.
struct MountedVolume {
    QString rootPath;
    bool removable = false;
};

enum class DriveSource { Argument, Remembered, RemovableVolume, PlatformDefault };

struct DriveChoice {
    QString folder;
    DriveSource source = DriveSource::PlatformDefault;
};

// What the choice is made from.
struct DriveCandidates {
    std::optional<QString> argument; // the folder of "--drive"
    QString remembered;              // the folder chosen last time; empty when none
    bool rememberedExists = false;   // it is there now (its disk is in)
    // The removable volumes that hold grade files, in the order the system lists them.
    QStringList volumesWithGradeFiles;
    QString platformDefault;
};

// The rule. A remembered folder that is not there (another stick, or none yet) gives way
// to a removable volume that holds grade files; with no such volume it is kept all the
// same, so that the scan asks for its disk.
DriveChoice chooseDriveFolder(const DriveCandidates& candidates);

// Where the choice looks; tests give their own volumes.
struct DriveEnvironment {
    QString remembered;
    std::function<QList<MountedVolume>()> volumes;
    QString platformDefault;
};

// The environment of this machine: the folder remembered in the settings, the volumes
// mounted now, and the platform's usual drive.
DriveEnvironment systemDriveEnvironment();

// Reads the environment as far as the rule needs it (volumes are looked at only when
// neither the argument nor an existing remembered folder decides) and applies the rule.
DriveChoice chooseStartFolder(const std::optional<QString>& argument,
                              const DriveEnvironment& environment);

// Whether a folder holds at least one grade file (a "*.xml" file).
bool holdsGradeFiles(const QString& folder);

// The folder the teacher chose from the menu, kept in the program's settings for the next
// start; empty when none was chosen.
QString rememberedDriveFolder();
void rememberDriveFolder(const QString& folder);

} // namespace app
