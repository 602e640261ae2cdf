#include "sheet/gradesheet.h"

#include "observation/observationtext.h"

#include <utility>

namespace sheet {

namespace {

// A mark's meaning, as the grade sheet's legend names it.
const std::pair<QStringView, QString> kSpokenMarks[] = {{kAbsentMark, QStringLiteral("غياب شرعي")},
                                                        {kExemptMark, QStringLiteral("معفى")},
                                                        {kNoGradeMark, QStringLiteral("غير مسند")}};
const QString kSpokenRefused = QStringLiteral("مرفوض");
const QString kSpokenZero = QStringLiteral("صفر");

} // namespace

GradeSheet::GradeSheet(int columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(qBound(1, columns, gradefile::kSheetColumns - 1))
{}

void GradeSheet::reset(gradefile::SheetTable table)
{
    beginResetModel();
    m_table = std::move(table);
    if (m_table.empty())
        m_table.resize(1);
    m_looks.assign(m_table.size() - 1, RowLooks());
    m_shown = shownColumnsOf(m_table);
    endResetModel();
    setModified(false);
}

void GradeSheet::setModified(bool modified)
{
    if (std::exchange(m_modified, modified) != modified)
        emit modifiedChanged(modified);
}

Cell GradeSheet::gradeCell(int pupil, int exam)
{
    Q_ASSERT(exam >= 0 && exam < kExams);
    return {gradefile::kFirstGradeColumn - exam, pupil};
}

Cell GradeSheet::fieldCell(int pupil, PupilField field)
{
    switch (field) {
    case PupilField::OrderNumber:
        return {gradefile::kOrderNumberColumn, pupil};
    case PupilField::Identifier:
        return {gradefile::kIdentifierColumn, pupil};
    case PupilField::Name:
        break;
    }
    return {gradefile::kNameColumn, pupil};
}

Cell GradeSheet::observationCell(int pupil)
{
    return {gradefile::kLevelColumn, pupil};
}

std::optional<int> GradeSheet::examAt(int column)
{
    if (column < gradefile::kFirstGradeColumn - kExams + 1 || column > gradefile::kFirstGradeColumn)
        return std::nullopt;
    return gradefile::kFirstGradeColumn - column;
}

QString GradeSheet::examHeader(int exam) const
{
    return shownHeader(grade(0, exam));
}

bool GradeSheet::isShown(int column) const
{
    return column >= 0 && column < int(m_shown.size()) && m_shown[size_t(column)];
}

std::vector<int> GradeSheet::shownExams() const
{
    std::vector<int> exams;
    for (int exam = 0; exam < kExams; ++exam) {
        if (isExamShown(exam))
            exams.push_back(exam);
    }
    return exams;
}

bool GradeSheet::contains(Cell cell) const
{
    return cell.row >= 0 && cell.row <= pupilCount() && cell.column >= 0 &&
           cell.column <= m_columns;
}

QString GradeSheet::text(Cell cell) const
{
    return contains(cell) ? m_table[size_t(cell.row)][size_t(cell.column)] : QString();
}

void GradeSheet::setText(Cell cell, const QString& text)
{
    Q_ASSERT(contains(cell));
    QString& stored = m_table[size_t(cell.row)][size_t(cell.column)];
    if (stored == text)
        return;
    const CellState before = state(cell);
    stored = text;
    if (m_journal && cell.row >= 1)
        m_journal->cellCommitted(cell, text);
    tell(cell, before);
}

void GradeSheet::restoreText(Cell cell, const QString& text)
{
    CellJournal* journal = std::exchange(m_journal, nullptr);
    setText(cell, text);
    m_journal = journal;
}

GradeLook GradeSheet::look(Cell cell) const
{
    if (!contains(cell) || cell.row == 0)
        return GradeLook::None;
    return m_looks[size_t(cell.row - 1)].grades[size_t(cell.column)];
}

void GradeSheet::setLook(Cell cell, GradeLook look)
{
    Q_ASSERT(contains(cell) && cell.row >= 1);
    GradeLook& stored = m_looks[size_t(cell.row - 1)].grades[size_t(cell.column)];
    if (stored == look)
        return;
    const CellState before = state(cell);
    stored = look;
    tell(cell, before);
}

NameLook GradeSheet::nameLook(int row) const
{
    return row >= 1 && row <= pupilCount() ? m_looks[size_t(row - 1)].name : NameLook();
}

void GradeSheet::setNameLook(int row, const NameLook& look)
{
    Q_ASSERT(row >= 1 && row <= pupilCount());
    NameLook& stored = m_looks[size_t(row - 1)].name;
    if (stored == look)
        return;
    const CellState before = state({gradefile::kNameColumn, row});
    stored = look;
    tell({gradefile::kNameColumn, row}, before);
}

CellState GradeSheet::state(Cell cell) const
{
    CellState now{text(cell), look(cell), {}};
    if (cell.column == gradefile::kNameColumn)
        now.name = nameLook(cell.row);
    return now;
}

void GradeSheet::setState(Cell cell, const CellState& state)
{
    setText(cell, state.text);
    if (cell.row >= 1)
        setLook(cell, state.look);
    if (cell.column == gradefile::kNameColumn && cell.row >= 1)
        setNameLook(cell.row, state.name);
}

void GradeSheet::setColumnLocked(int column, bool locked)
{
    m_lockedColumns[size_t(column)] = locked;
}

void GradeSheet::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
}

bool GradeSheet::isLocked(Cell cell) const
{
    return m_readOnly || cell.row < 1 || cell.column < 1 || !contains(cell) ||
           m_lockedColumns[size_t(cell.column)];
}

// Left and right are the cell's own sides, whatever the reading direction of its text.
void GradeSheet::setColumnAlignment(int column, Qt::Alignment alignment)
{
    if (!(alignment & Qt::AlignVertical_Mask))
        alignment |= Qt::AlignVCenter;
    m_alignments[size_t(column)] = alignment | Qt::AlignAbsolute;
}

void GradeSheet::tell(Cell cell, const CellState& before)
{
    if (cell.row == 0) {
        emit headerDataChanged(Qt::Horizontal, cell.column - 1, cell.column - 1);
    } else if (cell.column == 0) {
        emit headerDataChanged(Qt::Vertical, cell.row - 1, cell.row - 1);
    } else {
        const QModelIndex index = indexOf(cell);
        emit dataChanged(index, index);
    }
    emit cellChanged(cell, before);
}

QModelIndex GradeSheet::indexOf(Cell cell) const
{
    if (cell.row < 1 || cell.column < 1 || !contains(cell))
        return {};
    return index(cell.row - 1, cell.column - 1);
}

Cell GradeSheet::cellOf(const QModelIndex& index)
{
    return {index.column() + 1, index.row() + 1};
}

int GradeSheet::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : pupilCount();
}

