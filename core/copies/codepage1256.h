#pragma once

#include <QByteArray>
#include <QString>

namespace sheet {

// What a spreadsheet on an Arabic Windows writes by default. Qt has no such codec on every
// platform it is built for: the table is the program's own.
QString fromCodePage1256(const QByteArray& bytes);

} // namespace sheet
