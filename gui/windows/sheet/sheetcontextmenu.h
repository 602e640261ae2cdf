#pragma once

#include "core/copies/classstatistics.h"
#include "core/disk/safefilewrite.h"
#include "core/sheet/openedsheet.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>

class QMenu;
class QWidget;

namespace print {
struct CardTexts;
struct ClassSummary;
} // namespace print

namespace sheet {

class GradeSheetWindow;

// The teacher's own tools on a grade sheet, offered by the grid's context menu (right
// click, or the keyboard's menu key): undo and redo, a paste of grades, the class
// statistics (and their summary as a PDF), a CSV copy and an Excel copy of the sheet and a PDF
// copy of the filled card (marked a working copy, with no print number, while the sheet differs
// from the disk). None of the copies changes the sheet, the disk or the card's counters. The
// menu also imports a class's grades from a file.
class SheetContextMenu : public QObject {
    Q_OBJECT

public:
    enum class CopyKind { Csv, Xlsx, Pdf, Summary };

    // checkCellUnderCursor checks the cell under the cursor as a save would, false when it
    // holds a grade the sheet refuses: the copies and the statistics read checked grades.
    SheetContextMenu(GradeSheetWindow& window, const print::CardTexts& cardTexts,
               std::function<bool()> checkCellUnderCursor);

    // Where a copy goes, from a suggested file name; empty when the teacher gave up. A
    // save dialog unless a test says otherwise.
    void setPathChooser(std::function<QString(CopyKind, const QString& suggested)> choose)
    {
        m_choosePath = std::move(choose);
    }

    // The menu at a point of the grid's viewport; it stays, hidden once closed, until the next.
    QMenu* showMenu(const QPoint& viewportPosition);

    // The statistics of the shown exams, as the sheet stands now.
    std::vector<ExamStatistics> statistics() const;

    // Each command of the menu; the copies return whether a file was written.
    void showStatistics();
    bool saveCsvCopy();
    bool saveXlsxCopy();
    bool savePdfCopy();
    // The statistics dialog's summary as a one-page PDF; a failure is told over the dialog.
    bool saveSummaryPdf(const print::ClassSummary& summary, QWidget* dialog);
    // A class's grades from a file, shown before they change anything and applied as one
    // undo step; false when nothing was imported.
    bool importGrades();

    static const QString kStatisticsItem;
    static const QString kCsvItem;
    static const QString kXlsxItem;
    static const QString kPdfItem;
    static const QString kImportItem;
    static const QString kUndoItem;
    static const QString kRedoItem;
    static const QString kPasteItem;

private:
    using SheetWriter = gradefile::SafeWriteResult (*)(const QString& path,
                                                       const GradeSheet& sheet);
    // A copy of the sheet's texts (CSV or Excel), written by write.
    bool saveSheetCopy(CopyKind kind, SheetWriter write);
    QString choosePath(CopyKind kind, const QString& suggested, QWidget* over = nullptr);
    void reportFailure(const QString& path, const gradefile::FileError& error,
                       QWidget* over = nullptr);

    GradeSheetWindow& m_window;
    const print::CardTexts& m_cardTexts;
    std::function<bool()> m_checkCellUnderCursor;
    std::function<QString(CopyKind, const QString&)> m_choosePath;
    QPointer<QMenu> m_menu;
};

} // namespace sheet
