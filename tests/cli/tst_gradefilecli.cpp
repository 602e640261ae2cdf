// The gradefile tool, run as a separate process.
#include "../support/datatable.h"
#include "../support/filebytes.h"
#include "gradefile/gradefileio.h"
#include "gradefile/rowsetwriter.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

static const QString kExamples = QStringLiteral(SAISIE_EXAMPLES_DIR);
static const QString kSubject = u"8410203C07120002025"_s;
// The file written to: DIR/8410203C0712MOY2025.xml, which holds kOldLines before each run.
static const QString kWritten = u"8410203C0712MOY2025"_s;
static const QStringList kOldLines{u"DEBUTK|قديم"_s};

static QJsonValue jsonOf(const QByteArray& bytes)
{
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    return document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
}

// Whether actual holds everything expected holds: the keys of an object (others may be
// there too), each element of an array.
static bool jsonHas(const QJsonValue& actual, const QJsonValue& expected)
{
    bool has = actual.type() == expected.type();
    const QJsonObject object = expected.toObject();
    for (auto it = object.begin(); has && it != object.end(); ++it)
        has = jsonHas(actual[it.key()], it.value());
    const QJsonArray array = expected.toArray();
    has = has && actual.toArray().size() == array.size();
    for (qsizetype i = 0; has && i < array.size(); ++i)
        has = jsonHas(actual[i], array[i]);
    return has && (expected.isObject() || expected.isArray() || actual == expected);
}

class TestGradeFileCli : public QObject {
    Q_OBJECT

private slots:
    // Arguments name files in the samples folder (EX/) and in a folder of the test's own
    // (DIR/) that holds the file written to and a subject file of its own (see commands()).
    void commands_data()
    {
        // The output exactly, or the JSON it holds; part of the errors (when empty, none on
        // success); the lines of the file written to afterwards.
        const auto row = dataTable<QString, QByteArray, int, QByteArray, QString, QStringList>(
            {"arguments", "input", "status", "out", "err", "written"});
        const auto add = [&](const QString& arguments, int status, const QByteArray& out,
                             const QString& err = {}, const QByteArray& input = {},
                             const QStringList& written = kOldLines) {
            const QString tag =
                input.isEmpty() ? arguments : arguments + " < " + input.toPercentEncoding(" ");
            row(tag.left(60).toUtf8(), arguments, input, status, out, err, written);
        };
        for (const QString& file : QDir(kExamples + "/lines").entryList({u"*.txt"_s}))
            add("lines EX/" + file.chopped(4) + ".xml", 0, readBytes(kExamples + "/lines/" + file));
        // Only lines the program would open as the file of that name are written.
        const QString write = "write DIR/" + kWritten + ".xml";
        const auto lines = [](const QString& description, const QString& key = kWritten) {
            return ("DEBUT" + key + '|' + description + "\r\nTYPEEPREUVE:|x\r\nFIN" + key).toUtf8();
        };
        add(write, 0, {}, {}, lines(u"b'&<>\""_s),
            QString::fromUtf8(lines(u"b'&<>\""_s)).split("\r\n"));
        add(write, 1, {}, u"its start line does not name it"_s, {}); // nothing
        add(write, 1, {}, u"its start line does not name it"_s, lines(u"b"_s, kSubject));
        add(write, 1, {}, u"a line lacks fields"_s,
            lines(u"b"_s).replace("\r\nFIN", "\r\n\r\nFIN"));
        add(write, 1, {}, u"longer than a grade file line"_s, lines(QString(300, u'x')));
        add(write, 0, {}, {}, lines(u"a\x01z"_s),
            QString::fromUtf8(lines(u"a\x01z"_s)).split("\r\n"));
        add(write, 1, {}, u"not UTF-8"_s, "DEBUTK|\xff\xfe\n");
        add(u"check /nonexistent/K.xml"_s, 1, {}, u"/nonexistent"_s);
        add(u"show EX/8410203L09310002025.xml"_s, 0,
            R"({"kind": "subject", "sheetKind": "L", "year": 2025, "schoolYear": "2026/2025",
                "headers": {"6": "فرض مراقبة 1"}, "end": {"saveNumber": 0, "printNumber": 7}})");
        add(u"show EX/8410203C0712MOY2025.xml"_s, 0,
            R"({"kind": "plain", "headers": {"1": "المعدل السنوي"}})");
        add(u"csv DIR/8410203C07120002025.xml"_s, 0,
            u"\uFEFFع.ر,المعرف الو.,الإسم و اللقب,فرض مراقبة 1,فرض مراقبة 2\r\n"
            "1,101,\"بن علي، \"\"الصغير\"\"\",12.50,غ.ش.\r\n2,102,\"Ben, Amine\",07.00,معفى\r\n"
            "3,103,سلمى,--.--,\r\n"_s.toUtf8());
        add(u"stats DIR/8410203C07120002025.xml"_s, 0,
            R"([{"column": 6, "graded": 2, "noGrade": 1, "under10": 1, "mean": 9.75,
                 "median": 9.75, "min": 7, "max": 12.5},
                {"column": 5, "header": "فرض مراقبة 2", "graded": 0, "absent": 1, "exempt": 1,
                 "noGrade": 0, "empty": 1, "under10": 0, "mean": null, "median": null}])");
        // A sheet that cannot be read writes no workbook; nor does a folder that cannot be written.
        const auto reading = [](const QString& command, const QString& file) {
            return command + ' ' + file + (command == "xlsx" ? u" DIR/copy.xlsx"_s : QString());
        };
        for (const QString& command : {u"show"_s, u"csv"_s, u"stats"_s, u"xlsx"_s}) {
            add(reading(command, u"EX/8410203C07130002025.xml"_s), 1, {},
                u"not a valid grade file"_s);
            add(reading(command, u"/nonexistent/K.xml"_s), 1, {}, u"/nonexistent/K.xml"_s);
        }
        for (const QString& command : {u"csv"_s, u"stats"_s, u"xlsx"_s})
            add(reading(command, u"EX/8410203C0712MOY2025.xml"_s), 1, {},
                u"not a subject grade file"_s);
        add("xlsx DIR/" + kSubject + ".xml /nonexistent/copy.xlsx", 1, {},
            u"/nonexistent/copy.xlsx"_s);
        add(u"lines /"_s, 1, {}, u"not a regular file"_s);
        add(u"lines DIR/none.xml"_s, 1, {}, u"/none.xml: no such file"_s);
