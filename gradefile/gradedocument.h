#pragma once

#include "gradefile/diskvolume.h"
#include "gradefile/fileerror.h"
#include "gradefile/linegrammar.h"
#include "gradefile/sheetcolumns.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace gradefile {

// Cell texts of one grid row, by grid column. A column that the line does not reach
// is absent, so the cell stays empty in a freshly opened sheet.
using RowCells = QMap<int, QString>;

// A grade file as the program opens it: what goes into the grade sheet window and
// into the card texts.
struct GradeDocument {
    QString fileName; // as listed, extension included
    QString key;      // file name without ".xml"
    SheetKind kind = SheetKind::AnnualAverages;
    // One character of the start line: "C" centres the names under a short header.
    QString nameLayout;
    qint16 year = 0;            // first calendar year of the school year
    QString schoolYear;         // as printed: "2005/2004"
    QString caption;            // window caption: the start line after its first separator
    QString sheetDescription;   // the caption as printed on the grade card
    RowCells headers;           // row 0: grade column headers (subject 1..6, plain 1)
    int rowCount = 0;           // pupil rows of the grid
    std::vector<RowCells> rows; // rows 1..rowCount (index 0 is row 1)
    std::vector<EndLineFields> endLines; // each end line read, in file order
    QByteArray contentHash; // of the bytes it was read from (GradeDisk::open), if known
    DiskVolume volume;      // the volume it was read from (GradeDisk::open)
};

// A grade file read into its document, or why it cannot be opened: NotAGradeFile when its
// start line does not name it (the teacher is told the file cannot be viewed), Malformed
// with the number and description the "unforeseen error" message shows otherwise.
struct DocumentRead {
    std::optional<GradeDocument> document;
    FileError error; // when document is empty
};

// The text a valid grade file shows in the file list, and what an invalid one shows.
extern const QString kInvalidGradeFileText;

// The description the file list shows for a grade file with these lines: the start
// line's description when its key matches the file name, kInvalidGradeFileText
// otherwise (no line at all, no separator, another key).
QString listDescription(const QString& fileName, const QStringList& lines);

// The caption as printed on the grade card: without its first 29 characters (nothing
// when it is shorter), brackets removed, every "ب" followed by a tatweel and the
// trimester names shortened to their number.
QString sheetDescriptionOf(const QString& caption);

// Reads the lines of the grade file fileName into the document the windows show.
DocumentRead readGradeDocument(const QString& fileName, const QStringList& lines);

} // namespace gradefile
