#pragma once

#include <QString>

#include <array>

namespace print {

// Where a text stands on its line of a page header or footer.
enum class LinePosition { Left, Centre, Right };

// Turns a page header or footer, up to nine lines of a left, a centre and a right text,
// into one string of print codes: every text prints in Tahoma, 10 points, bold, so
//   /fn"Tahoma" /fz"10" /fb1 /fi0 /fu0 /fk0  then /l, /c or /r  then the text
// for each text that is not empty, in the order left, centre, right, and "/n" at the end
// of each line. The lines run from the first down to the last that holds any text.
// A text that is exactly kPageNumberText prints the page number ("/p").
class HeaderComposer {
public:
    static constexpr int kLineCount = 9;
    static const QString kPageNumberText;

    // line counts from 1; a line outside 1 to kLineCount is ignored.
    void setText(int line, LinePosition position, const QString& text);
    // The whole header or footer; the empty string when no line holds a text.
    QString compose() const;

private:
    // The codes of one text, as it stands in the composed string (empty for an empty text).
    QString textRun(int line, LinePosition position) const;

    std::array<std::array<QString, 3>, kLineCount> m_texts;
};

// The text as it must stand in a string of print codes so that it prints unchanged: a
// slash that would otherwise start a code, or that ends the text, is doubled.
QString escapedPrintText(const QString& text);

} // namespace print
