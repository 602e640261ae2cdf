#pragma once

#include <QString>

#include <array>

namespace print {

// Where a text stands on its line of a page header or footer.
enum class LinePosition { Left, Centre, Right };

// What the composer keeps of a text's font. The size and the weight are not kept: every
// run prints at 10 points, bold.
struct ComposerFont {
    QString name = QStringLiteral("Tahoma");
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// Turns a page header or footer, up to nine lines of a left, a centre and a right text,
// into one string of print codes:
//   /fn"name" /fz"10" /fb1 /fi0|1 /fu0|1 /fk0|1  then /l, /c or /r  then the text
// for each text that is not empty, in the order left, centre, right, and "/n" at the end
// of each line. The lines run from the first down to the last that holds any text.
// A text that is exactly kPageNumberText prints the page number ("/p").
class HeaderComposer {
public:
    static constexpr int kLineCount = 9;
    static const QString kPageNumberText;

    // line counts from 1; a line outside 1 to kLineCount is ignored.
    void setText(int line, LinePosition position, const QString& text);
    QString text(int line, LinePosition position) const;
    void setFont(int line, LinePosition position, const ComposerFont& font);
    ComposerFont font(int line, LinePosition position) const;

    // Empties every text; the fonts stay.
    void clearTexts();

    // The last line holding a text, 0 when none does.
    int lastLineWithText() const;

    // The codes of one text, as it stands in the composed string (empty for an empty text).
    QString cellRun(int line, LinePosition position) const;

    // The whole header or footer; the empty string when no line holds a text.
    QString compose() const;

private:
    struct Cell {
        QString text;
        ComposerFont font;
    };
    static bool isLine(int line) { return line >= 1 && line <= kLineCount; }
    const Cell& cell(int line, LinePosition position) const;
    Cell& cell(int line, LinePosition position);

    std::array<std::array<Cell, 3>, kLineCount> m_cells;
};

// The text as it must stand in a string of print codes so that it prints unchanged: a
// slash that would otherwise start a code, or that ends the text, is doubled.
QString escapedPrintText(const QString& text);

} // namespace print
