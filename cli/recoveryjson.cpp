#include "cli/recoveryjson.h"

#include "recovery/datafolder.h"
#include "recovery/journal.h"
#include "recovery/keptcopies.h"
#include "recovery/sessionjournal.h"

#include <QHash>

namespace cli {

namespace {

QString isoTime(const QDateTime& time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

// The last text of each cell, in the order the cells were first changed.
QJsonArray lastTexts(const std::vector<recovery::JournalCell>& cells)
{
    std::vector<recovery::JournalCell> last;
    QHash<QPair<int, int>, size_t> positions;
    for (const recovery::JournalCell& cell : cells) {
        const QPair<int, int> at(cell.column, cell.row);
        if (positions.contains(at)) {
            last[positions.value(at)] = cell;
            continue;
        }
        positions.insert(at, last.size());
        last.push_back(cell);
    }
    QJsonArray array;
    for (const recovery::JournalCell& cell : last)
        array.append(QJsonObject{{QStringLiteral("column"), cell.column},
                                 {QStringLiteral("row"), cell.row},
                                 {QStringLiteral("text"), cell.text},
                                 {QStringLiteral("time"), isoTime(cell.time)}});
    return array;
}

QString stateOf(const recovery::JournalRead& read, const QString& key)
{
    switch (read.error.kind) {
    case gradefile::FileErrorKind::None:
        break;
    case gradefile::FileErrorKind::Malformed:
        return QStringLiteral("damaged");
    case gradefile::FileErrorKind::OtherVersion:
        return QStringLiteral("other version");
    default:
        return QStringLiteral("unreadable");
    }
    if (!read.contents || read.contents->cells.empty())
        return QStringLiteral("empty");
    if (read.contents->identity.key != key)
        return QStringLiteral("other file");
    return QStringLiteral("pending");
}

QJsonObject journalToJson(const QString& path, const QString& key, bool aside)
{
    const recovery::JournalRead read = recovery::readJournal(path);
    QJsonObject journal{{QStringLiteral("path"), path},
                        {QStringLiteral("state"), stateOf(read, key)},
                        {QStringLiteral("aside"), aside}};
    if (read.error.isError())
        journal.insert(QStringLiteral("error"), read.error.description);
    if (!read.contents)
        return journal;
    const recovery::JournalContents& contents = *read.contents;
    journal.insert(QStringLiteral("diskFolder"), contents.identity.diskFolder);
    journal.insert(QStringLiteral("contentHash"),
                   QString::fromLatin1(contents.identity.contentHash));
    journal.insert(QStringLiteral("started"), isoTime(contents.started));
    journal.insert(QStringLiteral("tornTail"), contents.tornTail);
    journal.insert(QStringLiteral("cells"), lastTexts(contents.cells));
    return journal;
}

} // namespace

QJsonArray keptCopiesToJson(const QString& dataFolder, const QString& key)
{
    const recovery::KeptCopies copies(dataFolder);
    QJsonArray array;
    for (const recovery::KeptCopy& copy : copies.list(key)) {
        const recovery::KeptCopySummary summary = copies.summarize(copy, key);
        QJsonObject object{{QStringLiteral("path"), copy.path},
                           {QStringLiteral("time"), isoTime(copy.time)},
                           {QStringLiteral("saveNumber"), copy.saveNumber}};
        if (summary.error.isError())
            object.insert(QStringLiteral("error"), summary.error.description);
        else
            object.insert(QStringLiteral("pupilsWithGrades"), summary.pupilsWithGrades);
        array.append(object);
    }
    return array;
}

QJsonObject journalsToJson(const QString& dataFolder, const QString& key)
{
    QJsonArray journals;
    for (const QString& path : recovery::journalsOfKey(recovery::journalsFolder(dataFolder), key))
        journals.append(journalToJson(path, key, false));
    for (const QString& path : recovery::journalsOfKey(recovery::asideFolder(dataFolder), key))
        journals.append(journalToJson(path, key, true));
    return QJsonObject{{QStringLiteral("key"), key},
                       {QStringLiteral("dataFolder"), dataFolder},
                       {QStringLiteral("journals"), journals}};
}

} // namespace cli
