#include "gradefile/gradefileio.h"
#include "gradefile/rowsetreader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace gradefile;

namespace {

const QString kName = QStringLiteral("notes.xml");

QByteArray writtenSample(const QString& name)
{
    QFile file(QStringLiteral(SAISIE_TEST_DATA_DIR "/written/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Records every step the write asks about, and fails none.
class StepRecorder : public WriteFaultInjector {
public:
    std::optional<FileError> failAt(WriteStep step) const override
    {
        steps.append(step);
        return std::nullopt;
    }
    mutable QList<WriteStep> steps;
};

class FailAtReplace : public WriteFaultInjector {
public:
    std::optional<FileError> failAt(WriteStep step) const override
    {
        if (step != WriteStep::Replace)
            return std::nullopt;
        return makeFileError(FileErrorKind::DeviceNotReady, QStringLiteral("injected"));
    }
};

const QStringList kThreeLines = {QStringLiteral("ملاحظة: 'جيد' & <ممتاز> \"أحمد\""), QString(),
                                 QStringLiteral("12.5\t14\tنعم")};

} // namespace

class TestGradeFileIo : public QObject {
    Q_OBJECT

private slots:
    void readsAWrittenFile();
    void writtenFileReadsBack();
    void refusesToRead_data();
    void refusesToRead();
    void refusesUnwritableLinesBeforeTouchingTheDisk_data();
    void refusesUnwritableLinesBeforeTouchingTheDisk();
    void failedWriteLeavesOldFile();
    void writeWithoutDiskIsNoDisk();
};

void TestGradeFileIo::readsAWrittenFile()
{
    const GradeFileRead read =
        readGradeFile(QStringLiteral(SAISIE_TEST_DATA_DIR "/written/three-lines.xml"));
    QVERIFY2(read.lines, qPrintable(read.error.description));
    QCOMPARE(*read.lines, kThreeLines);
    QVERIFY(!read.error.isError());
}

void TestGradeFileIo::writtenFileReadsBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kName);
    QVERIFY(writeFile(path, QByteArray("old")));
    const SafeWriteResult written = writeGradeFile(path, kThreeLines);
    QVERIFY2(written.ok, qPrintable(written.error.description));
    QCOMPARE(QFile(path).size(), writtenSample(QStringLiteral("three-lines.xml")).size());
    const GradeFileRead read = readGradeFile(path);
    QVERIFY2(read.lines, qPrintable(read.error.description));
    QCOMPARE(*read.lines, kThreeLines);
}

void TestGradeFileIo::refusesToRead_data()
{
    QTest::addColumn<QString>("target"); // a path under the temporary folder
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("size"); // 0: as long as content, else a sparse file this long
    QTest::addColumn<FileErrorKind>("kind");

    const QByteArray rowset = writtenSample(QStringLiteral("three-lines.xml"));
    QTest::newRow("no disk folder")
        << QStringLiteral("absent/") + kName << QByteArray() << 0LL << FileErrorKind::NoDisk;
    QTest::newRow("no such file") << QStringLiteral("other.xml") << QByteArray() << 0LL
                                  << FileErrorKind::Other;
    QTest::newRow("a folder") << QStringLiteral("folder") << QByteArray() << 0LL
                              << FileErrorKind::Other;
    QTest::newRow("empty file") << kName << QByteArray() << 0LL << FileErrorKind::Malformed;
    QTest::newRow("plain text") << kName << QByteArray("12\t15\r\n") << 0LL
                                << FileErrorKind::Malformed;
    QTest::newRow("truncated rowset")
        << kName << rowset.left(rowset.size() - 12) << 0LL << FileErrorKind::Malformed;
    QTest::newRow("past the size limit")
        << kName << rowset << kMaxRowsetBytes + 1 << FileErrorKind::Malformed;
    QTest::newRow("far past the size limit")
        << kName << rowset << qint64(4) * 1024 * 1024 * 1024 << FileErrorKind::Malformed;
}

void TestGradeFileIo::refusesToRead()
{
    QFETCH(QString, target);
    QFETCH(QByteArray, content);
    QFETCH(qint64, size);
    QFETCH(FileErrorKind, kind);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QFile file(dir.filePath(kName));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    if (size > 0)
        QVERIFY(file.resize(size)); // sparse: the disk need not hold it
    file.close();

    const GradeFileRead read = readGradeFile(dir.filePath(target));
    QVERIFY(!read.lines);
    QCOMPARE(read.error.kind, kind);
    QVERIFY(!read.error.description.isEmpty());
}

void TestGradeFileIo::refusesUnwritableLinesBeforeTouchingTheDisk_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("301 characters on line 2")
        << QStringList{QStringLiteral("ok"), QStringLiteral("x").repeated(301)};
    QTest::newRow("control character on line 2")
        << QStringList{QStringLiteral("ok"), QStringLiteral("a\x1b")};
}

void TestGradeFileIo::refusesUnwritableLinesBeforeTouchingTheDisk()
{
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath(kName);
    QVERIFY(writeFile(path, QByteArray("old")));

    const StepRecorder recorder;
    const SafeWriteResult result = writeGradeFile(path, lines, &recorder);
    QVERIFY(!result.ok);
    QCOMPARE(result.error.kind, FileErrorKind::Malformed);
    QVERIFY2(result.error.description.contains(QStringLiteral("ligne 2"), Qt::CaseInsensitive),
             qPrintable(result.error.description));
    QVERIFY(recorder.steps.isEmpty());
    QCOMPARE(entriesOf(dir.path()), QStringList{kName});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old"));
}

void TestGradeFileIo::failedWriteLeavesOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kName);
    const QByteArray old = writtenSample(QStringLiteral("no-rows.xml"));
    QVERIFY(writeFile(path, old));

    const FailAtReplace fault;
    const SafeWriteResult result = writeGradeFile(path, kThreeLines, &fault);
    QVERIFY(!result.ok);
    QCOMPARE(result.failedStep, WriteStep::Replace);
    QCOMPARE(entriesOf(dir.path()), QStringList{kName});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
}

void TestGradeFileIo::writeWithoutDiskIsNoDisk()
{
    QTemporaryDir dir;
    const SafeWriteResult result =
        writeGradeFile(dir.filePath(QStringLiteral("absent/") + kName), kThreeLines);
    QVERIFY(!result.ok);
    QCOMPARE(result.error.kind, FileErrorKind::NoDisk);
    QCOMPARE(entriesOf(dir.path()), QStringList());
}

QTEST_GUILESS_MAIN(TestGradeFileIo)
#include "tst_gradefileio.moc"
