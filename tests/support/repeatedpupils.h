#pragma once

// A larger class from a sample's own pupils, copied whole but for the order numbers, run from 1.
#include "core/gradefile/linegrammar.h"

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
