#include "recovery/journal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "../support/realdisk.h"

using namespace recovery;
using gradefile::FileErrorKind;

Q_DECLARE_METATYPE(FileErrorKind)

namespace {

const JournalIdentity kIdentity{QStringLiteral("8410203C07120002025"),
                                QStringLiteral("/media/floppy"), QByteArray(64, 'a')};
const QDateTime kStarted = QDateTime::fromMSecsSinceEpoch(1741973405123, Qt::UTC);

JournalCell cell(int column, int row, const QString& text, qint64 second = 0)
{
    return JournalCell{column, row, text, kStarted.addSecs(second)};
}

// Texts a cell may hold, and those a journal must carry through its own separators.
std::vector<JournalCell> someCells()
{
    return {cell(6, 1, QStringLiteral("7"), 1), cell(6, 1, QStringLiteral("07.00"), 1),
            cell(5, 3, QStringLiteral("غ.ش."), 2),
            cell(10, 2, QStringLiteral("1#عمل \\ جيّد\tجدا\nr\\n"), 3), cell(4, 40, QString(), 4)};
}

QByteArray journalBytes(const std::vector<JournalCell>& cells)
{
    QByteArray bytes = headerRecord(kIdentity, kStarted);
    for (const JournalCell& c : cells)
        bytes += cellRecord(c);
    return bytes;
}

bool sameCells(const std::vector<JournalCell>& a, const std::vector<JournalCell>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].column != b[i].column || a[i].row != b[i].row || a[i].text != b[i].text ||
            a[i].time != b[i].time)
            return false;
    }
    return true;
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

class TestJournal : public QObject {
    Q_OBJECT

private slots:
    void writtenJournalReadsBack();
    void tornLastRecordIsLeftOut_data();
    void tornLastRecordIsLeftOut();
    void nothingWhole_data();
    void nothingWhole();
    void refusedWhole_data();
    void refusedWhole();
    void unwritableFolder();
    void fullDisk();
};

// Created, appended to twice, read back from the disk: every text comes back as it was,
// separators, line breaks and backslashes included.
void TestJournal::writtenJournalReadsBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("j.journal"));
    const std::vector<JournalCell> cells = someCells();
    gradefile::FileError error;
    std::unique_ptr<JournalWriter> writer =
        JournalWriter::create(path, kIdentity, kStarted, {cells[0]}, error);
    QVERIFY2(writer, qPrintable(error.description));
    QVERIFY(!writer->append({cells[1], cells[2]}).isError());
    QVERIFY(!writer->append({cells[3], cells[4]}).isError());

    const JournalRead read = readJournal(path);
    QVERIFY2(read.contents, qPrintable(read.error.description));
    QCOMPARE(read.contents->identity.key, kIdentity.key);
    QCOMPARE(read.contents->identity.diskFolder, kIdentity.diskFolder);
    QCOMPARE(read.contents->identity.contentHash, kIdentity.contentHash);
    QCOMPARE(read.contents->started, kStarted);
    QVERIFY(!read.contents->tornTail);
    QVERIFY(sameCells(read.contents->cells, cells));

    // The name is taken: a second journal never writes over the first.
    QVERIFY(!JournalWriter::create(path, kIdentity, kStarted, {cells[0]}, error));
    QCOMPARE(error.kind, FileErrorKind::Other);
    QCOMPARE(contentsOf(path), journalBytes(cells));
}

void TestJournal::tornLastRecordIsLeftOut_data()
{
    QTest::addColumn<int>("cut"); // bytes of the last record that reached the disk
    QTest::addColumn<QByteArray>("garbage");
    const int last = int(cellRecord(someCells().back()).size());
    for (int cut : {1, 10, last / 2, last - 9, last - 1})
        QTest::addRow("%d of %d bytes", cut, last) << cut << QByteArray();
    QTest::newRow("whole but spoilt") << last - 1 << QByteArray("X\n");
    QTest::newRow("zeros after a power cut") << last / 2 << QByteArray(512, '\0');
}

// A crash in the middle of an append leaves part of the last record: the records before
// it are all there, nothing is refused.
void TestJournal::tornLastRecordIsLeftOut()
{
    QFETCH(int, cut);
    QFETCH(QByteArray, garbage);
    std::vector<JournalCell> cells = someCells();
    const QByteArray whole = journalBytes(cells);
    const QByteArray last = cellRecord(cells.back());
    const QByteArray torn = whole.left(whole.size() - last.size() + cut) + garbage;
    cells.pop_back();

    const JournalRead read = parseJournal(torn, QStringLiteral("j"));
    QVERIFY2(read.contents, qPrintable(read.error.description));
    QVERIFY(read.contents->tornTail);
    QVERIFY(sameCells(read.contents->cells, cells));
}

