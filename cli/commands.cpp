#include "cli/commands.h"

#include "cli/json.h"
#include "core/copies/classstatistics.h"
#include "core/copies/gradeimport.h"
#include "core/copies/listedfile.h"
#include "core/copies/sheetcsv.h"
#include "core/copies/sheetxlsx.h"
#include "core/disk/gradedisk.h"
#include "core/gradefile/gradefileio.h"
#include "core/gradefile/rowsetwriter.h"
#include "core/recovery/datafolder.h"
#include "core/recovery/keptcopies.h"
#include "core/recovery/pendingchanges.h"
#include "core/sheet/openedsheet.h"
#include "core/sheet/sheetdocument.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace cli {

namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;

const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")},
                               QStringLiteral("print this help"));
const QCommandLineOption kData(
    QStringLiteral("data"),
    QStringLiteral("the program's data folder (by default the one saisie-notes uses for the user "
                   "running the tool)"),
    QStringLiteral("FOLDER"));
const QCommandLineOption kExam(
    QStringLiteral("exam"),
    QStringLiteral("the exam as the teacher sees it: 1 is the first exam the grade sheet shows "
                   "(required)"),
    QStringLiteral("N"));
const QCommandLineOption kIdColumn(
    QStringLiteral("id-column"),
    QStringLiteral("SOURCE's column of identifiers, a number (1 is the first column) or a "
                   "header; by default the one that holds the most identifiers of the class"),
    QStringLiteral("C"));
const QCommandLineOption kGradeColumn(
    QStringLiteral("grade-column"),
    QStringLiteral("SOURCE's column of grades, a number or a header; by default the one headed "
                   "like exam N"),
    QStringLiteral("G"));

void print(std::FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

void printJson(const QJsonDocument& json)
{
    print(stdout, json.toJson());
}

int fail(const QString& message)
{
    print(stderr, QStringLiteral("gradefile: %1\n").arg(message).toUtf8());
    return kFailure;
}

int fail(const QString& path, const QString& reason)
{
    return fail(path + QLatin1String(": ") + reason);
}

int help(const QCommandLineParser& parser)
{
    print(stdout, parser.helpText().toUtf8());
    return kSuccess;
}

int usage(const QCommandLineParser& parser, const QString& message)
{
    print(stderr, QStringLiteral("gradefile: %1\n\n%2").arg(message, parser.helpText()).toUtf8());
    return kUsage;
}

// The tool speaks English to the administrators who run it: the program's own descriptions
// are French, for the teacher's messages and the support team.
QString malformedReason(int number)
{
    namespace n = gradefile::errorNumber;
    switch (number) {
    case n::kInvalidCall:
        return QStringLiteral("a line lacks fields it must have");
    case n::kOverflow:
        return QStringLiteral("a counter or year is out of its range");
    case n::kTypeMismatch:
        return QStringLiteral("the year is not a number");
    case n::kNoCurrentRecord:
        return QStringLiteral("the lines end before a line a grade file needs");
    default:
        return QStringLiteral("not a grade file's rowset");
    }
}

QString englishReason(const gradefile::FileError& error)
{
    using Kind = gradefile::FileErrorKind;
    switch (error.kind) {
    case Kind::NoDisk:
        return QStringLiteral("no such file or folder");
    case Kind::AccessDenied:
        return QStringLiteral("access denied");
    case Kind::DeviceNotReady:
        return QStringLiteral("the device is not ready");
    case Kind::FileExists:
        return QStringLiteral("the file exists and cannot be replaced");
    case Kind::PermissionDenied:
        return QStringLiteral("write-protected");
    case Kind::PathAccess:
        return QStringLiteral("the path cannot be written");
    case Kind::DiskFull:
        return QStringLiteral("the disk is full");
    case Kind::NameTooLong:
        return QStringLiteral("the path is too long");
    case Kind::InUse:
        return QStringLiteral("another program holds it open");
    case Kind::Malformed:
        return malformedReason(error.number);
    case Kind::NotAGradeFile:
        return QStringLiteral("not a valid grade file: its start line does not name it");
    case Kind::OtherVersion:
        return QStringLiteral("written by another version of saisie-notes");
    case Kind::OtherFile:
        return QStringLiteral("it belongs to another grade file");
    case Kind::ChangedOnDisk:
        return QStringLiteral("the grade file changed on its disk");
    case Kind::NoFile:
        return QStringLiteral("no such file");
    case Kind::NotAFile:
        return QStringLiteral("not a regular file (a folder, a pipe or a device)");
    case Kind::None:
    case Kind::Other:
        break;
    }
    return QStringLiteral("unexpected error");
}

QString describeError(const gradefile::FileError& error)
{
    if (error.number == 0)
        return englishReason(error);
    return QStringLiteral("%1 (error %2)").arg(englishReason(error)).arg(error.number);
}

// A path the system refused, named plainly where the path itself shows what is wrong.
QString pathProblem(const QString& path, bool writing)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("a folder, not a file");
    if (!info.absoluteDir().exists())
        return QStringLiteral("no such folder");
    if (!info.exists())
        return writing ? QString() : QStringLiteral("no such file");
    if (!info.isFile())
        return QStringLiteral("not a regular file (a pipe or a device)");
    if (!writing && !info.isReadable())
        return QStringLiteral("no permission to read it");
    return {};
}

