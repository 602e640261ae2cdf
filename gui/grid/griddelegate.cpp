#include "gui/grid/griddelegate.h"

#include "core/sheet/gradesheet.h"
#include "gui/grid/gridkeys.h"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>

#include <optional>

namespace sheet {

namespace {

constexpr Qt::Alignment kDefaultAlignment = Qt::AlignLeft | Qt::AlignVCenter;

Qt::Alignment cellAlignment(const QModelIndex& index)
{
    const QVariant alignment = index.data(Qt::TextAlignmentRole);
    return alignment.isValid() ? Qt::Alignment(alignment.toInt()) : kDefaultAlignment;
}

} // namespace

std::optional<QColor> cellBackground(const QModelIndex& index)
{
    switch (CheckResult(index.data(GradeSheet::CheckResultRole).toInt())) {
    case CheckResult::Unchecked:
        break;
    case CheckResult::Accepted:
        return QColor(255, 255, 255);
    case CheckResult::Zero:
        return QColor(255, 255, 0);
    case CheckResult::Refused:
        return QColor(255, 0, 0);
    }
    return std::nullopt;
}

namespace {

// A name shows its observation's level in its colour, and is bold once validated.
std::optional<QColor> foregroundOf(const QModelIndex& index)
{
    const QVariant rgb = index.data(GradeSheet::NameColourRole);
    return rgb.isValid() ? std::optional<QColor>(QColor(QRgb(rgb.toUInt()))) : std::nullopt;
}

// The editor looks like the cell it covers: same font, alignment and colours.
void dressLikeCell(QLineEdit* editor, const QModelIndex& index)
{
    editor->setFrame(false);
    editor->setAlignment(cellAlignment(index));
    QPalette palette = editor->palette();
    if (const std::optional<QColor> back = cellBackground(index))
        palette.setColor(QPalette::Base, *back);
    if (const std::optional<QColor> fore = foregroundOf(index))
        palette.setColor(QPalette::Text, *fore);
    // The grid hides its selection colour; text selected in the editor must still show.
    palette.setBrush(QPalette::Highlight, QGuiApplication::palette().highlight());
    editor->setPalette(palette);
    editor->setAutoFillBackground(true);
}

} // namespace

GridDelegate::GridDelegate(QObject* parent, EditorEventHandler handler)
    : QStyledItemDelegate(parent), m_handler(std::move(handler))
{}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const
{
    auto* editor = new QLineEdit(parent);
    dressLikeCell(editor, index);
    // Pasting and dropping go through the grid, one character at a time through the input handler;
    // the editor's own menu and drop would put text in behind its back.
    editor->setContextMenuPolicy(Qt::NoContextMenu);
    editor->setAcceptDrops(false);
    connect(editor, &QLineEdit::textChanged, editor, [editor](const QString& text) {
        editor->setLayoutDirection(keys::readingDirection(text));
    });
    return editor;
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const
{
    model->setData(index, keys::withoutControlCharacters(static_cast<QLineEdit*>(editor)->text()));
}

void GridDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->direction = keys::readingDirection(option->text);
    if (const std::optional<QColor> back = cellBackground(index))
        option->backgroundBrush = *back;
    if (const std::optional<QColor> fore = foregroundOf(index))
        option->palette.setColor(QPalette::Text, *fore);
    if (index.data(GradeSheet::NameBoldRole).toBool())
        option->font.setBold(true);
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const
{
    QStyleOptionViewItem plain(option);
    plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    QStyledItemDelegate::paint(painter, plain, index);

    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (!view || view->currentIndex() != index)
        return;
    painter->save();
    painter->setPen(QPen(option.palette.color(QPalette::WindowText), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
    painter->restore();
}

bool GridDelegate::eventFilter(QObject* object, QEvent* event)
{
    if (m_handler && m_handler(object, event))
        return true;
    return QStyledItemDelegate::eventFilter(object, event);
}

GridHeader::GridHeader(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent)
{
    // Qt 6 headers keep no usable default alignment unless it is set.
    setDefaultAlignment(Qt::AlignCenter);
    setSectionsClickable(true);
    setHighlightSections(true);
}

void GridHeader::showText(int logicalIndex, const QString& text)
{
    if (text.isEmpty())
        m_shownTexts.remove(logicalIndex);
    else
        m_shownTexts.insert(logicalIndex, text);
    viewport()->update();
}

QString GridHeader::textOf(int logicalIndex) const
{
    const QString own = m_shownTexts.value(logicalIndex);
    if (!own.isEmpty() || !model())
        return own;
    return model()->headerData(logicalIndex, orientation()).toString();
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    const QString text = textOf(logicalIndex);
    painter->save();
    painter->setLayoutDirection(keys::readingDirection(text));
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
}

// A long header in a narrow column wraps onto a second line at a blank, as exam names
// such as "فرض مراقبة 1" need; what still does not fit ends in an ellipsis.
void GridHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    option->text = textOf(logicalIndex);
    const int margins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, option, this);
    const int length = orientation() == Qt::Horizontal ? sectionSize(logicalIndex) : width();
    const QVariant own = model()->headerData(logicalIndex, orientation(), Qt::FontRole);
    QFont font = own.isValid() ? own.value<QFont>() : this->font();
    font.setBold(true); // the active cell's header is drawn bold
    const int lines = orientation() == Qt::Horizontal ? kHeaderLines : 1;
    option->text = wrappedText(option->text, QFontMetrics(font), length - margins, lines);
}

QSize GridHeader::sizeHint() const
{
    QSize hint = QHeaderView::sizeHint();
    if (orientation() == Qt::Horizontal) {
        QFont bold = font();
        bold.setBold(true);
        hint.setHeight(qMax(hint.height(), kHeaderLines * QFontMetrics(bold).lineSpacing() + 6));
    }
    return hint;
}

QString wrappedText(const QString& text, const QFontMetrics& metrics, int width, int maxLines)
{
    QStringList lines;
    QString rest = text.trimmed();
    while (!rest.isEmpty() && int(lines.size()) < maxLines - 1 &&
           metrics.horizontalAdvance(rest) > width) {
        // The longest run of words that fits; a single word too long is cut by the ellipsis.
        qsizetype cut = rest.lastIndexOf(u' ');
        while (cut > 0 && metrics.horizontalAdvance(rest.left(cut)) > width)
            cut = rest.lastIndexOf(u' ', cut - 1);
        if (cut <= 0)
            break;
        lines << rest.left(cut);
        rest = rest.mid(cut + 1).trimmed();
    }
    lines << metrics.elidedText(rest, Qt::ElideRight, width);
    return lines.join(u'\n');
}

} // namespace sheet
