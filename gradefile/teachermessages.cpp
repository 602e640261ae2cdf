#include "gradefile/teachermessages.h"

namespace gradefile {

const QString kInsertDiskText = QStringLiteral("الرجاء إدراج القرص المرن");
const QString kCannotViewText = QStringLiteral("لا يمكنك معاينة محتوى هذا الملف");

namespace {

const QString kWriteProtectedText = QStringLiteral("الرّجاء التّثبّت من أن القرص المرن غير محمي");

bool isDiskMissing(FileErrorKind kind)
{
    return kind == FileErrorKind::NoDisk || kind == FileErrorKind::AccessDenied ||
           kind == FileErrorKind::DeviceNotReady;
}

QString numbered(const FileError& error)
{
    return QString::number(error.number) + u' ' + error.description + u'\r';
}

QString callSupport(const QString& supportTelephone)
{
    return QStringLiteral("Erreur non gérer contacter l'équipe Noravel tel : ") + supportTelephone;
}

TeacherMessage question(const QString& text, bool retry = false)
{
    return {MessageForm::Question, text, retry};
}

TeacherMessage notice(const QString& text)
{
    return {MessageForm::Notice, text, false};
}

} // namespace

TeacherMessage teacherMessage(FileOperation operation, const FileError& error,
                              const QString& supportTelephone)
{
    switch (operation) {
    case FileOperation::Scan:
        if (error.kind == FileErrorKind::NoDisk)
            return question(kInsertDiskText, true);
        return notice(callSupport(supportTelephone));
    case FileOperation::Open:
        if (error.kind == FileErrorKind::NoDisk)
            return question(kInsertDiskText);
        if (error.kind == FileErrorKind::NotAGradeFile)
            return question(kCannotViewText);
        return notice(numbered(error) + callSupport(supportTelephone));
    case FileOperation::Save:
        if (isDiskMissing(error.kind))
            return question(kInsertDiskText, true);
        if (error.kind == FileErrorKind::PermissionDenied ||
            error.kind == FileErrorKind::PathAccess)
            return notice(kWriteProtectedText);
        return notice(numbered(error) +
                      QStringLiteral(" Erreur non gérer : Merci De Signaler Cette Erreur à "
                                     "L'équipe Noravel "));
    }
    return notice(callSupport(supportTelephone));
}

} // namespace gradefile
