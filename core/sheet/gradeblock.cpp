#include "core/sheet/gradeblock.h"

#include <algorithm>
#include <utility>

namespace sheet {

namespace {

// The value with plain digits and "." for its decimal sign; spaces around it dropped.
QString plainValue(const QString& value)
{
    QString plain;
    const QString trimmed = value.trimmed();
    plain.reserve(trimmed.size());
    for (const QChar c : trimmed) {
        const char32_t mapped = plainCharacter(c.unicode());
        plain.append(mapped == U',' ? QChar(u'.') : QChar(char16_t(mapped)));
    }
    return plain;
}

} // namespace

std::optional<CellCheck> checkBroughtValue(const QString& value)
{
    const QString plain = plainValue(value);
    if (plain.isEmpty())
        return std::nullopt;
    if (isMark(plain) || isPlainNumber(plain))
        return checkCell(plain);
    return CellCheck{value.trimmed(), CheckResult::Refused, true};
}

std::optional<std::vector<QStringList>> spreadsheetRows(const QString& text, QChar separator,
                                                        qsizetype maxCells)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool cellStarts = true;
    qsizetype cells = 0;
    const auto next = [&text](qsizetype i) { return i + 1 < text.size() ? text[i + 1] : QChar(); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool breaks = c == separator || c == u'\n' || c == u'\r';
        if (quoted && c == u'"' && next(i) == u'"') {
            cell += c;
            ++i;
        } else if (c == u'"' && (quoted || cellStarts)) {
            quoted = !quoted;
        } else if (quoted || !breaks) {
            cell += c;
        } else {
            row << std::exchange(cell, QString());
            if (maxCells >= 0 && ++cells > maxCells)
                return std::nullopt;
            if (c != separator) {
                rows.push_back(std::exchange(row, QStringList()));
                i += c == u'\r' && next(i) == u'\n' ? 1 : 0;
            }
        }
        cellStarts = !quoted && breaks;
    }
    if (!cell.isEmpty() || !row.isEmpty())
        rows.push_back(row << cell);
    return rows;
}

std::optional<BlockPlacement> placeBlock(const std::vector<QStringList>& rows, int pupil, int exam,
                                         int pupilCount, int examCount)
{
    qsizetype width = 0;
    for (const QStringList& row : rows)
        width = std::max(width, row.size());
    if (width == 0 || pupil < 1 || pupil > pupilCount || exam < 0 || exam >= examCount)
        return std::nullopt;
    BlockPlacement placement;
    placement.rowsOver = std::max(0, pupil + int(rows.size()) - 1 - pupilCount);
    placement.columnsOver = std::max(0, exam + int(width) - examCount);
    if (placement.rowsOver > 0 || placement.columnsOver > 0)
        return placement;
    for (size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c)
            placement.writes.push_back({pupil + int(r), exam + c, rows[r][c]});
    }
    return placement;
}

QString pasteOutcomeText(const BlockOutcome& outcome)
{
    QString text = QStringLiteral("الخانات المملوءة: %1").arg(outcome.filled);
    if (outcome.refused > 0)
        text += QStringLiteral("\nالقيم المرفوضة (أكثر من 20 أو ليست أعدادا): %1 - بقيت "
                               "خاناتها على حالها إلّا الأولى: هي بالأحمر تحت المؤشّر لتصحيحها.")
                    .arg(outcome.refused);
    return text;
}

QString blockTooLargeText(const BlockPlacement& placement)
{
    QString text = QStringLiteral("الأعداد المنسوخة لا تتّسع لها الخانات من المؤشّر، فلم يُلصق شيء.");
    if (placement.rowsOver > 0)
        text += QStringLiteral("\nأسطر زائدة عن التلاميذ الباقين: %1").arg(placement.rowsOver);
    if (placement.columnsOver > 0)
        text +=
            QStringLiteral("\nأعمدة زائدة عن أعمدة الأعداد الباقية: %1").arg(placement.columnsOver);
    return text;
}

} // namespace sheet
