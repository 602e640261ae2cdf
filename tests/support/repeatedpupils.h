#pragma once

// A grade file of a larger class made from a sample's own pupils: for the tests and
// benchmarks that need many pages. No name is made up.

#include "gradefile/gradefileio.h"
#include "gradefile/linegrammar.h"

#include <QString>
#include <QStringList>

#include <optional>

// The lines of a grade file with its pupils repeated in their order up to pupils lines.
// Each copy keeps the pupil's level, identifier, name and grades; the order numbers run on
// from 1, as on a class list.
inline QStringList linesWithPupilsRepeated(const QStringList& lines, int pupils)
{
    QStringList head;
    QStringList pupilLines;
    QStringList tail;
    for (const QString& line : lines) {
        if (line.startsWith(gradefile::kEndLinePrefix))
            tail << line;
        else if (line.startsWith(gradefile::kStartLinePrefix) ||
                 line.startsWith(gradefile::kTestLinePrefix))
            head << line;
        else
            pupilLines << line;
    }
    if (pupilLines.isEmpty())
        return lines;
    QStringList result = head;
    for (int i = 0; i < pupils; ++i) {
        QStringList fields = pupilLines[i % pupilLines.size()].split(gradefile::kFieldSeparator);
        if (fields.size() > 1)
            fields[1] = QString::number(i + 1);
        result << fields.join(gradefile::kFieldSeparator);
    }
    return result + tail;
}

// Writes at destination the grade file at source with its pupils repeated up to pupils.
inline bool writeWithPupilsRepeated(const QString& source, const QString& destination, int pupils)
{
    const gradefile::GradeFileRead read = gradefile::readGradeFile(source);
    if (!read.lines)
        return false;
    return gradefile::writeGradeFile(destination, linesWithPupilsRepeated(*read.lines, pupils)).ok;
}