int failOnPath(const QString& path, const gradefile::FileError& error, bool writing = false)
{
    const QString problem = pathProblem(path, writing);
    return fail(path, problem.isEmpty() ? describeError(error) : problem);
}

QString sourceReason(sheet::SourceError error)
{
    switch (error) {
    case sheet::SourceError::Unreadable:
        return QStringLiteral("cannot be read");
    case sheet::SourceError::TooLarge:
        return QStringLiteral("too large to hold a class's grades");
    case sheet::SourceError::NotAWorkbook:
        return QStringLiteral("not a readable .xlsx workbook");
    case sheet::SourceError::NoSheet:
        return QStringLiteral("the workbook has no sheet to read");
    case sheet::SourceError::NoWorkbookReader:
        return QStringLiteral("this build reads CSV files only");
    case sheet::SourceError::None:
        break;
    }
    return QStringLiteral("unexpected error");
}

// A command line past its command: the operands in the number the command takes.
struct Call {
    const QCommandLineParser& parser;
    QStringList operands;

    int usage(const QString& message) const { return cli::usage(parser, message); }
    QString dataFolder() const
    {
        return parser.isSet(kData) ? parser.value(kData) : recovery::defaultDataFolder();
    }
};

// The readers below report their failure on standard error and return nothing.

std::optional<QStringList> readLines(const QString& path)
{
    const gradefile::GradeFileRead read = gradefile::readGradeFile(path);
    if (!read.lines)
        failOnPath(path, read.error);
    return read.lines;
}

// csv, xlsx, stats and import read subject files only: only those have exams.
std::optional<gradefile::GradeDocument> checkedDocument(const QString& path,
                                                        gradefile::DocumentRead read, bool subject)
{
    if (!read.document)
        failOnPath(path, read.error);
    else if (subject && read.document->kind != gradefile::SheetKind::Subject)
        fail(path, QStringLiteral("not a subject grade file; only those have a grade sheet with "
                                  "exams"));
    else
        return std::move(read.document);
    return std::nullopt;
}

std::optional<gradefile::GradeDocument> readDocument(const QString& path, bool subject = false)
{
    const std::optional<QStringList> lines = readLines(path);
    if (!lines)
        return std::nullopt;
    return checkedDocument(path, gradefile::readGradeDocument(QFileInfo(path).fileName(), *lines),
                           subject);
}

// The grade sheet as the window shows it when the file is opened.
std::unique_ptr<sheet::GradeSheet> readSheet(const QString& path)
{
    const std::optional<gradefile::GradeDocument> document = readDocument(path, true);
    if (!document)
        return nullptr;
    auto grades = std::make_unique<sheet::GradeSheet>();
    grades->reset(sheet::openedSheetTable(*document));
    return grades;
}

int linesCommand(const Call& call)
{
    const std::optional<QStringList> lines = readLines(call.operands[0]);
    for (const QString& line : lines.value_or(QStringList()))
        print(stdout, (line + u'\n').toUtf8());
    return lines ? kSuccess : kFailure;
}

