#include "gradefile/gradedisk.h"

#include "gradefile/gradefileio.h"
#include "gradefile/osfile.h"
#include "gradefile/rowsetreader.h"

#include <QDir>
#include <QFileInfo>

namespace gradefile {

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
    removeLeftoverTemporaries();
    QDir dir(m_folder);
    dir.setNameFilters({QStringLiteral("*.xml")});
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    listing.fileNames = dir.entryList();
    return listing;
}

QString GradeDisk::describe(const QString& fileName) const
{
    const GradeFileRead read = readGradeFile(pathOf(fileName));
    if (!read.lines)
        return kInvalidGradeFileText;
    return listDescription(fileName, *read.lines);
}

DocumentRead GradeDisk::open(const QString& fileName) const
{
    const GradeFileRead file = readGradeFile(pathOf(fileName));
    if (!file.lines) {
        DocumentRead failed;
        failed.error = file.error;
        return failed;
    }
    DocumentRead read = readGradeDocument(fileName, *file.lines);
    if (read.document)
        read.document->contentHash = file.contentHash;
    return read;
}

SafeWriteResult GradeDisk::save(const QString& fileName, const QStringList& lines,
                                const WriteFaultInjector* faults) const
{
    removeLeftoverTemporaries();
    return writeGradeFile(pathOf(fileName), lines, faults);
}

SafeWriteResult GradeDisk::write(const QString& fileName, const QByteArray& bytes,
                                 const WriteFaultInjector* faults) const
{
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
