#include "recovery/keptcopies.h"

#include "gradefile/gradedocument.h"
#include "gradefile/linegrammar.h"
#include "gradefile/osfile.h"
#include "gradefile/rowsetreader.h"
#include "gradefile/safefilewrite.h"
#include "gradefile/sheetcolumns.h"
#include "recovery/datafolder.h"

#include <QDir>
#include <QRegularExpression>

namespace recovery {

using gradefile::FileError;
using gradefile::FileErrorKind;

namespace {

// 20250314T183005123Z_save5.xml: kept at 18:30:05.123 UTC, save number 5 in it.
const QString kTimeFormat = QStringLiteral("yyyyMMdd'T'HHmmsszzz'Z'");

const QRegularExpression& copyNamePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{8}T\\d{9}Z)_save(-?\\d{1,6})\\.xml$"));
    return pattern;
}

std::optional<KeptCopy> copyOf(const QDir& folder, const QString& name)
{
    const QRegularExpressionMatch match = copyNamePattern().match(name);
    if (!match.hasMatch())
        return std::nullopt;
    QDateTime time = QDateTime::fromString(match.captured(1), kTimeFormat);
    if (!time.isValid())
        return std::nullopt;
    time.setTimeSpec(Qt::UTC);
    return KeptCopy{folder.filePath(name), time, match.captured(2).toInt()};
}

FileError copyError(FileErrorKind kind, const QString& path, const QString& description)
{
    FileError error = gradefile::makeFileError(kind, description);
    error.path = path;
    return error;
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString freeCopyPath(const QDir& folder, QDateTime time, int saveNumber)
{
    for (;;) {
        const QString path = folder.filePath(
            QStringLiteral("%1_save%2.xml").arg(time.toString(kTimeFormat)).arg(saveNumber));
        if (!QFileInfo::exists(path))
            return path;
        time = time.addMSecs(1);
    }
}

QByteArray bytesOf(const QString& path)
{
    QByteArray bytes;
    gradefile::os::readAtMost(path, gradefile::kMaxRowsetBytes + 1, bytes);
    return bytes;
}

} // namespace

int savedNumberOf(const QStringList& lines)
{
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (!gradefile::isEndLine(*line))
            continue;
        const QStringList fields = line->split(gradefile::kFieldSeparator);
        return fields.size() >= 3 ? fields.at(fields.size() - 2).toInt() : 0;
    }
    return 0;
}

std::optional<int> pupilsWithGradesOf(const QString& fileName, const QStringList& lines)
{
    const gradefile::DocumentRead read = gradefile::readGradeDocument(fileName, lines);
    if (!read.document || read.document->type != gradefile::SheetType::Subject)
        return std::nullopt;
    int pupils = 0;
    for (const gradefile::RowCells& row : read.document->rows) {
        for (int column = 1; column <= gradefile::kFirstGradeColumn; ++column) {
            const QString text = row.value(column);
            if (!text.isEmpty() && text != QLatin1String("--.--")) {
                ++pupils;
                break;
            }
        }
    }
    return pupils;
}

FileError KeptCopies::keep(const QString& key, const QByteArray& bytes, const QDateTime& now) const
{
    const QDir folder(keptCopiesFolder(m_dataFolder, key));
    if (!makePrivateFolder(keptCopiesRoot(m_dataFolder)) || !makePrivateFolder(folder.path()))
        return copyError(
            FileErrorKind::PathAccess, folder.path(),
            QStringLiteral("Création du dossier « %1 » impossible.").arg(shown(folder.path())));
    const std::vector<KeptCopy> copies = list(key);
    // A save tried again and again keeps one copy, not twenty of the same file.
    if (!copies.empty() && bytesOf(copies.front().path) == bytes)
        return FileError{};
    const gradefile::LinesRead lines = gradefile::readRowsetLines(bytes);
    const int saveNumber = lines.lines ? savedNumberOf(*lines.lines) : 0;
    const gradefile::SafeWriteResult written =
        gradefile::replaceFileSafely(freeCopyPath(folder, now.toUTC(), saveNumber), bytes);
    if (!written.ok)
        return written.error;
    const std::vector<KeptCopy> kept = list(key);
    for (size_t i = kKeptCopiesPerFile; i < kept.size(); ++i)
        gradefile::os::removeFile(kept[i].path);
    return FileError{};
}

std::vector<KeptCopy> KeptCopies::list(const QString& key) const
{
    const QDir folder(keptCopiesFolder(m_dataFolder, key));
    std::vector<KeptCopy> copies;
    // Names begin with the time: reverse name order is newest first.
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::Reversed);
    for (const QString& name : names) {
        if (std::optional<KeptCopy> copy = copyOf(folder, name))
            copies.push_back(std::move(*copy));
    }
    return copies;
}

QStringList KeptCopies::keys() const
{
    QStringList keys;
    const QDir root(keptCopiesRoot(m_dataFolder));
    for (const QString& key : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!list(key).empty())
            keys << key;
    }
    return keys;
}

KeptCopyRead KeptCopies::read(const KeptCopy& copy, const QString& key) const
{
    QByteArray bytes;
    if (const int error =
            gradefile::os::readAtMost(copy.path, gradefile::kMaxRowsetBytes + 1, bytes))
        return {std::nullopt,
                copyError(gradefile::os::errorKindOf(error), copy.path,
                          QStringLiteral("Lecture de la copie « %1 » impossible : %2")
                              .arg(shown(copy.path), gradefile::os::errorText(error)))};
    const gradefile::LinesRead lines = gradefile::readRowsetLines(bytes);
    if (!lines.lines)
        return {std::nullopt, copyError(FileErrorKind::Malformed, copy.path,
                                        QStringLiteral("La copie « %1 » est endommagée : %2")
                                            .arg(shown(copy.path), lines.error))};
    const std::optional<QString> named =
        lines.lines->isEmpty() ? std::nullopt : gradefile::startLineKey(lines.lines->first());
    if (named && *named != key)
        return {std::nullopt,
                copyError(FileErrorKind::OtherFile, copy.path,
                          QStringLiteral("La copie « %1 » est celle du fichier « %2 ».")
                              .arg(shown(copy.path), *named))};
    const gradefile::DocumentRead document =
        gradefile::readGradeDocument(key + QStringLiteral(".xml"), *lines.lines);
    if (!document.document)
        return {std::nullopt, copyError(FileErrorKind::Malformed, copy.path,
                                        QStringLiteral("La copie « %1 » est endommagée : %2")
                                            .arg(shown(copy.path),
                                                 document.error.description.isEmpty()
                                                     ? QStringLiteral("ligne de début illisible")
                                                     : document.error.description))};
    return {bytes, FileError{}};
}

KeptCopySummary KeptCopies::summarize(const KeptCopy& copy, const QString& key) const
{
    KeptCopySummary summary{copy, 0, FileError{}};
    const KeptCopyRead read = this->read(copy, key);
    if (!read.bytes) {
        summary.error = read.error;
        return summary;
    }
    const gradefile::LinesRead lines = gradefile::readRowsetLines(*read.bytes);
    summary.pupilsWithGrades =
        pupilsWithGradesOf(key + QStringLiteral(".xml"), *lines.lines).value_or(0);
    return summary;
}

} // namespace recovery
