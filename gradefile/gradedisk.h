#pragma once

#include "gradefile/diskvolume.h"
#include "gradefile/fileerror.h"
#include "gradefile/gradedocument.h"
#include "gradefile/safefilewrite.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace gradefile {

// The grade file names of a disk folder, or why the folder cannot be listed.
struct FolderListing {
    std::optional<QStringList> fileNames;
    FileError error;
};

// A grade file as a sheet opened it: a save writes it back only onto the volume it was read
// from, and only over the content it was read from or last wrote.
struct OpenedFile {
    QString fileName; // as listed and opened
    DiskVolume volume;
    QByteArray contentHash; // contentHashOf its bytes as read or last written
};

// The file a sheet opened, as a save finds it on the disk before replacing it.
struct FileToReplace {
    FileError error;  // NoDisk, ChangedOnDisk (bytes then hold the other content), or none
    QByteArray bytes; // the file as it is on the disk, when it could be read
};

// The disk the administration handed the teacher: the one folder every grade file path is
// built from, and what the program does with the files on it.
class GradeDisk {
public:
    explicit GradeDisk(QString folder) : m_folder(std::move(folder)) {}

    const QString& folder() const { return m_folder; }
    QString pathOf(const QString& fileName) const;
    // The file a sheet with this key is written to.
    static QString fileNameOf(const QString& key);

    // Every "*.xml" (any letter case), hidden and read-only files included, in name order.
    // NoDisk when the folder does not exist, or when the volume the disk was last seen on
    // has gone from under its folder. The temporary files an interrupted save left behind
    // are removed first.
    FolderListing list() const;
    // What the file list shows for one file: its description, or the invalid-file text
    // when it is not a valid grade file (unreadable, not a rowset, no start line naming it).
    QString describe(const QString& fileName) const;
    // The whole file read and checked into the document a sheet window shows, with the
    // volume it was read from.
    DocumentRead open(const QString& fileName) const;
    // The file a sheet opened, read once for all a save does before replacing it (the
    // check, the kept copy, the save number): NoDisk when its volume is not in the folder
    // (or the file is not on it), ChangedOnDisk when the file holds another content than
    // the one the sheet was read from or last wrote.
    FileToReplace fileToReplace(const OpenedFile& file) const;
    // Replaces the grade file a sheet opened with lines, safely: on failure the old file is
    // left exactly as it was. NoDisk, with nothing written, when the file's volume is not
    // in the folder. The temporary files an interrupted save left behind are removed first.
    SafeWriteResult save(const OpenedFile& file, const QStringList& lines,
                         const WriteFaultInjector* faults = nullptr) const;
    // Replaces (or creates) the grade file fileName with bytes, safely; NoDisk, with
    // nothing written, when the disk's volume has gone from under its folder.
    SafeWriteResult write(const QString& fileName, const QByteArray& bytes,
                          const WriteFaultInjector* faults = nullptr) const;
    // The file's bytes as they are on the disk; nullopt when it cannot be read.
    std::optional<QByteArray> bytesOf(const QString& fileName) const;
    // Removes what saves interrupted between their temporary file and its rename left.
    void removeLeftoverTemporaries() const;

private:
    // The folder's volume, or NoDisk when the volume it was last seen on has gone from
    // under it; a volume found in its place is remembered as the disk's.
    std::optional<DiskVolume> presentVolume(FileError& error) const;

    QString m_folder;
    // The volume the disk folder was last found on: a stick pulled out leaves its folder
    // behind, and nothing may be read from or written to that empty stand-in.
    mutable std::optional<DiskVolume> m_seenVolume;
};

} // namespace gradefile
