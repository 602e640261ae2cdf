#include "gradefile/leadingnumber.h"

#include <cfenv>
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
// plain ASCII for strtod; *consumed tells how many characters of text it covers.
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

std::optional<double> leadingNumber(const QString& text)
{
    const std::string number = numberPrefix(text, nullptr);
    if (number.empty())
        return 0.0;
    const double value = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
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
    const double value = std::strtod(number.c_str(), nullptr);
    const std::optional<qint16> result = roundToInt16(value);
    if (!result && overflow)
        *overflow = true;
    return result;
}

} // namespace gradefile
