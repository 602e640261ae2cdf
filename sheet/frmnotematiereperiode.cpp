#include "sheet/frmnotematiereperiode.h"

#include "app/artwork.h"
#include "app/notice.h"
#include "app/uilook.h"
#include "gradefile/gradefileio.h"
#include "gradefile/leadingnumber.h"
#include "print/cardtexts.h"
#include "sheet/cellrules.h"
#include "sheet/frmmsg.h"
#include "sheet/sheethost.h"
#include "sheet/sheetstate.h"
#include "sheet/spreadgrid.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace sheet {

namespace {

const QString kDesignCaption = QStringLiteral("بطاقة تحصيل الأعداد بالمادة و بفترة الإمتحان");
const QString kSaveQuestion = QStringLiteral("حفظ التغييرات               ");
const QString kNameHeader = QStringLiteral("الإسم و اللقب");
const QString kPaddedNameHeader = QStringLiteral("                   الإسم و اللقب  - القسم ");

// Column widths in grid units (90 twips): six grade columns, then name, identifier,
// order number and the hidden level column; column 0 holds the row headers.
constexpr double kColumnWidths[gradefile::kSheetColumns] = {4, 8, 8, 8, 8, 8, 8, 39, 11, 5, 8};

constexpr int kMinimumHeightTwips = 5150;

QPushButton* makeButton(QWidget* parent, const QString& caption, QRect geometry, const char* name)
{
    return ui::makeSheetButton(parent, QLatin1String(name), caption, geometry);
}

QLabel* makeLegendLabel(QWidget* parent, const QString& text, QRect geometry)
{
    return ui::makeRightAlignedLabel(parent, text, geometry, parent->font());
}

} // namespace

