#include "gradefile/gradefileio.h"
#include "gradefile/rowsetwriter.h"
#include "recovery/datafolder.h"
#include "recovery/keptcopies.h"
#include "recovery/sessionjournal.h"
#include "sheet/classstatistics.h"
#include "sheet/openedsheet.h"
#include "sheet/sheetcsv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kExamples = QStringLiteral(SAISIE_EXAMPLES_DIR);
const QString kSubject = QStringLiteral("8410203C07120002025");
const QString kSixExams = QStringLiteral("8410203L09310002025");
const QString kPlain = QStringLiteral("8410203C0712MOY2025");
const QString kRenamed = QStringLiteral("8410203C07130002025");

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run runTool(const QStringList& arguments, const QByteArray& input = {},
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(GRADEFILE_TOOL), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return Run{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
               process.readAllStandardOutput(), process.readAllStandardError()};
}

QString sample(const QString& key)
{
    return kExamples + QStringLiteral("/floppy/") + key + QStringLiteral(".xml");
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The sheet the window shows for a grade file, read with the program's own functions.
gradefile::SheetTable openedSheetOf(const QString& path)
{
    const gradefile::GradeFileRead read = gradefile::readGradeFile(path);
    if (!read.lines)
        return {};
    const gradefile::DocumentRead document =
        gradefile::readGradeDocument(QFileInfo(path).fileName(), *read.lines);
    return document.document ? sheet::openedSheetTable(*document.document)
                             : gradefile::SheetTable{};
}

QJsonValue numberOrNull(std::optional<double> value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

// A small subject grade file of our own, written with the program's writer.
QString writeSubjectFile(const QTemporaryDir& dir, const QStringList& pupils)
{
    const QString key = QStringLiteral("8410203C07120002025");
    QStringList lines{QStringLiteral("DEBUT") + key +
                          QStringLiteral("|إعدادية - [السابعة 2] - العربية"),
                      QStringLiteral("TYPEEPREUVE:|فرض مراقبة 1|فرض مراقبة 2")};
    lines << pupils << QStringLiteral("FIN") + key + QStringLiteral("|||||0|0");
    const QString path = dir.filePath(key + QStringLiteral(".xml"));
    return gradefile::writeGradeFile(path, lines).ok ? path : QString();
}

} // namespace

class TestGradeFileCli : public QObject {
    Q_OBJECT

private slots:
    void sampleDiskMatchesItsLines();
    void linesPrintsEveryLine();
    void writeThenRead_data();
    void writeThenRead();
    void writeRefusesWhatCannotBeStored_data();
    void writeRefusesWhatCannotBeStored();
    void checkDescribesEachFile();
    void showSubjectFile();
    void showPlainFile();
    void showRefusesInvalidFile();
    void csvIsTheSheetsCopy_data();
    void csvIsTheSheetsCopy();
    void statsAreTheSheetsStatistics_data();
    void statsAreTheSheetsStatistics();
    void csvAndStatsOfAFileOfOurOwn();
    void csvAndStatsOfAClassWithoutPupils();
    void csvAndStatsRefusePlainAndInvalidFiles_data();
    void csvAndStatsRefusePlainAndInvalidFiles();
    void backupsListsKeptCopies();
    void recoverPrintsUnsavedCells();
    void recoverFindsTheProgramsDataFolder();
    void usage_data();
    void usage();
};

// The sample disk is what the writer makes of examples/lines: a sample edited by hand
// without the writer would no longer be a file the administration's system wrote.
void TestGradeFileCli::sampleDiskMatchesItsLines()
{
    const QStringList sources =
        QDir(kExamples + QStringLiteral("/lines")).entryList({QStringLiteral("*.txt")});
    QVERIFY(sources.size() >= 4);
    for (const QString& source : sources) {
        QString text = QString::fromUtf8(readAll(kExamples + QStringLiteral("/lines/") + source));
        text.chop(1);
        const QStringList lines = text.split(u'\n');
        const QString xml = sample(source.chopped(4));
        QVERIFY2(readAll(xml) == gradefile::rowsetBytes(lines),
                 qPrintable(xml + QStringLiteral(" is out of step: run examples/make-floppy")));
    }
}

void TestGradeFileCli::linesPrintsEveryLine()
{
    const Run run = runTool({QStringLiteral("lines"), sample(kSubject)});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out,
             readAll(kExamples + QStringLiteral("/lines/") + kSubject + QStringLiteral(".txt")));
    QVERIFY(run.err.isEmpty());
}

