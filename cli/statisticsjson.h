#pragma once

#include "sheet/classstatistics.h"

#include <QJsonArray>

#include <vector>

namespace cli {

// The statistics as `gradefile stats` prints them: one object per exam, in column order,
// with its counts and its mean, median, minimum and maximum (null when no grade).
QJsonArray statisticsToJson(const std::vector<sheet::ExamStatistics>& statistics);

} // namespace cli
