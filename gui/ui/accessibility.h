#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;
class QWidget;

namespace ui {

// A screen reader speaks the change, even of a line that shows nothing or the same text again.
void announce(QWidget* line, const QString& text);

// For QAccessible::installFactory: a window built on a plain QWidget (the grade sheet, the
// preview) is a window to assistive technology, not a bare pane.
QAccessibleInterface* plainWindowAccessible(const QString& className, QObject* object);

} // namespace ui