void TestGradeFileCli::writeThenRead_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("LF") << QByteArray("DEBUTK|قسم\nTYPEEPREUVE:|ف\nFINK|||||1|0\n")
                        << QStringList{"DEBUTK|قسم", "TYPEEPREUVE:|ف", "FINK|||||1|0"};
    QTest::newRow("CR LF, no final line end")
        << QByteArray("a\r\nb'&<>\"\r\n\r\nc") << QStringList{"a", "b'&<>\"", "", "c"};
    QTest::newRow("nothing") << QByteArray() << QStringList();
}

void TestGradeFileCli::writeThenRead()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K.xml"));
    const Run written = runTool({QStringLiteral("write"), path}, input);
    QCOMPARE(written.status, 0);
    QCOMPARE(readAll(path), gradefile::rowsetBytes(lines));
    const Run read = runTool({QStringLiteral("lines"), path});
    QCOMPARE(read.status, 0);
    QCOMPARE(QString::fromUtf8(read.out), lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n');
}

void TestGradeFileCli::writeRefusesWhatCannotBeStored_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::newRow("line of 301 characters") << QByteArray("ok\n") + QByteArray(301, 'x') + "\n";
    QTest::newRow("control character") << QByteArray("DEBUTK|a\x01"
                                                     "b\n");
    QTest::newRow("not UTF-8") << QByteArray("DEBUTK|\xff\xfe\n");
}

