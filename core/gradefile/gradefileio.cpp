#include "core/gradefile/gradefileio.h"

#include "core/disk/osfile.h"
#include "core/gradefile/rowsetreader.h"
#include "core/gradefile/rowsetwriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace gradefile {

namespace {

QString shownPath(const QFileInfo& file)
{
    return QDir::toNativeSeparators(file.absoluteFilePath());
}

GradeFileRead failedRead(FileErrorKind kind, const QString& description)
{
    return GradeFileRead{std::nullopt, makeFileError(kind, description), QByteArray()};
}

GradeFileRead failedSystemRead(const QFileInfo& file, int error)
{
    // The folder was there a moment ago, so a missing file is just that, not a missing disk.
    if (error == ENOENT)
        return failedRead(
            FileErrorKind::NoFile,
            QStringLiteral("Le fichier de notes « %1 » n'existe pas.").arg(shownPath(file)));
    return failedRead(os::errorKindOf(error), QStringLiteral("Lecture de « %1 » impossible : %2")
                                                  .arg(shownPath(file), os::errorText(error)));
}

GradeFileRead linesFromBytes(const QFileInfo& file, const QByteArray& bytes)
{
    if (bytes.size() > kMaxRowsetBytes)
        return failedRead(
            FileErrorKind::Malformed,
            QStringLiteral("« %1 » n'est pas un fichier de notes : il dépasse %2 octets.")
                .arg(shownPath(file))
                .arg(kMaxRowsetBytes));
    LinesRead read = readRowsetLines(bytes);
    if (!read.lines)
        return failedRead(FileErrorKind::Malformed,
                          QStringLiteral("« %1 » n'est pas un fichier de notes : %2")
                              .arg(shownPath(file), read.error));
    return GradeFileRead{std::move(read.lines), FileError{}, contentHashOf(bytes)};
}

} // namespace

QByteArray contentHashOf(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

GradeFileRead readGradeFile(const QString& path)
{
    const QFileInfo file(path);
    if (const int error = os::checkFolder(file.absolutePath()))
        return failedRead(
            os::errorKindOf(error),
            QStringLiteral("Le dossier « %1 » est illisible : %2")
                .arg(QDir::toNativeSeparators(file.absolutePath()), os::errorText(error)));
    // One byte past the limit tells a too large file without reading all of it.
    QByteArray bytes;
    if (const int error = os::readAtMost(file.absoluteFilePath(), kMaxRowsetBytes + 1, bytes))
        return failedSystemRead(file, error);
    return linesFromBytes(file, bytes);
}

SafeWriteResult writeGradeFile(const QString& path, const QStringList& lines,
                               const WriteFaultInjector* faults)
{
    if (std::optional<QString> reason = findUnwritableLine(lines))
        return SafeWriteResult{false, WriteStep::None,
                               makeFileError(FileErrorKind::Malformed, *reason)};
    return replaceFileSafely(path, rowsetBytes(lines), faults);
}

} // namespace gradefile
