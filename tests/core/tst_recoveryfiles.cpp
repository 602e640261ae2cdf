// The journal of unsaved changes and the copies kept of the files a save replaced.
#include "../support/datatable.h"
#include "../support/filebytes.h"
#include "core/gradefile/rowsetwriter.h"
#include "core/recovery/journal.h"
#include "core/recovery/keptcopies.h"
#include "core/recovery/openfilelock.h"
#include "core/recovery/pendingchanges.h"
#include "core/recovery/sessionjournal.h"

#include <QtTest>

using namespace recovery;

namespace {

const QString kKey = "8410203C07120002025";
const JournalIdentity kIdentity{kKey, "/media/floppy", QByteArray(64, 'a')};
const QDateTime kStarted = QDateTime::fromMSecsSinceEpoch(1741973405123, Qt::UTC);

// Texts a cell may hold, and those a journal must carry through its own separators.
const std::vector<JournalCell> kCells = {{6, 1, "7", kStarted},
                                         {6, 1, "07.00", kStarted.addSecs(1)},
                                         {5, 3, "غ.ش.", kStarted},
                                         {10, 2, "1#عمل \\ جيّد\tجدا\nr\\n", kStarted},
                                         {4, 40, "", kStarted.addMSecs(5)}};

QStringList texts(const std::vector<JournalCell>& cells)
{
    QStringList out;
    for (const JournalCell& c : cells)
        out << QString("%1,%2=").arg(c.column).arg(c.row) + c.text +
                   c.time.toString(Qt::ISODateWithMs);
    return out;
}

QByteArray gradeFile(int saveNumber, const QString& key = kKey)
{
    return gradefile::rowsetBytes(
        {"DEBUT" + key + "|8410203 إعدادية النور عربية", "TYPEEPREUVE:|فرض 1|فرض 2",
         "1|1|1001|أحمد|12.50|--.--", "2|2|1002|مريم|--.--|",
         QString("FIN%1|صفاقس|النور|سلمى||%2|4").arg(key).arg(saveNumber)});
}

} // namespace

