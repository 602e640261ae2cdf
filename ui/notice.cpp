#include "ui/notice.h"

#include <QAccessible>
#include <QMessageBox>
#include <QSettings>
#include <QWidget>

namespace ui {

QString supportTelephone()
{
    return QSettings().value(kSupportTelephoneKey).toString().trimmed();
}

void showNotice(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.setLayoutDirection(Qt::RightToLeft);
    box.exec();
}

void announce(QWidget* line, const QString& text)
{
    line->setAccessibleName(text);
    QAccessibleEvent event(line, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace ui
