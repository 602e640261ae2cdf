#pragma once

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
    // NoDisk when the folder does not exist. The temporary files an interrupted save left
    // behind are removed first.
    FolderListing list() const;
    // What the file list shows for one file: its description, or the invalid-file text
    // when it is not a valid grade file (unreadable, not a rowset, no start line naming it).
    QString describe(const QString& fileName) const;
    // The whole file read and checked into the document a sheet window shows.
    DocumentRead open(const QString& fileName) const;
    // Replaces the grade file fileName (the name it was listed and opened under) with
    // lines, safely: on failure the old file is left exactly as it was. The temporary
    // files an interrupted save left behind are removed first.
    SafeWriteResult save(const QString& fileName, const QStringList& lines,
                         const WriteFaultInjector* faults = nullptr) const;
    // Replaces (or creates) the grade file fileName with bytes, safely.
    SafeWriteResult write(const QString& fileName, const QByteArray& bytes,
                          const WriteFaultInjector* faults = nullptr) const;
    // The file's bytes as they are on the disk; nullopt when it cannot be read.
    std::optional<QByteArray> bytesOf(const QString& fileName) const;
    // Removes what saves interrupted between their temporary file and its rename left.
    void removeLeftoverTemporaries() const;

private:
    QString m_folder;
};

} // namespace gradefile
