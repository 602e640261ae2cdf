#pragma once

// The program as the teacher starts it, over a temporary disk folder of its own; the window
// tests' one include, with the helpers they share.

#include "../gui/modaltools.h"
#include "core/card/cardtexts.h"
#include "core/disk/teachermessages.h"
#include "core/gradefile/gradefileio.h"
#include "datatable.h"
#include "dialoganswers.h"
#include "filebytes.h"
#include "gridcells.h"
#include "gui/grid/gradegrid.h"
#include "gui/windows/app/appstate.h"
#include "gui/windows/app/mainwindow.h"
#include "gui/windows/sheet/gradesheetwindow.h"
#include "gui/windows/sheet/sheetstate.h"
#include "places.h"

// The whole of the widgets and the test library: the window tests use much of both.
#include <QtTest>
#include <QtWidgets>

#include <memory>

// Scans the disk and opens the file's line as a double click does; the sheet once active, or none.
inline sheet::GradeSheetWindow* openFromList(app::MainWindow& window, const QString& fileName)
{
    window.scanDisk();
    const QList<QTreeWidgetItem*> lines =
        window.fileList()->findItems(fileName, Qt::MatchExactly, app::MainWindow::FileNameColumn);
    if (lines.size() != 1)
        return nullptr;
    window.fileList()->setCurrentItem(lines.first());
    const sheet::GradeSheetWindow* before = window.gradeSheet();
    window.openSelectedFile();
    sheet::GradeSheetWindow* opened = window.gradeSheet();
    // A refused file leaves the sheet that was open: it is not the one asked for.
    if (!opened || opened == before ||
        !QTest::qWaitFor([opened] { return opened->isActiveWindow(); }))
        return nullptr;
    return opened;
}

class ProgramOnDisk {
public:
    // withJournal: the sheets journal in a data folder beside the disk. The about box counts as
    // seen.
    explicit ProgramOnDisk(bool withJournal = false)
    {
        m_diskPath = m_root.filePath(QStringLiteral("A"));
        QDir().mkdir(m_diskPath);
        if (withJournal)
            sheetState.dataFolder.path = dataPath();
        m_window = std::make_unique<app::MainWindow>(appState, sheetState, m_diskPath);
        m_window->setQuitAction([] {});
        m_window->show();
        // What comes next waits for the window it needs: a sheet opened, a dialog answered.
        static_cast<void>(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QString diskPath() const { return m_diskPath; }
    QString dataPath() const { return m_root.filePath(QStringLiteral("data")); }
    QString filePath(const QString& fileName) const { return QDir(m_diskPath).filePath(fileName); }
    // A file of the sample disk put on the program's, writable whatever the checkout's rights.
    bool copySample(const QString& fileName) const
    {
        return QFile::copy(SAISIE_SOURCE_DIR "/examples/floppy/" + fileName, filePath(fileName)) &&
               QFile::setPermissions(filePath(fileName), QFile::ReadOwner | QFile::WriteOwner);
    }
    bool writeFile(const QString& fileName, const QStringList& lines) const
    {
        return gradefile::writeGradeFile(filePath(fileName), lines).ok;
    }

    sheet::GradeSheetWindow* open(const QString& fileName)
    {
        return openFromList(*m_window, fileName);
    }
    // A file written, or put from the sample disk, then opened.
    sheet::GradeSheetWindow* openWritten(const QString& fileName, const QStringList& lines)
    {
        return writeFile(fileName, lines) ? open(fileName) : nullptr;
    }
    sheet::GradeSheetWindow* openSample(const QString& fileName)
    {
        return copySample(fileName) ? open(fileName) : nullptr;
    }

    app::MainWindow* window() const { return m_window.get(); }
    sheet::GradeSheetWindow* sheet() const { return m_window ? m_window->gradeSheet() : nullptr; }
    sheet::GradeGrid* grid() const { return sheet()->grid(); }

    app::AppState appState{true};
    sheet::SheetState sheetState;
    // The open sheet's card texts.
    const print::CardTexts& cardTexts() const { return sheet()->document().cardTexts(); }

private:
    QTemporaryDir m_root;
    QString m_diskPath;
    std::unique_ptr<app::MainWindow> m_window;
};

// Types text into a cell as the teacher does; the cell stays open under the cursor.
inline void typeInto(sheet::GradeGrid* grid, const QString& place, const QString& text)
{
    grid->setActiveCell(cellNamed(place));
    QTest::keyClicks(grid, text);
}

// An observation for the row's pupil by a double click, validated unseen by the dialog.
inline void observe(sheet::GradeSheetWindow* sheet, int row, const QString& text)
{
    sheet->setObservationRunner([text](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("observationEdit"))->setText(text);
        dialog.findChild<QPushButton*>(QStringLiteral("validateButton"))->click();
    });
    const sheet::GradeGrid* grid = sheet->grid();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->visualRect(grid->model()->index(row - 1, 6)).center());
}

// The window given the keyboard back, as the window manager does once a dialog is gone.
inline bool activate(QWidget* window)
{
    window->activateWindow();
    return QTest::qWaitFor([window] { return window->isActiveWindow(); });
}

// A key to whatever has the focus, and what it queued (a mark's Enter) handled.
inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Chooses the item of the menu open now as the keyboard does (made current, Enter); false if none.
inline bool chooseMenuItem(const QString& text)
{
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    for (QAction* item : menu ? menu->actions() : QList<QAction*>())
        menu->setActiveAction(item->text() == text ? item : menu->activeAction());
    if (!menu || !menu->activeAction())
        return false;
    QTest::keyClick(menu, Qt::Key_Return);
    return true;
}
