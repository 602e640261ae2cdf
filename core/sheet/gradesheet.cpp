#include "core/sheet/gradesheet.h"

#include "core/observation/observationtext.h"
#include "core/sheet/gradeblock.h"

#include <utility>

namespace sheet {

namespace {

// A mark's meaning, as the grade sheet's legend names it.
const std::pair<QStringView, QString> kSpokenMarks[] = {{kAbsentMark, QStringLiteral("غياب شرعي")},
                                                        {kExemptMark, QStringLiteral("معفى")},
                                                        {kNoGradeMark, QStringLiteral("غير مسند")}};
const QString kSpokenRefused = QStringLiteral("مرفوض");
const QString kSpokenZero = QStringLiteral("صفر");

quint64 keyOf(Cell cell)
{
    return (quint64(quint32(cell.row)) << 32) | quint32(cell.column);
}

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
    m_beforeRefusal.clear();
    m_shown = shownColumnsOf(m_table);
    m_gradeFields = gradefile::gradeFieldsOf(m_table);
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

CheckResult GradeSheet::checkResult(Cell cell) const
{
    if (!contains(cell) || cell.row == 0)
        return CheckResult::Unchecked;
    return m_looks[size_t(cell.row - 1)].grades[size_t(cell.column)];
}

NameLook GradeSheet::nameLook(int row) const
{
    return row >= 1 && row <= pupilCount() ? m_looks[size_t(row - 1)].name : NameLook();
}

CellState GradeSheet::state(Cell cell) const
{
    CellState now{text(cell), checkResult(cell), {}};
    if (cell.column == gradefile::kNameColumn)
        now.name = nameLook(cell.row);
    return now;
}

CellState GradeSheet::withText(Cell cell, const QString& text) const
{
    CellState state = this->state(cell);
    state.text = text;
    return state;
}

CellState GradeSheet::acceptedState(Cell cell) const
{
    const auto refused = m_beforeRefusal.constFind(keyOf(cell));
    return refused != m_beforeRefusal.constEnd() ? *refused : state(cell);
}

gradefile::SheetTable GradeSheet::savedTable() const
{
    gradefile::SheetTable table = m_table;
    for (auto refused = m_beforeRefusal.cbegin(); refused != m_beforeRefusal.cend(); ++refused)
        table[size_t(refused.key() >> 32)][size_t(quint32(refused.key()))] = refused->text;
    return table;
}

// A grade cell takes what a grade typed and left would leave: a value with a point or a comma,
// in either digits, or a mark; anything else stays as it came, refused. Nothing stays nothing.
CellState GradeSheet::checked(Cell cell, CellState wanted) const
{
    if (!examAt(cell.column) || cell.row < 1 || m_readOnly)
        return wanted;
    const CellCheck check =
        checkBroughtValue(wanted.text).value_or(CellCheck{QString(), CheckResult::Accepted, false});
    wanted.text = check.text;
    wanted.result = check.result.value_or(CheckResult::Accepted);
    return wanted;
}

void GradeSheet::change(const QList<std::pair<Cell, CellState>>& cells)
{
    CellEdits edits;
    for (const auto& [cell, wanted] : cells) {
        Q_ASSERT(contains(cell) && cell.row >= 1);
        const CellState after = checked(cell, wanted);
        if (after != state(cell))
            edits.append({cell, state(cell), after});
    }
    if (edits.isEmpty())
        return;
    if (m_recorder)
        m_recorder->record(edits, EditRecorder::Kind::Change);
    else
        for (const CellEdit& edit : edits)
            apply(edit.cell, edit.after, true);
}

bool GradeSheet::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const Cell cell = cellOf(index);
    if (!index.isValid() || m_readOnly || (role == Qt::EditRole && isLocked(cell)))
        return false;
    switch (role) {
    case Qt::EditRole:
        change({{cell, withText(cell, value.toString())}});
        return true;
    case CheckRole: {
        const CellState after = checked(cell, withText(cell, value.toString()));
        if (after == state(cell))
            return true;
        if (m_recorder)
            m_recorder->record({{cell, state(cell), after}}, EditRecorder::Kind::Check);
        apply(cell, after, false);
        return true;
    }
    case CellStateRole:
        apply(cell, value.value<CellState>(), true);
        return true;
    default:
        return false;
    }
}

// The journal follows the grade the save would write, never a refused text.
void GradeSheet::apply(Cell cell, const CellState& after, bool modifies)
{
    const CellState before = state(cell);
    if (before == after)
        return;
    const QString savedBefore = acceptedState(cell).text;
    const bool refused = after.result == CheckResult::Refused;
    if (refused && before.result != CheckResult::Refused)
        m_beforeRefusal.insert(keyOf(cell), before);
    else if (!refused)
        m_beforeRefusal.remove(keyOf(cell));
    m_table[size_t(cell.row)][size_t(cell.column)] = after.text;
    RowLooks& looks = m_looks[size_t(cell.row - 1)];
    looks.grades[size_t(cell.column)] = after.result;
    if (cell.column == gradefile::kNameColumn)
        looks.name = after.name;
    if (m_journal && !refused && after.text != savedBefore)
        m_journal->cellCommitted(cell, after.text);
    tell(cell, before);
    if (modifies)
        setModified(true);
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
    case CheckResultRole:
        return int(checkResult(cell));
    case NameColourRole: {
        const std::optional<observation::Rgb> rgb = nameLook(cell.row).colour;
        return cell.column == gradefile::kNameColumn && rgb
                   ? QVariant(unsigned(rgb->red << 16 | rgb->green << 8 | rgb->blue))
                   : QVariant();
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
    switch (checkResult(cell)) {
    case CheckResult::Refused:
        return kSpokenRefused;
    case CheckResult::Zero:
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