QStringList splitInputLines(const QByteArray& input)
{
    QString text = QString::fromUtf8(input);
    if (text.isEmpty())
        return {};
    if (text.endsWith(u'\n'))
        text.chop(1);
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

int writeCommand(const Call& call)
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read standard input"));
    const QByteArray bytes = input.readAll();
    if (QString::fromUtf8(bytes).toUtf8() != bytes)
        return fail(QStringLiteral("standard input is not UTF-8 text"));
    const QString& path = call.operands[0];
    const QStringList lines = splitInputLines(bytes);
    if (gradefile::findUnwritableLine(lines))
        return fail(path, QStringLiteral("a line is longer than a grade file line may be (300 "
                                         "characters), or holds a broken character"));
    // Only what the program and the administration can open again is written.
    const gradefile::DocumentRead read =
        gradefile::readGradeDocument(QFileInfo(path).fileName(), lines);
    if (!read.document)
        return fail(path, QStringLiteral("the lines are not a grade file of this name: ") +
                              describeError(read.error));
    const gradefile::SafeWriteResult written = gradefile::writeGradeFile(path, lines);
    return written.ok ? kSuccess : failOnPath(path, written.error, true);
}

int checkCommand(const Call& call)
{
    int status = kSuccess;
    for (const QString& path : call.operands) {
        const QFileInfo info(path);
        if (const QString problem = pathProblem(path, false); !problem.isEmpty()) {
            status = fail(path, problem);
            continue;
        }
        const QString description =
            sheet::listedFile(gradefile::GradeDisk(info.absolutePath()), info.fileName())
                .description;
        print(stdout, (info.fileName() + u'\t' + description + u'\n').toUtf8());
    }
    return status;
}

int showCommand(const Call& call)
{
    const std::optional<gradefile::GradeDocument> document = readDocument(call.operands[0]);
    if (document)
        printJson(QJsonDocument(documentToJson(*document)));
    return document ? kSuccess : kFailure;
}

int csvCommand(const Call& call)
{
    const std::unique_ptr<sheet::GradeSheet> grades = readSheet(call.operands[0]);
    if (grades)
        print(stdout, sheet::sheetCsv(*grades));
    return grades ? kSuccess : kFailure;
}

int xlsxCommand(const Call& call)
{
    const std::unique_ptr<sheet::GradeSheet> grades = readSheet(call.operands[0]);
    if (!grades)
        return kFailure;
    const gradefile::SafeWriteResult written = sheet::writeSheetXlsx(call.operands[1], *grades);
    return written.ok ? kSuccess : failOnPath(call.operands[1], written.error, true);
}

int statsCommand(const Call& call)
{
    const std::unique_ptr<sheet::GradeSheet> grades = readSheet(call.operands[0]);
    if (grades)
        printJson(QJsonDocument(statisticsToJson(sheet::classStatistics(*grades))));
    return grades ? kSuccess : kFailure;
}

int backupsCommand(const Call& call)
{
    if (call.operands[0].isEmpty())
        return call.usage(QStringLiteral("the KEY is empty"));
    printJson(QJsonDocument(keptCopiesToJson(call.dataFolder(), call.operands[0])));
    return kSuccess;
}

int recoverCommand(const Call& call)
{
    if (call.operands[0].isEmpty())
        return call.usage(QStringLiteral("the KEY is empty"));
    printJson(QJsonDocument(journalsToJson(call.dataFolder(), call.operands[0])));
    return kSuccess;
}

int bringBackCommand(const Call& call)
{
    const QString& journal = call.operands[0];
    if (journal.isEmpty())
        return call.usage(QStringLiteral("the JOURNAL is empty"));
    if (!recovery::bringBack(journal, call.dataFolder()).isError())
        return kSuccess;
    return fail(journal, QStringLiteral("not brought back: it is not a readable journal set "
                                        "aside, or its name is taken among the journals"));
}

// A column of the source by its number from 1, or by its header.
std::optional<int> sourceColumn(const sheet::SourceRows& source, const QString& named)
{
    const QStringList headers = source.empty() ? QStringList() : source.front();
    bool isNumber = false;
    int column = named.toInt(&isNumber) - 1;
    if (!isNumber) {
        const auto header = std::find_if(headers.cbegin(), headers.cend(), [&](const QString& h) {
            return h.simplified() == named.simplified();
        });
        column = int(header - headers.cbegin());
    }
    return column >= 0 && column < headers.size() ? std::optional<int>(column) : std::nullopt;
}

