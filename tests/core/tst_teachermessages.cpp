#include "gradefile/teachermessages.h"

#include <QTest>

using namespace gradefile;

Q_DECLARE_METATYPE(FileOperation)
Q_DECLARE_METATYPE(FileErrorKind)

class TestTeacherMessages : public QObject {
    Q_OBJECT

private slots:
    void messages_data();
    void messages();
};

// The failures the window tests do not meet on a real disk, with the message each brings:
// a wrong branch would ask for the disk when it is protected, or offer a retry that cannot
// work. The journal's and the copies' messages name their file for the support team.
void TestTeacherMessages::messages_data()
{
    QTest::addColumn<FileOperation>("operation");
    QTest::addColumn<FileErrorKind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("retry");

    const QString insertDisk = QStringLiteral("الرجاء إدراج القرص المرن");
    const QString protectedDisk = QStringLiteral("الرّجاء التّثبّت من أن القرص المرن غير محمي");
    const QString unused = QStringLiteral(": لم يستعمل وبقي في مكانه :\n/j");
    QTest::newRow("save, access denied")
        << FileOperation::Save << FileErrorKind::AccessDenied << insertDisk << true;
    QTest::newRow("save, device not ready")
        << FileOperation::Save << FileErrorKind::DeviceNotReady << insertDisk << true;
    QTest::newRow("save, read-only file system")
        << FileOperation::Save << FileErrorKind::PathAccess << protectedDisk << false;
    QTest::newRow("journal of another version")
        << FileOperation::Recover << FileErrorKind::OtherVersion
        << QStringLiteral("ملفّ استرجاع الأعداد من إصدار آخر للبرنامج") + unused << false;
    QTest::newRow("journal of another file")
        << FileOperation::Recover << FileErrorKind::OtherFile
        << QStringLiteral("ملفّ استرجاع الأعداد لا يخصّ هذا الملفّ") + unused << false;
    QTest::newRow("unreadable journal")
        << FileOperation::Recover << FileErrorKind::AccessDenied
        << QStringLiteral("تعذّرت قراءة ملفّ استرجاع الأعداد") + unused << false;
    QTest::newRow("full data folder")
        << FileOperation::Journal << FileErrorKind::DiskFull
        << QStringLiteral("تعذّرت الكتابة في مجلّد البرنامج: استرجاع الأعداد بعد عطل متوقّف، "
                          "والحفظ بالقرص المرن يعمل كالعادة.\n/j")
        << false;
    QTest::newRow("another file's copy")
        << FileOperation::Restore << FileErrorKind::OtherFile
        << QStringLiteral("هذه النسخة لا تخصّ هذا الملفّ :\n/j") << false;
    QTest::newRow("restore, no disk")
        << FileOperation::Restore << FileErrorKind::NoDisk << insertDisk << true;
}

void TestTeacherMessages::messages()
{
    QFETCH(FileOperation, operation);
    QFETCH(FileErrorKind, kind);
    QFETCH(QString, text);
    QFETCH(bool, retry);
    const TeacherMessage message = teacherMessage(
        operation, FileError{kind, 70, QStringLiteral("described"), QStringLiteral("/j")},
        QStringLiteral("71 000"));
    QCOMPARE(message.text, text);
    QCOMPARE(message.retryOnYes, retry);
}

QTEST_APPLESS_MAIN(TestTeacherMessages)
#include "tst_teachermessages.moc"
