#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace cli {

// The kept copies of key in dataFolder, newest first, as `gradefile backups` prints them.
QJsonArray keptCopiesToJson(const QString& dataFolder, const QString& key);

// The journals of key in dataFolder (every disk), with the last text of each cell they
// hold, as `gradefile recover` prints them; journals set aside are listed too.
QJsonObject journalsToJson(const QString& dataFolder, const QString& key);

} // namespace cli
