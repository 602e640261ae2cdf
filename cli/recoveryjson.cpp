#include "cli/recoveryjson.h"

#include "recovery/datafolder.h"
#include "recovery/journal.h"
#include "recovery/keptcopies.h"
#include "recovery/sessionjournal.h"

namespace cli {

namespace {

QString isoTime(const QDateTime& time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

// The last text of each cell, in the order the cells were first changed.
QJsonArray lastTexts(const std::vector<recovery::JournalCell>& cells)
{
    QJsonArray array;
    for (const recovery::JournalCell& cell : recovery::lastTextOfEachCell(cells))
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
        const recovery::KeptCopyRead read = copies.read(copy, key);
        QJsonObject object{{QStringLiteral("path"), copy.path},
                           {QStringLiteral("time"), isoTime(copy.time)},
                           {QStringLiteral("saveNumber"), copy.saveNumber},
                           {QStringLiteral("diskFolder"), copy.diskFolder}};
        if (read.error.isError())
            object.insert(QStringLiteral("error"), read.error.description);
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
