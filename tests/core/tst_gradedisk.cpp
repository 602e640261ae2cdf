#include "gradefile/gradedisk.h"
#include "gradefile/gradefileio.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace gradefile;

namespace {

const QString kKey = QStringLiteral("8410203C07120002025");

QStringList gradeFile(const QString& teacher)
{
    return {QStringLiteral("DEBUT") + kKey + QStringLiteral("|8410203 إعدادية النور"),
            QStringLiteral("TYPEEPREUVE:|فرض 1"), QStringLiteral("1|1|1001|أحمد|12.50"),
            QStringLiteral("FIN%1|صفاقس|النور|%2||1|0").arg(kKey, teacher)};
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class TestGradeDisk : public QObject {
    Q_OBJECT

private slots:
    void temporaryNames_data();
    void temporaryNames();
    void leftoverTemporariesGo_data();
    void leftoverTemporariesGo();
    void saveWritesTheFileUnderItsOwnName();
};

void TestGradeDisk::temporaryNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("temporary");
    QTest::newRow("a save's temporary") << "." + kKey + ".xml.a1b2c3.tmp" << true;
    QTest::newRow("upper-case target") << "." + kKey + ".XML.zz9zz9.tmp" << true;
    QTest::newRow("the grade file itself") << kKey + ".xml" << false;
    QTest::newRow("another program's temporary")
        << QStringLiteral(".notes.txt.a1b2c3.tmp") << false;
    QTest::newRow("tag too short") << "." + kKey + ".xml.a1b2.tmp" << false;
    QTest::newRow("upper-case tag") << "." + kKey + ".xml.A1B2C3.tmp" << false;
    QTest::newRow("no target") << QStringLiteral("..xml.a1b2c3.tmp") << false;
}

void TestGradeDisk::temporaryNames()
{
    QFETCH(QString, name);
    QFETCH(bool, temporary);
    QCOMPARE(isTemporaryFileName(name, QLatin1String(".xml")), temporary);
}

void TestGradeDisk::leftoverTemporariesGo_data()
{
    QTest::addColumn<bool>("bySave");
    QTest::newRow("by the scan") << false;
    QTest::newRow("by the next save") << true;
}

// A save interrupted between its temporary file and the rename (the disk pulled out)
// leaves the temporary file: the next scan or save of the disk removes it, and no list
// ever shows it. Files of other programs stay.
void TestGradeDisk::leftoverTemporariesGo()
{
    QFETCH(bool, bySave);
    QTemporaryDir dir;
    const GradeDisk disk(dir.path());
    const QString fileName = kKey + QStringLiteral(".xml");
    QVERIFY(writeGradeFile(disk.pathOf(fileName), gradeFile(QStringLiteral("سلمى"))).ok);
    const QString leftover = QStringLiteral(".%1.k3x9q2.tmp").arg(fileName);
    QVERIFY(writeFile(disk.pathOf(leftover), "half a grade file"));
    QVERIFY(writeFile(disk.pathOf(QStringLiteral(".notes.txt.k3x9q2.tmp")), "not ours"));

    if (bySave) {
        QVERIFY(disk.save(fileName, gradeFile(QStringLiteral("هند"))).ok);
    } else {
        const FolderListing listing = disk.list();
        QVERIFY(listing.fileNames);
        QCOMPARE(*listing.fileNames, QStringList{fileName});
    }
    QCOMPARE(entriesOf(dir.path()),
             (QStringList{QStringLiteral(".notes.txt.k3x9q2.tmp"), fileName}));
}

// A file listed and opened as KEY.XML is saved as KEY.XML: no twin KEY.xml appears beside
// it for the next scan to list twice.
void TestGradeDisk::saveWritesTheFileUnderItsOwnName()
{
    QTemporaryDir dir;
    const GradeDisk disk(dir.path());
    const QString fileName = kKey + QStringLiteral(".XML");
    QVERIFY(writeGradeFile(disk.pathOf(fileName), gradeFile(QStringLiteral("سلمى"))).ok);
    QVERIFY(disk.save(fileName, gradeFile(QStringLiteral("هند"))).ok);

    QCOMPARE(entriesOf(dir.path()), QStringList{fileName});
    QCOMPARE(*disk.list().fileNames, QStringList{fileName});
    const GradeFileRead read = readGradeFile(disk.pathOf(fileName));
    QVERIFY(read.lines);
    QVERIFY(read.lines->last().contains(QStringLiteral("هند")));
}

QTEST_APPLESS_MAIN(TestGradeDisk)
#include "tst_gradedisk.moc"
