#pragma once

#include "core/copies/classstatistics.h"
#include "core/disk/safefilewrite.h"
#include "core/sheet/openedsheet.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>

class QMenu;

namespace print {
struct CardTexts;
}

namespace sheet {

class GradeSheetWindow;

// The copies change neither the sheet, the disk nor the card's counters; the PDF card is marked a
// working copy, with no print number, while the sheet differs from the disk.
class SheetContextMenu : public QObject {
    Q_OBJECT

public:
    enum class CopyKind { Csv, Xlsx, Pdf };

    // The copies and the statistics read checked grades.
    SheetContextMenu(GradeSheetWindow& window, const print::CardTexts& cardTexts,
               std::function<bool()> checkCellUnderCursor);

    // Empty when the teacher gave up.
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
    // One undo step; false when nothing was imported.
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
    QString choosePath(CopyKind kind, const QString& suggested);
    void reportFailure(const QString& path, const gradefile::FileError& error);

    GradeSheetWindow& m_window;
    const print::CardTexts& m_cardTexts;
    std::function<bool()> m_checkCellUnderCursor;
    std::function<QString(CopyKind, const QString&)> m_choosePath;
    QPointer<QMenu> m_menu;
};

} // namespace sheet
