#include "sheet/plainsheetwindow.h"

#include "sheet/spreadgrid.h"
#include "ui/artwork.h"
#include "ui/notice.h"
#include "ui/uilook.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace sheet {

namespace {

// Grade, surname, first name, identifier, order number, and the first field.
constexpr double kColumnWidths[] = {4, 10, 22, 20, 11, 5, 4};

const QString kViewOnly =
    QStringLiteral("هذا النوع من ملفات الأعداد للإطّلاع فقط: لا يحفظه هذا البرنامج.");

// Under the buttons, as tall as its lines need at the width it is given.
QLabel* makeViewOnlyLabel(QWidget* parent, QRect geometry)
{
    auto* label = new QLabel(kViewOnly, parent);
    label->setObjectName(QStringLiteral("viewOnlyLabel"));
    label->setFont(ui::programFont(9.75));
    label->setWordWrap(true);
    // Without AlignAbsolute a right-to-left window would put the text at the left.
    label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    geometry.setHeight(label->heightForWidth(geometry.width()));
    label->setGeometry(geometry);
    return label;
}

} // namespace

PlainSheetWindow::PlainSheetWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("plainSheetWindow"));
    setWindowTitle(QStringLiteral("بطاقة تحصيل الأعداد"));
    setWindowIcon(ui::programIcon());
    ui::setFixedWindowFlags(this);
    setLayoutDirection(Qt::RightToLeft);
    setFont(ui::programFont());
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    fitHeight();
}

// The grid goes before the sheet it shows.
PlainSheetWindow::~PlainSheetWindow()
{
    delete m_grid;
}

void PlainSheetWindow::createControls()
{
    m_quitButton = ui::makeSheetButton(this, QStringLiteral("quitButton"), QStringLiteral("خروج"),
                                       ui::twipsRect(120, 750, 1395, 315));
    m_saveButton =
        ui::makeSheetButton(this, QStringLiteral("saveButton"), QStringLiteral("حفظ الأعداد"),
                            ui::twipsRect(120, 30, 1395, 315));
    m_saveButton->setEnabled(false);
    m_checkButton = ui::makeSheetButton(this, QStringLiteral("checkButton"), QStringLiteral("تثبّت"),
                                        ui::twipsRect(120, 390, 1395, 315));
    m_checkButton->setEnabled(false);
    // The teacher reads it before trying to type: nothing here would be kept.
    makeViewOnlyLabel(this, ui::twipsRect(120, 1200, 1395, 0));

    // No cell takes typing, a paste or a drop: nothing typed here could be saved. The
    // cursor still goes everywhere.
    m_sheet.setReadOnly(true);
    m_grid = new SpreadGrid(m_sheet, this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setGeometry(ui::twipsRect(1680, 0, 7080, 7440));
    for (int col = 0; col <= kPlainColumns; ++col)
        m_grid->setColWidth(col, kColumnWidths[col]);
    // Nothing is ever written into the row headers of this sheet.
    m_grid->setColumnHiddenAt(0, true);

    connect(m_quitButton, &QPushButton::clicked, this, &PlainSheetWindow::quit);
    connect(m_saveButton, &QPushButton::clicked, this, &PlainSheetWindow::save);
    connect(m_grid, &SpreadGrid::cellEditedAt, m_saveButton,
            [this] { m_saveButton->setEnabled(true); });
}

void PlainSheetWindow::fillFromDocument(const gradefile::GradeDocument& document)
{
    gradefile::SheetTable table(size_t(document.rowCount) + 1);
    table[0] = {QString(),          document.headers.value(1),  QStringLiteral("اللقب"),
                QStringLiteral("الإسم"), QStringLiteral("المعرف "), QStringLiteral("ع.ر"),
                QStringLiteral(".")};
    for (int row = 1; row <= document.rowCount; ++row) {
        const gradefile::RowCells& cells = document.rows[size_t(row - 1)];
        for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
            if (it.key() >= 0 && it.key() <= kPlainColumns)
                table[size_t(row)][size_t(it.key())] = it.value();
        }
    }
    m_sheet.reset(std::move(table));
    setWindowTitle(document.caption);
}

void PlainSheetWindow::fitHeight()
{
    // The window is as tall as its grid and a margin, and never shorter than 2550 twips.
    const int gridTwips = m_grid->height() * 15;
    const int heightTwips = qMax(gridTwips + 700, 2550);
    setFixedSize(ui::fromTwips(8865), ui::fromTwips(qMin(heightTwips, 7590)));
}

void PlainSheetWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
        const QRect area = owner->frameGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    } else {
        ui::centreOnScreen(this);
    }
}

void PlainSheetWindow::save()
{
    // This kind of grade file goes back to the administration as it came: say so rather
    // than seem to save.
    ui::showNotice(this, windowTitle(), kViewOnly);
}

void PlainSheetWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace sheet
