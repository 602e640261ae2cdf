#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// A class's grades as another program keeps them: a CSV file or an Excel workbook, read into
// rows of texts. The file comes from outside the program: whatever it holds, reading it gives
// rows or a reason, within limits of size that keep a hostile file from filling the memory.
namespace sheet {

// Row 0 holds the headers; every row has the columns of the file, empty cells empty.
using SourceRows = std::vector<QStringList>;

enum class SourceError { None, Unreadable, TooLarge, NotAWorkbook, NoSheet, NoWorkbookReader };

struct SourceRead {
    SourceRows rows;
    SourceError error = SourceError::None;
    QString encoding; // what a CSV file was read as: "UTF-8" or "Windows-1256"
};

// A class is never this large; a file beyond these is refused rather than half read.
inline constexpr qint64 kMaxSourceBytes = 16 * 1024 * 1024;
inline constexpr int kMaxSourceRows = 5000;
inline constexpr int kMaxSourceColumns = 64;

// Reads path as a workbook when its name ends in ".xlsx", else as CSV.
SourceRead readGradeSource(const QString& path);

// CSV as spreadsheets write it: UTF-8 with or without a byte order mark, fields separated by
// the one of "," ";" and TAB the header line uses most, double-quoted fields with "" for a
// quote and line breaks inside, lines ending with LF or CR LF.
SourceRead readCsvSource(const QByteArray& bytes);

// The first sheet of the .xlsx workbook at path, each cell at the column its reference names
// and as the spreadsheet shows it: a boolean "TRUE" or "FALSE", a number formatted as a date,
// a time or a percentage as such (never a day's serial number), other numbers as numbers.
SourceRead readXlsxSource(const QString& path);

// Every row made as wide as the widest.
void padSourceRows(SourceRows& rows);

// Why a file gave no rows, as the teacher reads it.
QString sourceErrorText(SourceError error);

} // namespace sheet
