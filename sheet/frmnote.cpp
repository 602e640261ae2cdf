#include "sheet/frmnote.h"

#include "app/artwork.h"
#include "app/notice.h"
#include "app/uilook.h"
#include "sheet/cellrules.h"
#include "sheet/sheethost.h"
#include "sheet/sheetstate.h"
#include "sheet/spreadgrid.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace sheet {

namespace {

// Grade, surname, first name, identifier, order number, and the first field.
constexpr double kColumnWidths[] = {4, 10, 22, 20, 11, 5, 4};

QPushButton* makeButton(QWidget* parent, const QString& caption, QRect geometry, const char* name)
{
    return ui::makeSheetButton(parent, QLatin1String(name), caption, geometry);
}

QLabel* makeLabel(QWidget* parent, const QString& text, QRect geometry)
{
    return ui::makeRightAlignedLabel(parent, text, geometry, ui::programFont(9.75));
}

} // namespace

FrmNote::FrmNote(SheetState& sheetState, SheetHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_sheetState(sheetState), m_host(host)
{
    setObjectName(QStringLiteral("FrmNote"));
    setWindowTitle(QStringLiteral("بطاقة تحصيل الأعداد"));
    setWindowIcon(app::programIcon());
    ui::setFixedWindowFlags(this);
    setLayoutDirection(Qt::RightToLeft);
    setFont(ui::programFont());
    // Closing the window by its close box unloads it like the quit button.
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    Afficher();
}

void FrmNote::createControls()
{
    m_cmdQuitter =
        makeButton(this, QStringLiteral("خروج"), ui::twipsRect(120, 750, 1395, 315), "CmdQuitter");
    m_cmdExporter = makeButton(this, QStringLiteral("حفظ الأعداد"),
                               ui::twipsRect(120, 30, 1395, 315), "CmdExporter");
    m_cmdExporter->setEnabled(false);
    m_cmdVerifier =
        makeButton(this, QStringLiteral("تثبّت"), ui::twipsRect(120, 390, 1395, 315), "CmdVerifier");
    m_cmdVerifier->setEnabled(false);
    makeLabel(this, QStringLiteral("F1 : غياب شرعي"), ui::twipsRect(150, 1200, 1260, 240));
    makeLabel(this, QStringLiteral("F2 : معفى"), ui::twipsRect(645, 1560, 765, 240));
    makeLabel(this, QStringLiteral("F3 : غير مسند"), ui::twipsRect(390, 1920, 1020, 240));

    m_fpsNote = new SpreadGrid(this);
    m_fpsNote->setObjectName(QStringLiteral("FpsNote"));
    m_fpsNote->setGeometry(ui::twipsRect(1680, 0, 7080, 7440));
    m_fpsNote->setMaxCols(6);
    for (int col = 0; col <= 6; ++col)
        m_fpsNote->setColWidth(col, kColumnWidths[col]);
    // Nothing is ever written into the row headers of this sheet.
    m_fpsNote->setColumnHiddenAt(0, true);

    connect(m_cmdQuitter, &QPushButton::clicked, this, &FrmNote::CmdQuitter_Click);
    connect(m_cmdExporter, &QPushButton::clicked, this, &FrmNote::CmdExporter_Click);
    connect(m_fpsNote, &SpreadGrid::Change, this, &FrmNote::FpsNote_Change);
    connect(m_fpsNote, &SpreadGrid::KeyPress, this, &FrmNote::FpsNote_KeyPress);
    connect(m_fpsNote, &SpreadGrid::KeyDown, this, &FrmNote::FpsNote_KeyDown);
    connect(m_fpsNote, &SpreadGrid::LeaveCell, this, &FrmNote::FpsNote_LeaveCell);
    connect(m_fpsNote, &SpreadGrid::Click, this, &FrmNote::FpsNote_Click);
}

void FrmNote::EnteteFpsNote(const QString& EnteteCol1)
{
    m_fpsNote->setMaxCols(6);
    m_fpsNote->setText(1, 0, EnteteCol1);
    m_fpsNote->setText(2, 0, QStringLiteral("اللقب"));
    m_fpsNote->setText(3, 0, QStringLiteral("الإسم"));
    m_fpsNote->setText(4, 0, QStringLiteral("المعرف "));
    m_fpsNote->setText(5, 0, QStringLiteral("ع.ر"));
    m_fpsNote->setText(6, 0, QStringLiteral("."));
}

void FrmNote::fillFromDocument(const gradefile::GradeDocument& document)
{
    EnteteFpsNote(document.headers.value(1));
    m_fpsNote->setMaxRows(document.rowCount);
    for (int row = 1; row <= document.rowCount; ++row) {
        const gradefile::RowCells& cells = document.rows[size_t(row - 1)];
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            m_fpsNote->setText(it.key(), row, it.value());
        for (int col = 2; col <= 6; ++col)
            m_fpsNote->setCellLocked(col, row, true);
    }
    setWindowTitle(document.caption);
}

void FrmNote::Afficher()
{
    // The window is as tall as its grid and a margin, and never shorter than 2550 twips.
    const int gridTwips = m_fpsNote->height() * 15;
    m_heightTwips = qMax(gridTwips + 700, 2550);
    setFixedSize(ui::fromTwips(8865), ui::fromTwips(qMin(m_heightTwips, 7590)));
}

void FrmNote::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
        const QRect area = owner->frameGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    } else {
        ui::centreOnScreen(this);
    }
}

void FrmNote::FpsNote_Change(int col, int row)
{
    Q_UNUSED(col);
    Q_UNUSED(row);
    m_cmdExporter->setEnabled(true);
}

void FrmNote::FpsNote_KeyPress(int* keyAscii)
{
    const KeyDecision decision = filterKey(SheetKind::Plain, *keyAscii, m_fpsNote->activeText());
    if (decision.accepted)
        return;
    *keyAscii = 0;
    if (decision.beep)
        QApplication::beep();
}

void FrmNote::FpsNote_KeyDown(int* keyCode, int shift)
{
    Q_UNUSED(shift);
    QString mark;
    if (*keyCode == vk::F1)
        mark = kAbsentMark.toString();
    else if (*keyCode == vk::F1 + 1)
        mark = kExemptMark.toString();
    else if (*keyCode == vk::F1 + 2)
        mark = kNoGradeMark.toString();
    else
        return;
    *keyCode = 0;
    m_fpsNote->setText(m_fpsNote->activeCol(), m_fpsNote->activeRow(), mark);
    m_fpsNote->queueEnter();
}

void FrmNote::FpsNote_LeaveCell(int col, int row, int newCol, int newRow, bool* cancel)
{
    if (row >= 1 && col == kPlainGradeColumn) {
        const CellCheck check = checkCell(SheetKind::Plain, m_fpsNote->text(col, row));
        if (m_fpsNote->text(col, row) != check.text)
            m_fpsNote->setText(col, row, check.text);
        *cancel = *cancel || check.refused;
    }
    m_clickRule.afterLeaveCell(*m_fpsNote, *cancel, {col, row}, {newCol, newRow});
}

void FrmNote::FpsNote_Click(int col, int row)
{
    m_clickRule.clicked(*m_fpsNote, {col, row});
}

void FrmNote::CmdExporter_Click()
{
    // This kind of grade file goes back to the administration as it came: say so rather
    // than seem to save.
    ui::showNotice(
        this, windowTitle(),
        QStringLiteral("هذا النوع من ملفات الأعداد للإطّلاع فقط: لا يحفظه هذا البرنامج."));
}

void FrmNote::CmdQuitter_Click()
{
    m_host.showMainWindow();
    close();
}

} // namespace sheet
