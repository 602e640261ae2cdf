#pragma once

#include <QMainWindow>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace sheet {
struct SheetState;
}

namespace app {

struct AppState;

// The main window: the list of the grade files on the disk, the scan that fills it and
// the end of the program.
class FrmAnalyseFileNote : public QMainWindow {
    Q_OBJECT

public:
    FrmAnalyseFileNote(AppState& appState, sheet::SheetState& sheetState, QString driveFolder,
                       QWidget* parent = nullptr);

    QTreeWidget* Lvw() const { return m_lvw; }
    QString driveFolder() const { return m_driveFolder; }

    int LVW_ModifyLine(QTreeWidget* listView, long index, bool bold, const QString& foreColour,
                       const QString& toolTip);

    // How the program ends; tests replace it to see that it was asked for.
    void setQuitAction(std::function<void()> quit) { m_quit = std::move(quit); }

public slots:
    void CmdAnalyser_Click();
    void CmdQuitter_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void createMenu();
    void CmdAnalyser_GotFocus();
    void MnuAApropos_Click();
    void showAboutBox();
    void pressDefaultButton();

    // The file names of the disk, asking for the disk while it is missing; nullopt when
    // the scan must end.
    std::optional<QStringList> listDiskAskingForIt();
    void addListLine(const QString& fileName);
    void fitFileNameColumn();

    AppState& m_appState;
    sheet::SheetState& m_sheetState;
    QString m_driveFolder;
    std::function<void()> m_quit;

    QPushButton* m_cmdAnalyser = nullptr;
    QPushButton* m_cmdQuitter = nullptr;
    QTreeWidget* m_lvw = nullptr;
    QLabel* m_label1 = nullptr;
    bool m_aboutPending = false;
};

} // namespace app
