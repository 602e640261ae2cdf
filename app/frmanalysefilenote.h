#pragma once

#include "sheet/sheethost.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace print {
struct CardTexts;
}

namespace sheet {
class FrmNote;
class FrmNoteMatierePeriode;
struct SheetState;
} // namespace sheet

namespace gradefile {
struct GradeDocument;
}

namespace app {

struct AppState;

// The main window: the list of the grade files on the disk, the scan that fills it and
// the end of the program.
class FrmAnalyseFileNote : public QMainWindow, public sheet::SheetHost {
    Q_OBJECT

public:
    FrmAnalyseFileNote(AppState& appState, sheet::SheetState& sheetState,
                       print::CardTexts& cardTexts, QString driveFolder, QWidget* parent = nullptr);
    ~FrmAnalyseFileNote() override;

    // The grade sheet windows while one is open (each exists once at most).
    sheet::FrmNoteMatierePeriode* noteMatierePeriode() const;
    sheet::FrmNote* note() const;

    void showMainWindow() override;
    QString mainCaption() const override { return windowTitle(); }
    QString driveFolder() const override { return m_driveFolder; }
    void markFileSaved(const QString& key) override;

    QTreeWidget* Lvw() const { return m_lvw; }

    int LVW_ModifyLine(QTreeWidget* listView, long index, bool bold, const QString& foreColour,
                       const QString& toolTip);

    // How the program ends; tests replace it to see that it was asked for.
    void setQuitAction(std::function<void()> quit) { m_quit = std::move(quit); }

public slots:
    void CmdAnalyser_Click();
    void Lvw_DblClick();
    void CmdQuitter_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
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
    // Closes the open grade sheet windows, each asking about its unsaved grades; false
    // when one stays open.
    bool closeGradeSheets();
    void reportOpenFailure(const QString& message, bool question);
    void openSubjectSheet(const gradefile::GradeDocument& document);
    void openPlainSheet(const gradefile::GradeDocument& document);

    AppState& m_appState;
    sheet::SheetState& m_sheetState;
    print::CardTexts& m_cardTexts;
    QString m_driveFolder;
    QPointer<sheet::FrmNoteMatierePeriode> m_noteMatierePeriode;
    QPointer<sheet::FrmNote> m_note;
    std::function<void()> m_quit;

    QPushButton* m_cmdAnalyser = nullptr;
    QPushButton* m_cmdQuitter = nullptr;
    QTreeWidget* m_lvw = nullptr;
    QLabel* m_label1 = nullptr;
    bool m_aboutPending = false;
};

} // namespace app
