#include "sheet/sheetcsv.h"

#include <QStringList>

namespace sheet {

QList<int> readingOrderColumns(const ShownColumns& shown)
{
    QList<int> columns;
    for (int col = gradefile::kOrderNumberColumn; col >= 1; --col) {
        if (shown[size_t(col)])
            columns << col;
    }
    return columns;
}

QString csvField(const QString& text)
{
    const bool quoted =
        text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r');
    if (!quoted)
        return text;
    QString doubled = text;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

QByteArray sheetCsv(const gradefile::SheetTable& table, const ShownColumns& shown)
{
    const QList<int> columns = readingOrderColumns(shown);
    QString text;
    for (size_t row = 0; row < table.size(); ++row) {
        QStringList fields;
        for (int col : columns) {
            const QString& cell = table[row][size_t(col)];
            fields << csvField(row == 0 ? shownHeader(cell) : cell);
        }
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace sheet
