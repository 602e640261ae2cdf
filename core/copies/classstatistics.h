#pragma once

#include "core/sheet/gradesheet.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// How a class did in each exam, from the texts of its grade sheet. Nothing here needs a
// window: the sheet's context menu and the gradefile tool show the same numbers.
namespace sheet {

// The grades' distribution: ten bands of two points, [0, 2) to [16, 18), then [18, 20].
inline constexpr int kGradeBands = 10;
using GradeDistribution = std::array<int, kGradeBands>;

struct ExamStatistics {
    int exam = 0;   // 0 is the first exam
    QString header; // the exam's name as the sheet shows it
    int graded = 0; // pupils with a grade from 0 to 20
    int absent = 0;
    int exempt = 0;
    int noGrade = 0;
    int empty = 0;
    // Texts that are neither a grade nor a mark (a grade above 20 read from a file, a
    // pasted "-3"): counted here so that the counts add up to the pupils, and left out
    // of the numbers below.
    int other = 0;
    int under10 = 0; // grades below 10
    // Over the grades only; none when no pupil has a grade.
    std::optional<double> mean;
    std::optional<double> median;
    std::optional<double> min;
    std::optional<double> max;
    GradeDistribution distribution{}; // the grades in each band, band 0 first

    int pupils() const { return graded + absent + exempt + noGrade + empty + other; }
};

// The value of a cell that holds a grade: digits with at most one "." (at least one
// digit), from 0 to 20. nullopt for a mark, an empty cell or any other text.
std::optional<double> gradeValueOf(QStringView text);

// The band of a grade from 0 to 20, counted in hundredths so that 1.99 falls in band 0 and
// 2.00 in band 1; 20 falls in the last band.
int gradeBandOf(double grade);
// A band's bounds as the teacher reads them: "0 - 2".
QString gradeBandLabel(int band);
// The name of the distribution's table and chart.
extern const QString kDistributionTitle;

// One entry per shown exam that has a header, the first exam first, as the CSV copy has them.
std::vector<ExamStatistics> classStatistics(const GradeSheet& sheet);

// The figures of an exam in the order the statistics dialog and the workbook copy show them,
// under the names statisticsLabels() gives: the counts (graded, absent, exempt, no grade,
// empty, under 10), then the mean, median, lowest and highest grade.
const QStringList& statisticsLabels();
std::array<int, 6> countsOf(const ExamStatistics& exam);
std::array<std::optional<double>, 4> gradeFiguresOf(const ExamStatistics& exam);
// Both, as texts: the counts, then the grade figures in the "00.00" style.
QStringList figureTextsOf(const ExamStatistics& exam);
// The name of the line that counts texts that are no grade nor mark, shown only when an exam
// has one.
extern const QString kOtherTextsLabel;
bool anyOtherTexts(const std::vector<ExamStatistics>& statistics);
// The statistics as a table of texts: a first row of exam headers after an empty corner, then a
// row per figure, its label first and then the exams' figures, the first exam first; the line of
// other texts when an exam has one.
QList<QStringList> statisticsRows(const std::vector<ExamStatistics>& statistics);
// The distribution in the same shape: kDistributionTitle over the bands, a row per band.
QList<QStringList> distributionRows(const std::vector<ExamStatistics>& statistics);

// A mean, median, minimum or maximum in the sheet's "00.00" style; "--.--" when there
// is no grade to compute it from.
QString statisticText(std::optional<double> value);

} // namespace sheet
