#include "core/disk/drivechoice.h"

#include "core/disk/drivelocation.h"
#include "core/disk/gradedisk.h"
#include "core/disk/mountedvolumes.h"

#include <QFileInfo>
#include <QSettings>

namespace app {

namespace {

const QString kDriveFolderKey = QStringLiteral("disk/folder");

} // namespace

DriveChoice chooseDriveFolder(const DriveCandidates& candidates)
{
    if (candidates.argument)
        return {*candidates.argument, DriveSource::Argument};
    const bool remembered = !candidates.remembered.isEmpty();
    if (remembered && candidates.rememberedExists)
        return {candidates.remembered, DriveSource::Remembered};
    if (!candidates.volumesWithGradeFiles.isEmpty())
        return {candidates.volumesWithGradeFiles.first(), DriveSource::RemovableVolume};
    if (remembered)
        return {candidates.remembered, DriveSource::Remembered};
    return {candidates.platformDefault, DriveSource::PlatformDefault};
}

bool holdsGradeFiles(const QString& folder)
{
    const gradefile::FolderListing listing = gradefile::GradeDisk(folder).list();
    return listing.fileNames && !listing.fileNames->isEmpty();
}

DriveEnvironment systemDriveEnvironment()
{
    return {rememberedDriveFolder(), mountedVolumes, defaultDriveFolder()};
}

DriveChoice chooseStartFolder(const std::optional<QString>& argument,
                              const DriveEnvironment& environment)
{
    DriveCandidates candidates;
    candidates.argument = argument;
    candidates.remembered = environment.remembered;
    candidates.platformDefault = environment.platformDefault;
    if (!argument && !environment.remembered.isEmpty())
        candidates.rememberedExists = QFileInfo(environment.remembered).isDir();
    const bool decided = argument || candidates.rememberedExists;
    if (!decided && environment.volumes) {
        for (const MountedVolume& volume : environment.volumes()) {
            // The first one decides: a floppy drive is slow to read.
            if (volume.removable && holdsGradeFiles(volume.rootPath)) {
                candidates.volumesWithGradeFiles << volume.rootPath;
                break;
            }
        }
    }
    return chooseDriveFolder(candidates);
}

QString rememberedDriveFolder()
{
    return QSettings().value(kDriveFolderKey).toString();
}

void rememberDriveFolder(const QString& folder)
{
    QSettings settings;
    settings.setValue(kDriveFolderKey, folder);
    settings.sync();
}

} // namespace app
