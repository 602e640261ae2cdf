#pragma once

#include <QHash>
#include <QHeaderView>
#include <QStyledItemDelegate>

#include <functional>
#include <optional>

namespace sheet {

// The active cell is framed rather than filled, so that its colour stays in sight. The view
// installs the delegate as the editor's event filter: the grid sees every editor event first.
class GridDelegate : public QStyledItemDelegate {
public:
    using EditorEventHandler = std::function<bool(QObject* editor, QEvent* event)>;

    explicit GridDelegate(QObject* parent, EditorEventHandler handler = {});

    // An editor that outlives the grid for a moment still sends events (losing the focus)
    // that must not reach a half-destroyed grid.
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
    // An empty text shows the sheet's header again.
    void showText(int logicalIndex, const QString& text);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

private:
    QString textOf(int logicalIndex) const;
    QHash<int, QString> m_shownTexts;
};

// None before any check.
std::optional<QColor> cellBackground(const QModelIndex& index);

// The column headers take up to this many lines.
inline constexpr int kHeaderLines = 2;

// Broken at blanks; the last line ends in an ellipsis when the text does not fit.
QString wrappedText(const QString& text, const QFontMetrics& metrics, int width, int maxLines);

} // namespace sheet
