#include "core/disk/drivechoice.h"
#include "core/disk/drivelocation.h"
#include "core/recovery/datafolder.h"
#include "gui/ui/accessibility.h"
#include "gui/ui/artwork.h"
#include "gui/ui/notice.h"
#include "gui/ui/qtarabic.h"
#include "gui/ui/uilook.h"
#include "gui/windows/app/appstate.h"
#include "gui/windows/app/mainwindow.h"
#include "gui/windows/sheet/sheetstate.h"

#include <QAccessible>
#include <QApplication>
#include <QStyle>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // Settings (the support telephone) live under ~/.config/saisie-notes/ and the like.
    QApplication::setOrganizationName(recovery::kProgramName);
    QApplication::setApplicationName(recovery::kProgramName);
    QApplication::setWindowIcon(ui::programIcon());
    QApplication::setLayoutDirection(Qt::RightToLeft);
    // Only where the platform's style puts icons on dialog buttons: Windows shows none, and
    // its look changed under another style. Before the program's font, which then has the last
    // word on every widget.
    if (QApplication::style()->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons))
        QApplication::setStyle(ui::programStyle());
    QApplication::setFont(ui::programFont());
    QAccessible::installFactory(ui::plainWindowAccessible);
    ui::installQtArabic(application);

    const app::DriveArgument argument = app::driveArgumentOf(QApplication::arguments());
    if (!argument.valid) {
        std::fputs("usage: saisie-notes [--drive FOLDER]\n", stderr);
        return 2;
    }
    const app::DriveChoice drive =
        app::chooseStartFolder(argument.folder, app::systemDriveEnvironment());

    app::AppState appState;
    sheet::SheetState sheetState;
    // Journals of unsaved grades and kept copies of saved files: ~/.local/share/... on Linux.
    sheetState.dataFolder.path = recovery::defaultDataFolder();
    app::MainWindow mainWindow(appState, sheetState, drive.folder);
    mainWindow.show();
    return QApplication::exec();
}
