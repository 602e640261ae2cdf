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

namespace sheet {
class GradeSheetWindow;
class AnnualAveragesWindow;
struct SheetState;
} // namespace sheet

namespace app {

class KeptCopiesDialog;
struct AppState;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(AppState& appState, sheet::SheetState& sheetState, QString driveFolder,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Each exists once at most.
    sheet::GradeSheetWindow* gradeSheet() const;
    sheet::AnnualAveragesWindow* annualAverages() const;

    // Each line also holds its file's key (Qt::UserRole).
    enum ListColumn { ContentColumn, FileNameColumn };
    QTreeWidget* fileList() const { return m_fileList; }

    void setQuitAction(std::function<void()> quit) { m_quit = std::move(quit); }

    const QString& diskFolder() const { return m_disk.folder(); }
    // From the folder the choice starts in; empty when the teacher gave up.
    void setFolderChooser(std::function<QString(const QString&)> choose)
    {
        m_chooseFolder = std::move(choose);
    }

public slots:
    void scanDisk();
    // An open grade sheet is closed first, since it saves to its own disk.
    void chooseDiskFolder();
    void openSelectedFile();
    void quit();
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
    void createDiskFolderLine();
    void showDiskFolder();

    // nullopt when the scan must end.
    std::optional<QStringList> listDiskAskingForIt();
    void addListLine(const QString& fileName);
    // False when one stays open.
    bool closeGradeSheets();
    void reportOpenFailure(const gradefile::FileError& error);
    // False when the teacher gave up because another window of the program has the file open;
    // readOnly when they chose to look at it without typing.
    bool lockFileToOpen(const gradefile::GradeDocument& document, bool& readOnly);
    void openSubjectSheet(const gradefile::GradeDocument& document, bool readOnly);
    void openAnnualAverages(const gradefile::GradeDocument& document);
    void carryOut(const KeptCopiesDialog& dialog);

    AppState& m_appState;
    sheet::SheetState& m_sheetState;
    gradefile::GradeDisk m_disk;
    QPointer<sheet::GradeSheetWindow> m_gradeSheet;
    QPointer<sheet::AnnualAveragesWindow> m_annualAverages;
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
