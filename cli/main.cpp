// gradefile: the grade file layer of saisie-notes for administrators and scripts.
#include "cli/commands.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gradefile"));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return cli::runCommand(arguments);
}
