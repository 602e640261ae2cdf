#include "core/recovery/pendingchanges.h"

#include "core/gradefile/sheetcolumns.h"
#include "core/recovery/datafolder.h"
#include "core/recovery/sessionjournal.h"

#include <QDir>
#include <QFileInfo>

namespace recovery {

namespace {

// A field separator would shift every field after it; a control character breaks the line.
bool holdsUnstorableCharacter(const QString& text)
{
    for (const QChar c : text) {
        if (c == u'|' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

bool isChangeableColumn(int column, const SheetBounds& bounds)
{
    return column == gradefile::kLevelColumn ||
           (column > gradefile::kFirstGradeColumn - bounds.examCount &&
            column <= gradefile::kFirstGradeColumn);
}

gradefile::FileError notBroughtBack(const QString& journal, const QString& why)
{
    gradefile::FileError error = gradefile::makeFileError(
        gradefile::FileErrorKind::Other, QStringLiteral("Le journal « %1 » n'a pas été remis : %2.")
                                             .arg(QDir::toNativeSeparators(journal), why));
    error.path = journal;
    return error;
}

RefusedJournal otherFile(const QString& path, const QString& why)
{
    gradefile::FileError error = gradefile::makeFileError(
        gradefile::FileErrorKind::OtherFile,
        QStringLiteral("Le journal « %1 » n'est pas celui de ce fichier : %2.")
            .arg(QDir::toNativeSeparators(path), why));
    error.path = path;
    return RefusedJournal{path, error};
}

} // namespace

std::optional<QString> cellsOutsideSheet(const std::vector<JournalCell>& cells,
                                         const SheetBounds& bounds)
{
    for (const JournalCell& cell : cells) {
        if (cell.row < 1 || cell.row > bounds.pupilCount ||
            !isChangeableColumn(cell.column, bounds))
            return QStringLiteral("la case (colonne %1, ligne %2) est hors de la feuille")
                .arg(cell.column)
                .arg(cell.row);
        if (holdsUnstorableCharacter(cell.text))
            return QStringLiteral("la case (colonne %1, ligne %2) contient un caractère "
                                  "qu'un fichier de notes ne peut pas contenir")
                .arg(cell.column)
                .arg(cell.row);
    }
    return std::nullopt;
}

PendingChanges findPendingChanges(const QString& journals, const JournalIdentity& current,
                                  const SheetBounds& bounds)
{
    PendingChanges pending;
    std::vector<JournalCell> cells;
    for (const QString& path : journalsOfKey(journals, current.key)) {
        const JournalRead read = readJournal(path);
        if (read.error.isError()) {
            pending.refused.push_back({path, read.error});
            continue;
        }
        if (!read.contents || read.contents->cells.empty()) {
            pending.empty << path;
            continue;
        }
        const JournalContents& contents = *read.contents;
        if (contents.identity.key != current.key) {
            pending.refused.push_back(otherFile(
                path, QStringLiteral("il porte la clé « %1 »").arg(contents.identity.key)));
            continue;
        }
        if (contents.identity.contentHash != current.contentHash) {
            pending.changedOnDisk << path;
            continue;
        }
        if (const std::optional<QString> outside = cellsOutsideSheet(contents.cells, bounds)) {
            pending.refused.push_back(otherFile(path, *outside));
            continue;
        }
        cells.insert(cells.end(), contents.cells.cbegin(), contents.cells.cend());
        pending.journals << path;
        const QString folder = contents.identity.diskFolder;
        if (folder != current.diskFolder && !pending.otherFolders.contains(folder))
            pending.otherFolders << folder;
    }
    pending.cells = lastTextOfEachCell(cells);
    for (const JournalCell& cell : cells) {
        if (!pending.lastChange.isValid() || cell.time > pending.lastChange)
            pending.lastChange = cell.time;
    }
    return pending;
}

std::optional<QString> setAside(const QString& journal, const QString& dataFolder)
{
    const QString aside = asideFolder(dataFolder);
    if (!makePrivateFolder(dataFolder, aside))
        return std::nullopt;
    const QString target = QDir(aside).filePath(QFileInfo(journal).fileName());
    if (QFileInfo::exists(target) || !QDir().rename(journal, target))
        return std::nullopt;
    return target;
}

gradefile::FileError bringBack(const QString& journalName, const QString& dataFolder)
{
    const QString aside = asideFolder(dataFolder);
    const QFileInfo given(journalName);
    const QString source = QDir(aside).filePath(given.fileName());
    if (given.fileName() != journalName &&
        given.absolutePath() != QFileInfo(aside).absoluteFilePath())
        return notBroughtBack(journalName, QStringLiteral("il n'est pas mis de côté"));
    if (!given.fileName().endsWith(QLatin1String(".journal")) || !QFileInfo(source).isFile())
        return notBroughtBack(journalName, QStringLiteral("aucun journal mis de côté à ce nom"));
    const JournalRead read = readJournal(source);
    if (read.error.isError())
        return read.error;
    const QString journals = journalsFolder(dataFolder);
    const QString target = QDir(journals).filePath(given.fileName());
    if (QFileInfo::exists(target))
        return notBroughtBack(journalName, QStringLiteral("un journal de ce nom existe déjà"));
    if (!makePrivateFolder(dataFolder, journals) || !QDir().rename(source, target))
        return notBroughtBack(journalName, QStringLiteral("le déplacement a échoué"));
    return gradefile::FileError{};
}

void removeJournals(const QStringList& paths)
{
    for (const QString& path : paths)
        gradefile::os::removeFile(path);
}

} // namespace recovery