class TestRecoveryFiles : public QObject {
    Q_OBJECT

private slots:
    // Written, appended to, read back: every text as it was; a second journal never overwrites.
    void writtenJournalReadsBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("j.journal");
        gradefile::FileError error;
        auto writer = JournalWriter::create(path, kIdentity, kStarted, {kCells[0]}, error);
        QVERIFY2(writer, qPrintable(error.description));
        QVERIFY(!writer->append({kCells.begin() + 1, kCells.end()}).isError());
        const JournalRead read = readJournal(path);
        QVERIFY2(read.contents, qPrintable(read.error.description));
        QCOMPARE(read.contents->identity.contentHash, kIdentity.contentHash);
        QCOMPARE(texts(read.contents->cells), texts(kCells));
        QVERIFY(!JournalWriter::create(path, kIdentity, kStarted, {kCells[0]}, error));
        QCOMPARE(readJournal(path).contents->cells.size(), kCells.size());
    }

    void journalReadsWhatIsWhole_data()
    {
        // The cells read back; -1: the journal is refused.
        const auto row = dataTable<QByteArray, int>({"bytes", "cells"});
        const QByteArray header = headerRecord(kIdentity, kStarted);
        QByteArray whole = header;
        for (const JournalCell& c : kCells)
            whole += cellRecord(c);
        const int last = int(cellRecord(kCells.back()).size());
        // A crash mid-append leaves part of the last record: the ones before are all there.
        for (int cut : {1, last / 2, last - 1})
            QTest::addRow("%d of the last record's %d bytes", cut, last)
                << whole.left(whole.size() - last + cut) << 4;
        row("last record spoilt", whole.left(whole.size() - 1) + "X\n", 4);
        row("zeros after a power cut", whole.left(whole.size() - 9) + QByteArray(512, '\0'), 4);
        // A crash while the first record was written leaves a journal that holds nothing.
        row("empty", QByteArray(), 0);
        row("half a header", header.left(header.size() / 2), 0);
        // A journal that does not check is applied not at all, never in part.
        const qsizetype second = header.size() + cellRecord(kCells[0]).size() + 4;
        QByteArray flipped = whole;
        flipped[second] = char(flipped[second] ^ 0x01);
        row("a byte changed in a middle record", flipped, -1);
        row("bytes lost in the middle", QByteArray(whole).remove(second, 20), -1);
        row("a later version",
            headerRecord(kIdentity, kStarted, kJournalVersion + 1) + cellRecord(kCells[0]), -1);
    }

    void journalReadsWhatIsWhole()
    {
        const auto [bytes, cells] = fetchRow<QByteArray, int>({"bytes", "cells"});
        const JournalRead read = parseJournal(bytes, "/data/j.journal");
        QCOMPARE(read.error.isError(), cells < 0);
        QCOMPARE(read.error.path, QString(cells < 0 ? "/data/j.journal" : ""));
        const auto kept = read.contents ? read.contents->cells : std::vector<JournalCell>();
        QCOMPARE(texts(kept), texts(kCells).mid(0, std::max(cells, 0)));
    }

    void journalsFoundByKeyAndContent_data()
    {
        // The folder the journal was written for and the content it began on.
        const auto row =
            dataTable<QString, char, QString, QString>({"folder", "content", "found", "key"});
        row("the same folder", "/media/floppy", 'a', "applies", kKey);
        row("the stick back at another folder", "/media/floppy1", 'a', "applies", kKey);
        row("another drive letter", "E:/", 'a', "applies", kKey);
        row("another content", "/media/floppy", 'b', "changed on disk", kKey);
        row("another content, another folder", "E:/", 'b', "changed on disk", kKey);
        // The longest name a file may have is the key's and ".xml": the journal's name is longer.
        row("a key as long as a file name", "/media/floppy", 'a', "applies", QString(125, u'ع'));
    }

    // A journal belongs to its key and the content it began on, wherever the disk is mounted.
    void journalsFoundByKeyAndContent()
    {
        const auto [folder, content, found, key] =
            fetchRow<QString, char, QString, QString>({"folder", "content", "found", "key"});
        QTemporaryDir dir;
        const JournalIdentity written{key, folder, QByteArray(64, content)};
        gradefile::FileError error;
        QVERIFY(JournalWriter::create(dir.filePath(journalFileName(written, kStarted)), written,
                                      kStarted, {kCells[0]}, error));
        QCOMPARE(journalKeys(dir.path()), QStringList{key});
        const PendingChanges pending = findPendingChanges(
            dir.path(), {key, kIdentity.diskFolder, kIdentity.contentHash}, SheetBounds{40, 6});
        QCOMPARE(pending.journals.size(), found == "applies");
        QCOMPARE(pending.changedOnDisk.size(), found == "changed on disk");
        QCOMPARE(pending.otherFolders, found == "applies" && folder != kIdentity.diskFolder
                                           ? QStringList{folder}
                                           : QStringList());
    }

    // Each save keeps the file it replaces, newest first, named for its time and save number; the
    // 21st pushes out its disk's oldest only, a retried save keeps its file once. A copy tells how
    // it differs from the file now; one another file's took the place of is refused.
    void keptCopiesAreTheLastTwentyEachOnce()
    {
        QTemporaryDir data;
        const KeptCopies copies(data.path());
        const QString media = QDir::rootPath() + "media/"; // absolute on every system
        QVERIFY(!copies.keep(kKey, media + "other", gradeFile(30), kStarted).isError());
        QVERIFY(QFile::copy(copies.list(kKey).front().path,
                            data.filePath("backups/" + kKey + "/20240101T000000000Z_save9.xml")));
        for (int save = 1; save <= 21; ++save)
            for (int retry = 0; retry < 2; ++retry) {
                const QDateTime at = kStarted.addSecs(save * 10 + retry);
                QVERIFY(!copies.keep(kKey, media + "floppy", gradeFile(save), at).isError());
            }
        const std::vector<KeptCopy> kept = copies.list(kKey);
        QCOMPARE(int(kept.size()), kKeptCopiesPerFile + 2);
        QVERIFY(kept.front().saveNumber == 21 && kept.front().diskFolder == media + "floppy");
        QVERIFY(kept[kKeptCopiesPerFile - 1].saveNumber == 2 && kept.back().saveNumber == 9 &&
                kept[kKeptCopiesPerFile].diskFolder == media + "other");
        QCOMPARE(QFileInfo(kept.front().path).fileName(), "20250314T173335123Z_save21.xml");
        QCOMPARE(*copies.read(kept.front(), kKey).bytes, gradeFile(21));
        const QStringList now = {"DEBUT" + kKey + "|x", "TYPEEPREUVE:|فرض 1|فرض 2",
                                 "1|1|1001|أحمد|12.50|--.--", "2|2|1002|مريم|--.--|غ.ش."};
        const std::optional<CopyDifference> difference =
            copies.summarize(kept.front(), kKey, now).difference;
        QVERIFY(difference && difference->cells == 1 &&
                difference->firstPupils == QStringList{"مريم"});
        QVERIFY(writeBytes(kept.front().path, gradeFile(21, "8410203C07130002025")));
        QCOMPARE(copies.read(kept.front(), kKey).error.kind, gradefile::FileErrorKind::OtherFile);
    }

    // A lock left under this process's own id (a restart can get the dead one's) is taken over.
    void lockLeftUnderThisIdIsTakenOver()
    {
        QTemporaryDir data;
        const QString path = data.filePath("locks/" + kKey + ".lock");
        QVERIFY(lockOpenFile(data.path(), kKey).lock); // the folder made, the lock let go
        QLockFile left(path);
        QVERIFY(left.tryLock(0));
        const QByteArray bytes = readBytes(path);
        left.unlock();
        QVERIFY(writeBytes(path, bytes));
        const OpenFileLock taken = lockOpenFile(data.path(), kKey);
        QVERIFY(taken.lock && !taken.heldElsewhere);
    }

    // The data folder and every folder in it stay their owner's, one left open to others closed.
    void dataFolderStaysPrivate()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows gives a folder no group or other rights to close");
