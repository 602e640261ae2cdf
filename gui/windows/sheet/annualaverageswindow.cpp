#include "gui/windows/sheet/annualaverageswindow.h"

#include "core/sheet/gradeblock.h"
#include "gui/grid/gradegrid.h"
#include "gui/ui/artwork.h"
#include "gui/ui/notice.h"
#include "gui/ui/uilook.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

namespace sheet {

namespace {

// Grade, surname, first name, identifier, order number, and the first field.
constexpr double kColumnWidths[] = {4, 10, 22, 20, 11, 5, 4};

const QString kViewOnly =
    QStringLiteral("هذا النوع من ملفات الأعداد للإطّلاع فقط: لا يحفظه هذا البرنامج.");

// The window's designed size at the default font, in twips.
constexpr int kDesignedWidthTwips = 8865;
constexpr int kDesignedHeightTwips = 7590;

} // namespace

AnnualAveragesWindow::AnnualAveragesWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("annualAveragesWindow"));
    setWindowTitle(QStringLiteral("بطاقة تحصيل الأعداد"));
    setWindowIcon(ui::programIcon());
    setLayoutDirection(Qt::RightToLeft);
    setFont(ui::designedFont(ui::kDesignedPointSize));
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    fitToGrid();
}

// As wide as the grid's columns and the commands need, as the window was designed at least;
// the grid scrolls sideways only beyond the screen's width.
void AnnualAveragesWindow::fitToGrid()
{
    ui::sizeBesideGrid(this, m_grid, m_panelArea, ui::fromTwips(kDesignedWidthTwips),
                       ui::fromTwips(kDesignedHeightTwips));
}

// The grid goes before the sheet it shows.
AnnualAveragesWindow::~AnnualAveragesWindow()
{
    delete m_grid;
}

void AnnualAveragesWindow::createControls()
{
    m_panel = new QWidget(this);
    auto* panel = new QVBoxLayout(m_panel);
    panel->setContentsMargins(0, 4, 0, 0);
    QPushButton* save = ui::makeButton(m_panel, QStringLiteral("saveButton"), QStringLiteral("حفظ الأعداد"));
    QPushButton* check = ui::makeButton(m_panel, QStringLiteral("checkButton"), QStringLiteral("تثبّت"));
    QPushButton* quit = ui::makeButton(m_panel, QStringLiteral("quitButton"), QStringLiteral("خروج"));
    save->setEnabled(false);
    check->setEnabled(false);
    // The teacher reads it before trying to type: nothing here would be kept.
    auto* viewOnly = new QLabel(kViewOnly, m_panel);
    viewOnly->setObjectName(QStringLiteral("viewOnlyLabel"));
    viewOnly->setFont(ui::designedFont(9.75));
    viewOnly->setWordWrap(true);
    // Without AlignAbsolute a right-to-left window would put the text at the left.
    viewOnly->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    for (QWidget* control : std::initializer_list<QWidget*>{save, check, quit, viewOnly})
        panel->addWidget(control);
    panel->addStretch();
    // The designed width, or what the buttons need in a larger font; the notice wraps in it.
    m_panel->setFixedWidth(qMax(ui::fromTwips(1395), quit->sizeHint().width()));

    // No cell takes typing, a paste or a drop: nothing typed here could be saved. The
    // cursor still goes everywhere.
    m_sheet.setReadOnly(true);
    // The family name and the first name.
    m_sheet.setPupilNameColumns({2, 3});
    m_grid = new GradeGrid(m_sheet, this);
    m_grid->setObjectName(QStringLiteral("grid"));
    for (int col = 0; col <= kAnnualColumns; ++col)
        m_grid->setSheetColumnUnits(col, kColumnWidths[col]);
    // Nothing is ever written into the row headers of this sheet.
    m_grid->setSheetColumnHidden(0, true);

    // Reading from the right: the grid, then the commands.
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(6, 0, 6, 6);
    columns->addWidget(m_grid, 1);
    m_panelArea = ui::scrollWhenShort(m_panel);
    columns->addWidget(m_panelArea);
    connect(quit, &QPushButton::clicked, this, &AnnualAveragesWindow::quit);
    connect(m_grid, &GradeGrid::pasteRequested, this,
            [this] { ui::showNotice(this, windowTitle(), kViewOnlyPaste); });
}

void AnnualAveragesWindow::fillFromDocument(const gradefile::GradeDocument& document)
{
    gradefile::SheetTable table(size_t(document.rowCount) + 1);
    table[0] = {QString(),          document.headers.value(1),  QStringLiteral("اللقب"),
                QStringLiteral("الإسم"), QStringLiteral("المعرف "), QStringLiteral("ع.ر"),
                QStringLiteral(".")};
    for (int row = 1; row <= document.rowCount; ++row) {
        const gradefile::RowCells& cells = document.rows[size_t(row - 1)];
        for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
            if (it.key() >= 0 && it.key() <= kAnnualColumns)
                table[size_t(row)][size_t(it.key())] = it.value();
        }
    }
    m_sheet.reset(std::move(table));
    // A grade and a mark stand alike in the middle of their column, as in the subject sheet.
    m_sheet.setColumnAlignment(1, Qt::AlignCenter);
    setWindowTitle(document.caption);
    m_grid->setAccessibleName(document.caption);
    m_grid->fitColumnsToTexts();
    fitToGrid();
}

void AnnualAveragesWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
        const QRect area = owner->frameGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    } else {
        ui::centreOnScreen(this);
    }
}

void AnnualAveragesWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace sheet