void TestGradeFileCli::writeRefusesWhatCannotBeStored()
{
    QFETCH(QByteArray, input);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K.xml"));
    const QByteArray old = gradefile::rowsetBytes({QStringLiteral("DEBUTK|قديم")});
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(old);
    file.close();
    const Run run = runTool({QStringLiteral("write"), path}, input);
    QCOMPARE(run.status, 1);
    QVERIFY(!run.err.isEmpty());
    QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestGradeFileCli::checkDescribesEachFile()
{
    const Run run =
        runTool({QStringLiteral("check"), sample(kSubject), sample(kPlain), sample(kRenamed),
                 kExamples + QStringLiteral("/floppy/notes-personnelles.xml")});
    QCOMPARE(run.status, 0);
    const QStringList out = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(out.size(), 4);
    QVERIFY(out[0].startsWith(kSubject + QStringLiteral(".xml\tإعدادية ابن خلدون")));
    QVERIFY(out[0].endsWith(QStringLiteral("الثلاثي الأول")));
    QVERIFY(out[1].startsWith(kPlain + QStringLiteral(".xml\t")));
    QCOMPARE(out[2], kRenamed + QStringLiteral(".xml\tملف أعداد غير صحيح"));
    QCOMPARE(out[3], QStringLiteral("notes-personnelles.xml\tملف أعداد غير صحيح"));

    const Run missing =
        runTool({QStringLiteral("check"), QStringLiteral("/nonexistent/K.xml"), sample(kSubject)});
    QCOMPARE(missing.status, 1);
    QVERIFY(QString::fromUtf8(missing.out).startsWith(kSubject));
}

void TestGradeFileCli::showSubjectFile()
{
    const Run run = runTool({QStringLiteral("show"), sample(kSixExams)});
    QCOMPARE(run.status, 0);
    const QJsonObject object = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(object.value("key").toString(), kSixExams);
    QCOMPARE(object.value("kind").toString(), QStringLiteral("subject"));
    QCOMPARE(object.value("sheetKind").toString(), QStringLiteral("L"));
    QCOMPARE(object.value("year").toInt(), 2025);
    QCOMPARE(object.value("schoolYear").toString(), QStringLiteral("2026/2025"));
    QVERIFY(object.value("description").toString().endsWith(QStringLiteral("الثلاثي الثاني")));
    const QJsonObject headers = object.value("headers").toObject();
    QCOMPARE(headers.keys(), (QStringList{"1", "2", "3", "4", "5", "6"}));
    QCOMPARE(headers.value("6").toString(), QStringLiteral("فرض مراقبة 1"));
    const QJsonArray pupils = object.value("pupils").toArray();
    QCOMPARE(pupils.size(), 26);
    const QJsonObject first = pupils.first().toObject();
    QCOMPARE(first.keys(), (QStringList{"1", "10", "2", "3", "4", "5", "6", "7", "8", "9"}));
    QVERIFY(first.value("10").toString().contains(u'#'));
    const QJsonObject end = object.value("end").toObject();
    QCOMPARE(end.value("teacher").toString(), QStringLiteral("كريم بن صالح"));
    QCOMPARE(end.value("saveNumber").toInt(), 0);
    QCOMPARE(end.value("printNumber").toInt(), 7);
}

void TestGradeFileCli::showPlainFile()
{
    const Run run = runTool({QStringLiteral("show"), sample(kPlain)});
    QCOMPARE(run.status, 0);
    const QJsonObject object = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(object.value("kind").toString(), QStringLiteral("plain"));
    QCOMPARE(object.value("headers").toObject().value("1").toString(),
             QStringLiteral("المعدل السنوي"));
    QCOMPARE(object.value("pupils").toArray().size(), 28);
    QVERIFY(!object.contains("end"));
}

void TestGradeFileCli::showRefusesInvalidFile()
{
    const Run run = runTool({QStringLiteral("show"), sample(kRenamed)});
    QCOMPARE(run.status, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY(QString::fromUtf8(run.err).contains(QStringLiteral("ملف أعداد غير صحيح")));

    const Run notRowset = runTool(
        {QStringLiteral("show"), kExamples + QStringLiteral("/floppy/notes-personnelles.xml")});
    QCOMPARE(notRowset.status, 1);
    QVERIFY(!notRowset.err.isEmpty());
}

void TestGradeFileCli::csvIsTheSheetsCopy_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("three exams") << kSubject;
    QTest::newRow("six exams") << kSixExams;
}

// Byte for byte the copy the grade sheet's menu writes for the file as it opens.
void TestGradeFileCli::csvIsTheSheetsCopy()
{
    QFETCH(QString, key);
    const Run run = runTool({QStringLiteral("csv"), sample(key)});
    QCOMPARE(run.status, 0);
    QVERIFY(run.err.isEmpty());
    const gradefile::SheetTable table = openedSheetOf(sample(key));
    QVERIFY(table.size() > 1);
    QCOMPARE(run.out, sheet::sheetCsv(table, sheet::shownColumnsOf(table)));
}

void TestGradeFileCli::statsAreTheSheetsStatistics_data()
{
    csvIsTheSheetsCopy_data();
}

// One object per exam with a header, in column order, with exactly the documented keys.
void TestGradeFileCli::statsAreTheSheetsStatistics()
{
    QFETCH(QString, key);
    const Run run = runTool({QStringLiteral("stats"), sample(key)});
    QCOMPARE(run.status, 0);
    QJsonParseError error;
    const QJsonArray array = QJsonDocument::fromJson(run.out, &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const gradefile::SheetTable table = openedSheetOf(sample(key));
    const std::vector<sheet::ExamStatistics> expected =
        sheet::classStatistics(table, sheet::shownColumnsOf(table));
    QCOMPARE(array.size(), qsizetype(expected.size()));
    const QStringList keys{"absent", "column", "empty",  "exempt", "graded",  "header",
                           "max",    "mean",   "median", "min",    "noGrade", "under10"};
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonObject object = array[i].toObject();
        const sheet::ExamStatistics& exam = expected[size_t(i)];
        QCOMPARE(object.keys(), keys);
        QCOMPARE(object.value("column").toInt(), exam.column);
        QCOMPARE(object.value("header").toString(), exam.header);
        QCOMPARE(object.value("graded").toInt(), exam.graded);
        QCOMPARE(object.value("absent").toInt(), exam.absent);
        QCOMPARE(object.value("exempt").toInt(), exam.exempt);
        QCOMPARE(object.value("noGrade").toInt(), exam.noGrade);
        QCOMPARE(object.value("empty").toInt(), exam.empty);
        QCOMPARE(object.value("under10").toInt(), exam.under10);
        QCOMPARE(object.value("mean"), numberOrNull(exam.mean));
        QCOMPARE(object.value("median"), numberOrNull(exam.median));
        QCOMPARE(object.value("min"), numberOrNull(exam.min));
        QCOMPARE(object.value("max"), numberOrNull(exam.max));
    }
}

// Arabic, commas and quotes in the names, marks and an empty cell, counted by hand.
void TestGradeFileCli::csvAndStatsOfAFileOfOurOwn()
{
    QTemporaryDir dir;
    const QString path =
        writeSubjectFile(dir, {QStringLiteral("1|1|101|بن علي، \"الصغير\"|12.50|غ.ش."),
                               QStringLiteral("2|2|102|Ben Salah, Amine|07.00|معفى"),
                               QStringLiteral("3|3|103|سلمى|--.--|")});
    QVERIFY(!path.isEmpty());
    const Run csv = runTool({QStringLiteral("csv"), path});
    QCOMPARE(csv.status, 0);
    QCOMPARE(csv.out,
             QByteArray("\xEF\xBB\xBF") +
                 QStringLiteral("ع.ر,المعرف الو.,الإسم و اللقب,فرض مراقبة 1,فرض مراقبة 2\r\n"
                                "1,101,\"بن علي، \"\"الصغير\"\"\",12.50,غ.ش.\r\n"
                                "2,102,\"Ben Salah, Amine\",07.00,معفى\r\n"
                                "3,103,سلمى,--.--,\r\n")
                     .toUtf8());

    const Run stats = runTool({QStringLiteral("stats"), path});
    QCOMPARE(stats.status, 0);
    const QJsonArray array = QJsonDocument::fromJson(stats.out).array();
    QCOMPARE(array.size(), 2);
    const QJsonObject second = array[0].toObject();
    QCOMPARE(second.value("column").toInt(), 5);
    QCOMPARE(second.value("absent").toInt(), 1);
    QCOMPARE(second.value("exempt").toInt(), 1);
    QCOMPARE(second.value("empty").toInt(), 1);
    QCOMPARE(second.value("graded").toInt(), 0);
    QVERIFY(second.value("mean").isNull());
    const QJsonObject first = array[1].toObject();
    QCOMPARE(first.value("column").toInt(), 6);
    QCOMPARE(first.value("graded").toInt(), 2);
    QCOMPARE(first.value("noGrade").toInt(), 1);
    QCOMPARE(first.value("under10").toInt(), 1);
    QCOMPARE(first.value("mean").toDouble(), 9.75);
    QCOMPARE(first.value("median").toDouble(), 9.75);
    QCOMPARE(first.value("min").toDouble(), 7.0);
    QCOMPARE(first.value("max").toDouble(), 12.5);
}

void TestGradeFileCli::csvAndStatsOfAClassWithoutPupils()
{
    QTemporaryDir dir;
    const QString path = writeSubjectFile(dir, {});
    QVERIFY(!path.isEmpty());
    const Run csv = runTool({QStringLiteral("csv"), path});
    QCOMPARE(csv.status, 0);
    QCOMPARE(
        csv.out,
        QByteArray("\xEF\xBB\xBF") +
            QStringLiteral("ع.ر,المعرف الو.,الإسم و اللقب,فرض مراقبة 1,فرض مراقبة 2\r\n").toUtf8());
    const Run stats = runTool({QStringLiteral("stats"), path});
    QCOMPARE(stats.status, 0);
    const QJsonArray array = QJsonDocument::fromJson(stats.out).array();
    QCOMPARE(array.size(), 2);
    for (const QJsonValue& value : array) {
        const QJsonObject exam = value.toObject();
        for (const char* count : {"graded", "absent", "exempt", "noGrade", "empty", "under10"})
            QCOMPARE(exam.value(QLatin1String(count)), QJsonValue(0));
        for (const char* number : {"mean", "median", "min", "max"})
            QVERIFY(exam.value(QLatin1String(number)).isNull());
    }
}

void TestGradeFileCli::csvAndStatsRefusePlainAndInvalidFiles_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");
    for (const QString& command : {QStringLiteral("csv"), QStringLiteral("stats")}) {
        QTest::addRow("%s of a plain file", qPrintable(command))
            << command << sample(kPlain) << "not a subject grade file";
        QTest::addRow("%s of a renamed file", qPrintable(command))
            << command << sample(kRenamed) << "ملف أعداد غير صحيح";
        QTest::addRow("%s of a missing file", qPrintable(command))
            << command << "/nonexistent/K.xml"
            << "/nonexistent/K.xml";
    }
}

