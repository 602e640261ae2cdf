#include "core/recovery/keptcopies.h"

#include "core/disk/osfile.h"
#include "core/disk/safefilewrite.h"
#include "core/gradefile/gradedocument.h"
#include "core/gradefile/linegrammar.h"
#include "core/gradefile/rowsetreader.h"
#include "core/gradefile/rowsetwriter.h"
#include "core/gradefile/sheetcolumns.h"
#include "core/recovery/datafolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace recovery {

using gradefile::FileError;
using gradefile::FileErrorKind;

namespace {

// 20250314T183005123Z_save5.xml: kept at 18:30:05.123 UTC, save number 5 in it.
const QString kTimeFormat = QStringLiteral("yyyyMMdd'T'HHmmsszzz'Z'");
// In each disk's folder of copies: the folder of that disk, for the list to show.
const QString kDiskFolderFile = QStringLiteral("disk");

const QRegularExpression& copyNamePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{8}T\\d{9}Z)_save(-?\\d{1,6})\\.xml$"));
    return pattern;
}

std::optional<KeptCopy> copyOf(const QDir& folder, const QString& name, const QString& diskFolder)
{
    const QRegularExpressionMatch match = copyNamePattern().match(name);
    if (!match.hasMatch())
        return std::nullopt;
    QDateTime time = QDateTime::fromString(match.captured(1), kTimeFormat);
    if (!time.isValid())
        return std::nullopt;
    time.setTimeSpec(Qt::UTC);
    return KeptCopy{folder.filePath(name), time, match.captured(2).toInt(), diskFolder};
}

// The copies in one folder, newest first: names begin with the time.
std::vector<KeptCopy> copiesIn(const QDir& folder, const QString& diskFolder)
{
    std::vector<KeptCopy> copies;
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::Reversed);
    for (const QString& name : names) {
        if (std::optional<KeptCopy> copy = copyOf(folder, name, diskFolder))
            copies.push_back(std::move(*copy));
    }
    return copies;
}

