#include "core/copies/sheetxlsx.h"

#include "core/copies/classstatistics.h"
#include "core/copies/sheetcsv.h"

#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <memory>

namespace sheet {

namespace {

const QString kGradesSheetName = QStringLiteral("الأعداد");
const QString kStatisticsSheetName = QStringLiteral("إحصائيات");
const QString kPupilsAxis = QStringLiteral("عدد التلاميذ");
constexpr uint8_t kA4Paper = 9; // in the spreadsheets' own numbering of paper sizes

// Closing is the only way libxlsxwriter lets a workbook go; a workbook given up halfway is
// written into the temporary folder that is thrown away with it.
struct WorkbookCloser {
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookCloser>;

// The looks the cells share; the workbook owns them.
struct Formats {
    lxw_format* header = nullptr;
    lxw_format* grade = nullptr;   // a number shown as the sheet shows a grade: 7 as 07.00
    lxw_format* centred = nullptr; // a text or a count among grades, centred as they are
    lxw_format* text = nullptr;    // a text that stays one even when it is all digits
};

Formats addFormats(lxw_workbook* workbook)
{
    Formats formats;
    formats.header = workbook_add_format(workbook);
    format_set_bold(formats.header);
    format_set_align(formats.header, LXW_ALIGN_CENTER);
    formats.grade = workbook_add_format(workbook);
    format_set_num_format(formats.grade, "00.00");
    format_set_align(formats.grade, LXW_ALIGN_CENTER);
    formats.centred = workbook_add_format(workbook);
    format_set_align(formats.centred, LXW_ALIGN_CENTER);
    formats.text = workbook_add_format(workbook);
    format_set_num_format(formats.text, "@");
    return formats;
}

// One right-to-left worksheet being filled; keeps the first cell libxlsxwriter refused.
class Worksheet {
public:
    Worksheet(lxw_workbook* workbook, const QString& name)
        : m_name(name.toUtf8()), m_sheet(workbook_add_worksheet(workbook, m_name.constData()))
    {
        Q_ASSERT(m_sheet);
        worksheet_right_to_left(m_sheet);
        // Printed on the school's A4 paper, every column on the width of a page.
        worksheet_set_paper(m_sheet, kA4Paper);
        worksheet_fit_to_pages(m_sheet, 1, 0);
    }

    void text(int row, int col, const QString& text, lxw_format* format)
    {
        keep(worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(col),
                                    text.toUtf8().constData(), format));
    }
    void number(int row, int col, double value, lxw_format* format = nullptr)
    {
        keep(worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(col), value, format));
    }
    // Wide enough for the longest of the texts of a column, counted in characters.
    void fitColumn(int col, qsizetype longestText)
    {
        const double width = std::clamp(double(longestText) * 1.2 + 2, 8.0, 60.0);
        keep(worksheet_set_column(m_sheet, lxw_col_t(col), lxw_col_t(col), width, nullptr));
    }
    // The headers stay in sight on the screen and on every printed page.
    void freezeHeaders(int rows, int cols)
    {
        worksheet_freeze_panes(m_sheet, lxw_row_t(rows), lxw_col_t(cols));
        keep(worksheet_repeat_rows(m_sheet, 0, lxw_row_t(rows - 1)));
    }
    // No warning triangle on the identifiers, texts that look like numbers on purpose.
    void allowDigitTexts(int rows, int cols)
    {
        char range[LXW_MAX_CELL_RANGE_LENGTH];
        lxw_rowcol_to_range(range, 0, 0, lxw_row_t(rows - 1), lxw_col_t(cols - 1));
        keep(worksheet_ignore_errors(m_sheet, LXW_IGNORE_NUMBER_STORED_AS_TEXT, range));
    }
    void insertChart(int row, int col, lxw_chart* chart, double widthScale)
    {
        lxw_chart_options options{};
        options.x_scale = widthScale;
        options.y_scale = 1.2;
        keep(worksheet_insert_chart_opt(m_sheet, lxw_row_t(row), lxw_col_t(col), chart, &options));
    }
    const char* name() const { return m_name.constData(); }
    lxw_error error() const { return m_error; }

private:
    void keep(lxw_error error)
    {
        if (m_error == LXW_NO_ERROR)
            m_error = error;
    }

