#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace gradefile {

// The administration's components refuse a longer Ligne value.
constexpr int kMaxLineLength = 300;

// Length in UTF-16 code units, as the components count it. Control characters go out raw, as
// the components write them; a lone surrogate is refused: it has no UTF-8 form.
std::optional<QString> findUnwritableLine(const QStringList& lines);

// The exact bytes the administration's components write. findUnwritableLine must find nothing.
QByteArray rowsetBytes(const QStringList& lines);

} // namespace gradefile
