#include "cli/commands.h"

#include "cli/documentjson.h"
#include "cli/importjson.h"
#include "cli/recoveryjson.h"
#include "cli/statisticsjson.h"
#include "gradefile/gradedisk.h"
#include "gradefile/gradedocument.h"
#include "gradefile/gradefileio.h"
#include "gradefile/linegrammar.h"
#include "gradefile/rowsetwriter.h"
#include "recovery/datafolder.h"
#include "recovery/keptcopies.h"
#include "recovery/pendingchanges.h"
#include "sheet/classstatistics.h"
#include "sheet/gradeimport.h"
#include "sheet/openedsheet.h"
#include "sheet/sheetcsv.h"
#include "sheet/sheetdocument.h"
#include "sheet/sheetxlsx.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>
#include <memory>

namespace cli {

namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;

void writeOut(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void writeErr(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

const QString kMainHelp = QStringLiteral(
    "Usage: gradefile COMMAND [ARGUMENTS]\n"
    "Reads and writes the grade files of saisie-notes.\n"
    "\n"
    "Commands:\n"
    "  lines FILE       print the lines of a grade file, one per output line\n"
    "  write FILE       write the lines read from standard input as a grade file\n"
    "  check FILE...    print each file's name, a TAB and its description in the file list\n"
    "  show FILE        print a grade file as the program opens it, as JSON\n"
    "  csv FILE         print the grade sheet of a subject grade file as CSV\n"
    "  xlsx FILE OUT    write the grade sheet of a subject grade file as an Excel workbook\n"
    "  stats FILE       print the class statistics of a subject grade file, as JSON\n"
    "  backups KEY      list the kept copies of the grade file KEY, as JSON\n"
    "  recover KEY      print the unsaved cells the journals of KEY hold, as JSON\n"
    "  bring-back JOURNAL  put a journal set aside back, for the next open to offer\n"
    "  import FILE SOURCE --exam N  write one exam's grades from a CSV or Excel file\n"
    "\n"
    "'gradefile COMMAND --help' tells more about one command; 'gradefile --version' prints\n"
    "the version.\n");

const QString kLinesHelp = QStringLiteral(
    "Usage: gradefile lines FILE\n"
    "Prints the lines of the grade file FILE, one per output line, in order (UTF-8).\n");

const QString kWriteHelp = QStringLiteral(
    "Usage: gradefile write FILE\n"
    "Reads lines from standard input (UTF-8, LF or CR LF line ends) and writes them as\n"
    "the grade file FILE. Lines that saisie-notes would not open as the grade file of FILE's\n"
    "name (its start line, the exams line of a subject file, the end line) are refused with\n"
    "the reason. The old file is replaced only once the new content is safely on the disk;\n"
    "on any failure it is left as it was.\n");

const QString kCheckHelp = QStringLiteral(
    "Usage: gradefile check FILE...\n"
    "For each FILE prints its name, a TAB, and the description the program's file list\n"
    "shows for it: the start line's description, or the invalid-file text.\n");

const QString kShowHelp = QStringLiteral(
    "Usage: gradefile show FILE\n"
    "Prints the grade file FILE as the program opens it, as one JSON object: key, kind,\n"
    "sheetKind, year, schoolYear, description, headers, pupils and, for a subject file\n"
    "with an end line, end.\n");

const QString kCsvHelp = QStringLiteral(
    "Usage: gradefile csv FILE\n"
    "Prints the grade sheet of the subject grade file FILE as the program's CSV copy of it:\n"
    "UTF-8 with a byte order mark, the columns the sheet shows in reading order (order\n"
    "number, identifier, name, then the exams from the first one), a line of headers and\n"
    "one line per pupil, lines ending with CR LF.\n");

const QString kXlsxHelp = QStringLiteral(
    "Usage: gradefile xlsx FILE OUT\n"
    "Writes the grade sheet of the subject grade file FILE to OUT as the program's Excel copy\n"
    "of it: a right-to-left sheet with the columns of the CSV copy under a frozen row of\n"
    "headers, the grades as numbers shown 00.00, the marks, the identifiers and the names as\n"
    "texts; and a sheet with the class statistics (counts, then mean, median, min and max as\n"
    "numbers shown 00.00). An old OUT is replaced only once the new one is safely on the\n"
    "disk; on any failure it is left as it was.\n");

const QString kStatsHelp = QStringLiteral(
    "Usage: gradefile stats FILE\n"
    "Prints the class statistics of the subject grade file FILE as a JSON array: one object\n"
    "per shown exam column with a header, the first exam first (as csv has them), with the\n"
    "keys column, header, graded, absent, exempt, noGrade, empty, under10 (counts) and mean,\n"
    "median, min, max (numbers, null when no pupil has a grade).\n");

const QString kBackupsHelp = QStringLiteral(
    "Usage: gradefile backups [--data FOLDER] KEY\n"
    "Lists, newest first, the copies saisie-notes kept of the grade file KEY before its\n"
    "saves replaced it, from every disk, as a JSON array: path, time (UTC), saveNumber,\n"
    "diskFolder (the folder of the disk it was kept from, empty when not known) and, for a\n"
    "copy that cannot be brought back, error. FOLDER is the program's data folder (by\n"
    "default the one saisie-notes uses for the user running the tool).\n");

const QString kRecoverHelp = QStringLiteral(
    "Usage: gradefile recover [--data FOLDER] KEY\n"
    "Prints the journals of unsaved changes saisie-notes holds for the grade file KEY, on any\n"
    "disk, as one JSON object: key, dataFolder and journals, each with path, state (pending,\n"
    "empty, damaged, other version, other file, unreadable), aside (set aside because the\n"
    "file changed on its disk or the teacher said no to the offer: see bring-back),\n"
    "diskFolder, contentHash, started, tornTail and cells (the last text of each changed\n"
    "cell: column, row, text, time). A journal is offered when the file of KEY is opened\n"
    "with the content of its contentHash, on whatever disk folder. FOLDER is the program's\n"
    "data folder (by default the one saisie-notes uses for the user running the tool).\n");

const QString kBringBackHelp = QStringLiteral(
    "Usage: gradefile bring-back [--data FOLDER] JOURNAL\n"
    "Moves the journal JOURNAL (its name or its path, as 'gradefile recover' lists a journal\n"
    "set aside) back among the journals, so that the next open of its grade file offers its\n"
    "unsaved cells again. A journal that is not set aside, cannot be read or whose name is\n"
    "taken is refused and left where it is. FOLDER is the program's data folder.\n");

const QString kImportHelp = QStringLiteral(
    "Usage: gradefile import [--data FOLDER] FILE SOURCE --exam N [--id-column C]\n"
    "                        [--grade-column G]\n"
    "Writes into the subject grade file FILE the grades of exam N that SOURCE holds: a CSV\n"
    "file (comma, semicolon or TAB separated, UTF-8) or the first sheet of an .xlsx workbook,\n"
    "its first line the headers. N is the exam as the teacher sees it: 1 is the first exam\n"
    "the grade sheet shows. Pupils are matched by identifier only: C is SOURCE's column of\n"
    "identifiers (by default the one that holds the most identifiers of the class), G its\n"
    "column of grades (by default the one headed like exam N); each is a number (1 is the\n"
    "first column) or a header. Every value is checked as a grade typed into the sheet;\n"
    "a refused value is not written, and an empty one leaves the grade as it is. A copy of\n"
    "FILE is kept in the data folder FOLDER first (as a save of the program keeps one), and\n"
    "FILE is replaced only once the new content is safely on the disk; nothing is written\n"
    "when no grade changes. Prints what was done as JSON: matched, written, unknown and\n"
    "repeated identifiers, missing pupils, refused values and changed grades, and keptCopy.\n");

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

int usageError(const QString& message, const QString& help)
{
    writeErr(QStringLiteral("gradefile: %1\n\n%2").arg(message, help));
    return kUsage;
}

bool wantsHelp(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"));
}

std::optional<QStringList> readLinesOrReport(const QString& path)
{
    const gradefile::GradeFileRead read = gradefile::readGradeFile(path);
    if (!read.lines)
        writeErr(QStringLiteral("gradefile: %1: %2\n").arg(path, describeError(read.error)));
    return read.lines;
}

int linesCommand(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return usageError(QStringLiteral("lines takes one FILE"), kLinesHelp);
    const std::optional<QStringList> lines = readLinesOrReport(arguments.first());
    if (!lines)
        return kFailure;
    for (const QString& line : *lines)
        writeOut(line + u'\n');
    return kSuccess;
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

int writeCommand(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return usageError(QStringLiteral("write takes one FILE"), kWriteHelp);
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        writeErr(QStringLiteral("gradefile: cannot read standard input\n"));
        return kFailure;
    }
    const QByteArray bytes = input.readAll();
    if (QString::fromUtf8(bytes).toUtf8() != bytes) {
        writeErr(QStringLiteral("gradefile: standard input is not UTF-8 text\n"));
        return kFailure;
    }
    const QString& path = arguments.first();
    const QStringList lines = splitInputLines(bytes);
    if (gradefile::findUnwritableLine(lines)) {
        writeErr(QStringLiteral("gradefile: %1: a line is longer than a grade file line may be "
                                "(300 characters), or holds a broken character\n")
                     .arg(path));
        return kFailure;
    }
    // Only what the program and the administration can open again is written.
    const gradefile::DocumentRead read =
        gradefile::readGradeDocument(QFileInfo(path).fileName(), lines);
    if (!read.document) {
        writeErr(QStringLiteral("gradefile: %1: the lines are not a grade file of this name: %2\n")
                     .arg(path, describeError(read.error)));
        return kFailure;
    }
    const gradefile::SafeWriteResult result = gradefile::writeGradeFile(path, lines);
    if (!result.ok) {
        writeErr(QStringLiteral("gradefile: %1: %2\n").arg(path, describeError(result.error)));
        return kFailure;
    }
    return kSuccess;
}

int checkCommand(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return usageError(QStringLiteral("check takes at least one FILE"), kCheckHelp);
    int status = kSuccess;
    for (const QString& path : arguments) {
        const QFileInfo info(path);
        if (!info.isFile()) {
            using Kind = gradefile::FileErrorKind;
            const auto kind = info.exists() ? Kind::NotAFile : Kind::NoFile;
            writeErr(QStringLiteral("gradefile: %1: %2\n")
                         .arg(path, englishReason(gradefile::makeFileError(kind, {}))));
            status = kFailure;
            continue;
        }
        writeOut(info.fileName() + u'\t' +
                 gradefile::GradeDisk(info.absolutePath()).describe(info.fileName()) + u'\n');
    }
    return status;
}

std::optional<gradefile::GradeDocument> readDocumentOrReport(const QString& path)
{
    const std::optional<QStringList> lines = readLinesOrReport(path);
    if (!lines)
        return std::nullopt;
    const gradefile::DocumentRead read =
        gradefile::readGradeDocument(QFileInfo(path).fileName(), *lines);
    if (!read.document) {
        writeErr(QStringLiteral("gradefile: %1: %2\n").arg(path, describeError(read.error)));
    }
    return read.document;
}

int showCommand(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return usageError(QStringLiteral("show takes one FILE"), kShowHelp);
    const std::optional<gradefile::GradeDocument> document =
        readDocumentOrReport(arguments.first());
    if (!document)
        return kFailure;
    writeOut(QString::fromUtf8(
        QJsonDocument(documentToJson(*document)).toJson(QJsonDocument::Indented)));
    return kSuccess;
}

std::optional<gradefile::GradeDocument> readSubjectDocumentOrReport(const QString& path)
{
    std::optional<gradefile::GradeDocument> document = readDocumentOrReport(path);
    if (document && document->kind != gradefile::SheetKind::Subject) {
        writeErr(QStringLiteral("gradefile: %1: not a subject grade file; only those have a "
                                "grade sheet with exams\n")
                     .arg(path));
        return std::nullopt;
    }
    return document;
}

// The grade sheet of a subject grade file as the window shows it when the file is opened.
std::unique_ptr<sheet::GradeSheet> openedSheet(const gradefile::GradeDocument& document)
{
    auto sheet = std::make_unique<sheet::GradeSheet>();
    sheet->reset(sheet::openedSheetTable(document));
    return sheet;
}

std::unique_ptr<sheet::GradeSheet> readSheetOrReport(const QString& path)
{
    const std::optional<gradefile::GradeDocument> document = readSubjectDocumentOrReport(path);
    return document ? openedSheet(*document) : nullptr;
}

int csvCommand(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return usageError(QStringLiteral("csv takes one FILE"), kCsvHelp);
    const std::unique_ptr<sheet::GradeSheet> grades = readSheetOrReport(arguments.first());
    if (!grades)
        return kFailure;
    const QByteArray csv = sheet::sheetCsv(*grades);
    std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
    return kSuccess;
}

int xlsxCommand(const QStringList& arguments)
{
    if (arguments.size() != 2)
        return usageError(QStringLiteral("xlsx takes one FILE and one OUT"), kXlsxHelp);
    const std::unique_ptr<sheet::GradeSheet> grades = readSheetOrReport(arguments.first());
    if (!grades)
        return kFailure;
    const QString& out = arguments.at(1);
    const gradefile::SafeWriteResult written = sheet::writeSheetXlsx(out, *grades);
    if (!written.ok) {
        writeErr(QStringLiteral("gradefile: %1: %2\n").arg(out, describeError(written.error)));
        return kFailure;
    }
    return kSuccess;
}

int statsCommand(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return usageError(QStringLiteral("stats takes one FILE"), kStatsHelp);
    const std::unique_ptr<sheet::GradeSheet> grades = readSheetOrReport(arguments.first());
    if (!grades)
        return kFailure;
    const QJsonArray statistics = statisticsToJson(sheet::classStatistics(*grades));
    writeOut(QString::fromUtf8(QJsonDocument(statistics).toJson(QJsonDocument::Indented)));
    return kSuccess;
}

// [--data FOLDER] and one operand: a KEY or a JOURNAL.
struct DataArguments {
    QString dataFolder;
    QString operand;
};

std::optional<DataArguments> dataArguments(const QStringList& arguments)
{
    DataArguments parsed{recovery::defaultDataFolder(), QString()};
    QStringList rest = arguments;
    if (rest.size() == 3 && rest.first() == QLatin1String("--data")) {
        parsed.dataFolder = rest.at(1);
        rest = rest.mid(2);
    }
    if (rest.size() != 1 || rest.first().startsWith(u'-') || rest.first().isEmpty())
        return std::nullopt;
    parsed.operand = rest.first();
    return parsed;
}

int backupsCommand(const QStringList& arguments)
{
    const std::optional<DataArguments> parsed = dataArguments(arguments);
    if (!parsed)
        return usageError(QStringLiteral("backups takes one KEY"), kBackupsHelp);
    writeOut(QString::fromUtf8(
        QJsonDocument(keptCopiesToJson(parsed->dataFolder, parsed->operand)).toJson()));
    return kSuccess;
}

int recoverCommand(const QStringList& arguments)
{
    const std::optional<DataArguments> parsed = dataArguments(arguments);
    if (!parsed)
        return usageError(QStringLiteral("recover takes one KEY"), kRecoverHelp);
    writeOut(QString::fromUtf8(
        QJsonDocument(journalsToJson(parsed->dataFolder, parsed->operand)).toJson()));
    return kSuccess;
}

int bringBackCommand(const QStringList& arguments)
{
    const std::optional<DataArguments> parsed = dataArguments(arguments);
    if (!parsed)
        return usageError(QStringLiteral("bring-back takes one JOURNAL"), kBringBackHelp);
    const gradefile::FileError error = recovery::bringBack(parsed->operand, parsed->dataFolder);
    if (error.isError()) {
        writeErr(QStringLiteral("gradefile: %1: not brought back: it is not a readable journal "
                                "set aside, or its name is taken among the journals\n")
                     .arg(parsed->operand));
        return kFailure;
    }
    return kSuccess;
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

struct ImportArguments {
    QString dataFolder = recovery::defaultDataFolder();
    QString exam;
    QString identifierColumn;
    QString gradeColumn;
    QStringList operands; // FILE and SOURCE
};

std::optional<ImportArguments> importArguments(const QStringList& arguments)
{
    ImportArguments parsed;
    const std::pair<const char*, QString*> options[] = {{"--data", &parsed.dataFolder},
                                                        {"--exam", &parsed.exam},
                                                        {"--id-column", &parsed.identifierColumn},
                                                        {"--grade-column", &parsed.gradeColumn}};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const auto option = std::find_if(std::begin(options), std::end(options), [&](auto& o) {
            return arguments.at(i) == QLatin1String(o.first);
        });
        if (option == std::end(options))
            parsed.operands << arguments.at(i);
        else if (++i < arguments.size())
            *option->second = arguments.at(i);
        else
            return std::nullopt;
    }
    if (parsed.operands.size() != 2 || parsed.exam.isEmpty())
        return std::nullopt;
    return parsed;
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

// The grade file rewritten with the sheet by the program's own save, the file as it was kept
// first in the data folder; the kept copy's path, or nullopt once reported.
std::optional<QString> writeImported(const QString& path, sheet::SheetDocument& document,
                                     const QString& dataFolder)
{
    const gradefile::GradeDisk disk(QFileInfo(path).absolutePath());
    const gradefile::FileToReplace found = disk.fileToReplace(document.file());
    const recovery::KeptCopies copies(dataFolder);
    gradefile::FileError error = found.error;
    const bool kept = !error.isError() &&
                      !(error = copies.keep(document.key(), disk.folder(), found.bytes)).isError();
    if (kept)
        error = document.save(disk, document.cardTexts().saveNumber);
    if (error.isError()) {
        writeErr(QStringLiteral("gradefile: %1: not written: %2\n")
                     .arg(path, kept || found.error.isError()
                                    ? describeError(error)
                                    : QStringLiteral("no copy could be kept in ") + dataFolder));
        return std::nullopt;
    }
    return copies.list(document.key()).front().path;
}

int importCommand(const QStringList& arguments)
{
    const std::optional<ImportArguments> parsed = importArguments(arguments);
    if (!parsed)
        return usageError(QStringLiteral("import takes FILE, SOURCE and --exam N"), kImportHelp);
    const QString& path = parsed->operands.at(0);
    const QString& sourcePath = parsed->operands.at(1);
    const std::optional<gradefile::GradeDocument> document = readSubjectDocumentOrReport(path);
    if (!document)
        return kFailure;
    const sheet::SourceRead source = sheet::readGradeSource(sourcePath);
    if (source.error != sheet::SourceError::None) {
        writeErr(QStringLiteral("gradefile: %1: %2\n").arg(sourcePath, sourceReason(source.error)));
        return kFailure;
    }
    // Opened from its disk folder as the window opens it, for the program's save to write it.
    const gradefile::DocumentRead opened =
        gradefile::GradeDisk(QFileInfo(path).absolutePath()).open(QFileInfo(path).fileName());
    if (!opened.document) {
        writeErr(QStringLiteral("gradefile: %1: %2\n").arg(path, describeError(opened.error)));
        return kFailure;
    }
    sheet::SheetDocument imported;
    imported.open(*opened.document);
    if (imported.cannotBeSaved()) {
        writeErr(QStringLiteral("gradefile: %1: cannot be saved: a line is longer than a grade "
                                "file line may be (300 characters)\n")
                     .arg(path));
        return kFailure;
    }
    sheet::GradeSheet* grades = &imported.sheet();
    const std::vector<sheet::ImportExam> exams = sheet::importExams(*grades);
    const int examNumber = parsed->exam.toInt();
    if (examNumber < 1 || examNumber > int(exams.size()))
        return usageError(
            QStringLiteral("--exam N: %1 shows exams 1 to %2").arg(path).arg(exams.size()),
            kImportHelp);
    const sheet::ImportExam& exam = exams.at(size_t(examNumber - 1));
    const std::optional<int> identifiers =
        parsed->identifierColumn.isEmpty() ? sheet::guessIdentifierColumn(source.rows, *grades)
                                           : sourceColumn(source.rows, parsed->identifierColumn);
    std::optional<int> gradeColumn;
    if (identifiers && !parsed->gradeColumn.isEmpty()) {
        gradeColumn = sourceColumn(source.rows, parsed->gradeColumn);
    } else if (identifiers) {
        const std::vector<int> byHeader =
            sheet::examColumnsByHeader(source.rows, exams, *identifiers);
        const auto headed = std::find(byHeader.cbegin(), byHeader.cend(), exam.exam);
        if (headed != byHeader.cend())
            gradeColumn = int(headed - byHeader.cbegin());
    }
    if (!identifiers || !gradeColumn || *gradeColumn == *identifiers) {
        writeErr(QStringLiteral("gradefile: %1: no column of %2 (give %3)\n")
                     .arg(sourcePath,
                          identifiers ? QStringLiteral("grades headed '%1'").arg(exam.header)
                                      : QStringLiteral("identifiers of the class"),
                          identifiers ? QStringLiteral("--grade-column")
                                      : QStringLiteral("--id-column")));
        return kFailure;
    }
    sheet::ImportChoice choice{*identifiers,
                               std::vector<int>(source.rows.front().size(), sheet::kNoExam)};
    choice.examOfColumn[size_t(*gradeColumn)] = exam.exam;
    const sheet::ImportPlan plan = sheet::planImport(source.rows, *grades, choice);
    for (const sheet::GradeWrite& write : plan.writes)
        grades->setData(grades->indexOf(sheet::GradeSheet::gradeCell(write.pupil, write.exam)),
                        write.text);
    QJsonObject summary = importPlanToJson(plan);
    std::optional<QString> kept;
    if (!plan.writes.empty() && !(kept = writeImported(path, imported, parsed->dataFolder)))
        return kFailure;
    summary.insert(QStringLiteral("keptCopy"), kept ? QJsonValue(*kept) : QJsonValue());
    writeOut(QString::fromUtf8(QJsonDocument(summary).toJson()));
    return kSuccess;
}

} // namespace

int runCommand(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return usageError(QStringLiteral("no command given"), kMainHelp);
    const QString command = arguments.first();
    const QStringList rest = arguments.mid(1);
    struct Command {
        const char* name;
        const QString& help;
        int (*run)(const QStringList&);
    };
    const Command commands[] = {{"lines", kLinesHelp, linesCommand},
                                {"write", kWriteHelp, writeCommand},
                                {"check", kCheckHelp, checkCommand},
                                {"show", kShowHelp, showCommand},
                                {"csv", kCsvHelp, csvCommand},
                                {"xlsx", kXlsxHelp, xlsxCommand},
                                {"stats", kStatsHelp, statsCommand},
                                {"backups", kBackupsHelp, backupsCommand},
                                {"recover", kRecoverHelp, recoverCommand},
                                {"bring-back", kBringBackHelp, bringBackCommand},
                                {"import", kImportHelp, importCommand}};
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        writeOut(kMainHelp);
        return kSuccess;
    }
    if (command == QLatin1String("--version")) {
        writeOut(QStringLiteral("gradefile (saisie-notes) " SAISIE_VERSION "\n"));
        return kSuccess;
    }
    for (const Command& entry : commands) {
        if (command != QLatin1String(entry.name))
            continue;
        if (wantsHelp(rest)) {
            writeOut(entry.help);
            return kSuccess;
        }
        return entry.run(rest);
    }
    return usageError(QStringLiteral("unknown command '%1'").arg(command), kMainHelp);
}

} // namespace cli
