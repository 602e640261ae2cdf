#pragma once

#include "core/copies/classstatistics.h"
#include "core/copies/gradeimport.h"
#include "core/gradefile/gradedocument.h"

#include <QJsonArray>
#include <QJsonObject>

#include <vector>

// What the tool prints as JSON.
namespace cli {

// The document as `gradefile show` prints it.
QJsonObject documentToJson(const gradefile::GradeDocument& document);

// The statistics as `gradefile stats` prints them: one object per exam, in column order,
// with its counts and its mean, median, minimum and maximum (null when no grade).
QJsonArray statisticsToJson(const std::vector<sheet::ExamStatistics>& statistics);

// The kept copies of key in dataFolder, newest first, as `gradefile backups` prints them.
QJsonArray keptCopiesToJson(const QString& dataFolder, const QString& key);

// The journals of key in dataFolder (every disk), with the last text of each cell they
// hold, as `gradefile recover` prints them; journals set aside are listed too.
QJsonObject journalsToJson(const QString& dataFolder, const QString& key);

// What `gradefile import` did, as it prints it: the pupils matched, the identifiers of the
// source that are no pupil of the class or stand on several rows, the pupils missing from it,
// the values refused (not written) and every cell written, each pupil by identifier and name.
QJsonObject importPlanToJson(const sheet::ImportPlan& plan);

} // namespace cli
