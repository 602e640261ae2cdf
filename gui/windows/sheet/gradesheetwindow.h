#pragma once

#include "core/disk/gradedisk.h"
#include "core/disk/safefilewrite.h"
#include "core/gradefile/gradedocument.h"
#include "core/gradefile/gradefilelines.h"
#include "core/sheet/gradeentry.h"
#include "core/sheet/gradesheet.h"
#include "core/sheet/sheetdocument.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QDialog;
class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QTimer;

namespace print {
struct PageHeader;
class PreviewWindow;
class PrintedSheet;
} // namespace print

namespace sheet {

class SheetHistory;
class SheetRecovery;
class GradeGrid;
struct SheetState;

// The grade sheet of one subject grade file.
class GradeSheetWindow : public QWidget {
    Q_OBJECT

public:
    GradeSheetWindow(SheetState& sheetState, const gradefile::GradeDisk& disk,
                     QString diskQuestionTitle, QWidget* parent = nullptr);
    ~GradeSheetWindow() override;

    GradeGrid* grid() const { return m_grid; }
    GradeSheet& sheet() { return m_sheet; }
    const GradeSheet& sheet() const { return m_sheet; }
    const SheetDocument& document() const { return m_document; }
    QString openedFileKey() const { return m_document.key(); }
    // The name the file was listed and opened under: the save writes that very file.
    QString openedFileName() const { return m_document.file().fileName; }

    // From then on every change is journaled in the sheet state's data folder, if it has one.
    void fillFromDocument(const gradefile::GradeDocument& document);
    // Once shown: offers the changes a crash left unsaved. True when it showed the teacher
    // anything.
    bool offerRecovery();

    // While another window of the program has the file open; nothing is journaled.
    void makeReadOnly();
    bool isReadOnly() const { return m_document.isReadOnly(); }

    // False when nothing was written.
    bool save();
    void setWriteFaults(const gradefile::WriteFaultInjector* faults) { m_writeFaults = faults; }
    void quit() { close(); }

    // Printed only once the disk holds what the sheet shows (it asks to save first): only a
    // card printed takes a print number.
    bool printFilledCard();
    // Every grade cell empty, for marks written by hand.
    bool printBlankCard();
    // Drawn from the sheet's cells whatever the screen shows.
    print::PrintedSheet filledCard() const;
    // While the preview is open, showing it again refreshes it rather than opening a second.
    void showPreview();
    print::PreviewWindow* previewWindow() const;
    // A refused grade under the cursor is corrected first. False when nothing changed.
    bool undo();
    bool redo();
    bool canUndo() const;
    bool canRedo() const;

    // One undo step. Nothing is written (a beep) while the cell under the cursor holds a
    // refused grade, nor in a read-only sheet. No message: the paste and the import tell their own.
    sheet::BlockOutcome writeGrades(const std::vector<sheet::GradeWrite>& writes);
    void pasteGrades();

    void toggleLargePresentation();

    // The system's printer when it has one, else a PDF file the teacher names.
    struct CardDestination {
        std::function<bool()> hasPrinter;
        // Empty when the teacher gave up.
        std::function<QString(const QString& suggestedName)> choosePdfPath;
    };
    void setCardDestination(CardDestination destination) { m_destination = std::move(destination); }

    bool isModified() const { return m_sheet.isModified(); }
    bool isSaved() const { return m_document.isSaved(); }

    gradefile::SheetTable sheetTable() const { return m_sheet.savedTable(); }

    void setObservationRunner(std::function<void(QDialog&)> run)
    {
        m_openObservations = std::move(run);
    }

    QString statusText() const;

signals:
    void saved(const QString& key);
    // It is deleted next.
    void closed();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* createCommandPanel();
    void createGrid();
    QLabel* createStatusLine();
    void createCommands();
    void setUpHeaders();
    void fitToShownColumns();
    void startJournal(const gradefile::GradeDocument& document);
    void fitGridColumns();
    void fitWindowToGrid();

    void verticalEntryClicked();
    void entryMade();
    void pupilDoubleClicked();
    void setCommandEnabled(QPushButton* button, bool enabled);
    bool checkCellUnderCursor();
    // False when the window must stay open.
    bool settleUnsavedGrades();
    // True when the teacher asked to try again.
    bool reportSaveFailure(const gradefile::FileError& error);
    // The file on the disk, when it is the one the sheet opened or last wrote, or the teacher
    // agreed to replace what another window or computer wrote there (lastSaveNumber then goes
    // on from that file's). Nullopt when nothing may be written.
    std::optional<QByteArray> fileToReplace(qint16& lastSaveNumber);
    // The grid has the keyboard back whatever happens. False when nothing was printed.
    bool sendCard(const print::PrintedSheet& card, const print::PageHeader& codes, bool filled);
    // The status line's text; empty when nothing was written.
    QString writeCardToPdf(const print::PrintedSheet& card, const print::PageHeader& codes,
                           bool filled);
    // The same card was sent a moment ago and the sheet has not changed since.
    bool isCardJustSent(bool filled) const;
    // For a few seconds.
    void showStatus(const QString& text);
    bool cardGoesToPrinter() const;
    void giveGridBackItsCursor();
    bool stepThroughHistory(bool back);

    SheetState& m_sheetState;
    const gradefile::GradeDisk& m_disk;
    QString m_diskQuestionTitle;

    QPushButton* m_saveButton = nullptr;
    QPushButton* m_quitButton = nullptr;
    QPushButton* m_printFilledButton = nullptr;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_printBlankButton = nullptr;
    QPushButton* m_presentationButton = nullptr;
    QCheckBox* m_verticalEntry = nullptr;
    GradeGrid* m_grid = nullptr;
    QScrollArea* m_commandPanel = nullptr;
    // Each function key is enabled with its button.
    QHash<QPushButton*, QAction*> m_commandKeys;

    SheetDocument m_document;
    GradeSheet& m_sheet = m_document.sheet();
    // Declared before grade entry, which records into it.
    std::unique_ptr<SheetRecovery> m_recovery;
    std::unique_ptr<GradeEntry> m_entry;
    std::unique_ptr<SheetHistory> m_history;

    bool m_largePresentation = false;
    // The sheet gave way to a modal dialog, not to another window.
    bool m_awayInDialog = false;
    enum class CardSent { None, Filled, Blank };
    CardSent m_cardSent = CardSent::None;
    QLabel* m_statusLine = nullptr;
    QTimer* m_statusTimer = nullptr;
    CardDestination m_destination;
    QPointer<print::PreviewWindow> m_preview;
    int m_normalRowHeight = 0;
    const gradefile::WriteFaultInjector* m_writeFaults = nullptr;
    std::function<void(QDialog&)> m_openObservations;
};

} // namespace sheet
