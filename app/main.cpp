#include "app/appstate.h"
#include "app/drivelocation.h"
#include "app/frmabout.h"
#include "app/frmanalysefilenote.h"
#include "app/notice.h"
#include "print/cardtexts.h"
#include "sheet/sheetstate.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(ui::kProgramTitle);
    QApplication::setWindowIcon(app::programIcon());
    QApplication::setLayoutDirection(Qt::RightToLeft);

    const std::optional<QString> drive = app::driveFolderFromArguments(QApplication::arguments());
    if (!drive) {
        std::fputs("usage: saisie-notes [--drive FOLDER]\n", stderr);
        return 2;
    }

    app::AppState appState;
    sheet::SheetState sheetState;
    print::CardTexts cardTexts;
    app::FrmAnalyseFileNote mainWindow(appState, sheetState, cardTexts, *drive);
    mainWindow.show();
    return QApplication::exec();
}
