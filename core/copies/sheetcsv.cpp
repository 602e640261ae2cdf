#include "core/copies/sheetcsv.h"

#include <QStringList>

namespace sheet {

QList<int> readingOrderColumns(const GradeSheet& sheet)
{
    QList<int> columns;
    for (GradeSheet::PupilField field : GradeSheet::kPupilFields) {
        if (sheet.isFieldShown(field))
            columns << GradeSheet::fieldCell(0, field).column;
    }
    for (int exam : sheet.shownExams())
        columns << GradeSheet::gradeCell(0, exam).column;
    return columns;
}

QString csvField(const QString& cell)
{
    // A spreadsheet runs a field beginning so as a formula: an apostrophe keeps it a text.
    const bool formulaLike =
        !cell.isEmpty() && QStringView(u"=+-@\t\r").contains(cell.front()) && cell != kNoGradeMark;
    const QString text = formulaLike ? u'\'' + cell : cell;
    const bool quoted =
        text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r');
    if (!quoted)
        return text;
    QString doubled = text;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

QByteArray sheetCsv(const GradeSheet& sheet)
{
    const QList<int> columns = readingOrderColumns(sheet);
    QString text;
    for (int row = 0; row <= sheet.pupilCount(); ++row) {
        QStringList fields;
        for (int col : columns) {
            const QString cell = sheet.text({col, row});
            fields << csvField(row == 0 ? shownHeader(cell) : cell);
        }
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace sheet
