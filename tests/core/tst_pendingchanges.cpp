#include "recovery/datafolder.h"
#include "recovery/pendingchanges.h"
#include "recovery/sessionjournal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace recovery;
using gradefile::FileErrorKind;

namespace {

const QString kKey = QStringLiteral("8410203C07120002025");
const QByteArray kOpened(64, 'a');
const QByteArray kSaved(64, 'b');
// Three pupils, grade columns 4 to 6 shown.
const SheetBounds kBounds{3, 4};

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

JournalCell cell(int column, int row, const QString& text)
{
    return JournalCell{column, row, text, QDateTime::currentDateTimeUtc()};
}

QStringList texts(const std::vector<JournalCell>& cells)
{
    QStringList out;
    for (const JournalCell& c : cells)
        out << QStringLiteral("%1,%2=%3").arg(c.column).arg(c.row).arg(c.text);
    return out;
}

} // namespace

class TestPendingChanges : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void journalBeginsWithTheFirstChange();
    void savedJournalGoesAndTheNextBeginsOverTheSavedContent();
    void givenUpJournalGoes();
    void brokenJournalSaysSoOnce();
    void lastTextOfEachCellAcrossJournals();
    void otherDiskAndOtherKeyAreOtherFiles();
    void changedOnDiskIsSetAside();
    void damagedJournalStaysInPlace();
    void cellsOutsideTheSheet_data();
    void cellsOutsideTheSheet();

private:
    JournalIdentity identity(const QByteArray& hash = kOpened) const
    {
        return {kKey, canonicalDiskFolder(m_disk), hash};
    }
    QString journals() const { return journalsFolder(m_data->path()); }
    // A journal as a sheet leaves it when the program dies.
    QString leaveJournal(const JournalIdentity& id, const std::vector<JournalCell>& cells)
    {
        SessionJournal session(journals(), id);
        [&] { QVERIFY(!session.record(cells).isError()); }();
        return session.path();
    }

    std::unique_ptr<QTemporaryDir> m_data;
    QString m_disk;
};

void TestPendingChanges::init()
{
    m_data = std::make_unique<QTemporaryDir>();
    m_disk = m_data->filePath(QStringLiteral("A"));
}

void TestPendingChanges::cleanup()
{
    m_data.reset();
}

void TestPendingChanges::journalBeginsWithTheFirstChange()
{
    SessionJournal session(journals(), identity());
    QVERIFY(session.path().isEmpty());
    QVERIFY(!QDir(journals()).exists());
    QVERIFY(!session.record({cell(6, 1, QStringLiteral("12.00"))}).isError());
    QVERIFY(QFile::exists(session.path()));
    QCOMPARE(journalsOf(journals(), kKey, m_disk), QStringList{session.path()});
}

// After a save the journal goes; a change typed after it begins a journal whose changes
// apply to the saved content, not to the content first opened.
void TestPendingChanges::savedJournalGoesAndTheNextBeginsOverTheSavedContent()
{
    SessionJournal session(journals(), identity());
    QVERIFY(!session.record({cell(6, 1, QStringLiteral("12.00"))}).isError());
    const QString first = session.path();
    session.saved(kSaved);
    QVERIFY(!QFile::exists(first));
    QVERIFY(journalsOf(journals(), kKey, m_disk).isEmpty());

    QVERIFY(!session.record({cell(6, 2, QStringLiteral("13.00"))}).isError());
    const PendingChanges pending = findPendingChanges(journals(), identity(kSaved), kBounds);
    QCOMPARE(texts(pending.cells), QStringList{QStringLiteral("6,2=13.00")});
    QVERIFY(pending.changedOnDisk.isEmpty());
}

void TestPendingChanges::givenUpJournalGoes()
{
    SessionJournal session(journals(), identity());
    QVERIFY(!session.record({cell(6, 1, QStringLiteral("12.00"))}).isError());
    session.discard();
    QVERIFY(journalsOf(journals(), kKey, m_disk).isEmpty());
}

// A data folder that cannot be written: the first record reports it, the sheet goes on,
// and nothing is reported again.
void TestPendingChanges::brokenJournalSaysSoOnce()
{
    QVERIFY(writeFile(m_data->filePath(QStringLiteral("recovery")), "a file, not a folder"));
    SessionJournal session(journals(), identity());
    QVERIFY(session.record({cell(6, 1, QStringLiteral("12.00"))}).isError());
    QVERIFY(session.isBroken());
    QVERIFY(!session.record({cell(6, 2, QStringLiteral("13.00"))}).isError());
}

