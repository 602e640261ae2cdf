#pragma once

#include <QString>
#include <QVector>

#include <array>

namespace print {

// The font a piece of a page header or footer prints in. An empty name leaves the
// choice to the printing side.
struct PrintFont {
    QString name;
    int pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const PrintFont& other) const;
    bool operator!=(const PrintFont& other) const { return !(*this == other); }
};

// One piece of a part of a line: a text, or the number of the page being printed.
struct PrintSpan {
    PrintFont font;
    QString text;
    bool pageNumber = false;

    bool operator==(const PrintSpan& other) const;
};

// The left, centre and right parts of one line, each as the pieces it is made of.
struct PrintLine {
    enum Part { Left, Centre, Right };
    std::array<QVector<PrintSpan>, 3> parts;

    bool isEmpty() const;
    // The text of one part as it prints on the page numbered pageNumber.
    QString partText(Part part, int pageNumber) const;
};

// Reads a page header or footer written in print codes back into its lines:
//   /n ends a line; /l, /c, /r start the left, centre, right part of the line;
//   /fn"name", /fz"size", /fb0|1, /fi0|1, /fu0|1, /fk0|1 set the font of what follows;
//   /p is the page number; // is one slash.
// A slash that starts none of these codes is text, so that "2005/2004" or a date reads as
// written. Text before any alignment code on a line belongs to its left part. The font
// carries on from line to line until a code changes it. A string that does not end with
// /n ends with the line it was writing. The empty string has no line.
QVector<PrintLine> readPrintCodes(const QString& codes);

} // namespace print