#endif
        QTemporaryDir root;
        const QString data = root.filePath("saisie-notes");
        const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                            QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QVERIFY(QDir().mkdir(data) &&
                QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                others));
        SessionJournal journal(data, kIdentity);
        QVERIFY(!journal.record({kCells[0]}).isError() && setAside(journal.path(), data));
        QVERIFY(!KeptCopies(data).keep(kKey, "/media/floppy", gradeFile(1)).isError());
        QStringList folders{data}, open;
        for (QDirIterator it(data, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
             it.hasNext();)
            folders << it.next();
        for (const QString& folder : folders)
            if (QFile::permissions(folder) & others)
                open << folder;
        QCOMPARE(folders.size(), 6); // recovery, its aside, backups, the key's, the disk's
        QCOMPARE(open, QStringList());
    }

    void cellsOutsideTheSheetAreRefused_data()
    {
        const auto row = dataTable<int, int, QString, bool>({"column", "row", "text", "fits"});
        row("first exam", 6, 1, "12.00", true);
        row("last exam shown", 4, 3, "12.00", true);
        row("observation", 10, 2, "2#حسن", true);
        row("hidden grade column", 3, 1, "12.00", false);
        row("pupil's name", 7, 1, "x", false);
        row("header row", 6, 0, "x", false);
        row("below the last pupil", 6, 4, "12.00", false);
        row("a field separator", 10, 1, "2#a|b", false);
        row("a line break", 10, 1, "2#a\nb", false);
    }

    // A cell outside the sheet as opened, or a text that would break the file's lines, refuses
    // the whole journal: anything may have written the program's folder.
    void cellsOutsideTheSheetAreRefused()
    {
        const auto [column, row, text] = fetchRow<int, int, QString>({"column", "row", "text"});
        QTEST(!cellsOutsideSheet({{column, row, text, {}}}, SheetBounds{3, 3}), "fits");
    }
};

QTEST_APPLESS_MAIN(TestRecoveryFiles)
#include "tst_recoveryfiles.moc"
