#include "app/listlineformatter.h"

#include "gradefile/leadingnumber.h"

#include <QTreeWidget>

namespace app {

namespace {

// A colour given as the number blue * 65536 + green * 256 + red.
QColor colourFromBgrText(const QString& text)
{
    const quint32 value = quint32(qint64(gradefile::leadingNumber(text).value_or(0)));
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace

int modifyListLine(QTreeWidget* list, long index, bool bold, const QString& foreColour,
                   const QString& toolTip)
{
    if (index < 1 || index > list->topLevelItemCount())
        return -2;
    QTreeWidgetItem* item = list->topLevelItem(int(index - 1));
    const QColor colour = colourFromBgrText(foreColour);
    for (int column = 0; column < qMax(list->columnCount(), 1); ++column) {
        QFont font = item->font(column);
        font.setBold(bold);
        item->setFont(column, font);
        item->setForeground(column, colour);
        item->setToolTip(column, toolTip);
    }
    return 1;
}

} // namespace app
