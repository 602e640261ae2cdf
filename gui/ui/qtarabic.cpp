#include "gui/ui/qtarabic.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace ui {

bool installQtArabic(QCoreApplication& application)
{
    const QStringList folders{
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
        QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    // Owned by the application, which uses it until it ends.
    auto* translator = new QTranslator(&application);
    for (const QString& folder : folders) {
        if (translator->load(QStringLiteral("qtbase_ar"), folder))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

} // namespace ui