FrmNoteMatierePeriode::FrmNoteMatierePeriode(SheetState& sheetState, print::CardTexts& cardTexts,
                                             SheetHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_sheetState(sheetState), m_cardTexts(cardTexts), m_host(host)
{
    setObjectName(QStringLiteral("FrmNoteMatierePeriode"));
    setWindowTitle(kDesignCaption);
    setWindowIcon(app::programIcon());
    ui::setFixedWindowFlags(this);
    setLayoutDirection(Qt::RightToLeft);
    setFont(ui::programFont());

    createButtons();
    createLegend();
    createPrintFrame();
    createGrid();
    applyWindowSize();
}

void FrmNoteMatierePeriode::createButtons()
{
    m_cmdExporter = makeButton(this, QStringLiteral("حفظ الأعداد (F4)"),
                               ui::twipsRect(90, 60, 1395, 315), "CmdExporter");
    m_cmdExporter->setEnabled(false);
    m_cmdQuitter = makeButton(this, QStringLiteral("خروج (F5)"), ui::twipsRect(90, 420, 1395, 315),
                              "CmdQuitter");
    m_chkEditEnter = new QCheckBox(QStringLiteral("الرقن العمودي"), this);
    m_chkEditEnter->setObjectName(QStringLiteral("ChkEditEnter"));
    m_chkEditEnter->setGeometry(ui::twipsRect(60, 3870, 1455, 195));
    m_chkEditEnter->setChecked(true);
    m_cmdSmalAndLarg =
        makeButton(this, QString(), ui::twipsRect(450, 4170, 555, 435), "CmdSmalAndLarg");
    m_cmdSmalAndLarg->setToolTip(QStringLiteral("تكبير / تصغير"));
    m_cmdSmalAndLarg->setIcon(app::presentationToggleIcon());

    connect(m_cmdExporter, &QPushButton::clicked, this, &FrmNoteMatierePeriode::CmdExporter_Click);
    connect(m_cmdQuitter, &QPushButton::clicked, this, &FrmNoteMatierePeriode::CmdQuitter_Click);
    connect(m_chkEditEnter, &QCheckBox::clicked, this, &FrmNoteMatierePeriode::ChkEditEnter_Click);
}

void FrmNoteMatierePeriode::createLegend()
{
    auto* frame2 = new QGroupBox(QStringLiteral("الإختصارات"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setGeometry(ui::twipsRect(30, 840, 1485, 1155));
    makeLegendLabel(frame2, QStringLiteral(" غياب شرعي (F1)"), ui::twipsRect(120, 330, 1290, 195));
    makeLegendLabel(frame2, QStringLiteral(" معفى           (F2)"),
                    ui::twipsRect(90, 600, 1275, 195));
    makeLegendLabel(frame2, QStringLiteral("غير مسند      (F3)"),
                    ui::twipsRect(105, 840, 1275, 195));
}

void FrmNoteMatierePeriode::createPrintFrame()
{
    auto* frame1 = new QGroupBox(QStringLiteral("طباعة"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(ui::twipsRect(30, 2160, 1485, 1635));
    m_cmdImprimer = makeButton(frame1, QStringLiteral("بعد الرقن (F6)"),
                               ui::twipsRect(90, 300, 1305, 315), "CmdImprimer");
    m_cmdPreview = makeButton(frame1, QStringLiteral("معاينة (F7)"),
                              ui::twipsRect(90, 660, 1305, 315), "CmdPreview");
    m_cmdImprimerVide = makeButton(frame1, QStringLiteral("قبل الرقن (F8)"),
                                   ui::twipsRect(90, 1170, 1305, 315), "CmdImprimerVide");
    for (QPushButton* button :
         {m_cmdExporter, m_cmdQuitter, m_cmdImprimer, m_cmdPreview, m_cmdImprimerVide})
        button->installEventFilter(this);
}

void FrmNoteMatierePeriode::createGrid()
{
    m_fpsNote = new SpreadGrid(this);
    m_fpsNote->setObjectName(QStringLiteral("FpsNote"));
    m_fpsNote->setGeometry(ui::twipsRect(1590, -60, 9885, 4710));
    m_fpsNote->setMaxCols(gradefile::kSheetColumns - 1);
    m_fpsNote->setMaxRows(0);
    for (int col = 0; col < gradefile::kSheetColumns; ++col)
        m_fpsNote->setColWidth(col, kColumnWidths[col]);
    connect(m_fpsNote, &SpreadGrid::KeyDown, this, &FrmNoteMatierePeriode::FpsNote_KeyDown);
    connect(m_fpsNote, &SpreadGrid::KeyPress, this, &FrmNoteMatierePeriode::FpsNote_KeyPress);
    connect(m_fpsNote, &SpreadGrid::LeaveCell, this, &FrmNoteMatierePeriode::FpsNote_LeaveCell);
    connect(m_fpsNote, &SpreadGrid::Click, this, &FrmNoteMatierePeriode::FpsNote_Click);
    connect(m_fpsNote, &SpreadGrid::DblClick, this, &FrmNoteMatierePeriode::FpsNote_DblClick);
}

void FrmNoteMatierePeriode::EnteteFpsNote()
{
    m_fpsNote->setText(7, 0, kNameHeader);
    const bool centred = m_sheetKind == QLatin1String("C");
    m_fpsNote->setText(7, 0, centred ? kNameHeader : kPaddedNameHeader);
    for (int row = 1; row <= m_fpsNote->maxRows(); ++row)
        m_fpsNote->setCellAlignment(7, row,
                                    (centred ? Qt::AlignCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    m_fpsNote->setText(8, 0, QStringLiteral("المعرف الو."));
    m_fpsNote->setText(9, 0, QStringLiteral("ع.ر"));
    m_fpsNote->setText(10, 0, QStringLiteral("المستوى"));
    m_fpsNote->setFrozenCols(3);
    m_fpsNote->setColumnHiddenAt(10, true);
}

void FrmNoteMatierePeriode::fillFromDocument(const gradefile::GradeDocument& document)
{
    setSheetKind(document.sheetKind);
    setOpenedFileKey(document.key);
    EnteteFpsNote();
    for (auto it = document.headers.cbegin(); it != document.headers.cend(); ++it)
        m_fpsNote->setText(it.key(), 0, it.value());
    m_fpsNote->setMaxRows(document.rowCount);
    const Qt::Alignment names = m_sheetKind == QLatin1String("C") ? Qt::AlignCenter : Qt::AlignLeft;
    for (int row = 1; row <= document.rowCount; ++row) {
        const gradefile::RowCells& cells = document.rows[size_t(row - 1)];
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            m_fpsNote->setText(it.key(), row, it.value());
        m_fpsNote->setCellAlignment(7, row, names | Qt::AlignVCenter);
        for (int col = 1; col <= gradefile::kFirstGradeColumn; ++col)
            m_fpsNote->setCellAlignment(col, row, Qt::AlignCenter);
        for (int col = 7; col < gradefile::kSheetColumns; ++col)
            m_fpsNote->setCellLocked(col, row, true);
    }
    RedrawFpsNote();
    setWindowTitle(document.caption);
}

gradefile::SheetTable FrmNoteMatierePeriode::sheetTable() const
{
    gradefile::SheetTable table(size_t(m_fpsNote->maxRows()) + 1);
    for (size_t row = 0; row < table.size(); ++row)
        for (int col = 0; col < gradefile::kSheetColumns; ++col)
            table[row][size_t(col)] = m_fpsNote->text(col, int(row));
    return table;
}

void FrmNoteMatierePeriode::RedrawFpsNote()
{
    // Every hidden column narrows the window by the width of a grade column, less a
    // little, and moves its left edge right by that width; the resize then re-centres it.
    const std::array<bool, gradefile::kSheetColumns> empty =
        gradefile::emptyColumnsOf(sheetTable());
    const int unitTwips = int(90 * m_fpsNote->colWidth(6));
    m_gradeSpan = 6;
    for (int col = 0; col < gradefile::kSheetColumns; ++col) {
        if (!empty[size_t(col)])
            continue;
        m_widthTwips -= unitTwips - 50;
        m_fpsNote->setColumnHiddenAt(col, true);
        --m_gradeSpan;
    }
    m_heightTwips = qMax(m_heightTwips, kMinimumHeightTwips);
    applyWindowSize();
    Form_Resize();
}

void FrmNoteMatierePeriode::applyWindowSize()
{
    setFixedSize(ui::fromTwips(m_widthTwips), ui::fromTwips(m_heightTwips));
    // The grid ends at the window's edge, so its scroll bar stays in sight however many
    // columns were hidden.
    m_fpsNote->resize(qMin(ui::fromTwips(9885), width() - m_fpsNote->x()), m_fpsNote->height());
}

void FrmNoteMatierePeriode::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Form_Resize();
}

void FrmNoteMatierePeriode::Form_Resize()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - frameGeometry().width()) / 2, area.y() + ui::fromTwips(100));
}

void FrmNoteMatierePeriode::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void FrmNoteMatierePeriode::Form_Activate()
{
    // Coming back to the sheet puts the cursor on the first grade of the first pupil. The
    // cell it leaves is checked as on any move, so that no grade typed before the teacher
    // went to another window escapes the check; a grade out of range keeps the cursor.
    // The unsaved grades stay unsaved: only a successful save clears the modified flag.
    const Cell first{gradefile::kFirstGradeColumn, 1};
    const Cell from{m_fpsNote->activeCol(), m_fpsNote->activeRow()};
    if (m_cursorPlaced && from != first) {
        bool cancel = false;
        FpsNote_LeaveCell(from.column, from.row, first.column, first.row, &cancel);
        if (cancel) {
            m_fpsNote->setActiveCell(m_fpsNote->activeCol(), m_fpsNote->activeRow());
            return;
        }
    }
    m_cursorPlaced = true;
    m_fpsNote->setActiveCell(first.column, first.row);
}

void FrmNoteMatierePeriode::ChkEditEnter_Click()
{
    m_fpsNote->setFocus();
    m_fpsNote->setActiveCell(m_fpsNote->activeCol(), m_fpsNote->activeRow());
}

bool FrmNoteMatierePeriode::runFunctionKey(int keyCode)
{
    const std::pair<int, QPushButton*> commands[] = {{vk::F1 + 3, m_cmdExporter},
                                                     {vk::F1 + 4, m_cmdQuitter},
                                                     {vk::F1 + 5, m_cmdImprimer},
                                                     {vk::F1 + 6, m_cmdPreview},
                                                     {vk::F1 + 7, m_cmdImprimerVide}};
    for (const auto& [key, button] : commands) {
        if (key != keyCode)
            continue;
        if (button->isEnabled())
            button->click();
        return true;
    }
    return false;
}

void FrmNoteMatierePeriode::FpsNote_KeyDown(int* keyCode, int shift)
{
    Q_UNUSED(shift);
    const int key = *keyCode;
    const bool functionKey = key >= vk::F1 && key <= vk::F1 + 7;
    if (!functionKey && key != vk::Return)
        return;
    // While an Enter wrap is under way every one of these keys waits for it to end.
    if (m_enterWrap) {
        *keyCode = 0;
        return;
    }
    if (key == vk::Return) {
        applyEnterRule(keyCode);
        return;
    }
    *keyCode = 0;
    switch (key) {
    case vk::F1:
        writeMark(m_fpsNote->activeCol(), kAbsentMark.toString());
        break;
    case vk::F1 + 1:
        for (int col : exemptionColumns(m_gradeSpan))
            writeMark(col, kExemptMark.toString());
        break;
    case vk::F1 + 2:
        writeMark(m_fpsNote->activeCol(), kNoGradeMark.toString());
        break;
    default:
        runFunctionKey(key);
    }
}

void FrmNoteMatierePeriode::writeMark(int col, const QString& mark)
{
    const int row = m_fpsNote->activeRow();
    m_fpsNote->setActiveCell(col, row);
    m_fpsNote->setText(col, row, mark);
    // A mark is an entry like a typed grade: the sheet now has something to save.
    noteEntry(true);
    m_fpsNote->queueEnter();
}

void FrmNoteMatierePeriode::noteEntry(bool accepted)
{
    m_cmdExporter->setEnabled(true);
    m_cmdImprimerVide->setEnabled(false);
    if (accepted)
        m_modified = true;
}

void FrmNoteMatierePeriode::FpsNote_KeyPress(int* keyAscii)
{
    const KeyDecision decision = filterKey(SheetKind::Grade, *keyAscii, m_fpsNote->activeText());
    if (!decision.accepted)
        *keyAscii = 0;
    noteEntry(decision.accepted);
}

EntryMode FrmNoteMatierePeriode::entryMode() const
{
    return m_chkEditEnter->isChecked() ? EntryMode::Vertical : EntryMode::Horizontal;
}

void FrmNoteMatierePeriode::setGridDirection(EnterDirection direction)
{
    m_fpsNote->setEnterAction(direction == EnterDirection::Down ? SpreadGrid::EnterAction::Down
                                                                : SpreadGrid::EnterAction::Next);
}

void FrmNoteMatierePeriode::applyEnterRule(int* keyCode)
{
    const Cell active{m_fpsNote->activeCol(), m_fpsNote->activeRow()};
    const EnterStep step =
        enterPressed({entryMode(), active, m_fpsNote->maxRows(), m_gradeSpan, m_enterWrap});
    setGridDirection(step.direction);
    switch (step.action) {
    case EnterAction::Ignore:
        *keyCode = 0;
        break;
    case EnterAction::Move:
        break;
    case EnterAction::PrepareWrap:
        m_fpsNote->setActiveCell(step.prePosition.column, step.prePosition.row);
        break;
    case EnterAction::CheckInPlace:
        *keyCode = 0;
        applyCheck(active, checkCell(SheetKind::Grade, m_fpsNote->text(active.column, active.row)));
        m_fpsNote->setActiveCell(active.column, active.row);
        break;
    }
    m_enterWrap = step.wrapFlag;
}

void FrmNoteMatierePeriode::applyCheck(Cell cell, const CellCheck& check)
{
    if (m_fpsNote->text(cell.column, cell.row) != check.text)
        m_fpsNote->setText(cell.column, cell.row, check.text);
    switch (check.colour) {
    case CellColour::Unchanged:
        break;
    case CellColour::White:
        m_fpsNote->setCellBackColor(cell.column, cell.row, QColor(255, 255, 255));
        break;
    case CellColour::Yellow:
        m_fpsNote->setCellBackColor(cell.column, cell.row, QColor(255, 255, 0));
        break;
    case CellColour::Red:
        m_fpsNote->setCellBackColor(cell.column, cell.row, QColor(255, 0, 0));
        break;
    }
}

void FrmNoteMatierePeriode::FpsNote_LeaveCell(int col, int row, int newCol, int newRow,
                                              bool* cancel)
{
    // Only grade cells are checked: the pupil information is never rewritten, and the
    // header cell a vertical wrap starts from holds an exam name, not a grade.
    if (row >= 1 && col >= 1 && col <= kFirstGradeColumn) {
        const CellCheck check = checkCell(SheetKind::Grade, m_fpsNote->text(col, row));
        applyCheck({col, row}, check);
        *cancel = *cancel || check.refused;
        if (check.tooLarge) {
            m_clickRule.refused({col, row});
            return;
        }
    }
    if (m_enterWrap) {
        const WrapCells cells =
            wrapCells(entryMode(), {col, row}, m_fpsNote->maxRows(), m_gradeSpan);
        const WrapCompletion done = completeWrap(
            entryMode(), cells, m_fpsNote->text(cells.reallyLeft.column, cells.reallyLeft.row));
        applyCheck(cells.reallyLeft, done.check);
        m_fpsNote->setActiveCell(done.active.column, done.active.row);
        m_enterWrap = false;
        *cancel = *cancel || done.check.refused;
        setGridDirection(done.direction);
    }
    m_clickRule.afterLeaveCell(*m_fpsNote, *cancel,
                               {m_fpsNote->activeCol(), m_fpsNote->activeRow()}, {newCol, newRow});
}

void FrmNoteMatierePeriode::FpsNote_Click(int col, int row)
{
    m_clickRule.clicked(*m_fpsNote, {col, row});
}

bool FrmNoteMatierePeriode::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && qobject_cast<QPushButton*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key >= Qt::Key_F4 && key <= Qt::Key_F8)
            return runFunctionKey(vk::F1 + (key - Qt::Key_F1));
    }
    return QWidget::eventFilter(watched, event);
}

