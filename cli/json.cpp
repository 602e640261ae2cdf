#include "cli/json.h"

#include "core/recovery/datafolder.h"
#include "core/recovery/journal.h"
#include "core/recovery/keptcopies.h"
#include "core/recovery/sessionjournal.h"

namespace cli {

namespace {

QJsonObject cellsToJson(const gradefile::RowCells& cells)
{
    QJsonObject object;
    for (auto it = cells.cbegin(); it != cells.cend(); ++it)
        object.insert(QString::number(it.key()), it.value());
    return object;
}

QJsonObject endLineToJson(const gradefile::EndLineFields& end)
{
    QJsonObject object;
    if (end.region)
        object.insert(QStringLiteral("region"), *end.region);
    if (end.establishment)
        object.insert(QStringLiteral("establishment"), *end.establishment);
    if (end.teacher)
        object.insert(QStringLiteral("teacher"), *end.teacher);
    if (end.saveNumber)
        object.insert(QStringLiteral("saveNumber"), *end.saveNumber);
    if (end.printNumber)
        object.insert(QStringLiteral("printNumber"), *end.printNumber);
    return object;
}

QJsonValue numberOrNull(std::optional<double> value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

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

QJsonObject pupilToJson(const sheet::ImportedPupil& pupil)
{
    return {{QStringLiteral("identifier"), pupil.identifier}, {QStringLiteral("name"), pupil.name}};
}

QJsonArray valuesToJson(const std::vector<sheet::ImportedValue>& values)
{
    QJsonArray array;
    for (const sheet::ImportedValue& value : values) {
        QJsonObject object = pupilToJson(value.pupil);
        object.insert(QStringLiteral("exam"), value.exam);
        object.insert(QStringLiteral("before"), value.before);
        object.insert(QStringLiteral("value"), value.value);
        array.append(object);
    }
    return array;
}

} // namespace

QJsonObject documentToJson(const gradefile::GradeDocument& document)
{
    const bool subject = document.kind == gradefile::SheetKind::Subject;
    QJsonObject object;
    object.insert(QStringLiteral("key"), document.key);
    object.insert(QStringLiteral("kind"),
                  subject ? QStringLiteral("subject") : QStringLiteral("plain"));
    object.insert(QStringLiteral("sheetKind"), document.nameLayout);
    object.insert(QStringLiteral("year"), document.year);
    object.insert(QStringLiteral("schoolYear"), document.schoolYear);
    object.insert(QStringLiteral("description"), document.caption);
    object.insert(QStringLiteral("headers"), cellsToJson(document.headers));
    QJsonArray pupils;
    for (const gradefile::RowCells& row : document.rows)
        pupils.append(cellsToJson(row));
    object.insert(QStringLiteral("pupils"), pupils);
    // A file written by the program has one end line; should there be more, the last
    // one read holds the counters the program goes on with.
    if (subject && !document.endLines.empty())
        object.insert(QStringLiteral("end"), endLineToJson(document.endLines.back()));
    return object;
}

QJsonArray statisticsToJson(const std::vector<sheet::ExamStatistics>& statistics)
{
    QJsonArray array;
    for (const sheet::ExamStatistics& exam : statistics) {
        QJsonObject object;
        // The exam's field in the file's lines, as this output has always named it.
        object.insert(QStringLiteral("column"), sheet::GradeSheet::gradeCell(0, exam.exam).column);
        object.insert(QStringLiteral("header"), exam.header);
        object.insert(QStringLiteral("graded"), exam.graded);
        object.insert(QStringLiteral("absent"), exam.absent);
        object.insert(QStringLiteral("exempt"), exam.exempt);
        object.insert(QStringLiteral("noGrade"), exam.noGrade);
        object.insert(QStringLiteral("empty"), exam.empty);
        object.insert(QStringLiteral("under10"), exam.under10);
        object.insert(QStringLiteral("mean"), numberOrNull(exam.mean));
        object.insert(QStringLiteral("median"), numberOrNull(exam.median));
        object.insert(QStringLiteral("min"), numberOrNull(exam.min));
        object.insert(QStringLiteral("max"), numberOrNull(exam.max));
        QJsonArray distribution;
        for (int count : exam.distribution)
            distribution.append(count);
        object.insert(QStringLiteral("distribution"), distribution);
        array.append(object);
    }
    return array;
}

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

QJsonObject importPlanToJson(const sheet::ImportPlan& plan)
{
    QJsonArray missing;
    for (const sheet::ImportedPupil& pupil : plan.missing)
        missing.append(pupilToJson(pupil));
    return {{QStringLiteral("matched"), plan.matched},
            {QStringLiteral("written"), int(plan.writes.size())},
            {QStringLiteral("unknown"), QJsonArray::fromStringList(plan.unknown)},
            {QStringLiteral("repeated"), QJsonArray::fromStringList(plan.repeated)},
            {QStringLiteral("missing"), missing},
            {QStringLiteral("refused"), valuesToJson(plan.refused)},
            {QStringLiteral("changed"), valuesToJson(plan.changed)}};
}

} // namespace cli
