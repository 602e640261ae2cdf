#pragma once

#include "core/gradefile/gradefilelines.h"
#include "core/observation/observationtext.h"
#include "core/sheet/celljournal.h"
#include "core/sheet/cellrules.h"
#include "core/sheet/openedsheet.h"

#include <QAbstractTableModel>
#include <QHash>

#include <array>
#include <optional>
#include <vector>

namespace sheet {

using observation::NameLook;

// Everything a change may alter in one cell.
struct CellState {
    QString text;
    CheckResult result = CheckResult::Unchecked;
    NameLook name;
    friend bool operator==(const CellState& a, const CellState& b)
    {
        return a.text == b.text && a.result == b.result && a.name == b.name;
    }
    friend bool operator!=(const CellState& a, const CellState& b) { return !(a == b); }
};

// One cell of a change of the teacher's: as it was, as the change leaves it.
struct CellEdit {
    Cell cell;
    CellState before;
    CellState after;
};
using CellEdits = QList<CellEdit>;

// Where the teacher's changes are made, so that an undo history makes each one a step.
class EditRecorder {
public:
    virtual ~EditRecorder() = default;
    enum class Kind { Change, Check };
    // Must apply a Change (each after state through CellStateRole); the sheet applies a Check.
    virtual void record(const CellEdits& edits, Kind kind) = 0;
};

// The one owner of a sheet's data; the windows only show it. setData checks every grade; a
// refused text is neither journaled nor saved: the grade it replaced is.
// Cell{column, row} as the file's lines hold them (row 0 the headers); as a table, row r is
// pupil r + 1 and column c the sheet's column c + 1, column 0 being the vertical header.
class GradeSheet : public QAbstractTableModel {
    Q_OBJECT

public:
    // CheckRole: a check's rewrite of a cell left (no undo step); CellStateRole: a CellState
    // set as it is (undo, redo).
    enum Role {
        CheckResultRole = Qt::UserRole,
        NameColourRole,
        NameBoldRole,
        CheckRole,
        CellStateRole
    };

    explicit GradeSheet(int columns = gradefile::kSheetColumns - 1, QObject* parent = nullptr);

    // No look, nothing locked, unmodified.
    void reset(gradefile::SheetTable table);

    int pupilCount() const { return int(m_table.size()) - 1; }
    int columns() const { return m_columns; }
    bool contains(Cell cell) const;
    QString text(Cell cell) const;
    // One undo step over several cells; each grade is checked.
    void change(const QList<std::pair<Cell, CellState>>& cells);
    // The cell with another text, its name's look kept.
    CellState withText(Cell cell, const QString& text) const;
    // It must outlive the sheet or be removed first.
    void setJournal(CellJournal* journal) { m_journal = journal; }
    // Without one, changes are made at once, with no history.
    void setRecorder(EditRecorder* recorder) { m_recorder = recorder; }
    CheckResult checkResult(Cell cell) const;
    NameLook nameLook(int row) const;
    CellState state(Cell cell) const;
    // A refused grade gives way to the one it replaced.
    CellState acceptedState(Cell cell) const;
    gradefile::SheetTable savedTable() const;

    // Headers always count as locked, and every cell of a read-only sheet.
    void setColumnLocked(int column, bool locked);
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    bool isLocked(Cell cell) const;
    // Physical (AlignLeft is the left edge); by default a text starts on the side it reads from.
    void setColumnAlignment(int column, Qt::Alignment alignment);
    // The columns whose texts, joined, name the row to assistive technology.
    void setPupilNameColumns(std::vector<int> columns) { m_pupilNameColumns = std::move(columns); }

    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    // ---- Pupils (from 1, as the rows) and exams (from 0); only these place them in columns ----
    static constexpr int kExams = 6;
    enum class PupilField { OrderNumber, Identifier, Name };
    // The pupil's information as the teacher reads it, from the right.
    static constexpr PupilField kPupilFields[] = {PupilField::OrderNumber, PupilField::Identifier,
                                                  PupilField::Name};
    static Cell gradeCell(int pupil, int exam);
    static Cell fieldCell(int pupil, PupilField field);
    static Cell observationCell(int pupil);
    static std::optional<int> examAt(int column);

    // A refused text is no grade.
    QString grade(int pupil, int exam) const { return acceptedState(gradeCell(pupil, exam)).text; }
    QString field(int pupil, PupilField field) const { return text(fieldCell(pupil, field)); }
    QString observation(int pupil) const { return text(observationCell(pupil)); }
    // Without the blanks that pad it.
    QString examHeader(int exam) const;

    // Every column not empty at opening, never the observations; the grid, the copies, the
    // statistics, the import and the card all follow it.
    void setShownColumns(const ShownColumns& shown) { m_shown = shown; }
    const ShownColumns& shownColumns() const { return m_shown; }
    bool isShown(int column) const;
    bool isExamShown(int exam) const { return isShown(gradeCell(1, exam).column); }
    bool isFieldShown(PupilField field) const { return isShown(fieldCell(1, field).column); }
    std::vector<int> shownExams() const;
    // The grade fields the save writes a pupil, counted at opening.
    int gradeFields() const { return m_gradeFields; }
    // The exams entry, paste and import reach; a header holding text beside the first exam, or
    // no exam at all, still gives one to six.
    int examCount() const { return std::clamp(m_gradeFields, 1, kExams); }

    QModelIndex indexOf(Cell cell) const;
    static Cell cellOf(const QModelIndex& index);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A name's look is told on the name's cell.
    void cellChanged(sheet::Cell cell, const sheet::CellState& before);
    void modifiedChanged(bool modified);

private:
    struct RowLooks {
        std::array<CheckResult, gradefile::kSheetColumns> grades{};
        NameLook name;
    };
    // Grades checked, other cells as they come.
    CellState checked(Cell cell, CellState wanted) const;
    void apply(Cell cell, const CellState& state, bool modifies);
    void tell(Cell cell, const CellState& before);
    // A cell's text and colour in words, for assistive technology.
    QString spokenMeaning(Cell cell) const;
    QString pupilName(int row) const;

    int m_columns;
    gradefile::SheetTable m_table{1};
    // At index row - 1. The file gives no look: opening a large class builds nothing per cell.
    std::vector<RowLooks> m_looks;
    std::array<bool, gradefile::kSheetColumns> m_lockedColumns{};
    std::array<Qt::Alignment, gradefile::kSheetColumns> m_alignments{};
    std::vector<int> m_pupilNameColumns{gradefile::kNameColumn};
    ShownColumns m_shown{};
    int m_gradeFields = 0;
    bool m_readOnly = false;
    bool m_modified = false;
    CellJournal* m_journal = nullptr;
    EditRecorder* m_recorder = nullptr;
    // What the save and the journal keep of each refused cell.
    QHash<quint64, CellState> m_beforeRefusal;
};

} // namespace sheet

Q_DECLARE_METATYPE(sheet::CellState)
