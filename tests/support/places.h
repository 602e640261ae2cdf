#pragma once

#include "sheet/gradesheet.h"

#include <QRegularExpression>

// A pupil's cell as a test script names it: "p3e1" pupil 3's first exam, "p3name" their name,
// "p3order" their order number, "p3obs" their observation.
inline sheet::Cell cellNamed(const QString& name)
{
    using sheet::GradeSheet;
    static const QRegularExpression form(QStringLiteral("^p(\\d+)(?:e(\\d)|(name|order|obs))$"));
    const QRegularExpressionMatch place = form.match(name);
    Q_ASSERT(place.hasMatch());
    const int pupil = place.captured(1).toInt();
    const QString field = place.captured(3);
    if (field.isEmpty())
        return GradeSheet::gradeCell(pupil, place.captured(2).toInt() - 1);
    return field == u"obs"
               ? GradeSheet::observationCell(pupil)
               : GradeSheet::fieldCell(pupil, field == u"name"
                                                  ? GradeSheet::PupilField::Name
                                                  : GradeSheet::PupilField::OrderNumber);
}

inline QString nameOf(sheet::Cell cell)
{
    using sheet::GradeSheet;
    const QString pupil = QStringLiteral("p%1").arg(cell.row);
    if (const std::optional<int> exam = GradeSheet::examAt(cell.column))
        return pupil + QStringLiteral("e%1").arg(*exam + 1);
    for (const char* field : {"name", "order", "obs"})
        if (cellNamed(pupil + QLatin1String(field)) == cell)
            return pupil + QLatin1String(field);
    return QStringLiteral("column %1 row %2").arg(cell.column).arg(cell.row);
}
