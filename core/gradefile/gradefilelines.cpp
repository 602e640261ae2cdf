#include "core/gradefile/gradefilelines.h"

#include <algorithm>

namespace gradefile {

std::array<bool, kSheetColumns> emptyColumnsOf(const SheetTable& table)
{
    const bool hasPupils = table.size() > 1;
    std::array<bool, kSheetColumns> empty{};
    for (int column = 0; column < kSheetColumns; ++column) {
        bool blank = true;
        for (size_t r = 1; r < table.size() && blank; ++r)
            blank = table[r][size_t(column)].isEmpty();
        // An exam keeps its column while it has a name, graded or not yet: hiding it would
        // keep the teacher from typing its grades and drop it from the file at the save.
        const bool isGradeColumn = column >= 1 && column <= kFirstGradeColumn;
        if (isGradeColumn && !table.empty() && !table[0][size_t(column)].isEmpty())
            blank = false;
        if (!hasPupils && column > kFirstGradeColumn)
            blank = false;
        empty[size_t(column)] = blank;
    }
    // The file's exams are read from the first (column 6) on: an unnamed, ungraded exam
    // followed by one with a name is a column the file holds, not one to leave out. Hidden,
    // it would be counted out of the exams the save writes and take the exams after it along.
    for (int column = 1; column < kFirstGradeColumn; ++column) {
        if (!empty[size_t(column)]) {
            std::fill(empty.begin() + column + 1, empty.begin() + kFirstGradeColumn + 1, false);
            break;
        }
    }
    return empty;
}

int gradeFieldsOf(const SheetTable& table)
{
    const std::array<bool, kSheetColumns> empty = emptyColumnsOf(table);
    return qBound(0, 7 - int(std::count(empty.begin(), empty.end(), true)), kFirstGradeColumn + 1);
}

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

SaveLinesBuilt buildGradeFileLines(const QString& key, const QString& caption,
                                   const SheetTable& table, int gradeFields,
                                   const EndLineTexts& texts, qint16 saveNumber, qint16 printNumber)
{
    const int written = qBound(0, gradeFields, kFirstGradeColumn + 1);
    const QString separator(kFieldSeparator);
    auto gradeTexts = [&](size_t row) {
        QString text;
        for (int j = 1; j <= written; ++j)
            text += separator + table[row][size_t(kFirstGradeColumn + 1 - j)];
        return text;
    };

    SaveLinesBuilt built;
    built.lines << kStartLinePrefix + key + separator + trimBlanks(caption);
    built.lines << kTestLinePrefix + gradeTexts(0);
    for (size_t r = 1; r < table.size(); ++r) {
        const auto& row = table[r];
        built.lines << row[10] + separator + row[9] + separator + row[8] + separator + row[7] +
                           gradeTexts(r);
    }

    int raised = qMax(saveNumber, printNumber);
    if (raised >= 32767) {
        built.counterOverflow = true;
        return built;
    }
    built.saveNumber = qint16(raised + 1);
    built.lines << kEndLinePrefix + key + separator + texts.region + separator +
                       texts.establishment + separator + texts.teacher + separator + separator +
                       QString::number(built.saveNumber) + separator + QString::number(printNumber);
    return built;
}

} // namespace gradefile
