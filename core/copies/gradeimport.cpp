#include "core/copies/gradeimport.h"

#include <QMultiHash>

#include <algorithm>

namespace sheet {

using PupilField = GradeSheet::PupilField;

namespace {

bool isDigits(QStringView text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString withoutLeadingZeros(const QString& digits)
{
    qsizetype zeros = 0;
    while (zeros + 1 < digits.size() && digits.at(zeros) == u'0')
        ++zeros;
    return digits.mid(zeros);
}

// The pupils of the class by their identifiers.
class ClassIdentifiers {
public:
    explicit ClassIdentifiers(const GradeSheet& sheet)
    {
        for (int pupil = 1; pupil <= sheet.pupilCount(); ++pupil) {
            const QString identifier = sheet.field(pupil, PupilField::Identifier).trimmed();
            if (identifier.isEmpty())
                continue;
            m_exact.insert(identifier, pupil);
            if (isDigits(identifier))
                m_digits.insert(withoutLeadingZeros(identifier), pupil);
        }
    }

    // The pupil row of a file's identifier.
    std::optional<int> rowOf(const QString& value) const
    {
        const QString identifier = value.trimmed();
        if (const auto exact = m_exact.constFind(identifier); exact != m_exact.cend())
            return exact.value();
        if (!isDigits(identifier))
            return std::nullopt;
        const QList<int> rows = m_digits.values(withoutLeadingZeros(identifier));
        return rows.size() == 1 ? std::optional<int>(rows.first()) : std::nullopt;
    }

private:
    QHash<QString, int> m_exact;
    QMultiHash<QString, int> m_digits;
};

int widthOf(const SourceRows& source)
{
    return source.empty() ? 0 : int(source.front().size());
}

ImportedPupil pupilOf(const GradeSheet& sheet, int pupil)
{
    return {sheet.field(pupil, PupilField::Identifier).trimmed(),
            sheet.field(pupil, PupilField::Name).trimmed()};
}

// The choice with each exam filled from the first column chosen for it only.
std::vector<int> examPerColumn(const ImportChoice& choice)
{
    std::vector<int> columns = choice.examOfColumn;
    for (size_t col = 0; col < columns.size(); ++col) {
        const bool taken = std::find(columns.begin(), columns.begin() + qsizetype(col),
                                     columns[col]) != columns.begin() + qsizetype(col);
        if (int(col) == choice.identifierColumn || taken)
            columns[col] = kNoExam;
    }
    return columns;
}

} // namespace

std::vector<ImportExam> importExams(const GradeSheet& sheet)
{
    std::vector<ImportExam> exams;
    for (int exam : sheet.shownExams())
        exams.push_back({exam, sheet.examHeader(exam)});
    return exams;
}

std::optional<int> guessIdentifierColumn(const SourceRows& source, const GradeSheet& sheet)
{
    const ClassIdentifiers identifiers(sheet);
    std::optional<int> best;
    int bestCount = 0;
    for (int col = 0; col < widthOf(source); ++col) {
        const int count =
            int(std::count_if(source.begin() + 1, source.end(), [&](const QStringList& row) {
                return identifiers.rowOf(row.value(col)).has_value();
            }));
        if (count > bestCount) {
            best = col;
            bestCount = count;
        }
    }
    return best;
}

std::vector<int> examColumnsByHeader(const SourceRows& source, const std::vector<ImportExam>& exams,
                                     int identifierColumn)
{
    std::vector<int> columns(size_t(widthOf(source)), kNoExam);
    for (int col = 0; col < widthOf(source); ++col) {
        const QString header = source.front().value(col).simplified();
        for (const ImportExam& exam : exams) {
            if (col != identifierColumn && !header.isEmpty() && exam.header.simplified() == header)
                columns[size_t(col)] = exam.exam;
        }
    }
    return columns;
}

ImportPlan planImport(const SourceRows& source, const GradeSheet& sheet, const ImportChoice& choice)
{
    ImportPlan plan;
    const ClassIdentifiers identifiers(sheet);
    std::vector<int> rowsOfPupil(size_t(sheet.pupilCount()) + 1, 0);
    std::vector<std::pair<size_t, int>> found; // file row, pupil row
    for (size_t at = 1; at < source.size(); ++at) {
        const QString identifier = source[at].value(choice.identifierColumn).trimmed();
        if (identifier.isEmpty())
            continue;
        const std::optional<int> row = identifiers.rowOf(identifier);
        if (!row) {
            plan.unknown << identifier;
            continue;
        }
        if (++rowsOfPupil[size_t(*row)] == 2)
            plan.repeated << identifier;
        found.emplace_back(at, *row);
    }
    for (int row = 1; row <= sheet.pupilCount(); ++row) {
        if (rowsOfPupil[size_t(row)] == 0)
            plan.missing.push_back(pupilOf(sheet, row));
        plan.matched += rowsOfPupil[size_t(row)] == 1;
    }
    const std::vector<int> exams = examPerColumn(choice);
    for (const auto& [at, row] : found) {
        if (rowsOfPupil[size_t(row)] != 1)
            continue;
        for (size_t col = 0; col < exams.size(); ++col) {
            const int exam = exams[col];
            const std::optional<CellCheck> check = checkBroughtValue(source[at].value(int(col)));
            if (exam == kNoExam || !check)
                continue;
            const ImportedValue value{pupilOf(sheet, row), sheet.examHeader(exam),
                                      sheet.grade(row, exam), check->text};
            if (check->refused) {
                plan.refused.push_back(value);
            } else if (value.before != value.value) {
                plan.writes.push_back({row, exam, value.value});
                plan.changed.push_back(value);
                plan.filled += value.before.isEmpty() || value.before == kNoGradeMark;
            }
        }
    }
    return plan;
}

} // namespace sheet
