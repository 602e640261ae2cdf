#include "cli/statisticsjson.h"

#include <QJsonObject>
#include <QJsonValue>

namespace cli {

namespace {

QJsonValue numberOrNull(std::optional<double> value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

} // namespace

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
        array.append(object);
    }
    return array;
}

} // namespace cli
