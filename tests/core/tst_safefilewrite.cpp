#include "gradefile/safefilewrite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include "../support/realdisk.h"

using namespace gradefile;

namespace {

const QString kName = QStringLiteral("notes.xml");

// Fails one step as told, runs a real action (spoiling a file, pulling the disk out) when a
// step begins, or changes the bytes read back.
struct Faults : WriteFaultInjector {
    WriteStep failingStep = WriteStep::None;
    FileError error;
    WriteStep actionStep = WriteStep::None;
    std::function<void()> action;
    std::function<void(QByteArray&)> changeReadBack;

    std::optional<FileError> failAt(WriteStep step) const override
    {
        if (step == actionStep)
            action();
        return step == failingStep ? std::optional<FileError>(error) : std::nullopt;
    }
    void alterReadBack(QByteArray& bytes) const override
    {
        if (changeReadBack)
            changeReadBack(bytes);
    }
};

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

QByteArray oldContent()
{
    return QByteArray("old grades \xd9\x86\xd8\xb9\xd9\x85\r\n");
}

QByteArray newContent(int size = 5000)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 26);
    return bytes;
}

enum class DiskFault { Full, WriteProtected, PulledBeforeReplace };

} // namespace

class TestSafeFileWrite : public QObject {
    Q_OBJECT

private slots:
    void writesNewFile();
    void replacesExistingFileKeepingItsRights();
    void missingFolderIsNoDisk_data();
    void missingFolderIsNoDisk();
    void failingStepLeavesOldFile_data();
    void failingStepLeavesOldFile();
    void readBackMismatchFailsAtCompare_data();
    void readBackMismatchFailsAtCompare();
    void temporaryFileChangedOnDiskFailsAtCompare_data();
    void temporaryFileChangedOnDiskFailsAtCompare();
    void folderInTheTargetsPlaceFailsAtReplace();
    void realDiskFault_data();
    void realDiskFault();
    void realImmutableOldFile();
};

void TestSafeFileWrite::writesNewFile()
{
    QTemporaryDir dir;
    const SafeWriteResult result = replaceFileSafely(dir.filePath(kName), newContent());
    QVERIFY2(result.ok, qPrintable(result.error.description));
    QCOMPARE(contentsOf(dir.filePath(kName)), newContent());
    QCOMPARE(entriesOf(dir.path()), QStringList{kName});
}

void TestSafeFileWrite::replacesExistingFileKeepingItsRights()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(kName);
    QVERIFY(writeFile(target, oldContent()));
    const auto rights = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(target, rights));

    const SafeWriteResult result = replaceFileSafely(target, newContent(10));
    QVERIFY2(result.ok, qPrintable(result.error.description));
    QCOMPARE(contentsOf(target), newContent(10));
    QCOMPARE(entriesOf(dir.path()), QStringList{kName});
#ifdef Q_OS_UNIX
    // The "User" flags mirror whoever runs the test, not the file.
    const auto ownRights = ~QFile::Permissions(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    QCOMPARE(QFile::permissions(target) & ownRights, rights);
#endif
}

void TestSafeFileWrite::missingFolderIsNoDisk_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("no such folder") << QStringLiteral("absent");
    QTest::newRow("a file where the folder should be") << QStringLiteral("plain-file");
}

void TestSafeFileWrite::missingFolderIsNoDisk()
{
    QFETCH(QString, folder);
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(QStringLiteral("plain-file")), oldContent()));
    const QStringList before = entriesOf(dir.path());

    const SafeWriteResult result =
        replaceFileSafely(dir.filePath(folder + QLatin1Char('/') + kName), newContent());
    QVERIFY(!result.ok);
    QCOMPARE(result.failedStep, WriteStep::CheckFolder);
    QCOMPARE(result.error.kind, FileErrorKind::NoDisk);
    QCOMPARE(entriesOf(dir.path()), before);
}

