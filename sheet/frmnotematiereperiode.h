#pragma once

#include "gradefile/gradedocument.h"
#include "gradefile/gradefilelines.h"
#include "gradefile/safefilewrite.h"
#include "sheet/cellrules.h"
#include "sheet/clickrule.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace print {
struct CardTexts;
}

namespace sheet {

class SheetHost;
class SpreadGrid;
struct SheetState;

// The grade sheet of one subject grade file: the grade grid, the save, print and quit
// commands with their function keys, and the vertical-entry option.
class FrmNoteMatierePeriode : public QWidget {
    Q_OBJECT

public:
    FrmNoteMatierePeriode(SheetState& sheetState, print::CardTexts& cardTexts, SheetHost& host,
                          QWidget* parent = nullptr);

    SpreadGrid* FpsNote() const { return m_fpsNote; }

    // The sheet kind of the opened file; "C" centres the names under a short header.
    void setSheetKind(const QString& kind) { m_sheetKind = kind; }
    void setOpenedFileKey(const QString& key) { m_openedFileKey = key; }
    QString openedFileKey() const { return m_openedFileKey; }

    // Fills the fresh window with an opened grade file: headers, one row per pupil, the
    // empty columns hidden, the file's description as caption.
    void fillFromDocument(const gradefile::GradeDocument& document);

    void EnteteFpsNote();
    void RedrawFpsNote();
    void CmdExporter_Click();
    // Writes the sheet back into its grade file; false when nothing was written.
    bool save();
    // Lets tests make a step of the disk write fail as a damaged disk would.
    void setWriteFaults(const gradefile::WriteFaultInjector* faults) { m_writeFaults = faults; }
    // The quit procedure: asks about unsaved grades, then closes the window and brings
    // the main window back. False when the window stays open (its save failed).
    bool CmdQuitter_Click();

    qint16 GradeSpan() const { return m_gradeSpan; }
    bool isModified() const { return m_modified; }
    bool isSaved() const { return m_saved; }

    // The grid's texts as the save reads them.
    gradefile::SheetTable sheetTable() const;

    // Window width and left edge in twips, as the fitting arithmetic keeps them.
    int widthTwips() const { return m_widthTwips; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createButtons();
    void createLegend();
    void createPrintFrame();
    void createGrid();
    void Form_Activate();
    void Form_Resize();
    void ChkEditEnter_Click();
    void FpsNote_KeyDown(int* keyCode, int shift);
    void FpsNote_KeyPress(int* keyAscii);
    void FpsNote_LeaveCell(int col, int row, int newCol, int newRow, bool* cancel);
    void FpsNote_Click(int col, int row);
    // The grade cell rules applied to the grid.
    void writeMark(int col, const QString& mark);
    void noteEntry(bool accepted);
    void applyEnterRule(int* keyCode);
    void applyCheck(Cell cell, const CellCheck& check);
    EntryMode entryMode() const;
    void setGridDirection(EnterDirection direction);
    void FpsNote_DblClick(int col, int row);
    // F4 to F8, from the grid or one of the five buttons: runs the command of an enabled
    // button. Returns whether the key was one of them.
    bool runFunctionKey(int keyCode);
    void applyWindowSize();
    bool currentCellAboveTwenty() const;
    bool checkCellUnderCursor();
    // Asks whether to save unsaved grades and saves them when told to; false when the
    // window must stay open.
    bool settleUnsavedGrades();
    static bool isDiskMissing(const gradefile::FileError& error);
    bool askToRetry(const gradefile::FileError& error);
    void reportSaveFailure(const gradefile::FileError& error);

    SheetState& m_sheetState;
    print::CardTexts& m_cardTexts;
    SheetHost& m_host;

    QPushButton* m_cmdExporter = nullptr;
    QPushButton* m_cmdQuitter = nullptr;
    QPushButton* m_cmdImprimer = nullptr;
    QPushButton* m_cmdPreview = nullptr;
    QPushButton* m_cmdImprimerVide = nullptr;
    QPushButton* m_cmdSmalAndLarg = nullptr;
    QCheckBox* m_chkEditEnter = nullptr;
    SpreadGrid* m_fpsNote = nullptr;

    QString m_sheetKind;
    QString m_openedFileKey;
    qint16 m_gradeSpan = 0;
    bool m_modified = false;
    bool m_saved = false;
    bool m_largePresentation = false;
    bool m_enterWrap = false;
    ClickRule m_clickRule{SheetKind::Grade};
    // False until the first activation has put the cursor on the first grade.
    bool m_cursorPlaced = false;
    bool m_quitting = false;
    int m_widthTwips = 11880;
    int m_heightTwips = 4590;
    const gradefile::WriteFaultInjector* m_writeFaults = nullptr;
};

} // namespace sheet