    QByteArray m_name;
    lxw_worksheet* m_sheet;
    lxw_error m_error = LXW_NO_ERROR;
};

// An order number that is a plain count stays a number, so that the rows sort by it.
std::optional<double> orderNumberOf(const QString& text)
{
    bool ok = false;
    const uint number = text.toUInt(&ok);
    return ok && QString::number(number) == text ? std::optional<double>(number) : std::nullopt;
}

// A grade as a number that averages; a mark, or a text that is no grade, as it reads.
void writeGradeCell(Worksheet& sheet, const Formats& formats, int row, int column,
                    const QString& text)
{
    if (const std::optional<double> grade = gradeValueOf(text))
        sheet.number(row, column, *grade, formats.grade);
    else
        sheet.text(row, column, text, formats.centred);
}

// The order number, the identifier and the name.
void writePupilCell(Worksheet& sheet, const Formats& formats, int row, int column, bool orderNumber,
                    const QString& text)
{
    const std::optional<double> order = orderNumber ? orderNumberOf(text) : std::nullopt;
    if (order)
        sheet.number(row, column, *order);
    else
        sheet.text(row, column, text, formats.text);
}

void writeGrades(Worksheet& sheet, const Formats& formats, const GradeSheet& grades)
{
    const QList<int> columns = readingOrderColumns(grades);
    const int orderNumberColumn =
        GradeSheet::fieldCell(0, GradeSheet::PupilField::OrderNumber).column;
    for (int column = 0; column < columns.size(); ++column) {
        const int gridColumn = columns[column];
        const QString header = shownHeader(grades.text({gridColumn, 0}));
        sheet.text(0, column, header, formats.header);
        qsizetype longest = header.size();
        for (int row = 1; row <= grades.pupilCount(); ++row) {
            const QString text = grades.text({gridColumn, row});
            if (text.isEmpty())
                continue;
            if (GradeSheet::examAt(gridColumn))
                writeGradeCell(sheet, formats, row, column, text);
            else
                writePupilCell(sheet, formats, row, column, gridColumn == orderNumberColumn, text);
            longest = std::max(longest, text.size());
        }
        sheet.fitColumn(column, longest);
    }
    sheet.freezeHeaders(1, 0);
    if (!columns.isEmpty())
        sheet.allowDigitTexts(grades.pupilCount() + 1, int(columns.size()));
}

// A column chart of the distribution table whose header row is at top, one series per exam. Its
// bands read right to left, as the sheet does.
void addDistributionChart(lxw_workbook* workbook, Worksheet& sheet, int top, int exams)
{
    lxw_chart* chart = workbook_add_chart(workbook, LXW_CHART_COLUMN);
    const QByteArray title = kDistributionTitle.toUtf8();
    chart_title_set_name(chart, title.constData());
    const QByteArray pupils = kPupilsAxis.toUtf8();
    chart_axis_set_name(chart->y_axis, pupils.constData());
    chart_axis_set_reverse(chart->x_axis);
    chart_legend_set_position(chart, LXW_CHART_LEGEND_BOTTOM);
    const auto first = lxw_row_t(top + 1);
    const auto last = lxw_row_t(top + kGradeBands);
    for (int column = 1; column <= exams; ++column) {
        lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
        chart_series_set_name_range(series, sheet.name(), lxw_row_t(top), lxw_col_t(column));
        chart_series_set_categories(series, sheet.name(), first, 0, last, 0);
        chart_series_set_values(series, sheet.name(), first, lxw_col_t(column), last,
                                lxw_col_t(column));
    }
    sheet.insertChart(int(last) + 2, 0, chart, 1.0 + 0.1 * exams);
}

// Under the figures, after an empty row: the bands down the first column, the count of each
// exam's grades in each band across, and their chart below.
void writeDistribution(lxw_workbook* workbook, Worksheet& sheet, const Formats& formats,
                       const std::vector<ExamStatistics>& statistics, int top)
{
    if (statistics.empty())
        return;
    sheet.text(top, 0, kDistributionTitle, formats.header);
    for (int band = 0; band < kGradeBands; ++band)
        sheet.text(top + 1 + band, 0, gradeBandLabel(band), formats.centred);
    for (int column = 1; column <= int(statistics.size()); ++column) {
        const ExamStatistics& exam = statistics[size_t(column - 1)];
        sheet.text(top, column, exam.header, formats.header);
        for (int band = 0; band < kGradeBands; ++band)
            sheet.number(top + 1 + band, column, exam.distribution[size_t(band)], formats.centred);
    }
    addDistributionChart(workbook, sheet, top, int(statistics.size()));
}

// The statistics dialog's table: the names of the figures in the first column, then one
// column per exam; the distribution of the grades below.
void writeStatistics(lxw_workbook* workbook, Worksheet& sheet, const Formats& formats,
                     const std::vector<ExamStatistics>& statistics)
{
    QStringList labels = statisticsLabels();
    const bool other = anyOtherTexts(statistics);
    if (other)
        labels << kOtherTextsLabel;
    qsizetype longestLabel = 0;
    for (int row = 0; row < labels.size(); ++row) {
        sheet.text(row + 1, 0, labels[row], nullptr);
        longestLabel = std::max(longestLabel, labels[row].size());
    }
    sheet.fitColumn(0, longestLabel);
    for (int column = 1; column <= int(statistics.size()); ++column) {
        const ExamStatistics& exam = statistics[size_t(column - 1)];
        sheet.text(0, column, exam.header, formats.header);
        sheet.fitColumn(column, exam.header.size());
        int row = 1;
        for (int count : countsOf(exam))
            sheet.number(row++, column, count, formats.centred);
        for (std::optional<double> figure : gradeFiguresOf(exam)) {
            if (figure)
                sheet.number(row++, column, *figure, formats.grade);
            else
                sheet.text(row++, column, statisticText(figure), formats.centred);
        }
        if (other)
            sheet.number(row, column, exam.other, formats.centred);
    }
    sheet.freezeHeaders(1, 1);
    writeDistribution(workbook, sheet, formats, statistics, int(labels.size()) + 2);
}

XlsxWorkbook failure(const QString& description)
{
    return {std::nullopt, gradefile::makeFileError(gradefile::FileErrorKind::Other, description)};
}

} // namespace

