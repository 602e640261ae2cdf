#include "gradefile/teachermessages.h"

#include <QTest>

using namespace gradefile;

Q_DECLARE_METATYPE(FileOperation)
Q_DECLARE_METATYPE(FileErrorKind)
Q_DECLARE_METATYPE(MessageForm)

namespace {

const QString kInsertDisk = QStringLiteral("الرجاء إدراج القرص المرن");
const QString kCannotView = QStringLiteral("لا يمكنك معاينة محتوى هذا الملف");
const QString kWriteProtected = QStringLiteral("الرّجاء التّثبّت من أن القرص المرن غير محمي");
const QString kCallUs = QStringLiteral("Erreur non gérer contacter l'équipe Noravel tel : ");
const QString kPath = QStringLiteral("/data/recovery/k.journal");
const QString kJournalChanged =
    QStringLiteral("تغيّر هذا الملفّ بالقرص بعد رقن أعداد لم تحفظ: لم تسترجع، وهي محفوظة جانبا في :");
const QString kJournalDamaged =
    QStringLiteral("ملفّ استرجاع الأعداد تالف: لم يستعمل وبقي في مكانه :");
const QString kJournalOtherVersion =
    QStringLiteral("ملفّ استرجاع الأعداد من إصدار آخر للبرنامج: لم يستعمل وبقي في مكانه :");
const QString kJournalOtherFile =
    QStringLiteral("ملفّ استرجاع الأعداد لا يخصّ هذا الملفّ: لم يستعمل وبقي في مكانه :");
const QString kJournalUnreadable =
    QStringLiteral("تعذّرت قراءة ملفّ استرجاع الأعداد: لم يستعمل وبقي في مكانه :");
const QString kRecoveryOff =
    QStringLiteral("تعذّرت الكتابة في مجلّد البرنامج: استرجاع الأعداد بعد عطل "
                   "متوقّف، والحفظ بالقرص المرن يعمل كالعادة.");
const QString kCopyDamaged = QStringLiteral("هذه النسخة تالفة ولا يمكن استرجاعها :");
const QString kCopyOtherFile = QStringLiteral("هذه النسخة لا تخصّ هذا الملفّ :");
const QString kReportTail =
    QStringLiteral("\r Erreur non gérer : Merci De Signaler Cette Erreur à L'équipe Noravel ");

} // namespace

class TestTeacherMessages : public QObject {
    Q_OBJECT

private slots:
    void messages_data();
    void messages();
};

void TestTeacherMessages::messages_data()
{
    QTest::addColumn<FileOperation>("operation");
    QTest::addColumn<FileErrorKind>("kind");
    QTest::addColumn<MessageForm>("form");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("retry");

    const auto Scan = FileOperation::Scan;
    const auto Open = FileOperation::Open;
    const auto Save = FileOperation::Save;
    const auto Recover = FileOperation::Recover;
    const auto Journal = FileOperation::Journal;
    const auto Restore = FileOperation::Restore;
    const QString path = u'\n' + kPath;
    const auto Q = MessageForm::Question;
    const auto N = MessageForm::Notice;
    const QString numbered = QStringLiteral("70 described\r");
    QTest::newRow("scan, no disk") << Scan << FileErrorKind::NoDisk << Q << kInsertDisk << true;
    QTest::newRow("scan, unreadable folder")
        << Scan << FileErrorKind::AccessDenied << N << kCallUs + "71 000" << false;
    QTest::newRow("open, no disk") << Open << FileErrorKind::NoDisk << Q << kInsertDisk << false;
    QTest::newRow("open, not a grade file")
        << Open << FileErrorKind::NotAGradeFile << Q << kCannotView << false;
    QTest::newRow("open, malformed")
        << Open << FileErrorKind::Malformed << N << numbered + kCallUs + "71 000" << false;
    QTest::newRow("save, no disk") << Save << FileErrorKind::NoDisk << Q << kInsertDisk << true;
    QTest::newRow("save, access denied")
        << Save << FileErrorKind::AccessDenied << Q << kInsertDisk << true;
    QTest::newRow("save, device not ready")
        << Save << FileErrorKind::DeviceNotReady << Q << kInsertDisk << true;
    QTest::newRow("save, write-protected")
        << Save << FileErrorKind::PermissionDenied << N << kWriteProtected << false;
    QTest::newRow("save, read-only file system")
        << Save << FileErrorKind::PathAccess << N << kWriteProtected << false;
    QTest::newRow("save, full disk")
        << Save << FileErrorKind::DiskFull << N << numbered + kReportTail.mid(1) << false;
    QTest::newRow("save, anything else")
        << Save << FileErrorKind::Other << N << numbered + kReportTail.mid(1) << false;
    // The journal and the kept copies name their file, for the support team.
    QTest::newRow("recover, file changed on the disk")
        << Recover << FileErrorKind::ChangedOnDisk << N << kJournalChanged + path << false;
    QTest::newRow("recover, damaged journal")
        << Recover << FileErrorKind::Malformed << N << kJournalDamaged + path << false;
    QTest::newRow("recover, journal of another version")
        << Recover << FileErrorKind::OtherVersion << N << kJournalOtherVersion + path << false;
    QTest::newRow("recover, journal of another file")
        << Recover << FileErrorKind::OtherFile << N << kJournalOtherFile + path << false;
    QTest::newRow("recover, unreadable journal")
        << Recover << FileErrorKind::AccessDenied << N << kJournalUnreadable + path << false;
    QTest::newRow("journal, full data folder")
        << Journal << FileErrorKind::DiskFull << N << kRecoveryOff + path << false;
    QTest::newRow("journal, read-only data folder")
        << Journal << FileErrorKind::PermissionDenied << N << kRecoveryOff + path << false;
    QTest::newRow("restore, damaged copy")
        << Restore << FileErrorKind::Malformed << N << kCopyDamaged + path << false;
    QTest::newRow("restore, another file's copy")
        << Restore << FileErrorKind::OtherFile << N << kCopyOtherFile + path << false;
    QTest::newRow("restore, no disk")
        << Restore << FileErrorKind::NoDisk << Q << kInsertDisk << true;
    QTest::newRow("restore, write-protected")
        << Restore << FileErrorKind::PermissionDenied << N << kWriteProtected << false;
    QTest::newRow("restore, anything else")
        << Restore << FileErrorKind::Other << N << numbered + kReportTail.mid(1) << false;
}

// Every failure the teacher can meet on the disk, with the message it brings: one table,
// one place in the program.
void TestTeacherMessages::messages()
{
    QFETCH(FileOperation, operation);
    QFETCH(FileErrorKind, kind);
    QFETCH(MessageForm, form);
    QFETCH(QString, text);
    QFETCH(bool, retry);

    const FileError error{kind, 70, QStringLiteral("described"), kPath};
    const TeacherMessage message = teacherMessage(operation, error, QStringLiteral("71 000"));
    QCOMPARE(message.form, form);
    QCOMPARE(message.text, text);
    QCOMPARE(message.retryOnYes, retry);
}

QTEST_APPLESS_MAIN(TestTeacherMessages)
#include "tst_teachermessages.moc"
