// The gradefile tool, run as a separate process.
#include "../support/datatable.h"
#include "../support/filebytes.h"
#include "core/gradefile/gradefileio.h"
#include "core/gradefile/rowsetwriter.h"

#include <QtTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

static const QString kExamples = QStringLiteral(SAISIE_EXAMPLES_DIR);
static const QString kSubject = u"8410203C07120002025"_s;
// The file written to: DIR/8410203C0712MOY2025.xml, which holds kOldLines before each run.
static const QString kWritten = u"8410203C0712MOY2025"_s;
static const QStringList kOldLines{u"DEBUTK|قديم"_s};

// Whether actual holds everything expected holds: the keys of an object (others may be
// there too), each element of an array.
static bool jsonHas(const QJsonValue& actual, const QJsonValue& expected)
{
    bool has =
        actual.type() == expected.type() && actual.toArray().size() == expected.toArray().size();
    for (const QString& key : expected.toObject().keys())
        has = has && jsonHas(actual[key], expected[key]);
    for (qsizetype i = 0; i < expected.toArray().size(); ++i)
        has = has && jsonHas(actual[i], expected[i]);
    return has && (expected.isObject() || expected.isArray() || actual == expected);
}

class TestGradeFileCli : public QObject {
    Q_OBJECT
    // The object or the array text holds.
    QJsonValue jsonOf(const QByteArray& t) { return QJsonDocument::fromJson('[' + t + ']')[0]; }

private slots:
    // Arguments name files in the samples folder (EX/) and in the test's own (DIR/): the file
    // written to, a subject file of its own and class/, a copy of the sample class's (commands()).
    void commands_data()
    {
        // The output exactly, or the JSON it holds; part of the errors (when empty, none on
        // success); lines the class's file holds afterwards.
        const auto row = dataTable<QString, QByteArray, int, QByteArray, QString, QStringList>(
            {"arguments", "input", "status", "out", "err", "holds"});
        const auto add = [&](const QString& arguments, int status, const QByteArray& out,
                             const QString& err = {}, const QByteArray& input = {},
                             const QStringList& holds = {}) {
            const QString tag =
                input.isEmpty() ? arguments : arguments + " < " + input.toPercentEncoding(" ");
            row(tag.left(90).toUtf8(), arguments, input, status, out, err, holds);
        };
        for (const QString& file : QDir(kExamples + "/lines").entryList({u"*.txt"_s}))
            add("lines EX/" + file.chopped(4) + ".xml", 0, readBytes(kExamples + "/lines/" + file));
        // Only lines the program would open as the file of that name are written.
        const QString write = "write DIR/" + kWritten + ".xml";
        const auto lines = [](const QString& description, const QString& key = kWritten) {
            return ("DEBUT" + key + '|' + description + "\r\nTYPEEPREUVE:|x\r\nFIN" + key).toUtf8();
        };
        add(write, 0, {}, {}, lines(u"b'&<>\""_s));
        add(write, 1, {}, u"its start line does not name it"_s, {}); // nothing
        add(write, 1, {}, u"its start line does not name it"_s, lines(u"b"_s, kSubject));
        add(write, 1, {}, u"a line lacks fields"_s, lines(u"b"_s).replace("\nFIN", "\n\r\nFIN"));
        add(write, 1, {}, u"longer than a grade file line"_s, lines(QString(300, u'x')));
        add(write, 0, {}, {}, lines(u"a\x01z"_s));
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
                 "median": 9.75, "min": 7, "max": 12.5,
                 "distribution": [0, 0, 0, 1, 0, 0, 1, 0, 0, 0]},
                {"column": 5, "header": "فرض مراقبة 2", "graded": 0, "absent": 1, "exempt": 1,
                 "noGrade": 0, "empty": 1, "under10": 0, "mean": null, "median": null,
                 "distribution": [0, 0, 0, 0, 0, 0, 0, 0, 0, 0]}])");
        // A sheet that cannot be read writes no workbook; nor does a folder that cannot be written.
        for (const QString& command : {u"show"_s, u"csv"_s, u"stats"_s, u"xlsx"_s}) {
            const QString out = command == "xlsx" ? u" DIR/copy.xlsx"_s : QString();
            add(command + " EX/8410203C07130002025.xml" + out, 1, {}, u"not a valid grade file"_s);
            add(command + " /nonexistent/K.xml" + out, 1, {}, u"/nonexistent/K.xml"_s);
            if (command != "show")
                add(command + " EX/8410203C0712MOY2025.xml" + out, 1, {},
                    u"not a subject grade file"_s);
        }
        add("xlsx DIR/" + kSubject + ".xml /nonexistent/copy.xlsx", 1, {},
            u"/nonexistent/copy.xlsx: no such folder"_s);
        add("xlsx DIR/" + kSubject + ".xml DIR/class", 1, {}, u"a folder, not a file"_s);
        add(u"lines /"_s, 1, {}, u"/: a folder, not a file"_s);
        add(u"lines DIR/none.xml"_s, 1, {}, u"/none.xml: no such file"_s);
#ifndef Q_OS_WIN // a pipe is never opened: opening or reading it would wait for ever
        for (const QString& command : {u"lines"_s, u"show"_s, u"stats"_s, u"check"_s})
            add(command + " DIR/pipe.xml", 1, {}, u"pipe.xml: not a regular file"_s);
        // Where workbooks are a module of their own, a tool installed without its workbook module
        // ("alone": a copy of it in DIR/bin/) says so, and writes no workbook.
        add("alone xlsx DIR/" + kSubject + ".xml DIR/copy.xlsx", 1, {}, u"no workbook module"_s);