QString diskFolderOf(const QDir& diskCopies)
{
    QFile file(diskCopies.filePath(kDiskFolderFile));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Best effort: without it the copies are listed all the same, their disk unknown.
void recordDiskFolder(const QDir& diskCopies, const QString& diskFolder)
{
    QFile file(diskCopies.filePath(kDiskFolderFile));
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.write(diskFolder.toUtf8());
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

int savedNumberInBytes(const QByteArray& bytes)
{
    const gradefile::LinesRead lines = gradefile::readRowsetLines(bytes);
    return lines.lines ? savedNumberOf(*lines.lines) : 0;
}

int differingCells(const gradefile::RowCells& kept, const gradefile::RowCells& now)
{
    int cells = kept.value(gradefile::kLevelColumn) != now.value(gradefile::kLevelColumn);
    for (int column = 1; column <= gradefile::kFirstGradeColumn; ++column)
        cells += kept.value(column) != now.value(column);
    return cells;
}

std::optional<gradefile::GradeDocument> subjectDocument(const QString& key,
                                                        const QStringList& lines)
{
    gradefile::DocumentRead read =
        gradefile::readGradeDocument(key + QStringLiteral(".xml"), lines);
    if (!read.document || read.document->kind != gradefile::SheetKind::Subject)
        return std::nullopt;
    return std::move(read.document);
}

} // namespace

namespace {

// The fields of the last end line, where the save number stands before the print number;
// nullopt without an end line that holds them.
struct LastEndLine {
    qsizetype line = -1;
    QStringList fields;
};

std::optional<LastEndLine> lastEndLine(const QStringList& lines)
{
    for (qsizetype line = lines.size() - 1; line >= 0; --line) {
        if (!gradefile::isEndLine(lines.at(line)))
            continue;
        QStringList fields = lines.at(line).split(gradefile::kFieldSeparator);
        if (fields.size() < 3)
            return std::nullopt;
        return LastEndLine{line, std::move(fields)};
    }
    return std::nullopt;
}

qsizetype saveNumberField(const QStringList& fields)
{
    return fields.size() - 2;
}

} // namespace

int savedNumberOf(const QStringList& lines)
{
    const std::optional<LastEndLine> end = lastEndLine(lines);
    return end ? end->fields.at(saveNumberField(end->fields)).toInt() : 0;
}

QStringList withSaveNumber(QStringList lines, int saveNumber)
{
    if (std::optional<LastEndLine> end = lastEndLine(lines)) {
        end->fields[saveNumberField(end->fields)] = QString::number(saveNumber);
        lines[end->line] = end->fields.join(gradefile::kFieldSeparator);
    }
    return lines;
}

std::optional<CopyDifference> differenceOf(const QString& key, const QStringList& copy,
                                           const QStringList& current)
{
    const std::optional<gradefile::GradeDocument> kept = subjectDocument(key, copy);
    const std::optional<gradefile::GradeDocument> now = subjectDocument(key, current);
    if (!kept || !now)
        return std::nullopt;
    CopyDifference difference;
    const size_t rows = std::max(kept->rows.size(), now->rows.size());
    for (size_t row = 0; row < rows; ++row) {
        const gradefile::RowCells keptRow =
            row < kept->rows.size() ? kept->rows[row] : gradefile::RowCells();
        const gradefile::RowCells nowRow =
            row < now->rows.size() ? now->rows[row] : gradefile::RowCells();
        const int cells = differingCells(keptRow, nowRow);
        difference.cells += cells;
        if (cells > 0 && difference.firstPupils.size() < kFirstPupilsShown)
            difference.firstPupils
                << (row < kept->rows.size() ? keptRow : nowRow).value(gradefile::kNameColumn);
    }
    return difference;
}

FileError KeptCopies::keep(const QString& key, const QString& diskFolder, const QByteArray& bytes,
                           const QDateTime& now) const
{
    const QString disk = canonicalDiskFolder(diskFolder);
    const QDir folder(QDir(keptCopiesFolder(m_dataFolder, key)).filePath(folderTag(disk)));
    if (!makePrivateFolder(m_dataFolder, folder.path()))
        return copyError(
            FileErrorKind::PathAccess, folder.path(),
            QStringLiteral("Création du dossier « %1 » impossible.").arg(shown(folder.path())));
    recordDiskFolder(folder, disk);
    const std::vector<KeptCopy> copies = copiesIn(folder, disk);
    // A save tried again and again keeps one copy, not twenty of the same file.
    if (!copies.empty() && bytesOf(copies.front().path) == bytes)
        return FileError{};
    const gradefile::SafeWriteResult written = gradefile::replaceFileSafely(
        freeCopyPath(folder, now.toUTC(), savedNumberInBytes(bytes)), bytes);
    if (!written.ok)
        return written.error;
    const std::vector<KeptCopy> kept = copiesIn(folder, disk);
    for (size_t i = kKeptCopiesPerFile; i < kept.size(); ++i)
        gradefile::os::removeFile(kept[i].path);
    return FileError{};
}

std::vector<KeptCopy> KeptCopies::list(const QString& key) const
{
    const QDir folder(keptCopiesFolder(m_dataFolder, key));
    std::vector<KeptCopy> copies = copiesIn(folder, QString());
    for (const QString& tag : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir disk(folder.filePath(tag));
        const std::vector<KeptCopy> ofDisk = copiesIn(disk, diskFolderOf(disk));
        copies.insert(copies.end(), ofDisk.cbegin(), ofDisk.cend());
    }
    std::sort(copies.begin(), copies.end(), [](const KeptCopy& a, const KeptCopy& b) {
        return a.time != b.time ? a.time > b.time : a.path > b.path;
    });
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

KeptCopySummary KeptCopies::summarize(const KeptCopy& copy, const QString& key,
                                      const std::optional<QStringList>& current) const
{
    KeptCopySummary summary{copy, std::nullopt, FileError{}};
    const KeptCopyRead read = this->read(copy, key);
    if (!read.bytes) {
        summary.error = read.error;
        return summary;
    }
    if (current)
        summary.difference =
            differenceOf(key, *gradefile::readRowsetLines(*read.bytes).lines, *current);
    return summary;
}

KeptCopyRead KeptCopies::restored(const KeptCopy& copy, const QString& key,
                                  const std::optional<QByteArray>& replaced) const
{
    KeptCopyRead read = this->read(copy, key);
    if (!read.bytes)
        return read;
    int highest = replaced ? savedNumberInBytes(*replaced) : 0;
    for (const KeptCopy& kept : list(key))
        highest = std::max(highest, kept.saveNumber);
    if (highest >= std::numeric_limits<qint16>::max()) {
        FileError overflow =
            copyError(FileErrorKind::Other, copy.path,
                      QStringLiteral(
                          "Dépassement de capacité : le numéro d'enregistrement a atteint 32767."));
        overflow.number = gradefile::errorNumber::kOverflow;
        return {std::nullopt, overflow};
    }
    const QStringList lines = *gradefile::readRowsetLines(*read.bytes).lines;
    const QStringList raised = withSaveNumber(lines, highest + 1);
    if (raised == lines)
        return read; // no end line, no counter to raise
    if (const std::optional<QString> why = gradefile::findUnwritableLine(raised))
        return {
            std::nullopt,
            copyError(
                FileErrorKind::Malformed, copy.path,
                QStringLiteral("La copie « %1 » est endommagée : %2").arg(shown(copy.path), *why))};
    read.bytes = gradefile::rowsetBytes(raised);
    return read;
}

} // namespace recovery
