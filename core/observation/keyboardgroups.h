#pragma once

#include <QStringList>

#include <optional>

namespace observation {

// The group named "Arabic" (the standard layout), else the first whose name speaks of Arabic
// or is the layout code "ara".
std::optional<int> arabicGroupAmong(const QStringList& groupNames);

} // namespace observation
