// gradefile: the grade file layer of saisie-notes for administrators and scripts.
#include "cli/commands.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

int main(int argc, char* argv[])
{
#ifdef Q_OS_WIN
    // Every command reads and writes the same bytes on every system: LF ends its lines, the
    // CSV keeps its own CR LF (the console's text mode would make it CR CR LF), and a byte
    // 0x1A in the lines written is no end of input.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gradefile"));
    return cli::runCommand(QCoreApplication::arguments());
}
