#pragma once

#include <QString>

class QTreeWidget;

namespace app {

// Colours of list lines, as the decimal text of a blue-green-red value.
inline const QString kRedLineColour = QStringLiteral("255");
inline const QString kBlueLineColour = QStringLiteral("16711680");

// Sets bold, text colour and tool tip of line index (from 1) of the file list, on the
// line and on each of its sub-items. Returns 1, or -2 when the list has no such line.
int modifyListLine(QTreeWidget* list, long index, bool bold, const QString& foreColour,
                   const QString& toolTip);

} // namespace app
