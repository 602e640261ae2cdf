#pragma once

#include "sheet/gradeimport.h"

#include <QJsonObject>

namespace cli {

// What `gradefile import` did, as it prints it: the pupils matched, the identifiers of the
// source that are no pupil of the class or stand on several rows, the pupils missing from it,
// the values refused (not written) and every cell written, each pupil by identifier and name.
QJsonObject importPlanToJson(const sheet::ImportPlan& plan);

} // namespace cli
