#include "core/gradefile/linegrammar.h"

#include "core/gradefile/leadingnumber.h"

namespace gradefile {

namespace {

// 1-based position of the next separator after position from (1-based), 0 when none.
qsizetype nextSeparator(const QString& line, qsizetype from)
{
    return line.indexOf(kFieldSeparator, from) + 1;
}

// The text after 1-based position p.
QString restAfter(const QString& line, qsizetype p)
{
    return line.mid(p);
}

// The text strictly between 1-based positions a and b.
QString between(const QString& line, qsizetype a, qsizetype b)
{
    return line.mid(a, b - a - 1);
}

} // namespace

std::vector<Field> splitFields(const QString& line, int maxFields)
{
    std::vector<Field> fields(static_cast<size_t>(qMax(maxFields, 0)));
    if (maxFields <= 0)
        return fields;
    if (maxFields == 1) {
        fields[0] = line;
        return fields;
    }
    // positions[i] is p(i+1); a position that was not searched stays 0.
    std::vector<qsizetype> positions(static_cast<size_t>(maxFields), 0);
    positions[0] = nextSeparator(line, 0);
    for (int i = 1; i < maxFields - 1; ++i) {
        if (positions[i - 1] == 0)
            break;
        positions[i] = nextSeparator(line, positions[i - 1]);
    }
    if (positions[0] > 0)
        fields[0] = line.left(positions[0] - 1);
    for (int i = 1; i < maxFields - 1; ++i) {
        const qsizetype a = positions[i - 1];
        const qsizetype b = positions[i];
        if (b - a > 0)
            fields[i] = between(line, a, b);
        else if (a > 0)
            fields[i] = restAfter(line, a);
    }
    if (positions[maxFields - 2] > 0)
        fields[maxFields - 1] = restAfter(line, positions[maxFields - 2]);
    return fields;
}

QString keyFromFileName(const QString& fileName)
{
    return fileName.left(qMax<qsizetype>(fileName.size() - 4, 0));
}

bool isSubjectKey(const QString& key)
{
    // The middle of the key runs from position 9 to four characters before its end;
    // its last three characters are the kind code when the key is long enough.
    const qsizetype middleLength = key.size() - 12;
    if (middleLength < 3)
        return false;
    return key.mid(8, middleLength).right(3) == QLatin1String("000");
}

QString yearTextOfKey(const QString& key)
{
    return key.right(4);
}

std::optional<QString> startLineKey(const QString& startLine)
{
    const qsizetype p = nextSeparator(startLine, 0);
    if (p < 6)
        return std::nullopt;
    return startLine.mid(5, p - 6);
}

QString textAfterFirstSeparator(const QString& line)
{
    return restAfter(line, nextSeparator(line, 0));
}

QString nameLayoutOfStartLine(const QString& startLine)
{
    return startLine.mid(12, 1);
}

bool isEndLine(const QString& line)
{
    return line.startsWith(kEndLinePrefix);
}

std::optional<EndLineFields> readEndLine(const QString& line)
{
    qsizetype p[5] = {0, 0, 0, 0, 0};
    p[0] = nextSeparator(line, 0);
    for (int i = 1; i < 5 && p[i - 1] > 0; ++i)
        p[i] = nextSeparator(line, p[i - 1]);

    EndLineFields fields;
    if (p[1] > 0)
        fields.region = between(line, p[0], p[1]);
    if (p[2] > 0)
        fields.establishment = between(line, p[1], p[2]);
    if (p[3] > 0)
        fields.teacher = between(line, p[2], p[3]);
    if (p[4] > 0) {
        fields.saveNumber = leadingInt16(between(line, p[3], p[4]));
        fields.printNumber = leadingInt16(restAfter(line, p[4]));
        if (!fields.saveNumber || !fields.printNumber)
            return std::nullopt;
    }
    return fields;
}

std::optional<std::vector<QString>> splitPlainPupilLine(const QString& line)
{
    qsizetype p[5];
    qsizetype from = 0;
    for (qsizetype& position : p) {
        position = nextSeparator(line, from);
        if (position == 0)
            return std::nullopt;
        from = position;
    }
    return std::vector<QString>{line.left(p[0] - 1),       between(line, p[0], p[1]),
                                between(line, p[1], p[2]), between(line, p[2], p[3]),
                                between(line, p[3], p[4]), restAfter(line, p[4])};
}

} // namespace gradefile
