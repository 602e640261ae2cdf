#include "core/gradefile/leadingnumber.h"

#include <algorithm>
#include <cfenv>
#include <charconv>
#include <cmath>
#include <string>

namespace gradefile {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Collects the longest prefix of text that forms a decimal number (blanks dropped) as
// plain ASCII for parseNumber; *consumed tells how many characters of text it covers.
std::string numberPrefix(const QString& text, qsizetype* consumed)
{
    std::string number;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text.at(i)))
            ++i;
    };
    skipBlanks();
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        number += char(text.at(i).unicode());
        ++i;
    }
    bool seenDigit = false;
    bool seenPoint = false;
    for (;; ++i) {
        skipBlanks();
        if (i >= n)
            break;
        const QChar c = text.at(i);
        if (isAsciiDigit(c)) {
            number += char(c.unicode());
            seenDigit = true;
        } else if (c == u'.' && !seenPoint) {
            number += '.';
            seenPoint = true;
        } else {
            break;
        }
    }
    qsizetype end = i;
    if (seenDigit && i < n && (text.at(i).toUpper() == u'E' || text.at(i).toUpper() == u'D')) {
        std::string exponent = "e";
        qsizetype j = i + 1;
        while (j < n && isBlank(text.at(j)))
            ++j;
        if (j < n && (text.at(j) == u'+' || text.at(j) == u'-'))
            exponent += char(text.at(j++).unicode());
        bool exponentDigit = false;
        for (;; ++j) {
            while (j < n && isBlank(text.at(j)))
                ++j;
            if (j >= n || !isAsciiDigit(text.at(j)))
                break;
            exponent += char(text.at(j).unicode());
            exponentDigit = true;
        }
        if (exponentDigit) {
            number += exponent;
            end = j;
        }
    }
    if (consumed)
        *consumed = end;
    return seenDigit ? number : std::string();
}

} // namespace

// Roughly the power of ten of a number collected by numberPrefix: positive for a number
// of one or more, negative for a fraction. Only its sign is used, to tell a number too
// large for a double from one too small.
long decimalMagnitude(const std::string& number)
{
    const size_t exponentAt = number.find('e');
    const std::string mantissa = number.substr(0, exponentAt);
    long exponent = 0;
    if (exponentAt != std::string::npos) {
        const std::string digits = number.substr(exponentAt + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        for (char c : digits) {
            if (c >= '0' && c <= '9')
                exponent = std::min(exponent * 10 + (c - '0'), 1000000L);
        }
        if (negative)
            exponent = -exponent;
    }
    const size_t first = mantissa.find_first_of("123456789");
    if (first == std::string::npos)
        return -1;
    const size_t point = mantissa.find('.');
    const long position = point == std::string::npos || first < point
                              ? long((point == std::string::npos ? mantissa.size() : point) - first)
                              : -long(first - point - 1);
    return position + exponent;
}

// The value of a number collected by numberPrefix, read the same way whatever the
// system's locale says a decimal point is. nullopt when it does not fit a double.
std::optional<double> parseNumber(const std::string& number)
{
    const bool negative = !number.empty() && number.front() == '-';
    const size_t start = !number.empty() && (number.front() == '-' || number.front() == '+');
    double value = 0;
    const auto [end, error] =
        std::from_chars(number.data() + start, number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small to be anything but zero is zero; too large is an overflow.
        if (decimalMagnitude(number) < 0)
            return 0.0;
        return std::nullopt;
    }
    if (error != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<double> leadingNumber(const QString& text)
{
    const std::string number = numberPrefix(text, nullptr);
    if (number.empty())
        return 0.0;
    return parseNumber(number);
}

std::optional<qint16> roundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // nearbyint follows the current rounding mode, which is to-nearest-even unless
    // someone changed it; say so explicitly rather than rely on it.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

std::optional<qint16> leadingInt16(const QString& text)
{
    const std::optional<double> value = leadingNumber(text);
    if (!value)
        return std::nullopt;
    return roundToInt16(*value);
}

std::optional<qint16> wholeInt16(const QString& text, bool* overflow)
{
    if (overflow)
        *overflow = false;
    const QString trimmed = text.trimmed();
    qsizetype consumed = 0;
    const std::string number = numberPrefix(trimmed, &consumed);
    if (number.empty() || consumed != trimmed.size())
        return std::nullopt;
    const std::optional<double> value = parseNumber(number);
    const std::optional<qint16> result = value ? roundToInt16(*value) : std::nullopt;
    if (!result && overflow)
        *overflow = true;
    return result;
}

} // namespace gradefile
