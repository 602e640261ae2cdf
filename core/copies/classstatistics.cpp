#include "core/copies/classstatistics.h"

#include "core/sheet/cellrules.h"

#include <algorithm>
#include <cmath>

namespace sheet {

namespace {

void count(ExamStatistics& statistics, const QString& text, std::vector<double>& grades)
{
    if (text.isEmpty())
        ++statistics.empty;
    else if (text == kAbsentMark)
        ++statistics.absent;
    else if (text == kExemptMark)
        ++statistics.exempt;
    else if (text == kNoGradeMark)
        ++statistics.noGrade;
    else if (const std::optional<double> grade = gradeValueOf(text))
        grades.push_back(*grade);
    else
        ++statistics.other;
}

void summarise(ExamStatistics& statistics, std::vector<double> grades)
{
    statistics.graded = int(grades.size());
    statistics.under10 =
        int(std::count_if(grades.cbegin(), grades.cend(), [](double grade) { return grade < 10; }));
    if (grades.empty())
        return;
    std::sort(grades.begin(), grades.end());
    double sum = 0;
    for (double grade : grades) {
        sum += grade;
        ++statistics.distribution[size_t(gradeBandOf(grade))];
    }
    const size_t n = grades.size();
    statistics.mean = sum / double(n);
    statistics.median = n % 2 == 1 ? grades[n / 2] : (grades[n / 2 - 1] + grades[n / 2]) / 2;
    statistics.min = grades.front();
    statistics.max = grades.back();
}

} // namespace

std::optional<double> gradeValueOf(QStringView text)
{
    if (!isPlainNumber(text))
        return std::nullopt;
    const std::optional<double> value = cellValue(text);
    if (!value || *value < kGradeMin || *value > kGradeMax)
        return std::nullopt;
    return value;
}

int gradeBandOf(double grade)
{
    Q_ASSERT(grade >= kGradeMin && grade <= kGradeMax);
    const long hundredths = std::lround(grade * 100);
    return int(std::min(hundredths / 200, long(kGradeBands - 1)));
}

QString gradeBandLabel(int band)
{
    return QStringLiteral("%1 - %2").arg(band * 2).arg(band * 2 + 2);
}

std::vector<ExamStatistics> classStatistics(const GradeSheet& sheet)
{
    std::vector<ExamStatistics> all;
    for (int exam : sheet.shownExams()) {
        ExamStatistics statistics;
        statistics.exam = exam;
        statistics.header = sheet.examHeader(exam);
        if (statistics.header.isEmpty())
            continue;
        std::vector<double> grades;
        for (int pupil = 1; pupil <= sheet.pupilCount(); ++pupil)
            count(statistics, sheet.grade(pupil, exam), grades);
        summarise(statistics, std::move(grades));
        all.push_back(statistics);
    }
    return all;
}

const QString kOtherTextsLabel = QStringLiteral("نصّ غير صالح");
const QString kDistributionTitle = QStringLiteral("توزيع الأعداد");

const QStringList& statisticsLabels()
{
    static const QStringList labels = {
        QStringLiteral("عدد مسند"),   QStringLiteral("غياب شرعي (غ.ش.)"),
        QStringLiteral("معفى"),       QStringLiteral("غير مسند (--.--)"),
        QStringLiteral("خانة فارغة"), QStringLiteral("عدد دون 10"),
        QStringLiteral("المعدّل"),     QStringLiteral("الوسيط"),
        QStringLiteral("أدنى عدد"),   QStringLiteral("أعلى عدد"),
    };
    return labels;
}

bool anyOtherTexts(const std::vector<ExamStatistics>& statistics)
{
    return std::any_of(statistics.cbegin(), statistics.cend(),
                       [](const ExamStatistics& exam) { return exam.other > 0; });
}

QList<QStringList> statisticsRows(const std::vector<ExamStatistics>& statistics)
{
    QList<QStringList> rows{{QString()}};
    for (const QString& label : statisticsLabels())
        rows << QStringList{label};
    const bool other = anyOtherTexts(statistics);
    if (other)
        rows << QStringList{kOtherTextsLabel};
    for (const ExamStatistics& exam : statistics) {
        rows[0] << exam.header;
        QStringList figures = figureTextsOf(exam);
        if (other)
            figures << QString::number(exam.other);
        for (int row = 0; row < figures.size(); ++row)
            rows[row + 1] << figures[row];
    }
    return rows;
}

QList<QStringList> distributionRows(const std::vector<ExamStatistics>& statistics)
{
    QList<QStringList> rows{{kDistributionTitle}};
    for (int band = 0; band < kGradeBands; ++band)
        rows << QStringList{gradeBandLabel(band)};
    for (const ExamStatistics& exam : statistics) {
        rows[0] << exam.header;
        for (int band = 0; band < kGradeBands; ++band)
            rows[band + 1] << QString::number(exam.distribution[size_t(band)]);
    }
    return rows;
}

std::array<int, 6> countsOf(const ExamStatistics& exam)
{
    return {exam.graded, exam.absent, exam.exempt, exam.noGrade, exam.empty, exam.under10};
}

std::array<std::optional<double>, 4> gradeFiguresOf(const ExamStatistics& exam)
{
    return {exam.mean, exam.median, exam.min, exam.max};
}

QStringList figureTextsOf(const ExamStatistics& exam)
{
    QStringList figures;
    for (int count : countsOf(exam))
        figures << QString::number(count);
    for (std::optional<double> figure : gradeFiguresOf(exam))
        figures << statisticText(figure);
    return figures;
}

QString statisticText(std::optional<double> value)
{
    if (!value)
        return kNoGradeMark.toString();
    // Written out with more decimals than a grade has, then rounded as a typed grade is.
    return toGradeText(QString::number(*value, 'f', 6));
}

} // namespace sheet