void TestJournal::nothingWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray header = headerRecord(kIdentity, kStarted);
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("half a header") << header.left(header.size() / 2);
    QTest::newRow("a header without its line end") << header.left(header.size() - 1);
    QTest::newRow("a header and half a record") << header + cellRecord(someCells().front()).left(9);
}

// A crash while the very first record was written leaves a journal that holds nothing.
void TestJournal::nothingWhole()
{
    QFETCH(QByteArray, bytes);
    const JournalRead read = parseJournal(bytes, QStringLiteral("j"));
    QVERIFY(!read.error.isError());
    QVERIFY(!read.contents || read.contents->cells.empty());
}

void TestJournal::refusedWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<FileErrorKind>("kind");
    const std::vector<JournalCell> cells = someCells();
    const QByteArray whole = journalBytes(cells);
    const qsizetype secondRecord =
        headerRecord(kIdentity, kStarted).size() + cellRecord(cells[0]).size() + 4;
    QByteArray flipped = whole;
    flipped[secondRecord] = char(flipped[secondRecord] ^ 0x01);
    QTest::newRow("a byte changed in a middle record") << flipped << FileErrorKind::Malformed;
    QByteArray badHeader = whole;
    badHeader[30] = char(badHeader[30] ^ 0x01);
    QTest::newRow("a byte changed in the header") << badHeader << FileErrorKind::Malformed;
    QByteArray lost = whole;
    lost.remove(secondRecord, 20);
    QTest::newRow("bytes lost in the middle") << lost << FileErrorKind::Malformed;
    QTest::newRow("a grade file instead")
        << QByteArray("<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'>\n")
        << FileErrorKind::Malformed;
    QTest::newRow("another program's text")
        << QByteArray("hello\nworld\n") << FileErrorKind::Malformed;
    QByteArray unknownRecord = whole;
    unknownRecord.insert(headerRecord(kIdentity, kStarted).size(),
                         QByteArray("Z\t1\t2\t3\t4\t00000000\n"));
    QTest::newRow("a record of unknown kind") << unknownRecord << FileErrorKind::Malformed;
    QTest::newRow("a later version")
        << headerRecord(kIdentity, kStarted, kJournalVersion + 1) + cellRecord(cells[0])
        << FileErrorKind::OtherVersion;
}

// A journal that does not check is applied not at all, never in part.
void TestJournal::refusedWhole()
{
    QFETCH(QByteArray, bytes);
    QFETCH(FileErrorKind, kind);
    const JournalRead read = parseJournal(bytes, QStringLiteral("/data/j.journal"));
    QVERIFY(!read.contents);
    QCOMPARE(read.error.kind, kind);
    QCOMPARE(read.error.path, QStringLiteral("/data/j.journal"));
    QVERIFY(read.error.description.contains(QStringLiteral("journal")));
}

// A data folder that is a file, as good as a folder that cannot be written (root writes
// through permissions): the journal cannot begin, and says so.
void TestJournal::unwritableFolder()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(QStringLiteral("recovery")), "a file"));
    gradefile::FileError error;
    const QString path = dir.filePath(QStringLiteral("recovery/j.journal"));
    QVERIFY(!JournalWriter::create(path, kIdentity, kStarted, someCells(), error));
    QVERIFY(error.isError());
    QCOMPARE(error.path, path);
}

// A disk that fills while the teacher types: the append that finds no room fails, and the
// journal holds the records before it, whole.
void TestJournal::fullDisk()
{
#ifdef Q_OS_LINUX
    QTemporaryDir dir;
    TmpfsMount disk(dir.path(), "size=8k");
    if (!disk.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a small tmpfs: ") + disk.error()));
    const QString path = dir.filePath(QStringLiteral("j.journal"));
    gradefile::FileError error;
    std::unique_ptr<JournalWriter> writer =
        JournalWriter::create(path, kIdentity, kStarted, {someCells().front()}, error);
    QVERIFY(writer);
    const JournalCell big = cell(10, 1, QString(600, u'ع'));
    int appended = 0;
    while (!(error = writer->append({big})).isError() && appended < 100)
        ++appended;
    QCOMPARE(error.kind, FileErrorKind::DiskFull);
    const JournalRead read = readJournal(path);
    QVERIFY2(read.contents, qPrintable(read.error.description));
    QCOMPARE(int(read.contents->cells.size()), 1 + appended);
#else
    QSKIP("needs a Linux tmpfs to fill");
#endif
}

QTEST_APPLESS_MAIN(TestJournal)
#include "tst_journal.moc"
