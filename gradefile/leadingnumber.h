#pragma once

#include <QString>

#include <optional>

namespace gradefile {

// The number a text starts with, read the way the administration's system reads the
// counters of a grade file: blanks (space, TAB, LF) are ignored wherever they stand,
// an optional sign, decimal digits with at most one ".", an optional exponent
// ("E" or "D"); reading stops at the first character that cannot continue the number,
// and a text with no leading number gives 0. nullopt when the number is too large for
// a double.
std::optional<double> leadingNumber(const QString& text);

// A value rounded to the nearest integer, halves to the even integer, as a 16-bit
// signed number; nullopt outside -32768 to 32767.
std::optional<qint16> roundToInt16(double value);

// The leading number of text as a 16-bit counter; nullopt when out of range.
std::optional<qint16> leadingInt16(const QString& text);

// A text that must be a number as a whole (surrounding spaces allowed), as a 16-bit
// integer: nullopt when it is not a number; *overflow is set when it is a number but
// out of range.
std::optional<qint16> wholeInt16(const QString& text, bool* overflow = nullptr);

} // namespace gradefile
