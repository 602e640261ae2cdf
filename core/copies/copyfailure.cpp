#include "core/copies/copyfailure.h"

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
    case FileErrorKind::InUse:
        return QStringLiteral("الملفّ مفتوح في برنامج آخر : أغلقه ثمّ أعد المحاولة.");
    case FileErrorKind::FileExists:
        return QStringLiteral("يوجد ملفّ بهذا الإسم لا يمكن تعويضه : اختر إسما آخر.");
    default:
        return QStringLiteral("تعذّرت الكتابة على القرص.");
    }
}

} // namespace

QString leftToRight(const QString& text)
{
    // An embedding rather than an isolate: Qt's text layout keeps a path's leading "/" in
    // place only inside an explicit left-to-right embedding.
    return QChar(0x202A) + text + QChar(0x202C);
}

QString copyFailureText(const QString& path, const gradefile::FileError& error)
{
    return QStringLiteral("لم يقع حفظ النسخة، ولم يتغيّر أيّ ملفّ :\n%1\n\n%2\n\n%3")
        .arg(leftToRight(QDir::toNativeSeparators(path)), reasonOf(error.kind),
             leftToRight(error.description));
}

} // namespace sheet