void TestSafeFileWrite::failingStepLeavesOldFile_data()
{
    QTest::addColumn<WriteStep>("step");
    QTest::addColumn<bool>("oldFileExists");
    const std::pair<WriteStep, const char*> steps[] = {
        {WriteStep::CheckFolder, "check folder"}, {WriteStep::CreateTemporary, "create"},
        {WriteStep::WriteTemporary, "write"},     {WriteStep::FlushTemporary, "flush"},
        {WriteStep::ReadBack, "read back"},       {WriteStep::Compare, "compare"},
        {WriteStep::Replace, "replace"},
    };
    for (const auto& [step, name] : steps) {
        QTest::addRow("%s, old file", name) << step << true;
        QTest::addRow("%s, no old file", name) << step << false;
    }
}

void TestSafeFileWrite::failingStepLeavesOldFile()
{
    QFETCH(WriteStep, step);
    QFETCH(bool, oldFileExists);
    QTemporaryDir dir;
    const QString target = dir.filePath(kName);
    if (oldFileExists)
        QVERIFY(writeFile(target, oldContent()));
    const QStringList before = entriesOf(dir.path());
    const FileError injected = makeFileError(FileErrorKind::DiskFull, QStringLiteral("injected"));

    Faults faults;
    faults.failingStep = step;
    faults.error = injected;
    const SafeWriteResult result = replaceFileSafely(target, newContent(), &faults);
    QVERIFY(!result.ok);
    QCOMPARE(result.failedStep, step);
    QCOMPARE(result.error.kind, injected.kind);
    QCOMPARE(result.error.description, injected.description);
    QCOMPARE(entriesOf(dir.path()), before);
    if (oldFileExists)
        QCOMPARE(contentsOf(target), oldContent());
}

void TestSafeFileWrite::readBackMismatchFailsAtCompare_data()
{
    using Change = std::function<void(QByteArray&)>;
    QTest::addColumn<Change>("change");
    QTest::newRow("one byte changed") << Change([](QByteArray& b) { b[b.size() / 2] = '?'; });
    QTest::newRow("last byte missing") << Change([](QByteArray& b) { b.chop(1); });
    QTest::newRow("one byte more") << Change([](QByteArray& b) { b.append('\0'); });
    QTest::newRow("nothing read") << Change([](QByteArray& b) { b.clear(); });
}

void TestSafeFileWrite::readBackMismatchFailsAtCompare()
{
    using Change = std::function<void(QByteArray&)>;
    QFETCH(Change, change);
    QTemporaryDir dir;
    const QString target = dir.filePath(kName);
    QVERIFY(writeFile(target, oldContent()));

    Faults faults;
    faults.changeReadBack = change;
    const SafeWriteResult result = replaceFileSafely(target, newContent(), &faults);
    QVERIFY(!result.ok);
    QCOMPARE(result.failedStep, WriteStep::Compare);
    QVERIFY(result.error.isError());
    QCOMPARE(contentsOf(target), oldContent());
    QCOMPARE(entriesOf(dir.path()), QStringList{kName});
}

void TestSafeFileWrite::temporaryFileChangedOnDiskFailsAtCompare_data()
{
    QTest::addColumn<QByteArray>("appended");
    QTest::addColumn<bool>("overwriteFirstByte");
    QTest::newRow("one byte more") << QByteArray("x") << false;
    QTest::newRow("first byte changed") << QByteArray() << true;
}

// What a bad medium does: the file on the disk is not what was written to it.
void TestSafeFileWrite::temporaryFileChangedOnDiskFailsAtCompare()
{
    QFETCH(QByteArray, appended);
    QFETCH(bool, overwriteFirstByte);
    QTemporaryDir dir;
    const QString target = dir.filePath(kName);
    QVERIFY(writeFile(target, oldContent()));

    Faults spoil;
    spoil.actionStep = WriteStep::ReadBack;
    spoil.action = [&] {
        const QStringList temporaries =
            QDir(dir.path()).entryList({QStringLiteral(".*.tmp")}, QDir::Files | QDir::Hidden);
        QCOMPARE(temporaries.size(), 1);
        QFile file(dir.filePath(temporaries.first()));
        QVERIFY(file.open(QIODevice::ReadWrite));
        if (overwriteFirstByte)
            file.write("?");
        QVERIFY(file.seek(file.size()));
        file.write(appended);
    };
    const SafeWriteResult result = replaceFileSafely(target, newContent(), &spoil);
    QVERIFY(!result.ok);
    QCOMPARE(result.failedStep, WriteStep::Compare);
    QCOMPARE(contentsOf(target), oldContent());
    QCOMPARE(entriesOf(dir.path()), QStringList{kName});
}

