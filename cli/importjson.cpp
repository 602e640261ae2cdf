#include "cli/importjson.h"

#include <QJsonArray>

namespace cli {

namespace {

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
