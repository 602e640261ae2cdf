#include "gradefile/rowsetwriter.h"
#include "recovery/datafolder.h"
#include "recovery/keptcopies.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace recovery;
using gradefile::FileErrorKind;

Q_DECLARE_METATYPE(FileErrorKind)

namespace {

const QString kKey = QStringLiteral("8410203C07120002025");
const QDateTime kFirst = QDateTime::fromMSecsSinceEpoch(1741973405123, Qt::UTC);

QStringList gradeFile(int saveNumber, const QString& key = kKey)
{
    return {QStringLiteral("DEBUT") + key + QStringLiteral("|8410203 إعدادية النور عربية"),
            QStringLiteral("TYPEEPREUVE:|فرض 1|فرض 2"),
            QStringLiteral("1|1|1001|أحمد|12.50|--.--"),
            QStringLiteral("2|2|1002|مريم|--.--|"),
            QStringLiteral("3|3|1003|سامي|غ.ش.|"),
            QStringLiteral("FIN%1|صفاقس|النور|سلمى||%2|4").arg(key).arg(saveNumber)};
}

QByteArray bytesOf(const QStringList& lines)
{
    return gradefile::rowsetBytes(lines);
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestKeptCopies : public QObject {
    Q_OBJECT

private slots:
    void twentyOneSavesKeepTwenty();
    void sameBytesAreKeptOnce();
    void copyReadsBackItsBytes();
    void refusedCopy_data();
    void refusedCopy();
    void savedNumber_data();
    void savedNumber();
    void unwritableDataFolder();
};

// Each save keeps the file it replaces: the 21st copy pushes the oldest out, and the
// newest come first, named for when they were kept and the save number in them.
void TestKeptCopies::twentyOneSavesKeepTwenty()
{
    QTemporaryDir data;
    const KeptCopies copies(data.path());
    for (int save = 1; save <= 21; ++save)
        QVERIFY(!copies.keep(kKey, bytesOf(gradeFile(save)), kFirst.addSecs(save)).isError());

    const std::vector<KeptCopy> kept = copies.list(kKey);
    QCOMPARE(int(kept.size()), kKeptCopiesPerFile);
    QCOMPARE(kept.front().saveNumber, 21);
    QCOMPARE(kept.front().time, kFirst.addSecs(21));
    QCOMPARE(kept.back().saveNumber, 2);
    QCOMPARE(QFileInfo(kept.front().path).fileName(),
             QStringLiteral("20250314T173026123Z_save21.xml"));
    QCOMPARE(QDir(keptCopiesFolder(data.path(), kKey)).entryList(QDir::Files | QDir::Hidden).size(),
             kKeptCopiesPerFile);
    QCOMPARE(copies.keys(), QStringList{kKey});
}

// A save tried again and again keeps the file once: twenty failed tries must not push
// out the copies of earlier saves.
void TestKeptCopies::sameBytesAreKeptOnce()
{
    QTemporaryDir data;
    const KeptCopies copies(data.path());
    QVERIFY(!copies.keep(kKey, bytesOf(gradeFile(1)), kFirst).isError());
    for (int i = 1; i <= 3; ++i)
        QVERIFY(!copies.keep(kKey, bytesOf(gradeFile(2)), kFirst.addSecs(i)).isError());
    QCOMPARE(copies.list(kKey).size(), size_t(2));
}

void TestKeptCopies::copyReadsBackItsBytes()
{
    QTemporaryDir data;
    const KeptCopies copies(data.path());
    const QByteArray bytes = bytesOf(gradeFile(7));
    QVERIFY(!copies.keep(kKey, bytes, kFirst).isError());
    const KeptCopy copy = copies.list(kKey).front();
    const KeptCopyRead read = copies.read(copy, kKey);
    QVERIFY2(read.bytes, qPrintable(read.error.description));
    QCOMPARE(*read.bytes, bytes);
    const KeptCopySummary summary = copies.summarize(copy, kKey);
    QVERIFY(!summary.error.isError());
    QCOMPARE(summary.pupilsWithGrades, 2); // the no-grade mark alone is no grade
    QCOMPARE(summary.copy.saveNumber, 7);
}

void TestKeptCopies::refusedCopy_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<FileErrorKind>("kind");
    const QByteArray whole = bytesOf(gradeFile(3));
    QTest::newRow("truncated") << whole.left(whole.size() / 2) << FileErrorKind::Malformed;
    QTest::newRow("empty") << QByteArray() << FileErrorKind::Malformed;
    QByteArray spoilt = whole;
    spoilt.replace("<rs:data>", "<rs:dota>");
    QTest::newRow("spoilt markup") << spoilt << FileErrorKind::Malformed;
    QTest::newRow("another file's copy")
        << bytesOf(gradeFile(3, QStringLiteral("8410203C07130002025"))) << FileErrorKind::OtherFile;
}

// A copy damaged in the data folder is refused, and stays as it is.
void TestKeptCopies::refusedCopy()
{
    QFETCH(QByteArray, bytes);
    QFETCH(FileErrorKind, kind);
    QTemporaryDir data;
    const KeptCopies copies(data.path());
    QVERIFY(!copies.keep(kKey, bytesOf(gradeFile(3)), kFirst).isError());
    const KeptCopy copy = copies.list(kKey).front();
    QVERIFY(writeFile(copy.path, bytes));

    const KeptCopyRead read = copies.read(copy, kKey);
    QVERIFY(!read.bytes);
    QCOMPARE(read.error.kind, kind);
    QCOMPARE(read.error.path, copy.path);
    QVERIFY(copies.summarize(copy, kKey).error.isError());
    QCOMPARE(contentsOf(copy.path), bytes);
}

void TestKeptCopies::savedNumber_data()
{
    QTest::addColumn<QString>("endLine");
    QTest::addColumn<int>("saveNumber");
    QTest::newRow("written by the program's save") << "FINK|r|e|t||9|4" << 9;
    QTest::newRow("written by the administration") << "FINK|r|e|t|3|4" << 3;
    QTest::newRow("no counters") << "FINK" << 0;
}

void TestKeptCopies::savedNumber()
{
    QFETCH(QString, endLine);
    QFETCH(int, saveNumber);
    QCOMPARE(savedNumberOf({QStringLiteral("DEBUTK|d"), QStringLiteral("TYPEEPREUVE:"),
                            QStringLiteral("1|1|1|a|"), endLine}),
             saveNumber);
}

// The data folder cannot be written: keeping fails with an error, nothing else happens.
void TestKeptCopies::unwritableDataFolder()
{
    QTemporaryDir data;
    QVERIFY(writeFile(data.filePath(QStringLiteral("backups")), "a file, not a folder"));
    const KeptCopies copies(data.path());
    QVERIFY(copies.keep(kKey, bytesOf(gradeFile(1)), kFirst).isError());
    QVERIFY(copies.list(kKey).empty());
}

QTEST_APPLESS_MAIN(TestKeptCopies)
#include "tst_keptcopies.moc"
