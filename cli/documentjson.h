#pragma once

#include "gradefile/gradedocument.h"

#include <QJsonObject>

namespace cli {

// The document as `gradefile show` prints it.
QJsonObject documentToJson(const gradefile::GradeDocument& document);

} // namespace cli
