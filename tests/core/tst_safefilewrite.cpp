// Replacing a grade file: whatever fails, the old file stays whole and no temporary file is left.
#include "../support/datatable.h"
#include "../support/filebytes.h"
#include "../support/realdisk.h"
#include "../support/writefaults.h"
#include "core/disk/gradedisk.h"
#include "core/gradefile/gradefileio.h"

#include <QtTest>

#include <optional>

using namespace gradefile;

namespace {

const QString kName = QStringLiteral("8410203C07120002025.xml");
const QByteArray kOld("old grades \xd9\x86\xd8\xb9\xd9\x85\r\n");
const QByteArray kNew = QByteArray("abcdefghijklmnopqrstuvwxyz").repeated(200);

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// The real faults need a tmpfs mounted as root; Held: a file another program holds (Windows).
enum class Fault { Injected, ReadBackChanged, NoFolder, DiskFull, WriteProtected, PulledOut, Held };

} // namespace

class TestSafeFileWrite : public QObject {
    Q_OBJECT

private slots:
    // Each step failing in turn, and the disks that make them fail: told with its step and kind.
    void failureLeavesTheOldFile_data()
    {
        using Kind = FileErrorKind; // None: any
        const auto row = dataTable<Fault, WriteStep, Kind>({"fault", "step", "kind"});
        const std::pair<WriteStep, const char*> steps[] = {
            {WriteStep::CheckFolder, "check folder"}, {WriteStep::CreateTemporary, "create"},
            {WriteStep::WriteTemporary, "write"},     {WriteStep::FlushTemporary, "flush"},
            {WriteStep::ReadBack, "read back"},       {WriteStep::Compare, "compare"},
            {WriteStep::Replace, "replace"},
        };
        for (const auto& [step, name] : steps)
            row(QByteArray(name) + " fails", Fault::Injected, step, Kind::DiskFull);
        row("read back changed", Fault::ReadBackChanged, WriteStep::Compare, Kind::None);
        row("no disk folder", Fault::NoFolder, WriteStep::CheckFolder, Kind::NoDisk);
        row("full disk", Fault::DiskFull, WriteStep::WriteTemporary, Kind::DiskFull);
        row("write-protected disk", Fault::WriteProtected, WriteStep::CreateTemporary,
            Kind::PermissionDenied);
        row("disk pulled out before the rename", Fault::PulledOut, WriteStep::Replace,
            Kind::NoDisk);
#ifdef Q_OS_LINUX
        row("name too long", Fault::NoFolder, WriteStep::CreateTemporary, Kind::NameTooLong);
#endif
#ifdef Q_OS_WIN
        row("file open in another program", Fault::Held, WriteStep::Replace, Kind::InUse);
#endif
    }
    void failureLeavesTheOldFile()
    {
        const auto [fault, step, kind] =
            fetchRow<Fault, WriteStep, FileErrorKind>({"fault", "step", "kind"});
        QTemporaryDir dir;
        WriteFaults faults(fault == Fault::Injected ? step : WriteStep::None);
        faults.spoilReadBack = fault == Fault::ReadBackChanged;
        const QString missing =
            kind == FileErrorKind::NameTooLong ? QString(300, u'a') : "absent/" + kName;
        const QString target = dir.filePath(fault == Fault::NoFolder ? missing : kName);
        QByteArray content = fault == Fault::DiskFull ? kNew.repeated(60) : kNew;
#ifdef Q_OS_LINUX
        std::optional<TmpfsMount> disk;
        if (fault >= Fault::DiskFull && !disk.emplace(dir.path(), "size=64k").isMounted())
            QSKIP(qPrintable(QStringLiteral("cannot mount a small tmpfs: ") + disk->error()));
        if (fault == Fault::WriteProtected)
            QVERIFY(writeBytes(dir.filePath(kName), kOld) && disk->makeReadOnly());
        if (fault == Fault::PulledOut) {
            faults.actionStep = WriteStep::Replace;
            faults.action = [&disk] { disk->pullOut(); };
        }
#else
        if (fault >= Fault::DiskFull && fault <= Fault::PulledOut)
            QSKIP("needs a Linux tmpfs to fill, write-protect or pull out a disk");
#endif
        if (fault != Fault::WriteProtected)
            QVERIFY(writeBytes(dir.filePath(kName), kOld));
        QFile elsewhere(dir.filePath(kName));
        QVERIFY(fault != Fault::Held || elsewhere.open(QIODevice::ReadOnly));
        const QStringList before = entriesOf(dir.path());

        const SafeWriteResult result = replaceFileSafely(target, content, &faults);
        QVERIFY(!result.ok && result.failedStep == step && result.error.isError());
        if (kind != FileErrorKind::None)
            QCOMPARE(result.error.kind, kind);
        if (fault == Fault::PulledOut)
            return; // the old file went away with the disk
        QVERIFY(entriesOf(dir.path()) == before && readBytes(dir.filePath(kName)) == kOld);
    }
    // An interrupted save's temporary file is listed nowhere and removed by the next scan or save,
    // other programs' files staying; KEY.XML is saved as KEY.XML with its rights.
    void diskSavesAndCleansUp()
    {
        QTemporaryDir dir;
        const GradeDisk disk(dir.path());
        const QString upper = kName.chopped(4) + QStringLiteral(".XML");
        const QString leftover = QStringLiteral(".%1.k3x9q2.tmp").arg(upper);
        const QString notOurs = QStringLiteral(".notes.txt.k3x9q2.tmp");
        QVERIFY(writeGradeFile(disk.pathOf(upper), {QStringLiteral("DEBUTK|old")}).ok);
        const auto rights = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(disk.pathOf(upper), rights));
        QVERIFY(writeBytes(disk.pathOf(notOurs), "not ours"));
        QVERIFY(writeBytes(disk.pathOf(leftover), "half a file"));
        QCOMPARE(disk.list().fileNames, QStringList{upper});
        QCOMPARE(entriesOf(dir.path()), (QStringList{notOurs, upper}));
        QVERIFY(writeBytes(disk.pathOf(leftover), "half a file"));
        QVERIFY(disk.save({upper, *volumeOf(dir.path()), {}}, {QStringLiteral("DEBUTK|new")}).ok);
        QCOMPARE(entriesOf(dir.path()), (QStringList{notOurs, upper}));
        QCOMPARE(readGradeFile(disk.pathOf(upper)).lines,
                 QStringList{QStringLiteral("DEBUTK|new")});
#ifndef Q_OS_WIN // Windows has no group or other rights to carry over
        // The "User" flags mirror whoever runs the test, not the file.
        const auto ownRights =
            ~QFile::Permissions(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        QCOMPARE(QFile::permissions(disk.pathOf(upper)) & ownRights, rights);
#endif
    }
    void volumeGoneFromUnderItsFolder_data()
    {
        // The mount the disk folder was seen on, then now.
        const auto row = dataTable<QString, QString, bool>({"seen", "now", "gone"});
        row("the same mount", "/media/floppy", "/media/floppy", false);
        row("the stick pulled out", "/media/floppy", "/", true);
        row("pulled, the folder on a mounted home", "/home/t/stick", "/home", true);
        row("a stick put in", "/", "/media/floppy", false);
        row("a neighbour, no parent", "/media/floppy2", "/media/floppy", false);
    }
    // Only a mount gone from under the folder refuses the disk: a disk put in is taken.
    void volumeGoneFromUnderItsFolder()
    {
        const auto [seen, now] = fetchRow<QString, QString>({"seen", "now"});
        QTEST(volumeHasGone({"sdb1", seen, "vfat"}, {"sda1", now, "ext4"}), "gone");
    }
};

QTEST_GUILESS_MAIN(TestSafeFileWrite)
#include "tst_safefilewrite.moc"
