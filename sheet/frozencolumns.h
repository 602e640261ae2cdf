#pragma once

#include <QObject>

class QModelIndex;
class QTableView;

namespace sheet {

// Keeps the first columns of a table in place when it scrolls sideways: a second view
// over the same model and selection, laid over the scrolled columns, showing only the
// frozen ones (after Qt's frozen column example). It is shown only while the table is
// scrolled sideways; unscrolled, the table shows the frozen columns itself, which is
// where their editor opens. The overlay takes no focus and no editor: its mouse events
// are handed to the table through the signals below.
class FrozenColumns : public QObject {
    Q_OBJECT

public:
    explicit FrozenColumns(QTableView& table);

    void setCount(int columns);
    int count() const { return m_count; }
    // Whether model column `column` is one of the frozen columns.
    bool covers(int column) const { return column >= 0 && column < m_count; }
    // The width, in pixels, that the frozen columns take at the left of the viewport.
    int coveredWidth() const;
    // Follows the table's columns, rows, header and scrolling.
    void refresh();
    QTableView* view() const { return m_view; }

signals:
    void cellPressed(const QModelIndex& index);
    void cellReleased(const QModelIndex& index);
    void cellDoubleClicked(const QModelIndex& index);
    void headerClicked(int column);
    void headerDoubleClicked(int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createView();
    void connectTable();
    void followColumns();
    void followRows();
    void place();

    QTableView& m_table;
    QTableView* m_view = nullptr;
    int m_count = 0;
};

} // namespace sheet