// Two journals left by two crashes on the same content, the second begun after the
// first was brought back: each cell comes back with its last text, once.
void TestPendingChanges::lastTextOfEachCellAcrossJournals()
{
    leaveJournal(identity(), {cell(6, 1, QStringLiteral("7")), cell(6, 1, QStringLiteral("07.00")),
                              cell(5, 2, QStringLiteral("غ.ش."))});
    QTest::qWait(2); // journal names carry the millisecond they began
    leaveJournal(identity(),
                 {cell(6, 1, QStringLiteral("07.00")), cell(5, 2, QStringLiteral("15.00")),
                  cell(10, 3, QStringLiteral("3#جيد"))});

    const PendingChanges pending = findPendingChanges(journals(), identity(), kBounds);
    QCOMPARE(texts(pending.cells),
             (QStringList{QStringLiteral("6,1=07.00"), QStringLiteral("5,2=15.00"),
                          QStringLiteral("10,3=3#جيد")}));
    QCOMPARE(pending.journals.size(), 2);
    QVERIFY(pending.lastChange.isValid());
    QVERIFY(pending.refused.empty());
}

// A journal of the same key on another disk is not looked at; one that claims this file
// by its name but names another inside is refused.
void TestPendingChanges::otherDiskAndOtherKeyAreOtherFiles()
{
    JournalIdentity otherDisk = identity();
    otherDisk.diskFolder = canonicalDiskFolder(m_data->filePath(QStringLiteral("B")));
    leaveJournal(otherDisk, {cell(6, 1, QStringLiteral("11.00"))});
    const QString foreign = leaveJournal(identity(), {cell(6, 1, QStringLiteral("12.00"))});
    // The same bytes under the name of another key's journal.
    JournalIdentity otherKey = identity();
    otherKey.key = QStringLiteral("8410203C07130002025");
    const QString renamed =
        QDir(journals()).filePath(QFileInfo(foreign).fileName().replace(kKey, otherKey.key));
    QVERIFY(QFile::rename(foreign, renamed));

    const PendingChanges pending = findPendingChanges(journals(), otherKey, kBounds);
    QVERIFY(pending.cells.empty());
    QCOMPARE(pending.refused.size(), size_t(1));
    QCOMPARE(pending.refused.front().error.kind, FileErrorKind::OtherFile);
    QVERIFY(QFile::exists(renamed));
    QVERIFY(findPendingChanges(journals(), identity(), kBounds).cells.empty());
}

// Another machine saved the file since: the journal is not applied, and goes aside
// whole.
void TestPendingChanges::changedOnDiskIsSetAside()
{
    const QString journal = leaveJournal(identity(), {cell(6, 1, QStringLiteral("12.00"))});
    const QByteArray bytes = contentsOf(journal);
    const PendingChanges pending = findPendingChanges(journals(), identity(kSaved), kBounds);
    QVERIFY(pending.cells.empty());
    QCOMPARE(pending.changedOnDisk, QStringList{journal});

    const std::optional<QString> aside = setAside(journal, asideFolder(m_data->path()));
    QVERIFY(aside);
    QVERIFY(!QFile::exists(journal));
    QCOMPARE(contentsOf(*aside), bytes);
    QVERIFY(findPendingChanges(journals(), identity(kSaved), kBounds).changedOnDisk.isEmpty());
}

void TestPendingChanges::damagedJournalStaysInPlace()
{
    const QString journal = leaveJournal(
        identity(), {cell(6, 1, QStringLiteral("12.00")), cell(6, 2, QStringLiteral("13.00"))});
    QByteArray bytes = contentsOf(journal);
    bytes[bytes.indexOf("12.00")] = '9';
    QVERIFY(writeFile(journal, bytes));

    const PendingChanges pending = findPendingChanges(journals(), identity(), kBounds);
    QVERIFY(pending.cells.empty());
    QCOMPARE(pending.refused.size(), size_t(1));
    QCOMPARE(pending.refused.front().error.kind, FileErrorKind::Malformed);
    QCOMPARE(pending.refused.front().path, journal);
    QCOMPARE(contentsOf(journal), bytes);
}

void TestPendingChanges::cellsOutsideTheSheet_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::newRow("first exam") << 6 << 1 << "12.00" << true;
    QTest::newRow("last grade column shown") << 4 << 3 << "12.00" << true;
    QTest::newRow("observation") << 10 << 2 << "2#حسن" << true;
    QTest::newRow("hidden grade column") << 3 << 1 << "12.00" << false;
    QTest::newRow("pupil's name") << 7 << 1 << "x" << false;
    QTest::newRow("header row") << 6 << 0 << "x" << false;
    QTest::newRow("below the last pupil") << 6 << 4 << "12.00" << false;
    QTest::newRow("a field separator") << 10 << 1 << "2#a|b" << false;
    QTest::newRow("a line break") << 10 << 1 << "2#a\nb" << false;
}

// A journal that would write outside the sheet, or a text that would break the file's
// lines, is refused whole.
void TestPendingChanges::cellsOutsideTheSheet()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(bool, fits);
    leaveJournal(identity(), {cell(6, 2, QStringLiteral("14.00")), cell(column, row, text)});
    const PendingChanges pending = findPendingChanges(journals(), identity(), kBounds);
    QCOMPARE(pending.cells.empty(), !fits);
    QCOMPARE(pending.refused.size(), size_t(fits ? 0 : 1));
}

QTEST_APPLESS_MAIN(TestPendingChanges)
#include "tst_pendingchanges.moc"
