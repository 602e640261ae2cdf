#include "gradefile/gradefileio.h"

#include "gradefile/osfile.h"
#include "gradefile/rowsetreader.h"
#include "gradefile/rowsetwriter.h"

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
    return GradeFileRead{std::nullopt, makeFileError(kind, description)};
}

GradeFileRead failedSystemRead(const QFileInfo& file, int error)
{
    // The folder was there a moment ago, so a missing file is just that, not a missing disk.
    if (error == ENOENT)
        return failedRead(
            FileErrorKind::Other,
            QStringLiteral("The grade file \"%1\" does not exist.").arg(shownPath(file)));
    return failedRead(
        os::errorKindOf(error),
        QStringLiteral("Reading \"%1\" failed: %2").arg(shownPath(file), os::errorText(error)));
}

GradeFileRead linesFromBytes(const QFileInfo& file, const QByteArray& bytes)
{
    if (bytes.size() > kMaxRowsetBytes)
        return failedRead(FileErrorKind::Malformed,
                          QStringLiteral("\"%1\" is not a grade file: it is larger than %2 bytes.")
                              .arg(shownPath(file))
                              .arg(kMaxRowsetBytes));
    LinesRead read = readRowsetLines(bytes);
    if (!read.lines)
        return failedRead(
            FileErrorKind::Malformed,
            QStringLiteral("\"%1\" is not a grade file: %2").arg(shownPath(file), read.error));
    return GradeFileRead{std::move(read.lines), FileError{}};
}

} // namespace

GradeFileRead readGradeFile(const QString& path)
{
    const QFileInfo file(path);
    if (const int error = os::checkFolder(file.absolutePath()))
        return failedRead(
            os::errorKindOf(error),
            QStringLiteral("The folder \"%1\" cannot be read: %2")
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