#endif
        // A source that cannot be read, or that names no pupil of the class, writes nothing.
        const QString import = "import --data DIR/data DIR/" + kSubject + ".xml DATA/";
        add(import + "none.csv --exam 1", 1, {}, u"none.csv: no such file"_s);
        add(import + "class.csv --exam 1", 1, {}, u"no column of identifiers"_s);
        add(import + "class.csv --exam 3", 2, {}, u"shows exams 1 to 2"_s);
        // Only the grades of the pupils the source names, written by the program's save once the
        // file as it was is kept; the grade column by its header; refused values listed, unwritten.
        const QString toClass = "import --data DIR/data DIR/class/" + kSubject + ".xml DATA/";
        const QString untouched = u"3|6|20250184|إيمان بن علي|08.00|09.50|--.--"_s; // missing
        add(toClass + "class.csv --exam 3", 0,
            R"({"matched": 4, "unknown": ["99999999"], "written": 3,
                "refused": [{"identifier": "20250132", "exam": "فرض تأليفي 1", "value": "25"}],
                "changed": [{"identifier": "20250145", "before": "--.--", "value": "14.00"},
                            {"value": "17.25"}, {"value": "غ.ش."}]})",
            {}, {}, {u"1|3|20250145|سلمى الدريدي|00.00|10.00|14.00"_s, untouched});
        add(toClass + "class.csv --exam 1 --id-column 2 --grade-column 3", 0,
            R"({"matched": 4, "written": 3, "refused": [], "changed": [{}, {}, {}]})", {}, {},
            {u"1|3|20250145|سلمى الدريدي|12.50|10.00|--.--"_s, untouched});
        // A workbook's boolean, percentage and date refused as the workbook shows them.
        add(toClass + "kinds.xlsx --exam 3", 0,
            R"({"matched": 4, "written": 1, "changed": [{}],
                "refused": [{"value": "TRUE"}, {"value": "50%"}, {"value": "07/01/2025"}]})",
            {}, {}, {u"3|4|20250158|خليل بن صالح|06.25|04.75|15.00"_s, untouched});
        add(u"bring-back --data DIR/ K~1~2.journal"_s, 1, {}, u"not brought back"_s); // not aside
        add(u"--help"_s, 0, "Usage: " GRADEFILE_TOOL " [options] COMMAND [ARGUMENTS]");
        add(u"import --help"_s, 0, "Usage: " GRADEFILE_TOOL " [options] import FILE SOURCE");
        for (const QString& wrong : {u""_s, u"frobnicate"_s, u"lines"_s, u"show a b"_s, u"xlsx a"_s,
                                     u"backups"_s, u"bring-back"_s, u"import a b"_s})
            add(wrong, 2, {});
    }
    // Every command's output and exit status; a refused write leaves the old file whole and
    // no piece of the new one.
    void commands()
    {
        auto [arguments, input, out, err, holds] =
            fetchRow<QString, QByteArray, QByteArray, QString, QStringList>(
                {"arguments", "input", "out", "err", "holds"});
        QTemporaryDir dir;
        const QString sample = kExamples + "/floppy/" + kSubject + ".xml";
        const QString classFile = dir.filePath("class/" + kSubject + ".xml");
        QVERIFY(QDir(dir.path()).mkdir(u"class"_s) && writeBytes(classFile, readBytes(sample)));
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
        const bool alone = arguments.startsWith(u"alone ");
        const QString tool = alone ? dir.filePath(u"bin/gradefile"_s) : GRADEFILE_TOOL;
        QVERIFY(!alone || (QDir(dir.path()).mkdir(u"bin"_s) && QFile::copy(GRADEFILE_TOOL, tool)));
        process.start(tool, arguments.mid(alone ? 6 : 0).split(' ', Qt::SkipEmptyParts));
        process.write(input);
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit);
        const QByteArray runOut = process.readAllStandardOutput();
        const QByteArray runErr = process.readAllStandardError();
        if (runErr.contains("reads CSV files only"))
            QSKIP("this build reads no workbook");
        QTEST(process.exitCode(), "status");
        if (out.startsWith('{') || out.startsWith('['))
            QVERIFY2(jsonHas(jsonOf(runOut), jsonOf(out)), runOut.constData());
        else
            QCOMPARE(out.startsWith("Usage: ")
                         ? QDir::fromNativeSeparators(QString::fromUtf8(runOut))
                               .toUtf8()
                               .left(out.size())
                         : runOut,
                     out);
        QVERIFY2(err.isEmpty() ? runErr.isEmpty() == (process.exitCode() == 0)
                               : QString::fromUtf8(runErr).contains(err),
                 runErr.constData());
        // A write that succeeds leaves its input's lines in the file; all else leaves it whole.
        const bool wrote = process.exitCode() == 0 && !input.isEmpty();
        const QStringList written = wrote ? QString::fromUtf8(input).split("\r\n") : kOldLines;
        QCOMPARE(readBytes(dir.filePath(kWritten + ".xml")), gradefile::rowsetBytes(written));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        const QStringList lines = gradefile::readGradeFile(classFile).lines.value_or(QStringList{});
        for (const QString& line : holds)
            QVERIFY2(lines.contains(line), qPrintable(line));
        // An import that wrote kept the file as it was first; 26 of the class's 30 pupils missing.
        QVERIFY(holds.isEmpty() ||
                (readBytes(jsonOf(runOut)[u"keptCopy"].toString()) == readBytes(sample) &&
                 jsonOf(runOut)[u"missing"].toArray().size() == 26));
    }
};

QTEST_GUILESS_MAIN(TestGradeFileCli)
#include "tst_gradefilecli.moc"
