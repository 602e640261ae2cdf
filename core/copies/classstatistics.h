#pragma once

#include "core/sheet/gradesheet.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// No window here: the sheet's context menu and the gradefile tool show the same numbers.
namespace sheet {

struct ExamStatistics {
    int exam = 0;   // 0 is the first exam
    QString header; // the exam's name as the sheet shows it
    int graded = 0; // pupils with a grade from 0 to 20
    int absent = 0;
    int exempt = 0;
    int noGrade = 0;
    int empty = 0;
    // Neither a grade nor a mark (above 20 in a file, a pasted "-3"): counted so that the
    // counts add up to the pupils.
    int other = 0;
    int under10 = 0; // grades below 10
    // Over the grades only; none when no pupil has a grade.
    std::optional<double> mean;
    std::optional<double> median;
    std::optional<double> min;
    std::optional<double> max;

    int pupils() const { return graded + absent + exempt + noGrade + empty + other; }
};

// nullopt for a mark, an empty cell or any text but a plain number from 0 to 20.
std::optional<double> gradeValueOf(QStringView text);

// One entry per shown exam that has a header, the first exam first, as the CSV copy has them.
std::vector<ExamStatistics> classStatistics(const GradeSheet& sheet);

// In the order the statistics dialog and the workbook copy show the figures.
const QStringList& statisticsLabels();
std::array<int, 6> countsOf(const ExamStatistics& exam);
std::array<std::optional<double>, 4> gradeFiguresOf(const ExamStatistics& exam);
// Shown only when an exam has such a text.
extern const QString kOtherTextsLabel;
bool anyOtherTexts(const std::vector<ExamStatistics>& statistics);

// "--.--" when there is no grade to compute it from.
QString statisticText(std::optional<double> value);

} // namespace sheet
