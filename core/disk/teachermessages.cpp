#include "core/disk/teachermessages.h"

#include <QDir>

namespace gradefile {

const QString kInsertDiskText = QStringLiteral("الرجاء إدراج القرص المرن");
const QString kCannotViewText = QStringLiteral("لا يمكنك معاينة محتوى هذا الملف");

namespace {

const QString kWriteProtectedText = QStringLiteral("الرّجاء التّثبّت من أن القرص المرن غير محمي");
const QString kDiskFullText = QStringLiteral(
    "لا يتّسع القرص لحفظ الأعداد : لم يتغيّر الملفّ بالقرص، والأعداد باقية في البرنامج. "
    "أفرغ مكانا في القرص ثمّ أعد الحفظ.");
const QString kNameTooLongText = QStringLiteral(
    "مسار الملفّ أطول ممّا يقبله النظام : لم يتغيّر الملفّ بالقرص، والأعداد باقية في البرنامج. "
    "انقل مجلّد الأعداد إلى مكان أقرب من أصل القرص ثمّ أعد الحفظ.");
const QString kInUseText =
    QStringLiteral("الملفّ مفتوح في برنامج آخر : لم يتغيّر الملفّ بالقرص، والأعداد باقية في البرنامج. "
                   "أغلق ذلك البرنامج ثمّ أعد الحفظ.");
const QString kJournalChangedText =
    QStringLiteral("تغيّر هذا الملفّ بالقرص بعد رقن أعداد لم تحفظ: لم تسترجع، وهي محفوظة جانبا في :");
const QString kJournalDamagedText =
    QStringLiteral("ملفّ استرجاع الأعداد تالف: لم يستعمل وبقي في مكانه :");
const QString kJournalOtherVersionText =
    QStringLiteral("ملفّ استرجاع الأعداد من إصدار آخر للبرنامج: لم يستعمل وبقي في مكانه :");
const QString kJournalOtherFileText =
    QStringLiteral("ملفّ استرجاع الأعداد لا يخصّ هذا الملفّ: لم يستعمل وبقي في مكانه :");
const QString kJournalUnreadableText =
    QStringLiteral("تعذّرت قراءة ملفّ استرجاع الأعداد: لم يستعمل وبقي في مكانه :");
const QString kRecoveryOffText =
    QStringLiteral("تعذّرت الكتابة في مجلّد البرنامج: استرجاع الأعداد بعد عطل متوقّف، "
                   "والحفظ بالقرص المرن يعمل كالعادة.");
const QString kCopyDamagedText = QStringLiteral("هذه النسخة تالفة ولا يمكن استرجاعها :");
const QString kCopyOtherFileText = QStringLiteral("هذه النسخة لا تخصّ هذا الملفّ :");

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

// A text, then on its own line the file it is about.
TeacherMessage noticeNaming(const QString& text, const QString& path)
{
    return notice(path.isEmpty() ? text : text + u'\n' + QDir::toNativeSeparators(path));
}

TeacherMessage unforeseenSaveError(const FileError& error)
{
    return notice(numbered(error) + QStringLiteral(" Erreur non gérer : Merci De Signaler Cette "
                                                   "Erreur à L'équipe Noravel "));
}

TeacherMessage diskWriteMessage(const FileError& error)
{
    if (isDiskMissing(error.kind))
        return question(kInsertDiskText, true);
    if (error.kind == FileErrorKind::PermissionDenied || error.kind == FileErrorKind::PathAccess)
        return notice(kWriteProtectedText);
    if (error.kind == FileErrorKind::DiskFull)
        return notice(kDiskFullText);
    if (error.kind == FileErrorKind::NameTooLong)
        return notice(kNameTooLongText);
    if (error.kind == FileErrorKind::InUse)
        return notice(kInUseText);
    return unforeseenSaveError(error);
}

TeacherMessage recoverMessage(const FileError& error)
{
    switch (error.kind) {
    case FileErrorKind::ChangedOnDisk:
        return noticeNaming(kJournalChangedText, error.path);
    case FileErrorKind::Malformed:
        return noticeNaming(kJournalDamagedText, error.path);
    case FileErrorKind::OtherVersion:
        return noticeNaming(kJournalOtherVersionText, error.path);
    case FileErrorKind::OtherFile:
        return noticeNaming(kJournalOtherFileText, error.path);
    default:
        return noticeNaming(kJournalUnreadableText, error.path);
    }
}

TeacherMessage restoreMessage(const FileError& error)
{
    if (error.kind == FileErrorKind::Malformed)
        return noticeNaming(kCopyDamagedText, error.path);
    if (error.kind == FileErrorKind::OtherFile || error.kind == FileErrorKind::OtherVersion)
        return noticeNaming(kCopyOtherFileText, error.path);
    return diskWriteMessage(error);
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
        if (error.kind == FileErrorKind::NotAGradeFile || error.kind == FileErrorKind::NotAFile ||
            error.kind == FileErrorKind::NoFile)
            return question(kCannotViewText);
        return notice(numbered(error) + callSupport(supportTelephone));
    case FileOperation::Save:
        return diskWriteMessage(error);
    case FileOperation::Recover:
        return recoverMessage(error);
    case FileOperation::Journal:
        return noticeNaming(kRecoveryOffText, error.path);
    case FileOperation::Restore:
        return restoreMessage(error);
    }
    return notice(callSupport(supportTelephone));
}

QString shortDate(const QDate& date, const QLocale& locale)
{
    return locale.language() == QLocale::C ? date.toString(u"dd/MM/yyyy")
                                           : locale.toString(date, QLocale::ShortFormat);
}

QString shownTime(const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    return QChar(0x2066) + shortDate(local.date()) + QChar::Nbsp + local.toString(u"HH:mm") +
           QChar(0x2069);
}

} // namespace gradefile
