#include "app/notice.h"

#include "app/uilook.h"

#include <QMessageBox>

namespace ui {

void showNotice(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.setLayoutDirection(Qt::RightToLeft);
    box.setFont(programFont());
    box.exec();
}

} // namespace ui
