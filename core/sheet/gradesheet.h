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

// A pupil's name shows the observation written for them in its level's colour, bold once
// the observation was validated while the sheet is open.
using observation::NameLook;

// Everything a change may alter in one cell: its text, its look as a grade and, for a name,
// the name's look.
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

// Where the teacher's changes are made: an undo history makes each one a step it can take
// back. A check's rewrite of a cell the cursor leaves is no step of its own.
class EditRecorder {
public:
    virtual ~EditRecorder() = default;
    enum class Kind { Change, Check };
    // A change must be made here, by setting each cell's after state (CellStateRole); the
    // sheet makes a check's rewrite itself.
    virtual void record(const CellEdits& edits, Kind kind) = 0;
};

// The one owner of a sheet's data: every text of the sheet (the headers, each pupil's grades,
// name, identifier, order number and observation), the look of each checked grade and of each
// name, which cells take typing, and whether the sheet holds changes the disk has not. The
// windows only show it; the save, the journal, the copies, the statistics and the card read it.
//
// setData is the one way a pupil's cell changes, and every grade passes the cell check there: a
// grade cell changed holds nothing, a grade in the "00.00" form or a mark, unless it is refused
// (CheckResult::Refused), and a refused text is neither journaled nor saved: the grade it
// replaced is.
//
// Cells are addressed as the sheet's lines hold them: Cell{column, row}, row 0 the headers and
// rows 1 to pupilCount() the pupils, columns as gradefile/sheetcolumns.h numbers them. As a
// table, row r is pupil r + 1 and column c is the sheet's column c + 1: the row-header texts
// (column 0) are the vertical header, row 0 the horizontal one.
class GradeSheet : public QAbstractTableModel {
    Q_OBJECT

public:
    // Roles besides the display text: the cell's CheckResult, the name's NameLook; for setData,
    // the check's rewrite of a cell left (no step of its own), and a CellState set as it is
    // (undo, redo).
    enum Role {
        CheckResultRole = Qt::UserRole,
        NameColourRole,
        NameBoldRole,
        CheckRole,
        CellStateRole
    };

    explicit GradeSheet(int columns = gradefile::kSheetColumns - 1, QObject* parent = nullptr);

    // Replaces everything with a sheet's texts (rows 0 to the last pupil): no look, nothing
    // locked, unmodified.
    void reset(gradefile::SheetTable table);

    int pupilCount() const { return int(m_table.size()) - 1; }
    int columns() const { return m_columns; }
    bool contains(Cell cell) const;
    QString text(Cell cell) const;
    // The teacher's change to several cells as one step (a block pasted or imported, what a
    // crash left, an observation with its name's look): each grade is checked.
    void change(const QList<std::pair<Cell, CellState>>& cells);
    // The cell with another text, its name's look kept.
    CellState withText(Cell cell, const QString& text) const;
    // Where every change to a pupil's texts is recorded from now on (none by default); it must
    // outlive the sheet or be removed first.
    void setJournal(CellJournal* journal) { m_journal = journal; }
    // Where the teacher's changes are made (by default at once, with no history).
    void setRecorder(EditRecorder* recorder) { m_recorder = recorder; }
    CheckResult checkResult(Cell cell) const;
    NameLook nameLook(int row) const;
    CellState state(Cell cell) const;
    // The cell as the save writes it: a refused grade gives way to the one it replaced.
    CellState acceptedState(Cell cell) const;
    // The sheet's texts as the save writes them.
    gradefile::SheetTable savedTable() const;

    // A locked cell takes no typing, paste or drop; headers always count as locked, and
    // every cell of a sheet shown for reading only.
    void setColumnLocked(int column, bool locked);
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    bool isLocked(Cell cell) const;
    // How a column's pupil cells are aligned (physical: AlignLeft is the left edge); by
    // default a text starts on the side it reads from.
    void setColumnAlignment(int column, Qt::Alignment alignment);
    // The columns whose texts, joined, name a pupil to assistive technology as the row's
    // header (the name column by default).
    void setPupilNameColumns(std::vector<int> columns) { m_pupilNameColumns = std::move(columns); }

    bool isModified() const { return m_modified; }
    // Tells modifiedChanged when the flag turns.
    void setModified(bool modified);

    // ---- A subject grade sheet as pupils and exams ----
    // Pupils count from 1, as the rows (0 gives the headers); exams from 0, the first exam
    // first. Only these say in which of the sheet's columns each of them stands.
    static constexpr int kExams = 6;
    enum class PupilField { OrderNumber, Identifier, Name };
    // The pupil's information as the teacher reads it, from the right.
    static constexpr PupilField kPupilFields[] = {PupilField::OrderNumber, PupilField::Identifier,
                                                  PupilField::Name};
    static Cell gradeCell(int pupil, int exam);
    static Cell fieldCell(int pupil, PupilField field);
    static Cell observationCell(int pupil);
    // The exam a column holds; none for the pupil's information.
    static std::optional<int> examAt(int column);

    // As the save writes it: a refused text is no grade.
    QString grade(int pupil, int exam) const { return acceptedState(gradeCell(pupil, exam)).text; }
    QString field(int pupil, PupilField field) const { return text(fieldCell(pupil, field)); }
    QString observation(int pupil) const { return text(observationCell(pupil)); }
    // The exam's header as the teacher reads it, without the blanks that pad it.
    QString examHeader(int exam) const;

    // What the sheet shows: every column not empty at opening, never the observations. The
    // grid, the copies, the statistics, the import and the card all follow it.
    void setShownColumns(const ShownColumns& shown) { m_shown = shown; }
    const ShownColumns& shownColumns() const { return m_shown; }
    bool isShown(int column) const;
    bool isExamShown(int exam) const { return isShown(gradeCell(1, exam).column); }
    bool isFieldShown(PupilField field) const { return isShown(fieldCell(1, field).column); }
    // The shown exams, first exam first.
    std::vector<int> shownExams() const;
    // The grade fields the save writes a pupil, counted at opening.
    int gradeFields() const { return m_gradeFields; }
    // The exams grade entry, a paste and an import reach: the first exam to that count (a
    // header holding text beside the first exam, or no exam at all, still gives one to six).
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
    // A cell's text or look, or a name's look (told on the name's cell), changed; before is
    // the cell as it was (row 0: a header).
    void cellChanged(sheet::Cell cell, const sheet::CellState& before);
    void modifiedChanged(bool modified);

private:
    struct RowLooks {
        std::array<CheckResult, gradefile::kSheetColumns> grades{};
        NameLook name;
    };
    // What the check makes of a text for cell: grades checked, other cells as they come.
    CellState checked(Cell cell, CellState wanted) const;
    void apply(Cell cell, const CellState& state, bool modifies);
    void tell(Cell cell, const CellState& before);
    // What a cell's text and colour say, in words, for assistive technology.
    QString spokenMeaning(Cell cell) const;
    QString pupilName(int row) const;

    int m_columns;
    gradefile::SheetTable m_table{1};
    // Pupil rows 1 to pupilCount() at index row - 1. The file gives no look: opening a large
    // class builds nothing per cell.
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
    // Each refused cell as it was before the refusal: what the save and the journal keep.
    QHash<quint64, CellState> m_beforeRefusal;
};

} // namespace sheet

Q_DECLARE_METATYPE(sheet::CellState)
