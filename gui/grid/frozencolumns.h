#pragma once

#include <QObject>

#include <utility>

class QModelIndex;
class QTableView;

namespace sheet {

// Keeps the last shown columns of a table (the pupil's name, identifier and order number,
// which a right-to-left reader starts from) in place at its right edge when the other
// columns scroll: a second view over the same model and selection, laid over the scrolled
// columns, showing only the frozen ones (after Qt's frozen column example). It is shown
// only while the table scrolls sideways; a table that shows every column whole shows the
// frozen ones itself. Frozen columns take no typing. The overlay takes no focus and no editor: its mouse events
// are handed to the table through the signals below.
class FrozenColumns : public QObject {
    Q_OBJECT

public:
    explicit FrozenColumns(QTableView& table);

    void setCount(int columns);
    int count() const { return m_count; }
    // Whether model column `column` is one of the frozen columns.
    bool covers(int column) const;
    // The width, in pixels, that the frozen columns take at the right of the viewport.
    int coveredWidth() const;
    // Where the scrolled columns shown whole within room pixels of the viewport start and
    // end; the parts of columns cut at either side are masked.
    std::pair<int, int> wholeColumns(int room) const;
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
    QWidget* m_masks[2] = {};
    int m_count = 0;
};

} // namespace sheet
