#include "gradefile/gradedisk.h"

#include "gradefile/gradefileio.h"

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
    return readGradeDocument(fileName, *file.lines);
}

SafeWriteResult GradeDisk::save(const QString& key, const QStringList& lines,
                                const WriteFaultInjector* faults) const
{
    return writeGradeFile(pathOf(fileNameOf(key)), lines, faults);
}

} // namespace gradefile
