#pragma once

#include "core/gradefile/gradedocument.h"

#include "core/gradefile/sheetcolumns.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace gradefile {

// Index 0 is the header row.
using SheetTable = std::vector<std::array<QString, kSheetColumns>>;

// A grade column with an exam name in its header is never empty, nor an exam column before a
// kept one, so saving a sheet keeps all its exams; a sheet without pupils keeps its pupil
// information columns.
std::array<bool, kSheetColumns> emptyColumnsOf(const SheetTable& table);

// The columns from 6 down that are not empty.
int gradeFieldsOf(const SheetTable& table);

// What the save writes into the end line besides the key.
struct EndLineTexts {
    QString region;
    QString establishment;
    QString teacher;
};

struct SaveLinesBuilt {
    QStringList lines;
    qint16 saveNumber = 0;        // the raised counter written into the end line
    bool counterOverflow = false; // the save counter cannot be raised any further
};

// gradeFields columns from column 6 down. The save counter is first raised to the print counter
// when below it, then by one.
SaveLinesBuilt buildGradeFileLines(const QString& key, const QString& caption,
                                   const SheetTable& table, int gradeFields,
                                   const EndLineTexts& texts, qint16 saveNumber,
                                   qint16 printNumber);

// Caption without leading and trailing blanks (spaces only: a TAB is kept).
QString trimBlanks(const QString& text);

} // namespace gradefile
