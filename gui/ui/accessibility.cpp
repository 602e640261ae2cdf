#include "gui/ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace ui {

void announce(QWidget* line, const QString& text)
{
    line->setAccessibleName(text);
    QAccessibleEvent event(line, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

// Qt asks for each class of the object from the most derived: only that one is answered.
// Menus and dialogs are windows of other kinds, with interfaces of their own.
QAccessibleInterface* plainWindowAccessible(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || widget->windowType() != Qt::Window ||
        widget->metaObject()->superClass() != &QWidget::staticMetaObject ||
        className != QLatin1String(widget->metaObject()->className()))
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace ui
