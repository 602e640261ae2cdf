#include "gradefile/teachermessages.h"

#include <QTest>

using namespace gradefile;

class TestTeacherMessages : public QObject {
    Q_OBJECT

private slots:
    // The failures the window tests do not meet on a real disk, with the message each brings:
    // a wrong branch would ask for the disk when it is protected, or offer a retry that cannot
    // work. The journal's and the copies' messages name their file for the support team.
    void messages_data()
    {
        QTest::addColumn<FileOperation>("operation");
        QTest::addColumn<FileErrorKind>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("retry");

        const QString insertDisk = QStringLiteral("الرجاء إدراج القرص المرن");
        const QString protectedDisk = QStringLiteral("الرّجاء التّثبّت من أن القرص المرن غير محمي");
        const QString unused = QStringLiteral(": لم يستعمل وبقي في مكانه :\nj");
        const auto row = [](const char* name, FileOperation operation, FileErrorKind kind,
                            const QString& text, bool retry = false) {
            QTest::newRow(name) << operation << kind << text << retry;
        };
        row("save, access denied", FileOperation::Save, FileErrorKind::AccessDenied, insertDisk,
            true);
        row("save, device not ready", FileOperation::Save, FileErrorKind::DeviceNotReady,
            insertDisk, true);
        row("save, read-only file system", FileOperation::Save, FileErrorKind::PathAccess,
            protectedDisk);
        row("journal of another version", FileOperation::Recover, FileErrorKind::OtherVersion,
            QStringLiteral("ملفّ استرجاع الأعداد من إصدار آخر للبرنامج") + unused);
        row("journal of another file", FileOperation::Recover, FileErrorKind::OtherFile,
            QStringLiteral("ملفّ استرجاع الأعداد لا يخصّ هذا الملفّ") + unused);
        row("unreadable journal", FileOperation::Recover, FileErrorKind::AccessDenied,
            QStringLiteral("تعذّرت قراءة ملفّ استرجاع الأعداد") + unused);
        row("full data folder", FileOperation::Journal, FileErrorKind::DiskFull,
            QStringLiteral("تعذّرت الكتابة في مجلّد البرنامج: استرجاع الأعداد بعد عطل متوقّف، "
                           "والحفظ بالقرص المرن يعمل كالعادة.\nj"));
        row("another file's copy", FileOperation::Restore, FileErrorKind::OtherFile,
            QStringLiteral("هذه النسخة لا تخصّ هذا الملفّ :\nj"));
        row("restore, no disk", FileOperation::Restore, FileErrorKind::NoDisk, insertDisk, true);
    }

    void messages()
    {
        QFETCH(FileOperation, operation);
        QFETCH(FileErrorKind, kind);
        const TeacherMessage message = teacherMessage(
            operation, FileError{kind, 70, QStringLiteral("described"), QStringLiteral("j")},
            QStringLiteral("71 000"));
        QTEST(message.text, "text");
        QTEST(message.retryOnYes, "retry");
    }
};

QTEST_APPLESS_MAIN(TestTeacherMessages)
#include "tst_teachermessages.moc"
