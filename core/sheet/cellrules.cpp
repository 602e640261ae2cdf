#include "core/sheet/cellrules.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace sheet {

namespace {

constexpr int kBackspace = 8;
constexpr int kPoint = u'.';

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Adds one unit of the last digit to a string of decimal digits, carrying leftwards.
QString plusOneInLastDigit(QString digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != u'9') {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
        digits[i] = u'0';
    }
    return QLatin1Char('1') + digits;
}

// Steps of the check once the text is known: value, range, rewrite, look. A number too large
// for a double is refused with the rest (a mark always has the value 0).
CellCheck judge(const QString& text)
{
    const std::optional<double> value = cellValue(text);
    if (!value || *value < kGradeMin || *value > kGradeMax)
        return {text, CheckResult::Refused, true};
    const QString rewritten = toGradeText(text);
    return {rewritten, rewritten == u"00.00" ? CheckResult::Zero : CheckResult::Accepted, false};
}

} // namespace

// Digits with at most one "." and at least one digit, nothing else: exactly the texts whose
// whole content cellValue() reads, and so the only ones the "00.00" rewrite may touch.
bool isPlainNumber(QStringView text)
{
    bool seenDigit = false;
    bool seenPoint = false;
    for (QChar c : text) {
        if (isAsciiDigit(c))
            seenDigit = true;
        else if (c == u'.' && !seenPoint)
            seenPoint = true;
        else
            return false;
    }
    return seenDigit;
}

bool isMark(QStringView text)
{
    return text == kNoGradeMark || text == kExemptMark || text == kAbsentMark;
}

bool filterKey(int characterCode, QStringView currentText)
{
    if (characterCode == kPoint)
        return !currentText.isEmpty() && !currentText.contains(u'.');
    return (characterCode >= u'0' && characterCode <= u'9') || characterCode == kBackspace;
}

char32_t plainCharacter(char32_t character)
{
    if (character >= U'\u0660' && character <= U'\u0669')
        return U'0' + (character - U'\u0660');
    if (character >= U'\u06F0' && character <= U'\u06F9')
        return U'0' + (character - U'\u06F0');
    if (character == U'\u066B')
        return U'.';
    return character;
}

std::optional<double> cellValue(QStringView text)
{
    std::string number;
    bool seenPoint = false;
    bool significantInteger = false; // a non-zero digit before the "."
    for (QChar c : text) {
        if (isAsciiDigit(c)) {
            significantInteger = significantInteger || (!seenPoint && c != u'0');
            number += char(c.unicode());
        } else if (c == u'.' && !seenPoint) {
            number += '.';
            seenPoint = true;
        } else {
            break;
        }
    }
    if (number.empty() || number == ".")
        return 0.0;
    // from_chars reads the C way whatever the process locale ("," is never the separator).
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range either way: too large (with significant integer digits) or too small.
        if (significantInteger)
            return std::nullopt;
        return 0.0;
    }
    return value;
}

QString toGradeText(const QString& text)
{
    if (!isPlainNumber(text))
        return text;
    const qsizetype point = text.indexOf(u'.');
    const QString integer = point < 0 ? text : text.left(point);
    QString fraction = point < 0 ? QString() : text.mid(point + 1);
    if (fraction.size() < 3)
        fraction += QString(3 - fraction.size(), u'0');

    // Integer digits and two decimals as one whole number of hundredths; the third decimal
    // decides the rounding (half away from zero), whatever follows it.
    QString hundredths = integer + fraction.left(2);
    if (fraction[2] >= u'5')
        hundredths = plusOneInLastDigit(hundredths);

    QString whole = hundredths.chopped(2);
    while (whole.size() > 2 && whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (whole.size() < 2)
        whole = QString(2 - whole.size(), u'0') + whole;
    return whole + u'.' + hundredths.right(2);
}

CellCheck checkCell(const QString& text)
{
    return judge(text.isEmpty() || text.trimmed() == u"." ? kNoGradeMark.toString() : text);
}

CellCheck checkCellLeftByWrap(const QString& text)
{
    return judge(text);
}

EnterMove enterMove(EntryMode mode, PupilExam active, int pupilCount, int examCount)
{
    Q_ASSERT(active.pupil >= 1 && active.pupil <= pupilCount);
    const auto at = [](int pupil, int exam) { return PupilExam{pupil, std::max(exam, 0)}; };
    const bool atLastExam = active.exam >= examCount - 1;
    const bool atLastPupil = active.pupil == pupilCount;
    if (mode == EntryMode::Vertical) {
        if (!atLastPupil)
            return {at(active.pupil + 1, active.exam), false};
        if (!atLastExam)
            return {at(1, active.exam + 1), true};
        return {};
    }
    if (!atLastExam)
        return {at(active.pupil, active.exam + 1), false};
    if (atLastPupil)
        return {};
    return {at(active.pupil + 1, 0), examCount > 1};
}

} // namespace sheet
