#include "../support/datatable.h"
#include "core/disk/teachermessages.h"

#include <QTest>

using namespace gradefile;

class TestTeacherMessages : public QObject {
    Q_OBJECT

private slots:
    // The failures the window tests do not meet, each with its message and retry; the journal's
    // and copies' messages name their file.
    void messages_data()
    {
        using Kind = FileErrorKind;
        using Operation = FileOperation;
        const auto row =
            dataTable<Operation, Kind, QString, bool>({"operation", "kind", "text", "retry"});
        const QString insertDisk = QStringLiteral("الرجاء إدراج القرص المرن");
        const QString protectedDisk = QStringLiteral("الرّجاء التّثبّت من أن القرص المرن غير محمي");
        const QString unused = QStringLiteral(": لم يستعمل وبقي في مكانه :\nj");
        row("save, access denied", Operation::Save, Kind::AccessDenied, insertDisk, true);
        row("save, device not ready", Operation::Save, Kind::DeviceNotReady, insertDisk, true);
        row("save, read-only file system", Operation::Save, Kind::PathAccess, protectedDisk, false);
        row("journal of another version", Operation::Recover, Kind::OtherVersion,
            QStringLiteral("ملفّ استرجاع الأعداد من إصدار آخر للبرنامج") + unused, false);
        row("journal of another file", Operation::Recover, Kind::OtherFile,
            QStringLiteral("ملفّ استرجاع الأعداد لا يخصّ هذا الملفّ") + unused, false);
        row("unreadable journal", Operation::Recover, Kind::AccessDenied,
            QStringLiteral("تعذّرت قراءة ملفّ استرجاع الأعداد") + unused, false);
        row("full data folder", Operation::Journal, Kind::DiskFull,
            QStringLiteral("تعذّرت الكتابة في مجلّد البرنامج: استرجاع الأعداد بعد عطل متوقّف، "
                           "والحفظ بالقرص المرن يعمل كالعادة.\nj"),
            false);
        row("another file's copy", Operation::Restore, Kind::OtherFile,
            QStringLiteral("هذه النسخة لا تخصّ هذا الملفّ :\nj"), false);
        row("restore, no disk", Operation::Restore, Kind::NoDisk, insertDisk, true);
        row("save, name too long", Operation::Save, Kind::NameTooLong,
            QStringLiteral(
                "مسار الملفّ أطول ممّا يقبله النظام : لم يتغيّر الملفّ بالقرص، والأعداد باقية في "
                "البرنامج. انقل مجلّد الأعداد إلى مكان أقرب من أصل القرص ثمّ أعد الحفظ."),
            false);
        row("save, file held by another program", Operation::Save, Kind::InUse,
            QStringLiteral("الملفّ مفتوح في برنامج آخر : لم يتغيّر الملفّ بالقرص، والأعداد باقية "
                           "في البرنامج. أغلق ذلك البرنامج ثمّ أعد الحفظ."),
            false);
    }

    void messages()
    {
        const auto [operation, kind] =
            fetchRow<FileOperation, FileErrorKind>({"operation", "kind"});
        const TeacherMessage message = teacherMessage(
            operation, FileError{kind, 70, QStringLiteral("described"), QStringLiteral("j")},
            QStringLiteral("71 000"));
        QTEST(message.text, "text");
        QTEST(message.retryOnYes, "retry");
    }
};

QTEST_APPLESS_MAIN(TestTeacherMessages)
#include "tst_teachermessages.moc"
