#pragma once

#include "core/sheet/gradesheet.h"

#include <QRegularExpression>

// A pupil's cell as a test script names it: "p3e1" pupil 3's first exam, "p3name" their name,
// "p3order" their order number, "p3obs" their observation.
inline sheet::Cell cellNamed(const QString& name)
{
    using G = sheet::GradeSheet;
    const int pupil =
        name.mid(1).section(QRegularExpression(QStringLiteral("[a-z]")), 0, 0).toInt();
    const QString place = name.mid(QString::number(pupil).size() + 1);
    if (place.startsWith(u'e'))
        return G::gradeCell(pupil, place.mid(1).toInt() - 1);
    return place == u"obs" ? G::observationCell(pupil)
                           : G::fieldCell(pupil, place == u"name" ? G::PupilField::Name
                                                                  : G::PupilField::OrderNumber);
}

inline QString nameOf(sheet::Cell cell)
{
    for (const char* place : {"e1", "e2", "e3", "e4", "e5", "e6", "name", "order", "obs"})
        if (cellNamed(QStringLiteral("p%1%2").arg(cell.row).arg(place)) == cell)
            return QStringLiteral("p%1%2").arg(cell.row).arg(place);
    return QStringLiteral("column %1 row %2").arg(cell.column).arg(cell.row);
}
