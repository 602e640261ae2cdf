#pragma once

#include <QString>

#include <optional>

namespace gradefile {

// As the administration's system reads a grade file's counters: blanks (space, TAB, LF) are
// ignored wherever they stand, and the exponent may be "E" or "D". No leading number gives 0;
// nullopt when too large for a double.
std::optional<double> leadingNumber(const QString& text);

// Halves to the even integer.
std::optional<qint16> roundToInt16(double value);

std::optional<qint16> leadingInt16(const QString& text);

// Surrounding spaces allowed; *overflow is set for a number out of range.
std::optional<qint16> wholeInt16(const QString& text, bool* overflow = nullptr);

} // namespace gradefile
