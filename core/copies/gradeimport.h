#pragma once

#include "core/copies/gradesource.h"
#include "core/sheet/gradeblock.h"
#include "core/sheet/gradesheet.h"

#include <optional>
#include <vector>

// A class's grades imported from a file of rows: which pupil each row is, which exam each
// column fills, and what the import would do, before anything changes.
//
// A row is its pupil's only by the identifier: never by its place in the file nor by a name.
// Identifiers are compared as texts once their blanks are trimmed. A spreadsheet that took an
// identifier for a number drops its leading zeros ("0123" became 123): digits match an
// identifier of the class that differs only by leading zeros when exactly one does. An
// identifier the spreadsheet wrote in its scientific form ("1.23E+8") has lost its last
// digits: it matches nothing and is listed as unknown, never guessed.
namespace sheet {

// A file column that fills no exam.
inline constexpr int kNoExam = -1;

// A shown exam of the sheet (0 the first) and its header as the teacher reads it.
struct ImportExam {
    int exam = 0;
    QString header;
};

// The exams an import may fill: the shown ones, first exam first, with their headers.
std::vector<ImportExam> importExams(const GradeSheet& sheet);

// The file column whose values match the most identifiers of the class; nullopt when none
// does.
std::optional<int> guessIdentifierColumn(const SourceRows& source, const GradeSheet& sheet);

// For each file column, the exam whose header it has (blanks aside), or kNoExam. The
// identifier column goes to none.
std::vector<int> examColumnsByHeader(const SourceRows& source, const std::vector<ImportExam>& exams,
                                     int identifierColumn);

struct ImportChoice {
    int identifierColumn = 0;
    std::vector<int> examOfColumn; // per file column, as examColumnsByHeader gives them
};

struct ImportedPupil {
    QString identifier;
    QString name;
};

// A value of the file for one pupil's exam: a refused one, or a grade it writes.
struct ImportedValue {
    ImportedPupil pupil;
    QString exam;
    QString before; // the cell's text now
    QString value;  // the file's text (refused), or the grade it writes (changed)
};

struct ImportPlan {
    std::vector<GradeWrite> writes;     // the grades written, checked: one per changed value
    int matched = 0;                    // pupils of the class found in the file
    QStringList unknown;                // identifiers of the file that are no pupil of the class
    QStringList repeated;               // identifiers on several rows: none of their values goes
    std::vector<ImportedPupil> missing; // pupils of the class the file has no row for
    std::vector<ImportedValue> refused; // values the cell check refuses: never written
    std::vector<ImportedValue> changed; // every cell whose text the import changes, as written
    int filled = 0;                     // of those, the cells that held nothing or "--.--"
};

// Row 0 of the source holds the headers. Empty values, and values the cell holds already,
// leave their cell as it is.
ImportPlan planImport(const SourceRows& source, const GradeSheet& sheet,
                      const ImportChoice& choice);

} // namespace sheet
