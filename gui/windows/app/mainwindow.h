#pragma once

#include "core/disk/gradedisk.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QLockFile;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace sheet {
class GradeSheetWindow;
class AnnualAveragesWindow;
struct SheetState;
} // namespace sheet

namespace app {

class KeptCopiesDialog;
struct AppState;

// The main window: the list of the grade files on the disk, the scan that fills it, the
// grade sheet opened from it, and the end of the program.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(AppState& appState, sheet::SheetState& sheetState, QString driveFolder,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The grade sheet windows while one is open (each exists once at most).
    sheet::GradeSheetWindow* gradeSheet() const;
    sheet::AnnualAveragesWindow* annualAverages() const;

    // The file list's columns; each line also holds its file's key (Qt::UserRole).
    enum ListColumn { ContentColumn, FileNameColumn, TypedColumn };
    QTreeWidget* fileList() const { return m_fileList; }

    // How the program ends; tests replace it to see that it was asked for.
    void setQuitAction(std::function<void()> quit) { m_quit = std::move(quit); }

    // The folder of the disk the grade files are read from and written to.
    const QString& diskFolder() const { return m_disk.folder(); }
    // How the teacher names another disk folder, from the folder the choice starts in (the disk's
    // when it is there, else the documents); empty when they gave up. A folder dialog unless a
    // test says otherwise.
    void setFolderChooser(std::function<QString(const QString&)> choose)
    {
        m_chooseFolder = std::move(choose);
    }

public slots:
    void scanDisk();
    // Lets the teacher choose the disk folder, remembers it for the next start and lists
    // its grade files; an open grade sheet is closed first, since it saves to its own disk.
    void chooseDiskFolder();
    void openSelectedFile();
    void quit();
    // The "ملف" menu's kept copies: a copy of a grade file chosen in a small dialog is
    // brought back onto the disk or written into another folder.
    void bringBackKeptCopy();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void setUpFileList();
    void createMenu();
    void scanButtonFocused();
    void showAboutBox();
    void pressDefaultButton();
    void showMainWindow();
    void markFileSaved(const QString& key);
    void fillListLine(QTreeWidgetItem* line);
    void createDiskFolderLine();
    void showDiskFolder();

    // The file names of the disk, asking for the disk while it is missing; nullopt when
    // the scan must end.
    std::optional<QStringList> listDiskAskingForIt();
    void addListLine(const QString& fileName);
    // Closes the open grade sheet windows, each asking about its unsaved grades; false
    // when one stays open.
    bool closeGradeSheets();
    void reportOpenFailure(const gradefile::FileError& error);
    // Locks the file for the sheet about to open it; false when the teacher gave up
    // because another window of the program has it open. readOnly: the teacher chose to
    // look at it without typing.
    bool lockFileToOpen(const gradefile::GradeDocument& document, bool& readOnly);
    void openSubjectSheet(const gradefile::GradeDocument& document, bool readOnly);
    void openAnnualAverages(const gradefile::GradeDocument& document);
    void carryOut(const KeptCopiesDialog& dialog);

    AppState& m_appState;
    sheet::SheetState& m_sheetState;
    gradefile::GradeDisk m_disk;
    QPointer<sheet::GradeSheetWindow> m_gradeSheet;
    QPointer<sheet::AnnualAveragesWindow> m_annualAverages;
    // The lock of the file the grade sheet shows, while it is open.
    std::unique_ptr<QLockFile> m_openFileLock;
    std::function<void()> m_quit;
    std::function<QString(const QString&)> m_chooseFolder;

    QPushButton* m_scanButton = nullptr;
    QPushButton* m_quitButton = nullptr;
    QTreeWidget* m_fileList = nullptr;
    QLabel* m_diskFolderLabel = nullptr;
    bool m_aboutPending = false;
};

} // namespace app
