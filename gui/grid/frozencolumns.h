#pragma once

#include <QObject>

#include <utility>

class QModelIndex;
class QTableView;

namespace sheet {

// Keeps the pupil's columns, which a right-to-left reader starts from, at the table's right
// edge: a second view over the same model laid over the scrolled columns (after Qt's frozen
// column example), shown only while the table scrolls sideways. It takes no focus and no
// editor: its mouse events go to the table through the signals below.
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
    // The scrolled columns shown whole within room pixels; columns cut at either side are masked.
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
