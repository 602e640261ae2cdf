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
constexpr int kColumns = 6;

QLabel* makeLabel(QWidget* parent, const QString& text, QRect geometry)
{
    return ui::makeRightAlignedLabel(parent, text, geometry, ui::programFont(9.75));
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

PlainSheetWindow::~PlainSheetWindow() = default;

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
    makeLabel(this, QStringLiteral("F1 : غياب شرعي"), ui::twipsRect(150, 1200, 1260, 240));
    makeLabel(this, QStringLiteral("F2 : معفى"), ui::twipsRect(645, 1560, 765, 240));
    makeLabel(this, QStringLiteral("F3 : غير مسند"), ui::twipsRect(390, 1920, 1020, 240));

    m_grid = new SpreadGrid(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setGeometry(ui::twipsRect(1680, 0, 7080, 7440));
    m_grid->setMaxCols(kColumns);
    for (int col = 0; col <= kColumns; ++col)
        m_grid->setColWidth(col, kColumnWidths[col]);
    // Nothing is ever written into the row headers of this sheet.
    m_grid->setColumnHiddenAt(0, true);

    m_binding = std::make_unique<EntryGridBinding>(*m_grid);
    m_entry = std::make_unique<GradeEntry>(SheetKind::Plain, *m_binding);
    m_binding->bind(*m_entry);

    connect(m_quitButton, &QPushButton::clicked, this, &PlainSheetWindow::quit);
    connect(m_saveButton, &QPushButton::clicked, this, &PlainSheetWindow::save);
    connect(m_grid, &SpreadGrid::cellEditedAt, m_saveButton,
            [this] { m_saveButton->setEnabled(true); });
    connect(m_grid, &SpreadGrid::cellClickedAt, this, [this](int col, int row) {
        m_entry->clicked({col, row});
    });
}

void PlainSheetWindow::setUpHeaders(const QString& firstColumnHeader)
{
    m_grid->setText(1, 0, firstColumnHeader);
    m_grid->setText(2, 0, QStringLiteral("اللقب"));
    m_grid->setText(3, 0, QStringLiteral("الإسم"));
    m_grid->setText(4, 0, QStringLiteral("المعرف "));
    m_grid->setText(5, 0, QStringLiteral("ع.ر"));
    m_grid->setText(6, 0, QStringLiteral("."));
}

void PlainSheetWindow::fillFromDocument(const gradefile::GradeDocument& document)
{
    setUpHeaders(document.headers.value(1));
    m_grid->setMaxRows(document.rowCount);
    for (int row = 1; row <= document.rowCount; ++row) {
        const gradefile::RowCells& cells = document.rows[size_t(row - 1)];
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            m_grid->setText(it.key(), row, it.value());
        for (int col = kPlainGradeColumn + 1; col <= kColumns; ++col)
            m_grid->setCellLocked(col, row, true);
    }
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
    ui::showNotice(
        this, windowTitle(),
        QStringLiteral("هذا النوع من ملفات الأعداد للإطّلاع فقط: لا يحفظه هذا البرنامج."));
}

void PlainSheetWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace sheet