XlsxWorkbook sheetXlsx(const GradeSheet& sheet)
{
    // libxlsxwriter writes to a file of its own making: the workbook is made whole in a
    // folder of its own, then read back for a safe write to its target.
    const QTemporaryDir folder;
    if (!folder.isValid())
        return failure(folder.errorString());
    const QString path = folder.filePath(QStringLiteral("copy.xlsx"));
    QByteArray temporaryFolder = QFile::encodeName(folder.path());
    lxw_workbook_options options{};
    options.tmpdir = temporaryFolder.data();
    Workbook workbook(workbook_new_opt(QFile::encodeName(path).constData(), &options));
    if (!workbook)
        return failure(QStringLiteral("The workbook could not be made."));

    const Formats formats = addFormats(workbook.get());
    Worksheet grades(workbook.get(), kGradesSheetName);
    writeGrades(grades, formats, sheet);
    Worksheet statistics(workbook.get(), kStatisticsSheetName);
    writeStatistics(workbook.get(), statistics, formats, classStatistics(sheet));
    const lxw_error closed = workbook_close(workbook.release());
    for (lxw_error error : {grades.error(), statistics.error(), closed}) {
        if (error != LXW_NO_ERROR)
            return failure(QString::fromUtf8(lxw_strerror(error)));
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString());
    return {file.readAll(), {}};
}

} // namespace sheet
