#pragma once

#include "core/disk/diskvolume.h"
#include "core/disk/safefilewrite.h"
#include "core/gradefile/fileerror.h"
#include "core/gradefile/gradedocument.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace gradefile {

struct FolderListing {
    std::optional<QStringList> fileNames;
    FileError error;
};

// A save writes back only onto the volume it was read from, over the content it was read from
// or last wrote.
struct OpenedFile {
    QString fileName; // as listed and opened
    DiskVolume volume;
    QByteArray contentHash; // contentHashOf its bytes as read or last written
};

struct FileToReplace {
    FileError error;  // NoDisk, ChangedOnDisk (bytes then hold the other content), or none
    QByteArray bytes; // the file as it is on the disk, when it could be read
};

// The one folder every grade file path is built from.
class GradeDisk {
public:
    explicit GradeDisk(QString folder) : m_folder(std::move(folder)) {}

    const QString& folder() const { return m_folder; }
    QString pathOf(const QString& fileName) const;
    static QString fileNameOf(const QString& key);

    // Any letter case, hidden and read-only files included. NoDisk when the volume the disk was
    // last seen on has gone from under its folder. Leftovers of interrupted saves go first.
    FolderListing list() const;
    // The whole file read and checked.
    DocumentRead open(const QString& fileName) const;
    // Read once for all a save does before replacing it (the check, the kept copy, the save
    // number).
    FileToReplace fileToReplace(const OpenedFile& file) const;
    // On failure the old file is left exactly as it was. Leftovers of interrupted saves go first.
    SafeWriteResult save(const OpenedFile& file, const QStringList& lines,
                         const WriteFaultInjector* faults = nullptr) const;
    // NoDisk, nothing written, when the disk's volume has gone from under its folder.
    SafeWriteResult write(const QString& fileName, const QByteArray& bytes,
                          const WriteFaultInjector* faults = nullptr) const;
    std::optional<QByteArray> bytesOf(const QString& fileName) const;
    void removeLeftoverTemporaries() const;

private:
    // A volume found in the folder's place is remembered as the disk's.
    std::optional<DiskVolume> presentVolume(FileError& error) const;

    QString m_folder;
    // Nothing may be read from or written to the empty folder a pulled stick leaves behind.
    mutable std::optional<DiskVolume> m_seenVolume;
};

} // namespace gradefile
