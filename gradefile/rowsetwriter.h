#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace gradefile {

// The field Ligne holds at most this many characters; the administration's
// components refuse a longer value.
constexpr int kMaxLineLength = 300;

// Why a set of lines cannot be written as a grade file (a line too long), naming the line;
// nullopt when all can be written. Control characters go out raw, as the components write
// them and as the reader takes them.
// Length is counted in UTF-16 code units (QString::size()), as the components count a
// string's length. A lone surrogate is refused too: it has no UTF-8 form and would
// silently become another character.
std::optional<QString> findUnwritableLine(const QStringList& lines);

// The exact bytes the administration's components write for these lines.
// Precondition: findUnwritableLine(lines) is nullopt.
QByteArray rowsetBytes(const QStringList& lines);

} // namespace gradefile
