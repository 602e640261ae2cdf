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

// The grade sheet of one subject grade file: the grade grid, the save, print and quit
// commands with their function keys, and the vertical-entry option.
class GradeSheetWindow : public QWidget {
    Q_OBJECT

public:
    // diskQuestionTitle is the caption of the question that asks for the disk.
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

    // Fills the fresh window with an opened grade file: headers, one row per pupil, the
    // empty columns hidden, the file's description as caption. From then on every change
    // the teacher commits is journaled in the data folder of the sheet state, if it has one.
    void fillFromDocument(const gradefile::GradeDocument& document);
    // Once the filled sheet is shown: offers the changes a crash left unsaved in a
    // journal of this file, and puts them back into the sheet when the teacher agrees.
    // True when it showed the teacher anything.
    bool offerRecovery();

    // Shows the filled sheet for reading only, while another window of the program has the
    // file open: nothing can be typed, marked, observed or saved, and nothing is journaled.
    void makeReadOnly();
    bool isReadOnly() const { return m_document.isReadOnly(); }

    // Writes the sheet back into its grade file; false when nothing was written.
    bool save();
    // Lets tests make a step of the disk write fail as a damaged disk would.
    void setWriteFaults(const gradefile::WriteFaultInjector* faults) { m_writeFaults = faults; }
    // The quit command: closing asks about unsaved grades first.
    void quit() { close(); }

    // The grade card filled in, printed once the disk holds what the sheet shows (it asks to
    // save first); false when nothing was printed. Only a card printed takes a print number.
    bool printFilledCard();
    // The grade card with every grade cell empty, for marks written by hand.
    bool printBlankCard();
    // The card as it prints, drawn from the sheet's cells whatever the screen shows.
    print::PrintedSheet filledCard() const;
    // The print preview of the filled card (F7). While it is open, showing it again shows
    // the sheet as it is now instead of opening a second one.
    void showPreview();
    // The preview while it is open.
    print::PreviewWindow* previewWindow() const;
    // Undoes the teacher's last change to a cell, or redoes the last one undone, with the
    // cursor on it (Ctrl+Z; Ctrl+Y or Ctrl+Shift+Z). A refused grade under the cursor is
    // corrected first. False when nothing changed.
    bool undo();
    bool redo();
    bool canUndo() const;
    bool canRedo() const;

    // Writes grades brought from outside as one change of the teacher's: each checked as a
    // grade typed and left, a refused one not written, the cursor then on the first refused
    // cell, which holds its text in red to be corrected. Nothing is written (a beep) while the
    // cell under the cursor holds a refused grade (the teacher corrects it first), nor in a sheet
    // for reading. It shows no message: the paste and the import each tell their own.
    sheet::BlockOutcome writeGrades(const std::vector<sheet::GradeWrite>& writes);
    // Pastes the block of grades the clipboard holds from the cursor on (Ctrl+V outside a cell
    // being typed, or the grid's menu), and tells the teacher what became of it.
    void pasteGrades();

    // Switches the grid between its normal and its large presentation.
    void toggleLargePresentation();

    // Where a card goes: the system's printer when it has one, else a PDF file the
    // teacher names. Tests choose both.
    struct CardDestination {
        std::function<bool()> hasPrinter;
        // The PDF file to write, from a suggested file name; empty when the teacher
        // gave up.
        std::function<QString(const QString& suggestedName)> choosePdfPath;
    };
    void setCardDestination(CardDestination destination) { m_destination = std::move(destination); }

    bool isModified() const { return m_sheet.isModified(); }
    bool isSaved() const { return m_document.isSaved(); }

    // The sheet's texts as the save writes them and the card prints them.
    gradefile::SheetTable sheetTable() const { return m_sheet.savedTable(); }

    // How the observation dialog is shown; tests may run it their own way.
    void setObservationRunner(std::function<void(QDialog&)> run)
    {
        m_openObservations = std::move(run);
    }

    // What the status line under the grid says now (a card sent, for a few seconds).
    QString statusText() const;
    // Says on the status line, for a few seconds, what became of the teacher's command.
    void showStatus(const QString& text);

signals:
    // The grade file of key was written.
    void saved(const QString& key);
    // The window closed; it is deleted next.
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
    // Asks whether to save unsaved grades and saves them when told to; false when the
    // window must stay open.
    bool settleUnsavedGrades();
    // Tells the teacher why the save failed; true when they asked to try again.
    bool reportSaveFailure(const gradefile::FileError& error);
    // The file on the disk, when it may be replaced: it is the one the sheet opened or last
    // wrote, or the teacher agreed to replace what another window or computer wrote there
    // (lastSaveNumber then goes on from that file's). Nullopt when nothing may be written.
    std::optional<QByteArray> fileToReplace(qint16& lastSaveNumber);
    // Sends a card with its page header and footer to its destination; the grid has the
    // keyboard back whatever happens. False when nothing was printed.
    bool sendCard(const print::PrintedSheet& card, const print::PageHeader& codes, bool filled);
    // The status line's text once the PDF is written; empty when it was not.
    QString writeCardToPdf(const print::PrintedSheet& card, const print::PageHeader& codes,
                           bool filled);
    // The same card was sent a moment ago and the sheet has not changed since.
    bool isCardJustSent(bool filled) const;
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
    // Each command button's function key, enabled with its button.
    QHash<QPushButton*, QAction*> m_commandKeys;

    SheetDocument m_document;
    GradeSheet& m_sheet = m_document.sheet();
    // Before grade entry, which records into it: it goes after.
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
