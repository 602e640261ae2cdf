#pragma once

// A grade file of a larger class made from a sample's own pupils, for the tests and benchmarks
// that need many pages: each copy keeps the pupil's level, identifier, name and grades, the
// order numbers run on from 1 as on a class list. No name is made up.
#include "gradefile/linegrammar.h"

#include <QStringList>

inline QStringList linesWithPupilsRepeated(const QStringList& lines, int pupils)
{
    QStringList head, own, tail;
    using namespace gradefile;
    for (const QString& line : lines) {
        if (line.startsWith(kEndLinePrefix))
            tail << line;
        else if (line.startsWith(kStartLinePrefix) || line.startsWith(kTestLinePrefix))
            head << line;
        else
            own << line;
    }
    for (int i = 0; i < pupils && !own.isEmpty(); ++i) {
        QStringList fields = own[i % own.size()].split(kFieldSeparator);
        if (fields.size() > 1)
            fields[1] = QString::number(i + 1);
        head << fields.join(kFieldSeparator);
    }
    return own.isEmpty() ? lines : head + tail;
}