// Why the imported sheet could not be written over its file by the program's own save, once
// the file as it was is kept in the data folder; empty once written.
QString saveImported(sheet::SheetDocument& document, const gradefile::GradeDisk& disk,
                     const QString& dataFolder)
{
    const gradefile::FileToReplace found = disk.fileToReplace(document.file());
    if (found.error.isError())
        return describeError(found.error);
    if (recovery::KeptCopies(dataFolder).keep(document.key(), disk.folder(), found.bytes).isError())
        return QStringLiteral("no copy could be kept in ") + dataFolder;
    const gradefile::FileError saved = document.save(disk, document.cardTexts().saveNumber);
    return saved.isError() ? describeError(saved) : QString();
}

int importCommand(const Call& call)
{
    if (call.parser.value(kExam).isEmpty())
        return call.usage(QStringLiteral("import takes --exam N"));
    const QString& path = call.operands[0];
    const QString& sourcePath = call.operands[1];
    // Opened from its disk folder as the window opens it, for the program's save to write it.
    const gradefile::GradeDisk disk(QFileInfo(path).absolutePath());
    const std::optional<gradefile::GradeDocument> document =
        checkedDocument(path, disk.open(QFileInfo(path).fileName()), true);
    if (!document)
        return kFailure;
    const sheet::SourceRead source = sheet::readGradeSource(sourcePath);
    if (const QString problem = pathProblem(sourcePath, false); !problem.isEmpty())
        return fail(sourcePath, problem);
    if (source.error != sheet::SourceError::None)
        return fail(sourcePath, sourceReason(source.error));
    sheet::SheetDocument imported;
    imported.open(*document);
    if (imported.cannotBeSaved())
        return fail(path, QStringLiteral("cannot be saved: a line is longer than a grade file "
                                         "line may be (300 characters)"));
    sheet::GradeSheet& grades = imported.sheet();
    const std::vector<sheet::ImportExam> exams = sheet::importExams(grades);
    const int examNumber = call.parser.value(kExam).toInt();
    if (examNumber < 1 || examNumber > int(exams.size()))
        return call.usage(
            QStringLiteral("--exam N: %1 shows exams 1 to %2").arg(path).arg(exams.size()));
    const sheet::ImportExam& exam = exams.at(size_t(examNumber - 1));
    const QString namedIdentifiers = call.parser.value(kIdColumn);
    const QString namedGrades = call.parser.value(kGradeColumn);
    const std::optional<int> identifiers = namedIdentifiers.isEmpty()
                                               ? sheet::guessIdentifierColumn(source.rows, grades)
                                               : sourceColumn(source.rows, namedIdentifiers);
    std::optional<int> gradeColumn;
    if (identifiers && !namedGrades.isEmpty()) {
        gradeColumn = sourceColumn(source.rows, namedGrades);
    } else if (identifiers) {
        const std::vector<int> byHeader =
            sheet::examColumnsByHeader(source.rows, exams, *identifiers);
        const auto headed = std::find(byHeader.cbegin(), byHeader.cend(), exam.exam);
        if (headed != byHeader.cend())
            gradeColumn = int(headed - byHeader.cbegin());
    }
    if (!identifiers || !gradeColumn || *gradeColumn == *identifiers)
        return fail(sourcePath,
                    QStringLiteral("no column of %1 (give %2)")
                        .arg(identifiers ? QStringLiteral("grades headed '%1'").arg(exam.header)
                                         : QStringLiteral("identifiers of the class"),
                             identifiers ? QStringLiteral("--grade-column")
                                         : QStringLiteral("--id-column")));
    sheet::ImportChoice choice{*identifiers,
                               std::vector<int>(source.rows.front().size(), sheet::kNoExam)};
    choice.examOfColumn[size_t(*gradeColumn)] = exam.exam;
    const sheet::ImportPlan plan = sheet::planImport(source.rows, grades, choice);
    for (const sheet::GradeWrite& write : plan.writes)
        grades.setData(grades.indexOf(sheet::GradeSheet::gradeCell(write.pupil, write.exam)),
                       write.text);
    QJsonObject summary = importPlanToJson(plan);
    QJsonValue keptCopy; // null when nothing was written
    if (!plan.writes.empty()) {
        const QString notWritten = saveImported(imported, disk, call.dataFolder());
        if (!notWritten.isEmpty())
            return fail(path, QStringLiteral("not written: ") + notWritten);
        keptCopy = recovery::KeptCopies(call.dataFolder()).list(imported.key()).front().path;
    }
    summary.insert(QStringLiteral("keptCopy"), keptCopy);
    printJson(QJsonDocument(summary));
    return kSuccess;
}

