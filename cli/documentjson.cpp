#include "cli/documentjson.h"

#include <QJsonArray>

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

} // namespace cli