#ifndef Q_OS_WIN // a pipe is never opened: opening or reading it would wait for ever
        for (const QString& command : {u"lines"_s, u"show"_s, u"stats"_s, u"check"_s})
            add(command + " DIR/pipe.xml", 1, {}, u"pipe.xml: not a regular file"_s);
#endif
#ifndef Q_OS_WIN // where workbooks are a module of their own
        // A tool installed without its workbook module ("alone": a copy of it in DIR/bin/)
        // says so, and writes no workbook.
        add("alone xlsx DIR/" + kSubject + ".xml DIR/copy.xlsx", 1, {}, u"no workbook module"_s);
#endif
        // A source that cannot be read, or that names no pupil of the class, writes nothing.
        const QString import = "import --data DIR/data DIR/" + kSubject + ".xml DATA/";
        add(import + "none.csv --exam 1", 1, {}, u"cannot be read"_s);
        add(import + "class.csv --exam 1", 1, {}, u"no column of identifiers"_s);
        add(import + "class.csv --exam 3", 2, {}, u"shows exams 1 to 2"_s);
        add(u"bring-back --data DIR/ K~1~2.journal"_s, 1, {}, u"not brought back"_s); // not aside
        add(u"--help"_s, 0, "Usage: " GRADEFILE_TOOL " [options] COMMAND [ARGUMENTS]");
        for (const QString& wrong : {u""_s, u"frobnicate"_s, u"lines"_s, u"show a b"_s, u"xlsx a"_s,
                                     u"backups"_s, u"bring-back"_s, u"import a b"_s})
            add(wrong, 2, {});
    }
    // Every command's output and exit status; a refused write leaves the old file whole and
    // no piece of the new one.
    void commands()
    {
        QFETCH(QString, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        QFETCH(QStringList, written);
        QTemporaryDir dir;
        QVERIFY(gradefile::writeGradeFile(dir.filePath(kWritten + ".xml"), kOldLines).ok);
        QVERIFY(gradefile::writeGradeFile(dir.filePath(kSubject + ".xml"),
                                          {"DEBUT" + kSubject + "|إعدادية - [السابعة 2] - العربية",
                                           u"TYPEEPREUVE:|فرض مراقبة 1|فرض مراقبة 2"_s,
                                           u"1|1|101|بن علي، \"الصغير\"|12.50|غ.ش."_s,
                                           u"2|2|102|Ben, Amine|07.00|معفى"_s,
                                           u"3|3|103|سلمى|--.--|"_s, "FIN" + kSubject + "|||||0|0"})
                    .ok);
#ifndef Q_OS_WIN
        QVERIFY(mkfifo(QFile::encodeName(dir.filePath("pipe.xml")), 0600) == 0);
#endif
        QProcess process;
        arguments.replace("DIR/", dir.path() + '/').replace("EX/", kExamples + "/floppy/");
        arguments.replace("DATA/", SAISIE_IMPORT_DATA_DIR "/");
        QString tool = QStringLiteral(GRADEFILE_TOOL);
        if (arguments.startsWith(u"alone ")) {
            tool = dir.filePath(u"bin/gradefile"_s);
            QVERIFY(QDir(dir.path()).mkdir(u"bin"_s) && QFile::copy(GRADEFILE_TOOL, tool));
            arguments.remove(0, 6);
        }
        process.start(tool, arguments.split(' ', Qt::SkipEmptyParts));
        process.write(input);
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit);
        const QByteArray runOut = process.readAllStandardOutput();
        const QByteArray runErr = process.readAllStandardError();
        QTEST(process.exitCode(), "status");
        if (out.startsWith('{') || out.startsWith('['))
            QVERIFY2(jsonHas(jsonOf(runOut), jsonOf(out)), runOut.constData());
        else
            QCOMPARE(out.startsWith("Usage: ") ? runOut.left(out.size()) : runOut, out);
        QVERIFY2(err.isEmpty() ? runErr.isEmpty() == (process.exitCode() == 0)
                               : QString::fromUtf8(runErr).contains(err),
                 runErr.constData());
        QCOMPARE(readBytes(dir.filePath(kWritten + ".xml")), gradefile::rowsetBytes(written));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void import_data()
    {
        // The options, the source's name first; the summary; a pupil's line afterwards.
        const auto row =
            dataTable<QString, QByteArray, QString>({"options", "summary", "imported"});
        // The grade column found by its header; a refused value listed, not written; each written.
        row("by header", u"class.csv --exam 3"_s,
            R"({"matched": 4, "unknown": ["99999999"], "written": 3,
                   "refused": [{"identifier": "20250132", "exam": "فرض تأليفي 1", "value": "25"}],
                   "changed": [{"identifier": "20250145", "before": "--.--", "value": "14.00"},
                               {"value": "17.25"}, {"value": "غ.ش."}]})"_ba,
            u"1|3|20250145|سلمى الدريدي|00.00|10.00|14.00"_s);
        row("columns named", u"class.csv --exam 1 --id-column 2 --grade-column 3"_s,
            R"({"matched": 4, "written": 3, "refused": [], "changed": [{}, {}, {}]})"_ba,
            u"1|3|20250145|سلمى الدريدي|12.50|10.00|--.--"_s);
        // A workbook's boolean, percentage and date refused as the workbook shows them.
        row("values of other kinds", u"kinds.xlsx --exam 3"_s,
            R"({"matched": 4, "written": 1, "changed": [{}],
                   "refused": [{"value": "TRUE"}, {"value": "50%"}, {"value": "07/01/2025"}]})"_ba,
            u"3|4|20250158|خليل بن صالح|06.25|04.75|15.00"_s);
    }
    // The grade file written with the grades of the pupils the source names only, as the
    // program's save writes it, once the file as it was is kept; the summary as JSON.
    void import()
    {
        QFETCH(QString, options);
        QFETCH(QString, imported);
        QTemporaryDir dir;
        const QString file = dir.filePath(kSubject + ".xml");
        QVERIFY(QFile::copy(kExamples + "/floppy/" + kSubject + ".xml", file));
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
        const QByteArray before = readBytes(file);
        QProcess process;
        process.start(GRADEFILE_TOOL,
                      QStringList{u"import"_s, u"--data"_s, dir.filePath(u"data"_s), file} +
                          (SAISIE_IMPORT_DATA_DIR "/" + options).split(u' '));
        QVERIFY(process.waitForFinished(30000));
        if (process.readAllStandardError().contains("reads CSV files only"))
            QSKIP("this build reads no workbook");
        QCOMPARE(process.exitCode(), 0);
        QFETCH(QByteArray, summary);
        const QJsonValue printed = jsonOf(process.readAllStandardOutput());
        QVERIFY2(jsonHas(printed, jsonOf(summary)),
                 QJsonDocument(printed.toObject()).toJson().constData());
        QCOMPARE(printed[u"missing"].toArray().size(), 26);
        QCOMPARE(readBytes(printed[u"keptCopy"].toString()), before);
        const QStringList lines = gradefile::readGradeFile(file).lines.value_or(QStringList());
        QVERIFY(lines.contains(imported));
        QVERIFY(lines.contains(u"3|6|20250184|إيمان بن علي|08.00|09.50|--.--"_s)); // missing
    }
};

QTEST_GUILESS_MAIN(TestGradeFileCli)
#include "tst_gradefilecli.moc"
