#include "sheet/copyfailure.h"

#include <QDir>

namespace sheet {

namespace {

QString reasonOf(gradefile::FileErrorKind kind)
{
    using gradefile::FileErrorKind;
    switch (kind) {
    case FileErrorKind::PermissionDenied:
    case FileErrorKind::AccessDenied:
    case FileErrorKind::PathAccess:
        return QStringLiteral("لا يمكن الكتابة في هذا المجلّد أو القرص محمي : اختر مكانا آخر.");
    case FileErrorKind::DiskFull:
        return QStringLiteral("لا يتّسع القرص لهذا الملفّ : اختر قرصا آخر.");
    case FileErrorKind::NoDisk:
    case FileErrorKind::DeviceNotReady:
        return QStringLiteral("المجلّد غير موجود أو القرص غير جاهز.");
    case FileErrorKind::FileExists:
        return QStringLiteral("يوجد ملفّ بهذا الإسم لا يمكن تعويضه : اختر إسما آخر.");
    default:
        return QStringLiteral("تعذّرت الكتابة على القرص.");
    }
}

} // namespace

QString leftToRight(const QString& text)
{
    return QChar(0x2066) + text + QChar(0x2069);
}

QString copyFailureText(const QString& path, const gradefile::FileError& error)
{
    return QStringLiteral("لم يقع حفظ النسخة، ولم يتغيّر أيّ ملفّ :\n%1\n\n%2\n\n%3")
        .arg(leftToRight(QDir::toNativeSeparators(path)), reasonOf(error.kind),
             leftToRight(error.description));
}

} // namespace sheet
