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
#include "gui/windows/sheet/sheetcontextmenu.h"
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

// The teacher's steps, ";" between them: "type PLACE TEXT", "paste PLACE TEXT" (Ctrl+V there;
// the caller answers the message), "observe PUPIL TEXT" (validated unseen), "undo", "redo",
// "shift-redo", "menu undo|redo [PLACE]" or "menu paste PLACE TEXT" (a right click on the cell,
// p1e1 by default), or a key. Places as tests/support/places.h names them.
inline void takeSteps(sheet::GradeGrid* grid, const QString& steps)
{
    for (const QString& step : steps.split(u';')) {
        const QStringList words = step.split(u' ');
        if (words[0] == "type") {
            typeInto(grid, words[1], words.value(2));
        } else if (words[0] == "paste") {
            QGuiApplication::clipboard()->setText(step.section(u' ', 2));
            typeInto(grid, words[1], {});
            pressKey(Qt::Key_V, Qt::ControlModifier);
            QVERIFY(activate(grid->window())); // after the message
        } else if (words[0] == "observe") {
            observe(qobject_cast<sheet::GradeSheetWindow*>(grid->window()), words[1].toInt(),
                    words.mid(2).join(u' '));
        } else if (words[0] == "menu") { // the grid's menu by a right click, an item by Enter
            if (words[1] == "paste")
                QGuiApplication::clipboard()->setText(step.section(u' ', 3));
            const QPoint at =
                grid->visualRect(grid->sheet().indexOf(cellNamed(words.value(2, "p1e1")))).center();
            QTest::mouseClick(grid->window()->windowHandle(), Qt::RightButton, {},
                              grid->viewport()->mapTo(grid->window(), at));
            QTRY_VERIFY(QApplication::activePopupWidget());
            QVERIFY(chooseMenuItem(words[1] == "undo"   ? sheet::SheetContextMenu::kUndoItem
                                   : words[1] == "redo" ? sheet::SheetContextMenu::kRedoItem
                                                        : sheet::SheetContextMenu::kPasteItem));
            QVERIFY(activate(grid->window())); // after a paste's message
        } else { // undo, redo and shift-redo by their keys, or a key's name
            const QKeyCombination key =
                QKeySequence::fromString(step == "undo"         ? "Ctrl+Z"
                                         : step == "redo"       ? "Ctrl+Y"
                                         : step == "shift-redo" ? "Ctrl+Shift+Z"
                                                                : step)[0];
            pressKey(key.key(), key.keyboardModifiers());
        }
    }
}
