#pragma once

#include "gradefile/fileerror.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace gradefile {

// The grade file names of a disk folder: every "*.xml" (any letter case), hidden and
// read-only files included, in name order. nullopt with error when the folder cannot
// be listed (NoDisk when it does not exist).
struct FolderListing {
    std::optional<QStringList> fileNames;
    FileError error;
};

FolderListing listGradeFileNames(const QString& folder);

// What the file list shows for one file of the disk: its description, or the
// invalid-file text when it is not a valid grade file (unreadable, not a rowset, no
// start line naming it).
QString describeGradeFile(const QString& folder, const QString& fileName);

} // namespace gradefile
