#pragma once

#include <QStringList>

#include <optional>

namespace observation {

// Which group of a keyboard map types Arabic, given the names of its groups in order
// ("English (US)", "Arabic", ...): the group named "Arabic" (the standard layout), else
// the first whose name speaks of Arabic or is the layout code "ara". Nothing when no
// group does.
std::optional<int> arabicGroupAmong(const QStringList& groupNames);

} // namespace observation
