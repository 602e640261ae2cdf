// Draws the program's icon into PNG files for the desktop's menu, at build time: the
// repository keeps no picture files, and the menu shows the same grade book as the windows.
//   render-icon FOLDER SIZE...   writes FOLDER/SIZExSIZE/apps/saisie-notes.png for each size
#include "gui/ui/artwork.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QPixmap>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 3) {
        std::fputs("usage: render-icon FOLDER SIZE...\n", stderr);
        return 2;
    }
    const QIcon icon = ui::programIcon();
    for (const QString& argument : arguments.mid(2)) {
        bool number = false;
        const int side = argument.toInt(&number);
        if (!number || side <= 0) {
            std::fprintf(stderr, "render-icon: not a size: %s\n", qPrintable(argument));
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(arguments.at(1)).arg(side);
        const QPixmap pixmap = icon.pixmap(QSize(side, side));
        if (!QDir().mkpath(folder) || pixmap.width() != side ||
            !pixmap.save(folder + QStringLiteral("/saisie-notes.png"), "PNG")) {
            std::fprintf(stderr, "render-icon: cannot write the %dx%d icon in %s\n", side, side,
                         qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
