#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;
class QWidget;

namespace ui {

// Tells assistive technology what became of the teacher's command: the line's accessible
// name becomes the text, and a screen reader speaks the change, even of a line that shows
// nothing or the same text again.
void announce(QWidget* line, const QString& text);

// For QAccessible::installFactory: a window of the program built on a plain QWidget (the
// grade sheet, the preview) is a window to assistive technology, as the main window is, not
// a bare pane; nothing for any other object.
QAccessibleInterface* plainWindowAccessible(const QString& className, QObject* object);

} // namespace ui