void TestGradeFileCli::csvAndStatsRefusePlainAndInvalidFiles()
{
    QFETCH(QString, command);
    QFETCH(QString, path);
    QFETCH(QString, message);
    const Run run = runTool({command, path});
    QCOMPARE(run.status, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
}

// Newest first, each with its save number, and a damaged copy marked as one.
void TestGradeFileCli::backupsListsKeptCopies()
{
    QTemporaryDir data;
    const recovery::KeptCopies copies(data.path());
    const QDateTime first = QDateTime::fromMSecsSinceEpoch(1741973405123, Qt::UTC);
    QVERIFY(!copies.keep(kSubject, readAll(sample(kSubject)), first).isError());
    QVERIFY(!copies.keep(kSubject, QByteArray("<xml>cut sh"), first.addSecs(60)).isError());

    const Run run =
        runTool({QStringLiteral("backups"), QStringLiteral("--data"), data.path(), kSubject});
    QCOMPARE(run.status, 0);
    const QJsonArray listed = QJsonDocument::fromJson(run.out).array();
    QCOMPARE(listed.size(), 2);
    QCOMPARE(listed[0][QStringLiteral("time")].toString(),
             QStringLiteral("2025-03-14T17:31:05.123Z"));
    QVERIFY(listed[0].toObject().contains(QStringLiteral("error")));
    QCOMPARE(listed[1][QStringLiteral("saveNumber")].toInt(), 3); // "...||3|2" ends the sample
    QCOMPARE(listed[1][QStringLiteral("pupilsWithGrades")].toInt(), 30);
    QVERIFY(listed[1][QStringLiteral("path")].toString().startsWith(data.path()));
}

void TestGradeFileCli::recoverPrintsUnsavedCells()
{
    QTemporaryDir data;
    const QString journals = recovery::journalsFolder(data.path());
    recovery::SessionJournal session(
        journals, {kSubject, recovery::canonicalDiskFolder(data.filePath(QStringLiteral("A"))),
                   QByteArray(64, 'a')});
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QVERIFY(!session
                 .record({{4, 1, QStringLiteral("7"), now},
                          {4, 1, QStringLiteral("07.00"), now},
                          {10, 2, QStringLiteral("3#حسن"), now}})
                 .isError());

    const Run run =
        runTool({QStringLiteral("recover"), QStringLiteral("--data"), data.path(), kSubject});
    QCOMPARE(run.status, 0);
    const QJsonObject printed = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(printed[QStringLiteral("key")].toString(), kSubject);
    const QJsonArray listed = printed[QStringLiteral("journals")].toArray();
    QCOMPARE(listed.size(), 1);
    const QJsonObject journal = listed[0].toObject();
    QCOMPARE(journal[QStringLiteral("state")].toString(), QStringLiteral("pending"));
    QCOMPARE(journal[QStringLiteral("path")].toString(), session.path());
    const QJsonArray cells = journal[QStringLiteral("cells")].toArray();
    QCOMPARE(cells.size(), 2);
    QCOMPARE(cells[0][QStringLiteral("text")].toString(), QStringLiteral("07.00"));
    QCOMPARE(cells[1][QStringLiteral("column")].toInt(), 10);
    QCOMPARE(cells[1][QStringLiteral("text")].toString(), QStringLiteral("3#حسن"));
}

// Without --data the tool looks where the program keeps its journals for the same user,
// though the tool runs under a name of its own.
void TestGradeFileCli::recoverFindsTheProgramsDataFolder()
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    const QString program = home.filePath(QStringLiteral("saisie-notes/saisie-notes"));
    recovery::SessionJournal session(
        recovery::journalsFolder(program),
        {kSubject, QStringLiteral("/media/floppy"), QByteArray(64, 'a')});
    QVERIFY(!session.record({{4, 1, QStringLiteral("07.00"), QDateTime::currentDateTimeUtc()}})
                 .isError());

    const Run run = runTool({QStringLiteral("recover"), kSubject}, {}, environment);
    QCOMPARE(run.status, 0);
    const QJsonObject printed = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(printed[QStringLiteral("dataFolder")].toString(), program);
    QCOMPARE(printed[QStringLiteral("journals")].toArray().size(), 1);
}

