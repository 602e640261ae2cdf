#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace gradefile {

// No real grade file comes near this (a floppy holds 1.44 MB); anything larger is
// refused before it is parsed.
constexpr qint64 kMaxRowsetBytes = 8 * 1024 * 1024;

// The values of one field of a persisted rowset, one per record in record order.
// A NULL value (field left out of the row, or named in rs:forcenull) is nullopt.
struct FieldRead {
    bool ok = false;
    std::vector<std::optional<QString>> values;
    QString error; // when !ok: what is wrong with the bytes, in plain words
};

FieldRead readRowsetField(const QByteArray& bytes, const QString& fieldName);

// The lines of a grade file: the field Ligne, a NULL line read as the empty line.
struct LinesRead {
    std::optional<QStringList> lines;
    QString error; // when lines is empty: why the bytes are not a grade file's rowset
};

LinesRead readRowsetLines(const QByteArray& bytes);

} // namespace gradefile
