#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace gradefile {

// The character that separates the fields of a line.
inline constexpr QChar kFieldSeparator = u'|';

// One field of a line: nullopt when the line does not reach it (its cell is then left
// as it was), an empty text when two separators stand side by side.
using Field = std::optional<QString>;

// Splits a line into at most maxFields fields (index 0 is field 1). The separators
// are searched one after the other, each only when the previous one was found; a
// middle field with no separator after it runs to the end of the line, and the last
// field is the whole rest of the line, separators included.
std::vector<Field> splitFields(const QString& line, int maxFields);

// --- The file key and what its positions mean -------------------------------------

// The file name without its last four characters (".xml").
QString keyFromFileName(const QString& fileName);

// True when the key marks a subject grade file: the three characters before the year
// are "000". A key shorter than 15 characters always marks a plain grade file.
bool isSubjectKey(const QString& key);

// The four characters of the key that hold the first calendar year of the school year.
QString yearTextOfKey(const QString& key);

// --- Start line ----------------------------------------------------------------------

inline constexpr QLatin1String kStartLinePrefix{"DEBUT"};
inline constexpr QLatin1String kTestLinePrefix{"TYPEEPREUVE:"};
inline constexpr QLatin1String kEndLinePrefix{"FIN"};

// The key a start line names: the text from position 6 up to the first separator.
// nullopt when the line has no separator, or one that stands before position 6.
std::optional<QString> startLineKey(const QString& startLine);

// Everything after the first separator of a line (the whole line when it has none).
QString textAfterFirstSeparator(const QString& line);

// How the names are laid out: the character at position 13 of the start line (may be empty).
QString nameLayoutOfStartLine(const QString& startLine);

// --- End line ------------------------------------------------------------------------

bool isEndLine(const QString& line);

// The fields of an end line that were present. Fields 2 to 5 are read only when the
// separator that ends them exists; the print number whenever a fifth separator does.
struct EndLineFields {
    std::optional<QString> region;
    std::optional<QString> establishment;
    std::optional<QString> teacher;
    std::optional<qint16> saveNumber;
    std::optional<qint16> printNumber;
};

// nullopt when a counter lies outside the 16-bit range.
std::optional<EndLineFields> readEndLine(const QString& line);

// --- Plain pupil line ----------------------------------------------------------------

// The six fields of a plain pupil line, split at its first five separators; nullopt
// when the line holds fewer than five.
std::optional<std::vector<QString>> splitPlainPupilLine(const QString& line);

} // namespace gradefile