void FrmNoteMatierePeriode::keyPressEvent(QKeyEvent* event)
{
    // The window's other controls take no function key, and Escape closes nothing.
    event->accept();
}

void FrmNoteMatierePeriode::FpsNote_DblClick(int col, int row)
{
    Q_UNUSED(col);
    Q_UNUSED(row);
    m_sheetState.currentPupilRow = qint16(m_fpsNote->activeRow());
}

void FrmNoteMatierePeriode::CmdExporter_Click()
{
    save();
}

bool FrmNoteMatierePeriode::currentCellAboveTwenty() const
{
    const int col = m_fpsNote->activeCol();
    const QString text = m_fpsNote->activeText();
    return col < 7 && text != QLatin1String("--.--") &&
           gradefile::leadingNumber(text).value_or(0) > 20;
}

bool FrmNoteMatierePeriode::checkCellUnderCursor()
{
    // The grade being typed is written as the cursor leaving it would leave it ("7" as
    // "07.00"), so the file only ever holds grade texts and marks.
    const Cell active{m_fpsNote->activeCol(), m_fpsNote->activeRow()};
    m_fpsNote->setActiveCell(active.column, active.row);
    if (active.row < 1 || active.column < 1 || active.column > kFirstGradeColumn ||
        m_fpsNote->text(active.column, active.row).isEmpty())
        return true;
    const CellCheck check = checkCell(SheetKind::Grade, m_fpsNote->text(active.column, active.row));
    applyCheck(active, check);
    if (!check.refused)
        return true;
    m_fpsNote->setFocus();
    return false;
}

