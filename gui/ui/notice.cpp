#include "gui/ui/notice.h"

#include <QMessageBox>
#include <QSettings>

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

} // namespace ui
