#include "core/disk/gradedisk.h"

#include "core/disk/osfile.h"
#include "core/gradefile/gradefileio.h"
#include "core/gradefile/rowsetreader.h"

#include <QDir>
#include <QFileInfo>

namespace gradefile {

namespace {

FileError volumeMissing(const QString& folder)
{
    return makeFileError(FileErrorKind::NoDisk,
                         QStringLiteral("Le disque n'est plus dans le dossier %1.")
                             .arg(QDir::toNativeSeparators(folder)));
}

// A write refused before its first step: nothing was written.
SafeWriteResult notWritten(const FileError& error)
{
    return SafeWriteResult{false, WriteStep::CheckFolder, error};
}

} // namespace

QString GradeDisk::pathOf(const QString& fileName) const
{
    return QDir(m_folder).filePath(fileName);
}

QString GradeDisk::fileNameOf(const QString& key)
{
    return key + QStringLiteral(".xml");
}

FolderListing GradeDisk::list() const
{
    FolderListing listing;
    const QFileInfo info(m_folder);
    if (!info.exists() || !info.isDir()) {
        listing.error = makeFileError(FileErrorKind::NoDisk,
                                      QStringLiteral("Le dossier du disque %1 est introuvable.")
                                          .arg(QDir::toNativeSeparators(m_folder)));
        return listing;
    }
    if (!info.isReadable()) {
        listing.error = makeFileError(FileErrorKind::AccessDenied,
                                      QStringLiteral("Le dossier du disque %1 est illisible.")
                                          .arg(QDir::toNativeSeparators(m_folder)));
        return listing;
    }
    if (!presentVolume(listing.error))
        return listing;
    removeLeftoverTemporaries();
    QDir dir(m_folder);
    dir.setNameFilters({QStringLiteral("*.xml")});
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    listing.fileNames = dir.entryList();
    return listing;
}

std::optional<DiskVolume> GradeDisk::presentVolume(FileError& error) const
{
    const std::optional<DiskVolume> now = volumeOf(m_folder);
    if (now && !(m_seenVolume && volumeHasGone(*m_seenVolume, *now))) {
        m_seenVolume = now;
        return now;
    }
    error = volumeMissing(m_folder);
    return std::nullopt;
}

DocumentRead GradeDisk::open(const QString& fileName) const
{
    DocumentRead missing;
    const std::optional<DiskVolume> volume = presentVolume(missing.error);
    if (!volume)
        return missing;
    const GradeFileRead file = readGradeFile(pathOf(fileName));
    if (!file.lines) {
        DocumentRead failed;
        failed.error = file.error;
        return failed;
    }
    DocumentRead read = readGradeDocument(fileName, *file.lines);
    if (read.document) {
        read.document->contentHash = file.contentHash;
        read.document->volume = *volume;
    }
    return read;
}

FileToReplace GradeDisk::fileToReplace(const OpenedFile& file) const
{
    if (volumeOf(m_folder) != file.volume)
        return {volumeMissing(m_folder), {}};
    const std::optional<QByteArray> bytes = bytesOf(file.fileName);
    if (!bytes)
        return {makeFileError(FileErrorKind::NoDisk,
                              QStringLiteral("Le fichier %1 n'est plus sur le disque.")
                                  .arg(QDir::toNativeSeparators(pathOf(file.fileName)))),
                {}};
    if (!file.contentHash.isEmpty() && contentHashOf(*bytes) != file.contentHash)
        return {makeFileError(FileErrorKind::ChangedOnDisk,
                              QStringLiteral("Le fichier %1 a changé sur le disque.")
                                  .arg(QDir::toNativeSeparators(pathOf(file.fileName)))),
                *bytes};
    return {{}, *bytes};
}

SafeWriteResult GradeDisk::save(const OpenedFile& file, const QStringList& lines,
                                const WriteFaultInjector* faults) const
{
    if (volumeOf(m_folder) != file.volume)
        return notWritten(volumeMissing(m_folder));
    removeLeftoverTemporaries();
    return writeGradeFile(pathOf(file.fileName), lines, faults);
}

SafeWriteResult GradeDisk::write(const QString& fileName, const QByteArray& bytes,
                                 const WriteFaultInjector* faults) const
{
    FileError missing;
    if (!presentVolume(missing))
        return notWritten(missing);
    removeLeftoverTemporaries();
    return replaceFileSafely(pathOf(fileName), bytes, faults);
}

std::optional<QByteArray> GradeDisk::bytesOf(const QString& fileName) const
{
    QByteArray bytes;
    if (os::readAtMost(pathOf(fileName), kMaxRowsetBytes + 1, bytes) != 0)
        return std::nullopt;
    return bytes;
}

void GradeDisk::removeLeftoverTemporaries() const
{
    const QDir dir(m_folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (isTemporaryFileName(name, QLatin1String(".xml")))
            os::removeFile(dir.filePath(name));
    }
}

} // namespace gradefile
