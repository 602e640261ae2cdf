#include "gui/grid/frozencolumns.h"

#include "gui/grid/griddelegate.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>

namespace sheet {

FrozenColumns::FrozenColumns(QTableView& table) : QObject(&table), m_table(table)
{
    createView();
    connectTable();
}

void FrozenColumns::createView()
{
    m_view = new QTableView(&m_table);
    m_view->setObjectName(QStringLiteral("frozenColumns"));
    m_view->setAccessibleName(QStringLiteral("التلاميذ"));
    m_view->setModel(m_table.model());
    m_view->setSelectionModel(m_table.selectionModel());
    m_view->setItemDelegate(new GridDelegate(m_view));
    m_view->setHorizontalHeader(new GridHeader(Qt::Horizontal, m_view));
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->horizontalHeader()->setMinimumSectionSize(1);
    m_view->verticalHeader()->setMinimumSectionSize(1);
    m_view->setPalette(m_table.palette());
    m_view->verticalHeader()->hide();
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollMode(m_table.verticalScrollMode());
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setWordWrap(false);
    m_view->setCornerButtonEnabled(false);
    m_view->viewport()->installEventFilter(this);
    m_view->hide();
    for (QWidget*& mask : m_masks) {
        mask = new QWidget(&m_table);
        mask->setObjectName(QStringLiteral("frozenColumnsMask"));
        mask->setBackgroundRole(QPalette::Base);
        mask->setAutoFillBackground(true);
        mask->hide();
    }

    QHeaderView* header = m_view->horizontalHeader();
    connect(header, &QHeaderView::sectionClicked, this, &FrozenColumns::headerClicked);
    connect(header, &QHeaderView::sectionDoubleClicked, this, &FrozenColumns::headerDoubleClicked);
}

void FrozenColumns::connectTable()
{
    QScrollBar* tableRows = m_table.verticalScrollBar();
    QScrollBar* overlayRows = m_view->verticalScrollBar();
    connect(tableRows, &QScrollBar::valueChanged, overlayRows, &QScrollBar::setValue);
    connect(overlayRows, &QScrollBar::valueChanged, tableRows, &QScrollBar::setValue);
    connect(m_table.horizontalScrollBar(), &QScrollBar::valueChanged, this, &FrozenColumns::place);
    connect(m_table.horizontalHeader(), &QHeaderView::sectionResized, this,
            &FrozenColumns::refresh);
    connect(m_table.verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int height) { m_view->setRowHeight(row, height); });
}

void FrozenColumns::setCount(int columns)
{
    m_count = qMax(0, columns);
    refresh();
}

bool FrozenColumns::covers(int column) const
{
    int shownAfter = 0;
    for (int next = column + 1; next < m_table.model()->columnCount(); ++next)
        shownAfter += m_table.isColumnHidden(next) ? 0 : 1;
    return column >= 0 && !m_table.isColumnHidden(column) && shownAfter < m_count;
}

int FrozenColumns::coveredWidth() const
{
    int width = 0;
    for (int column = 0; column < m_table.model()->columnCount(); ++column) {
        if (covers(column))
            width += m_table.columnWidth(column);
    }
    return width;
}



void FrozenColumns::refresh()
{
    if (m_count == 0) {
        m_view->hide();
        for (QWidget* mask : m_masks)
            mask->hide();
        return;
    }
    followColumns();
    followRows();
    place();
}

void FrozenColumns::followColumns()
{
    for (int column = 0; column < m_table.model()->columnCount(); ++column) {
        const bool shown = covers(column);
        m_view->setColumnHidden(column, !shown);
        if (shown)
            m_view->setColumnWidth(column, m_table.columnWidth(column));
    }
}

// Rows of the sheet are all as tall as the table's default.
void FrozenColumns::followRows()
{
    m_view->verticalHeader()->setDefaultSectionSize(m_table.verticalHeader()->defaultSectionSize());
}

// The overlay stands at the right edge while the table scrolls sideways; the scrolled
// columns start whole at the left edge (the table scrolls a column at a time), and the one
// that would reach under the overlay is masked whole: no grade ever shows cut, its first
// digits hidden.
void FrozenColumns::place()
{
    if (m_count == 0 || m_table.horizontalScrollBar()->maximum() == 0) {
        m_view->hide();
        for (QWidget* mask : m_masks)
            mask->hide();
        return;
    }
    QHeaderView* tableHeader = m_table.horizontalHeader();
    const int headerHeight = tableHeader->isVisible() ? tableHeader->height() : 0;
    m_view->horizontalHeader()->setVisible(headerHeight > 0);
    m_view->horizontalHeader()->setFixedHeight(headerHeight);
    m_view->horizontalHeader()->setFont(tableHeader->font());
    m_view->setFont(m_table.font());
    const QRect viewport = m_table.viewport()->geometry();
    const int width = qMin(coveredWidth(), viewport.width());
    const int overlayLeft = viewport.x() + viewport.width() - width;
    m_view->setGeometry(overlayLeft, viewport.y() - headerHeight, width,
                        viewport.height() + headerHeight);
    m_view->verticalScrollBar()->setValue(m_table.verticalScrollBar()->value());
    const auto [wholeStart, wholeEnd] = wholeColumns(viewport.width() - width);
    const int top = viewport.y() - headerHeight;
    const int height = viewport.height() + headerHeight;
    m_masks[0]->setGeometry(viewport.x(), top, wholeStart, height);
    m_masks[1]->setGeometry(viewport.x() + wholeEnd, top, overlayLeft - viewport.x() - wholeEnd,
                            height);
    m_view->show();
    m_view->raise();
    for (QWidget* mask : m_masks) {
        mask->setVisible(mask->width() > 0);
        mask->raise();
    }
}

// Scrolled to its end, the table puts its last column at the right edge, and the first one
// shown may start left of the viewport.
std::pair<int, int> FrozenColumns::wholeColumns(int room) const
{
    int start = room;
    int end = 0;
    for (int column = 0; column < m_table.model()->columnCount(); ++column) {
        if (m_table.isColumnHidden(column) || covers(column))
            continue;
        const int left = m_table.columnViewportPosition(column);
        const int right = left + m_table.columnWidth(column);
        if (left >= 0 && right <= room) {
            start = qMin(start, left);
            end = qMax(end, right);
        }
    }
    return {qMin(start, end), end};
}

bool FrozenColumns::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_view->viewport())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool rightPress =
            mouse->button() == Qt::RightButton && event->type() == QEvent::MouseButtonPress;
        if (mouse->button() != Qt::LeftButton && !rightPress)
            return true;
        const QModelIndex index = m_view->indexAt(mouse->position().toPoint());
        if (event->type() == QEvent::MouseButtonPress)
            emit cellPressed(index);
        else if (event->type() == QEvent::MouseButtonRelease)
            emit cellReleased(index);
        else
            emit cellDoubleClicked(index);
        return true;
    }
    case QEvent::MouseMove:
        return true;
    default:
        return false;
    }
}

} // namespace sheet
