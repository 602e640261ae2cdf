#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace app {

// The registry roots the program reads from.
enum class RegistryRoot { LocalMachine };

// Reads the string value subKeyRef of the key keyName under keyRoot into keyVal. Returns
// false, with keyVal empty, when the key or the value cannot be read; outside Windows there
// is no registry and the answer is always false.
bool readRegistryString(RegistryRoot keyRoot, const QString& keyName, const QString& subKeyRef,
                        QString& keyVal);

// Reads one string value of a key under the local-machine root, as readRegistryString does.
using RegistryReader =
    std::function<bool(const QString& keyName, const QString& valueName, QString& value)>;
using FileProbe = std::function<bool(const QString& path)>;

// The system information tool as the registry names it: its own path when that is
// recorded, else MSINFO32.EXE in the shared tools folder when that file exists. Empty when
// neither is there.
QString findSystemInformationProgram(const RegistryReader& readLocalMachine,
                                     const FileProbe& fileExists);

// Starts the system's information tool, or tells the user that it is not available.
void startSystemInformation(QWidget* parent = nullptr);

} // namespace app
