#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace app {

enum class RegistryRoot { LocalMachine };

// False, with keyVal empty, when the value cannot be read; always false outside Windows.
bool readRegistryString(RegistryRoot keyRoot, const QString& keyName, const QString& subKeyRef,
                        QString& keyVal);

using RegistryReader =
    std::function<bool(const QString& keyName, const QString& valueName, QString& value)>;
using FileProbe = std::function<bool(const QString& path)>;

// Its own recorded path, else MSINFO32.EXE in the shared tools folder; empty when neither is there.
QString findSystemInformationProgram(const RegistryReader& readLocalMachine,
                                     const FileProbe& fileExists);

void startSystemInformation(QWidget* parent = nullptr);

} // namespace app