bool FrmNoteMatierePeriode::save()
{
    // A grade above twenty under the cursor is not written: the cursor goes back to it.
    if (currentCellAboveTwenty()) {
        m_fpsNote->setFocus();
        m_fpsNote->setActiveCell(m_fpsNote->activeCol(), m_fpsNote->activeRow());
        return false;
    }
    if (!checkCellUnderCursor())
        return false;

    const gradefile::SaveLinesBuilt built = gradefile::buildGradeFileLines(
        m_openedFileKey, windowTitle(), sheetTable(), m_gradeSpan,
        {m_cardTexts.regionName, m_cardTexts.establishmentName, m_cardTexts.teacherName},
        m_cardTexts.saveNumber, m_cardTexts.printNumber);
    if (built.counterOverflow) {
        // Reported as the overflow it is (6), as the opening reports a counter out of range.
        gradefile::FileError overflow = gradefile::makeFileError(
            gradefile::FileErrorKind::Other,
            QStringLiteral(
                "Dépassement de capacité : le numéro d'enregistrement a atteint 32767."));
        overflow.number = 6;
        reportSaveFailure(overflow);
        return false;
    }
    m_cardTexts.saveNumber = built.saveNumber;

    const QString path =
        QDir(m_host.driveFolder()).filePath(m_openedFileKey + QStringLiteral(".xml"));
    for (;;) {
        const gradefile::SafeWriteResult written =
            gradefile::writeGradeFile(path, built.lines, m_writeFaults);
        if (written.ok)
            break;
        if (!askToRetry(written.error)) {
            if (!isDiskMissing(written.error))
                reportSaveFailure(written.error);
            return false;
        }
    }
    m_saved = true;
    m_modified = false;
    m_host.markFileSaved(m_openedFileKey);
    return true;
}

