#include "recovery/pendingchanges.h"

#include "gradefile/sheetcolumns.h"
#include "recovery/sessionjournal.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

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
           (column >= bounds.lastGradeColumn && column <= gradefile::kFirstGradeColumn &&
            column >= 1);
}

// Folds one journal's cells into the changes found so far: a later text of a cell
// replaces an earlier one where the cell first stood.
void fold(const std::vector<JournalCell>& cells, PendingChanges& pending,
          QHash<quint64, size_t>& positions)
{
    for (const JournalCell& cell : cells) {
        const quint64 at = (quint64(quint32(cell.row)) << 32) | quint32(cell.column);
        const auto found = positions.constFind(at);
        if (found == positions.cend()) {
            positions.insert(at, pending.cells.size());
            pending.cells.push_back(cell);
        } else {
            pending.cells[*found] = cell;
        }
        if (!pending.lastChange.isValid() || cell.time > pending.lastChange)
            pending.lastChange = cell.time;
    }
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
        if (cell.row < 1 || cell.row > bounds.rowCount || !isChangeableColumn(cell.column, bounds))
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
    QHash<quint64, size_t> positions;
    for (const QString& path : journalsOf(journals, current.key, current.diskFolder)) {
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
        if (!contents.identity.sameFile(current)) {
            pending.refused.push_back(
                otherFile(path, QStringLiteral("il porte la clé « %1 » du dossier « %2 »")
                                    .arg(contents.identity.key,
                                         QDir::toNativeSeparators(contents.identity.diskFolder))));
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
        fold(contents.cells, pending, positions);
        pending.journals << path;
    }
    return pending;
}

std::optional<QString> setAside(const QString& journal, const QString& aside)
{
    if (!QDir().mkpath(aside))
        return std::nullopt;
    const QString target = QDir(aside).filePath(QFileInfo(journal).fileName());
    if (QFileInfo::exists(target) || !QDir().rename(journal, target))
        return std::nullopt;
    return target;
}

void removeJournals(const QStringList& paths)
{
    for (const QString& path : paths)
        gradefile::os::removeFile(path);
}

} // namespace recovery
