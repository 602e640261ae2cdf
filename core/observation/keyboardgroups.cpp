#include "core/observation/keyboardgroups.h"

namespace observation {

std::optional<int> arabicGroupAmong(const QStringList& groupNames)
{
    const int exact = int(groupNames.indexOf(QStringLiteral("Arabic")));
    if (exact >= 0)
        return exact;
    for (int group = 0; group < groupNames.size(); ++group) {
        const QString& name = groupNames.at(group);
        if (name.contains(QLatin1String("arabic"), Qt::CaseInsensitive) ||
            name.compare(QLatin1String("ara"), Qt::CaseInsensitive) == 0)
            return group;
    }
    return std::nullopt;
}

} // namespace observation