int GradeSheet::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant GradeSheet::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Cell cell = cellOf(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(cell);
    case Qt::TextAlignmentRole: {
        const Qt::Alignment alignment = m_alignments[size_t(cell.column)];
        return alignment ? QVariant(int(alignment)) : QVariant();
    }
    case GradeLookRole:
        return int(look(cell));
    case NameColourRole: {
        const NameLook name = nameLook(cell.row);
        return cell.column == gradefile::kNameColumn && name.rgb ? QVariant(*name.rgb) : QVariant();
    }
    case NameBoldRole:
        return cell.column == gradefile::kNameColumn && nameLook(cell.row).bold;
    case Qt::AccessibleDescriptionRole:
        return spokenMeaning(cell);
    default:
        return {};
    }
}

// The red, the yellow and the name's colour are said in words; a mark by its meaning.
QString GradeSheet::spokenMeaning(Cell cell) const
{
    if (cell.column == gradefile::kNameColumn && gradefile::kLevelColumn <= m_columns)
        return observation::observationOf(text({gradefile::kLevelColumn, cell.row}));
    switch (look(cell)) {
    case GradeLook::Refused:
        return kSpokenRefused;
    case GradeLook::Zero:
        return kSpokenZero;
    default:
        break;
    }
    for (const auto& [mark, meaning] : kSpokenMarks) {
        if (text(cell) == mark)
            return meaning;
    }
    return {};
}

QString GradeSheet::pupilName(int row) const
{
    QStringList parts;
    for (int column : m_pupilNameColumns)
        parts << text({column, row});
    return parts.join(u' ').trimmed();
}

// A screen reader names a row by its pupil, whatever the row header shows.
QVariant GradeSheet::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::AccessibleTextRole && orientation == Qt::Vertical)
        return pupilName(section + 1);
    if (role != Qt::DisplayRole)
        return {};
    return orientation == Qt::Horizontal ? text({section + 1, 0}) : text({0, section + 1});
}

Qt::ItemFlags GradeSheet::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags shown = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return isLocked(cellOf(index)) ? shown : shown | Qt::ItemIsEditable;
}

} // namespace sheet