bool FrmNoteMatierePeriode::isDiskMissing(const gradefile::FileError& error)
{
    using gradefile::FileErrorKind;
    return error.kind == FileErrorKind::NoDisk || error.kind == FileErrorKind::AccessDenied ||
           error.kind == FileErrorKind::DeviceNotReady;
}

bool FrmNoteMatierePeriode::askToRetry(const gradefile::FileError& error)
{
    if (!isDiskMissing(error))
        return false;
    return askQuestion(m_sheetState, QStringLiteral("الرجاء إدراج القرص المرن"), false,
                       m_host.mainCaption()) == QLatin1String("OK");
}

void FrmNoteMatierePeriode::reportSaveFailure(const gradefile::FileError& error)
{
    using gradefile::FileErrorKind;
    if (error.kind == FileErrorKind::PermissionDenied || error.kind == FileErrorKind::PathAccess) {
        ui::showNotice(this, ui::kProgramTitle,
                       QStringLiteral("الرّجاء التّثبّت من أن القرص المرن غير محمي"));
        return;
    }
    ui::showNotice(this, ui::kProgramTitle,
                   QString::number(error.number) + u' ' + error.description + u'\r' +
                       QStringLiteral(" Erreur non gérer : Merci De Signaler Cette Erreur à "
                                      "L'équipe Noravel "));
}

bool FrmNoteMatierePeriode::CmdQuitter_Click()
{
    if (m_quitting)
        return true;
    if (!settleUnsavedGrades())
        return false;
    m_quitting = true;
    m_host.showMainWindow();
    close();
    deleteLater();
    return true;
}

bool FrmNoteMatierePeriode::settleUnsavedGrades()
{
    if (!m_modified)
        return true;
    // A save that fails or is refused keeps the window open with its grades.
    if (askQuestion(m_sheetState, kSaveQuestion, true, windowTitle()) == QLatin1String("OK") &&
        !save())
        return false;
    m_modified = false;
    return true;
}

void FrmNoteMatierePeriode::closeEvent(QCloseEvent* event)
{
    // The close box quits as the quit button does; the window closes in this very event,
    // so whoever asked for the close learns that it happened.
    if (!m_quitting) {
        if (!settleUnsavedGrades()) {
            event->ignore();
            return;
        }
        m_quitting = true;
        m_host.showMainWindow();
        deleteLater();
    }
    QWidget::closeEvent(event);
}

} // namespace sheet
