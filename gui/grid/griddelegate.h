#pragma once

#include <QHash>
#include <QHeaderView>
#include <QStyledItemDelegate>

#include <functional>
#include <optional>

namespace sheet {

// Paints the grid's cells and makes their editor. Cells and editor read in the direction
// of their own text (Arabic right to left) inside a grid that stays left to right. The
// active cell is framed rather than filled, so that its colour stays in sight.
//
// The view installs the delegate as the editor's event filter, after createEditor(): the
// grid's handler sees every event of the editor first through eventFilter().
class GridDelegate : public QStyledItemDelegate {
public:
    using EditorEventHandler = std::function<bool(QObject* editor, QEvent* event)>;

    explicit GridDelegate(QObject* parent, EditorEventHandler handler = {});

    // The grid calls this as it is destroyed: an editor that outlives it for a moment
    // still sends events (losing the focus) that must not reach a half-destroyed grid.
    void dropHandler() { m_handler = {}; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    // The grid writes the editor's text itself: a cell whose colour changes while it is being
    // edited must not lose what was typed.
    void setEditorData(QWidget*, const QModelIndex&) const override {}
    // What was typed goes to the sheet, which checks it; control characters never do.
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    EditorEventHandler m_handler;
};

// A header whose section texts read in their own direction, like the cells.
class GridHeader : public QHeaderView {
public:
    GridHeader(Qt::Orientation orientation, QWidget* parent);
    QSize sizeHint() const override;
    // Shows text on a section instead of the sheet's header, the sheet left as it is; an
    // empty text shows the sheet's again.
    void showText(int logicalIndex, const QString& text);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

private:
    QString textOf(int logicalIndex) const;
    QHash<int, QString> m_shownTexts;
};

// The background grade entry's check gives a cell: white once passed, yellow for a zero, red
// when refused; none before any check.
std::optional<QColor> cellBackground(const QModelIndex& index);

// The column headers take up to this many lines.
inline constexpr int kHeaderLines = 2;

// text broken at blanks into at most maxLines lines of at most width pixels, the last one
// ending in an ellipsis when the text does not fit.
QString wrappedText(const QString& text, const QFontMetrics& metrics, int width, int maxLines);

} // namespace sheet
