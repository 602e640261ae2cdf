#include "gui/windows/app/systeminfo.h"

#include "gui/ui/notice.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>

#include <optional>

namespace app {

namespace {

const QString kSysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kSysInfoPathValue = QStringLiteral("PATH");
const QString kSharedToolsKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kSharedToolsValue = QStringLiteral("MSINFO");
const QString kSysInfoFile = QStringLiteral("\\MSINFO32.EXE");

#ifdef Q_OS_WIN
QString rootName(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::LocalMachine:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    }
    return {};
}

// The registry may keep the string's terminating NUL; the text ends before it.
QString withoutTrailingNul(QString text)
{
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

std::optional<QString> readRegistryString(RegistryRoot root, const QString& keyName,
                                          const QString& valueName)
{
    const QSettings key(rootName(root) + QLatin1Char('\\') + keyName, QSettings::NativeFormat);
    if (key.status() != QSettings::NoError || !key.contains(valueName))
        return std::nullopt;
    const QVariant value = key.value(valueName);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return withoutTrailingNul(value.toString());
}
#else
// No registry here: nothing is ever found.
std::optional<QString> readRegistryString(RegistryRoot, const QString&, const QString&)
{
    return std::nullopt;
}
#endif

bool readLocalMachineRegistry(const QString& keyName, const QString& valueName, QString& value)
{
    return readRegistryString(RegistryRoot::LocalMachine, keyName, valueName, value);
}

bool fileExistsOnDisk(const QString& path)
{
    return QFileInfo::exists(path);
}

} // namespace

bool readRegistryString(RegistryRoot keyRoot, const QString& keyName, const QString& subKeyRef,
                        QString& keyVal)
{
    const std::optional<QString> value = readRegistryString(keyRoot, keyName, subKeyRef);
    keyVal = value.value_or(QString());
    return value.has_value();
}

QString findSystemInformationProgram(const RegistryReader& readLocalMachine,
                                     const FileProbe& fileExists)
{
    QString path;
    if (readLocalMachine(kSysInfoKey, kSysInfoPathValue, path))
        return path;
    QString folder;
    if (readLocalMachine(kSharedToolsKey, kSharedToolsValue, folder) &&
        fileExists(folder + kSysInfoFile))
        return folder + kSysInfoFile;
    return {};
}

void startSystemInformation(QWidget* parent)
{
    const QString program =
        findSystemInformationProgram(readLocalMachineRegistry, fileExistsOnDisk);
    if (program.isEmpty() || !QProcess::startDetached(program, {}))
        ui::showNotice(parent, ui::kProgramTitle,
                       QStringLiteral("Les informations système ne sont pas disponibles "
                                      "actuellement"));
}

} // namespace app
