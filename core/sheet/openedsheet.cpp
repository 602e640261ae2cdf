#include "core/sheet/openedsheet.h"

namespace sheet {

using gradefile::kSheetColumns;

const QString kIdentifierHeader = QStringLiteral("المعرف الو.");
const QString kOrderNumberHeader = QStringLiteral("ع.ر");
const QString kLevelHeader = QStringLiteral("المستوى");

QString nameHeaderOf(const QString& nameLayout)
{
    if (nameLayout == QLatin1String("C"))
        return QStringLiteral("الإسم و اللقب");
    return QStringLiteral("                   الإسم و اللقب  - القسم ");
}

gradefile::SheetTable openedSheetTable(const gradefile::GradeDocument& document)
{
    gradefile::SheetTable table(size_t(document.rowCount) + 1);
    table[0][size_t(gradefile::kNameColumn)] = nameHeaderOf(document.nameLayout);
    table[0][size_t(gradefile::kIdentifierColumn)] = kIdentifierHeader;
    table[0][size_t(gradefile::kOrderNumberColumn)] = kOrderNumberHeader;
    table[0][size_t(gradefile::kLevelColumn)] = kLevelHeader;
    for (auto it = document.headers.cbegin(); it != document.headers.cend(); ++it) {
        if (it.key() >= 0 && it.key() < kSheetColumns)
            table[0][size_t(it.key())] = it.value();
    }
    for (int row = 1; row <= document.rowCount && size_t(row) <= document.rows.size(); ++row) {
        const gradefile::RowCells& cells = document.rows[size_t(row - 1)];
        for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
            if (it.key() >= 0 && it.key() < kSheetColumns)
                table[size_t(row)][size_t(it.key())] = it.value();
        }
    }
    return table;
}

ShownColumns shownColumnsOf(const gradefile::SheetTable& table)
{
    const std::array<bool, kSheetColumns> empty = gradefile::emptyColumnsOf(table);
    ShownColumns shown{};
    for (int col = 0; col < gradefile::kLevelColumn; ++col)
        shown[size_t(col)] = !empty[size_t(col)];
    return shown;
}

QString shownHeader(const QString& header)
{
    return header.trimmed();
}

} // namespace sheet
