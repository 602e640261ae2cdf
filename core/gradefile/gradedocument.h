#pragma once

#include "core/disk/diskvolume.h"
#include "core/gradefile/fileerror.h"
#include "core/gradefile/linegrammar.h"
#include "core/gradefile/sheetcolumns.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace gradefile {

// A column that the line does not reach is absent: the cell stays empty.
using RowCells = QMap<int, QString>;

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
    RowCells headers;           // row 0: grade column headers (subject 1..6, annual averages 1)
    int rowCount = 0;           // pupil rows of the grid
    std::vector<RowCells> rows; // rows 1..rowCount (index 0 is row 1)
    std::vector<EndLineFields> endLines; // each end line read, in file order
    QByteArray contentHash; // of the bytes it was read from (GradeDisk::open), if known
    DiskVolume volume;      // the volume it was read from (GradeDisk::open)
};

// NotAGradeFile when its start line does not name it; Malformed otherwise.
struct DocumentRead {
    std::optional<GradeDocument> document;
    FileError error; // when document is empty
};

extern const QString kInvalidGradeFileText;

// kInvalidGradeFileText unless the start line's key matches the file name.
QString listDescription(const QString& fileName, const QStringList& lines);

// As printed on the grade card.
QString sheetDescriptionOf(const QString& caption);

DocumentRead readGradeDocument(const QString& fileName, const QStringList& lines);

} // namespace gradefile
