#include "core/disk/drivelocation.h"

namespace app {

QString defaultDriveFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("A:/");
#else
    return QStringLiteral("/media/floppy");
#endif
}

DriveArgument driveArgumentOf(const QStringList& arguments)
{
    const QString option = QStringLiteral("--drive");
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == option) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty())
                return {false, std::nullopt};
            return {true, arguments.at(i + 1)};
        }
        if (argument.startsWith(option + u'=')) {
            const QString folder = argument.mid(option.size() + 1);
            if (folder.isEmpty())
                return {false, std::nullopt};
            return {true, folder};
        }
    }
    return {};
}

} // namespace app