void TestSafeFileWrite::folderInTheTargetsPlaceFailsAtReplace()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(kName));
    const SafeWriteResult result = replaceFileSafely(dir.filePath(kName), newContent());
    QVERIFY(!result.ok);
    QCOMPARE(result.failedStep, WriteStep::Replace);
    QVERIFY(QFileInfo(dir.filePath(kName)).isDir());
    QCOMPARE(entriesOf(dir.path()), QStringList{kName});
}

void TestSafeFileWrite::realDiskFault_data()
{
    QTest::addColumn<DiskFault>("fault");
    QTest::addColumn<WriteStep>("step");
    QTest::addColumn<FileErrorKind>("kind");
    QTest::newRow("full") << DiskFault::Full << WriteStep::WriteTemporary
                          << FileErrorKind::DiskFull;
    QTest::newRow("write-protected") << DiskFault::WriteProtected << WriteStep::CreateTemporary
                                     << FileErrorKind::PermissionDenied;
    QTest::newRow("pulled out before the rename")
        << DiskFault::PulledBeforeReplace << WriteStep::Replace << FileErrorKind::NoDisk;
}

void TestSafeFileWrite::realDiskFault()
{
#ifdef Q_OS_LINUX
    QFETCH(DiskFault, fault);
    QFETCH(WriteStep, step);
    QFETCH(FileErrorKind, kind);
    QTemporaryDir dir;
    TmpfsMount disk(dir.path(), "size=64k");
    if (!disk.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a small tmpfs: ") + disk.error()));
    const QString target = dir.filePath(kName);
    QVERIFY(writeFile(target, oldContent()));
    if (fault == DiskFault::WriteProtected)
        QVERIFY(disk.makeReadOnly());
    Faults pull;
    if (fault == DiskFault::PulledBeforeReplace) {
        pull.actionStep = WriteStep::Replace;
        pull.action = [&disk] { disk.pullOut(); };
    }
    const QByteArray content = newContent(fault == DiskFault::Full ? 256 * 1024 : 5000);

    const SafeWriteResult result = replaceFileSafely(target, content, &pull);
    QVERIFY(!result.ok);
    QCOMPARE(result.failedStep, step);
    QCOMPARE(result.error.kind, kind);
    QVERIFY2(result.error.description.contains(writeStepName(step)),
             qPrintable(result.error.description));
    if (fault == DiskFault::PulledBeforeReplace)
        return; // the old file went away with the disk
    QCOMPARE(contentsOf(target), oldContent());
    QCOMPARE(entriesOf(dir.path()), QStringList{kName});
#else
    QSKIP("needs a Linux tmpfs to fill, write-protect or pull out a disk for real");
#endif
}

void TestSafeFileWrite::realImmutableOldFile()
{
#ifdef Q_OS_LINUX
    QTemporaryDir dir;
    const QString target = dir.filePath(kName);
    QVERIFY(writeFile(target, oldContent()));
    ImmutableFlag immutable(target);
    if (!immutable.isSet())
        QSKIP("the file system of the temporary folder has no immutable attribute");

    const SafeWriteResult result = replaceFileSafely(target, newContent());
    QVERIFY(!result.ok);
    QCOMPARE(result.failedStep, WriteStep::Replace);
    QCOMPARE(result.error.kind, FileErrorKind::PermissionDenied);
    QCOMPARE(contentsOf(target), oldContent());
    QCOMPARE(entriesOf(dir.path()), QStringList{kName});
#else
    QSKIP("needs the Linux immutable attribute");
#endif
}

QTEST_GUILESS_MAIN(TestSafeFileWrite)
#include "tst_safefilewrite.moc"
