#include "print/printfonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QMutex>

namespace print {

namespace {

QString standInFamily(const QStringList& families)
{
    for (const QString& candidate :
         {QStringLiteral("Tahoma"), QStringLiteral("Noto Sans Arabic"),
          QStringLiteral("Noto Naskh Arabic"), QStringLiteral("DejaVu Sans")}) {
        if (families.contains(candidate, Qt::CaseInsensitive))
            return candidate;
    }
    return QFont().family();
}

} // namespace

QString printableFamily(const QString& requested)
{
    static QMutex mutex;
    static QHash<QString, QString> resolved;
    const QMutexLocker lock(&mutex);
    const auto known = resolved.constFind(requested);
    if (known != resolved.constEnd())
        return *known;
    const QStringList families = QFontDatabase::families();
    const QString family = !requested.isEmpty() && families.contains(requested, Qt::CaseInsensitive)
                               ? requested
                               : standInFamily(families);
    resolved.insert(requested, family);
    return family;
}

QFont fontOf(const PrintedFont& font)
{
    QFont result(printableFamily(font.family));
    result.setPointSizeF(font.pointSize > 0 ? font.pointSize : 9);
    return result;
}

} // namespace print
