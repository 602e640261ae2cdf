#include "gradefile/filecheck.h"

#include "gradefile/gradedocument.h"
#include "gradefile/gradefileio.h"

#include <QDir>
#include <QFileInfo>

namespace gradefile {

FolderListing listGradeFileNames(const QString& folder)
{
    FolderListing listing;
    const QFileInfo info(folder);
    if (!info.exists() || !info.isDir()) {
        listing.error = makeFileError(FileErrorKind::NoDisk,
                                      QStringLiteral("Le dossier du disque %1 est introuvable.")
                                          .arg(QDir::toNativeSeparators(folder)));
        return listing;
    }
    if (!info.isReadable()) {
        listing.error = makeFileError(FileErrorKind::AccessDenied,
                                      QStringLiteral("Le dossier du disque %1 est illisible.")
                                          .arg(QDir::toNativeSeparators(folder)));
        return listing;
    }
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.xml")});
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    listing.fileNames = dir.entryList();
    return listing;
}

QString describeGradeFile(const QString& folder, const QString& fileName)
{
    const GradeFileRead read = readGradeFile(QDir(folder).filePath(fileName));
    if (!read.lines)
        return kInvalidGradeFileText;
    return listDescription(fileName, *read.lines);
}

} // namespace gradefile
