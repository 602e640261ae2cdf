#pragma once

#include "gradefile/gradedocument.h"
#include "sheet/clickrule.h"

#include <QWidget>

#include <optional>

class QPushButton;

namespace sheet {

class SheetHost;
class SpreadGrid;
struct SheetState;

// The plain grade sheet: a grade file of the other kind, with one grade column, shown
// for viewing and typing; this program does not write such a file back.
class FrmNote : public QWidget {
    Q_OBJECT

public:
    FrmNote(SheetState& sheetState, SheetHost& host, QWidget* parent = nullptr);

    SpreadGrid* FpsNote() const { return m_fpsNote; }

    // Fills the fresh window with an opened grade file of this kind.
    void fillFromDocument(const gradefile::GradeDocument& document);

    void EnteteFpsNote(const QString& EnteteCol1);
    void Afficher();
    void CmdQuitter_Click();
    void CmdExporter_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void FpsNote_Change(int col, int row);
    void FpsNote_KeyPress(int* keyAscii);
    void FpsNote_KeyDown(int* keyCode, int shift);
    void FpsNote_LeaveCell(int col, int row, int newCol, int newRow, bool* cancel);
    void FpsNote_Click(int col, int row);

    SheetState& m_sheetState;
    SheetHost& m_host;
    QPushButton* m_cmdQuitter = nullptr;
    QPushButton* m_cmdExporter = nullptr;
    QPushButton* m_cmdVerifier = nullptr;
    SpreadGrid* m_fpsNote = nullptr;
    int m_heightTwips = 7590;
    ClickRule m_clickRule{SheetKind::Plain};
};

} // namespace sheet
