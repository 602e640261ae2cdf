#include "sheet/frozencolumns.h"

#include "sheet/griddelegate.h"

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

bool FrozenColumns::atRightEnd() const
{
    const QScrollBar* sideways = m_table.horizontalScrollBar();
    return sideways->value() >= sideways->maximum();
}

void FrozenColumns::refresh()
{
    if (m_count == 0) {
        m_view->hide();
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

void FrozenColumns::followRows()
{
    for (int row = 0; row < m_table.model()->rowCount(); ++row)
        m_view->setRowHeight(row, m_table.rowHeight(row));
}

// Scrolled to its right end, the table's own frozen columns stand exactly where the overlay
// would.
void FrozenColumns::place()
{
    if (m_count == 0 || atRightEnd()) {
        m_view->hide();
        return;
    }
    QHeaderView* tableHeader = m_table.horizontalHeader();
    const int headerHeight = tableHeader->isVisible() ? tableHeader->height() : 0;
    m_view->horizontalHeader()->setVisible(headerHeight > 0);
    m_view->horizontalHeader()->setFixedHeight(headerHeight);
    m_view->horizontalHeader()->setFont(tableHeader->font());
    const QRect viewport = m_table.viewport()->geometry();
    const int width = qMin(coveredWidth(), viewport.width());
    m_view->setGeometry(viewport.x() + viewport.width() - width, viewport.y() - headerHeight, width,
                        viewport.height() + headerHeight);
    m_view->verticalScrollBar()->setValue(m_table.verticalScrollBar()->value());
    m_view->show();
    m_view->raise();
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
        if (mouse->button() != Qt::LeftButton)
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