struct Command {
    const char* name;
    const char* operands; // "..." after the last one: one or more
    int (*run)(const Call&);
    QString summary;
    QString about;
    QList<QCommandLineOption> options = {};
};

} // namespace

int runCommand(const QStringList& arguments)
{
    const QList<QCommandLineOption> data{kData};
    const QList<QCommandLineOption> importOptions{kData, kExam, kIdColumn, kGradeColumn};
    const Command commands[] = {
        {"lines", "FILE", linesCommand,
         QStringLiteral("print the lines of a grade file, one per output line"),
         QStringLiteral("Prints the lines of the grade file FILE, one per\n"
                        "output line, in order (UTF-8).")},
        {"write", "FILE", writeCommand,
         QStringLiteral("write the lines read from standard input as a grade file"),
         QStringLiteral("Reads lines from standard input (UTF-8, LF or CR LF line ends)\n"
                        "and writes them as the grade file FILE. Lines that saisie-notes\n"
                        "would not open as the grade file of FILE's name (its start line,\n"
                        "the exams line of a subject file, the end line) are refused with\n"
                        "the reason. The old file is replaced only once the new content\n"
                        "is safely on the disk; on any failure it is left as it was.")},
        {"check", "FILE...", checkCommand,
         QStringLiteral("print each file's name, a TAB and its description in the file list"),
         QStringLiteral("For each FILE prints its name, a TAB, and the\n"
                        "description the program's file list shows for it: the\n"
                        "start line's description, or the invalid-file text.")},
        {"show", "FILE", showCommand,
         QStringLiteral("print a grade file as the program opens it, as JSON"),
         QStringLiteral("Prints the grade file FILE as the program opens it, as one JSON\n"
                        "object: key, kind, sheetKind, year, schoolYear, description,\n"
                        "headers, pupils and, for a subject file with an end line, end.")},
        {"csv", "FILE", csvCommand,
         QStringLiteral("print the grade sheet of a subject grade file as CSV"),
         QStringLiteral("Prints the grade sheet of the subject grade file FILE as the\n"
                        "program's CSV copy of it: UTF-8 with a byte order mark, the\n"
                        "columns the sheet shows in reading order (order number,\n"
                        "identifier, name, then the exams from the first one), a line\n"
                        "of headers and one line per pupil, lines ending with CR LF.")},
        {"xlsx", "FILE OUT", xlsxCommand,
         QStringLiteral("write the grade sheet of a subject grade file as an Excel workbook"),
         QStringLiteral("Writes the grade sheet of the subject grade file FILE to OUT as the\n"
                        "program's Excel copy of it: a right-to-left sheet with the columns of\n"
                        "the CSV copy under a frozen row of headers, the grades as numbers\n"
                        "shown 00.00, the marks, the identifiers and the names as texts; and a\n"
                        "sheet with the class statistics (counts, then mean, median, min and\n"
                        "max as numbers shown 00.00). An old OUT is replaced only once the new\n"
                        "one is safely on the disk; on any failure it is left as it was.")},
        {"stats", "FILE", statsCommand,
         QStringLiteral("print the class statistics of a subject grade file, as JSON"),
         QStringLiteral("Prints the class statistics of the subject grade file FILE as a\n"
                        "JSON array: one object per shown exam column with a header, the\n"
                        "first exam first (as csv has them), with the keys column, header,\n"
                        "graded, absent, exempt, noGrade, empty, under10 (counts) and\n"
                        "mean, median, min, max (numbers, null when no pupil has a grade).")},
        {"backups", "KEY", backupsCommand,
         QStringLiteral("list the kept copies of the grade file KEY, as JSON"),
         QStringLiteral("Lists, newest first, the copies saisie-notes kept of the\n"
                        "grade file KEY before its saves replaced it, from every disk,\n"
                        "as a JSON array: path, time (UTC), saveNumber, diskFolder\n"
                        "(the folder of the disk it was kept from, empty when not\n"
                        "known) and, for a copy that cannot be brought back, error."),
         data},
        {"recover", "KEY", recoverCommand,
         QStringLiteral("print the unsaved cells the journals of KEY hold, as JSON"),
         QStringLiteral("Prints the journals of unsaved changes saisie-notes holds for the\n"
                        "grade file KEY, on any disk, as one JSON object: key, dataFolder\n"
                        "and journals, each with path, state (pending, empty, damaged,\n"
                        "other version, other file, unreadable), aside (set aside because\n"
                        "the file changed on its disk or the teacher said no to the offer:\n"
                        "see bring-back), diskFolder, contentHash, started, tornTail and\n"
                        "cells (the last text of each changed cell: column, row, text,\n"
                        "time). A journal is offered when the file of KEY is opened with\n"
                        "the content of its contentHash, on whatever disk folder."),
         data},
        {"bring-back", "JOURNAL", bringBackCommand,
         QStringLiteral("put a journal set aside back, for the next open to offer"),
         QStringLiteral("Moves the journal JOURNAL (its name or its path, as 'gradefile recover'\n"
                        "lists a journal set aside) back among the journals, so that the next\n"
                        "open of its grade file offers its unsaved cells again. A journal that\n"
                        "is not set aside, cannot be read or whose name is taken is refused\n"
                        "and left where it is."),
         data},
        {"import", "FILE SOURCE", importCommand,
         QStringLiteral("write the grades of --exam N from a CSV or Excel file"),
         QStringLiteral("Writes into the subject grade file FILE the grades of exam N that\n"
                        "SOURCE holds: a CSV file (comma, semicolon or TAB separated, UTF-8)\n"
                        "or the first sheet of an .xlsx workbook, its first line the\n"
                        "headers. Pupils are matched by identifier only. Every value is\n"
                        "checked as a grade typed into the sheet; a refused value is not\n"
                        "written, and an empty one leaves the grade as it is. A copy of FILE\n"
                        "is kept in the data folder first (as a save of the program keeps\n"
                        "one), and FILE is replaced only once the new content is safely on\n"
                        "the disk; nothing is written when no grade changes. Prints what was\n"
                        "done as JSON: matched, written, unknown and repeated identifiers,\n"
                        "missing pupils, refused values and changed grades, and keptCopy."),
         importOptions},
    };
    QString list;
    for (const Command& command : commands) {
        const QString syntax = QLatin1String(command.name) + u' ' + QLatin1String(command.operands);
        list += QStringLiteral("\n  %1 %2").arg(syntax.leftJustified(19), command.summary);
    }
    QCommandLineParser general;
    general.setApplicationDescription(
        QStringLiteral("Reads and writes the grade files of saisie-notes.\n\nCommands:%1\n\n"
                       "'gradefile COMMAND --help' tells more about one command.")
            .arg(list));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("print the version"));
    general.addOptions({kHelp, version});
    general.addPositionalArgument(QStringLiteral("COMMAND"),
                                  QStringLiteral("one of the commands above, then its arguments"),
                                  QStringLiteral("COMMAND [ARGUMENTS]"));
    // The command's own options are for its own parser.
    general.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const bool parsed = general.parse(arguments);
    if (general.isSet(kHelp))
        return help(general);
    if (!parsed)
        return usage(general, general.errorText());
    if (general.isSet(version)) {
        print(stdout, QByteArrayLiteral("gradefile (saisie-notes) " SAISIE_VERSION "\n"));
        return kSuccess;
    }
    const QStringList words = general.positionalArguments();
    if (words.isEmpty())
        return usage(general, QStringLiteral("no command given"));
    const auto command = std::find_if(std::begin(commands), std::end(commands), [&](auto& c) {
        return words.first() == QLatin1String(c.name);
    });
    if (command == std::end(commands))
        return usage(general, QStringLiteral("unknown command '%1'").arg(words.first()));
    QCommandLineParser parser;
    parser.setApplicationDescription(command->about);
    parser.addOptions(QList<QCommandLineOption>{kHelp} + command->options);
    const QString operands = QLatin1String(command->operands);
    parser.addPositionalArgument(words.first(), command->summary, words.first() + u' ' + operands);
    // The command stands where the parser skips the program's name.
    const bool commandParsed = parser.parse(words);
    if (parser.isSet(kHelp))
        return help(parser);
    if (!commandParsed)
        return usage(parser, parser.errorText());
    const Call call{parser, parser.positionalArguments()};
    const qsizetype wanted = operands.count(u' ') + 1;
    if (call.operands.size() < wanted ||
        (call.operands.size() > wanted && !operands.endsWith(QLatin1String("..."))))
        return call.usage(QStringLiteral("%1 takes %2").arg(words.first(), operands));
    return command->run(call);
}

} // namespace cli
