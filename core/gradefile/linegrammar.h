#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace gradefile {

inline constexpr QChar kFieldSeparator = u'|';

// nullopt when the line does not reach it: its cell is then left as it was.
using Field = std::optional<QString>;

// Index 0 is field 1. The last field is the whole rest of the line, separators included.
std::vector<Field> splitFields(const QString& line, int maxFields);

// --- The file key and what its positions mean -------------------------------------

QString keyFromFileName(const QString& fileName);

// The three characters before the year are "000"; a key shorter than 15 marks an
// annual averages file.
bool isSubjectKey(const QString& key);

// The four characters of the key that hold the first calendar year of the school year.
QString yearTextOfKey(const QString& key);

// --- Start line ----------------------------------------------------------------------

inline constexpr QLatin1String kStartLinePrefix{"DEBUT"};
inline constexpr QLatin1String kTestLinePrefix{"TYPEEPREUVE:"};
inline constexpr QLatin1String kEndLinePrefix{"FIN"};

// From position 6 up to the first separator; nullopt without one there.
std::optional<QString> startLineKey(const QString& startLine);

// The whole line when it has no separator.
QString textAfterFirstSeparator(const QString& line);

// How the names are laid out: the character at position 13 of the start line (may be empty).
QString nameLayoutOfStartLine(const QString& startLine);

// --- End line ------------------------------------------------------------------------

bool isEndLine(const QString& line);

// Fields 2 to 5 are read only when the separator that ends them exists; the print number
// whenever a fifth separator does.
struct EndLineFields {
    std::optional<QString> region;
    std::optional<QString> establishment;
    std::optional<QString> teacher;
    std::optional<qint16> saveNumber;
    std::optional<qint16> printNumber;
};

// nullopt when a counter lies outside the 16-bit range.
std::optional<EndLineFields> readEndLine(const QString& line);

// --- Annual averages pupil line ---------------------------------------------------

// nullopt when the line holds fewer than five separators.
std::optional<std::vector<QString>> splitPlainPupilLine(const QString& line);

} // namespace gradefile