void TestGradeFileCli::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::newRow("nothing") << QStringList() << 2;
    QTest::newRow("help") << QStringList{"--help"} << 0;
    QTest::newRow("command help") << QStringList{"show", "--help"} << 0;
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2;
    QTest::newRow("lines without file") << QStringList{"lines"} << 2;
    QTest::newRow("show two files") << QStringList{"show", "a", "b"} << 2;
    QTest::newRow("csv without file") << QStringList{"csv"} << 2;
    QTest::newRow("stats help") << QStringList{"stats", "--help"} << 0;
    QTest::newRow("lines of a missing file") << QStringList{"lines", "/nonexistent/K.xml"} << 1;
    QTest::newRow("lines of a folder") << QStringList{"lines", "/"} << 1;
    QTest::newRow("backups without key") << QStringList{"backups"} << 2;
    QTest::newRow("recover with two keys") << QStringList{"recover", "a", "b"} << 2;
    QTest::newRow("recover help") << QStringList{"recover", "--help"} << 0;
}

void TestGradeFileCli::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    const Run run = runTool(arguments);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out.isEmpty(), status != 0);
    QCOMPARE(run.err.isEmpty(), status == 0);
}

QTEST_GUILESS_MAIN(TestGradeFileCli)
#include "tst_gradefilecli.moc"
