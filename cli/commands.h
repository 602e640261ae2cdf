#pragma once

#include <QStringList>

namespace cli {

// Runs one command line of the tool, the program's name first, and returns the exit
// status: 0 success, 1 a file could not be read or written, 2 a usage error.
int runCommand(const QStringList& arguments);

} // namespace cli
