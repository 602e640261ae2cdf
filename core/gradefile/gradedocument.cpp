#include "core/gradefile/gradedocument.h"

#include "core/gradefile/leadingnumber.h"

namespace gradefile {

const QString kInvalidGradeFileText = QStringLiteral("ملف أعداد غير صحيح");

namespace {

DocumentRead failed(FileError error)
{
    DocumentRead read;
    read.error = std::move(error);
    return read;
}

FileError noCurrentLine(int lineNumber)
{
    return malformedFile(errorNumber::kNoCurrentRecord,
                         QStringLiteral("Le fichier s'arrête avant sa ligne %1 : "
                                        "il n'a pas de ligne des épreuves.")
                             .arg(lineNumber));
}

std::optional<FileError> readEndLineAt(const QStringList& lines, qsizetype index, bool interpret,
                                       GradeDocument& document)
{
    if (!interpret)
        return std::nullopt;
    const std::optional<EndLineFields> end = readEndLine(lines.at(index));
    if (!end)
        return malformedFile(errorNumber::kOverflow,
                             QStringLiteral("Dépassement de capacité : un compteur de la "
                                            "ligne %1 sort des limites (-32768 à 32767).")
                                 .arg(index + 1));
    document.endLines.push_back(*end);
    return std::nullopt;
}

// The lines that follow the test line are pupil lines, except an end line standing
// right after a pupil line, which is read into endLines and skipped.
template <typename ReadPupil>
std::optional<FileError> readPupilLines(const QStringList& lines, bool readEndLines,
                                        GradeDocument& document, ReadPupil readPupil)
{
    bool sawEndLine = false;
    qsizetype i = 2;
    // A sheet without pupils is start, test and end line. Its end line is read as such,
    // so that saving the sheet keeps the region, establishment and teacher.
    if (lines.size() == 3 && isEndLine(lines.at(2))) {
        if (std::optional<FileError> error = readEndLineAt(lines, 2, readEndLines, document))
            return error;
        document.rowCount = 0;
        return std::nullopt;
    }
    while (i < lines.size()) {
        RowCells row;
        if (std::optional<FileError> error = readPupil(lines.at(i), i + 1, row))
            return error;
        document.rows.push_back(row);
        ++i;
        if (i < lines.size() && isEndLine(lines.at(i))) {
            sawEndLine = true;
            if (std::optional<FileError> error = readEndLineAt(lines, i, readEndLines, document))
                return error;
            ++i;
        }
    }
    // Three lines of a file are not pupil lines: start, test and end line. A file that
    // ends on a pupil line has no end line, and that last pupil keeps its row.
    const qsizetype records = lines.size();
    document.rowCount = int(qMax<qsizetype>(records - 3, 0));
    if (!sawEndLine && records > 2 && !isEndLine(lines.last()))
        document.rowCount = int(records - 2);
    document.rows.resize(size_t(document.rowCount));
    return std::nullopt;
}

std::optional<FileError> readSubjectSheet(const QStringList& lines, GradeDocument& document)
{
    const std::vector<Field> tests = splitFields(lines.at(1), 7);
    for (int field = 2; field <= 7; ++field) {
        if (const Field& header = tests[size_t(field - 1)])
            document.headers.insert(8 - field, *header);
    }
    return readPupilLines(lines, true, document, [](const QString& line, qsizetype, RowCells& row) {
        const std::vector<Field> fields = splitFields(line, 11);
        auto put = [&](int field, int column) {
            if (const Field& text = fields[size_t(field - 1)])
                row.insert(column, *text);
        };
        put(11, 0);
        for (int column = 1; column <= 6; ++column)
            put(11 - column, column);
        for (int column = 7; column <= 10; ++column)
            put(11 - column, column);
        return std::optional<FileError>();
    });
}

std::optional<FileError> readAnnualAverages(const QStringList& lines, GradeDocument& document)
{
    document.headers.insert(1, textAfterFirstSeparator(lines.at(1)));
    return readPupilLines(
        lines, false, document,
        [](const QString& line, qsizetype lineNumber, RowCells& row) -> std::optional<FileError> {
            const std::optional<std::vector<QString>> fields = splitPlainPupilLine(line);
            if (!fields)
                return malformedFile(errorNumber::kInvalidCall,
                                     QStringLiteral("La ligne %1 n'a pas les six champs "
                                                    "d'un élève (moins de cinq « | »).")
                                         .arg(lineNumber));
            for (int column = 1; column <= 6; ++column)
                row.insert(column, fields->at(size_t(6 - column)));
            return std::nullopt;
        });
}

} // namespace

QString listDescription(const QString& fileName, const QStringList& lines)
{
    if (lines.isEmpty())
        return kInvalidGradeFileText;
    const std::optional<QString> named = startLineKey(lines.first());
    if (!named || *named != keyFromFileName(fileName))
        return kInvalidGradeFileText;
    return textAfterFirstSeparator(lines.first());
}

QString sheetDescriptionOf(const QString& caption)
{
    QString text = caption.mid(29);
    text.remove(u']');
    text.remove(u'[');
    text.replace(QStringLiteral("ب"), QStringLiteral("بـ"));
    text.replace(QStringLiteral("الثلاثي الأول"), QStringLiteral("الثلاثي 1"));
    text.replace(QStringLiteral("الثلاثي الثاني"), QStringLiteral("الثلاثي 2"));
    text.replace(QStringLiteral("الثلاثي الثالث"), QStringLiteral("الثلاثي 3"));
    return text;
}

DocumentRead readGradeDocument(const QString& fileName, const QStringList& lines)
{
    if (listDescription(fileName, lines) == kInvalidGradeFileText)
        return failed(makeFileError(FileErrorKind::NotAGradeFile, kInvalidGradeFileText));

    GradeDocument document;
    document.fileName = fileName;
    document.key = keyFromFileName(fileName);
    document.kind = isSubjectKey(document.key) ? SheetKind::Subject : SheetKind::AnnualAverages;
    document.nameLayout = nameLayoutOfStartLine(lines.first());

    const QString yearText = yearTextOfKey(document.key);
    bool overflow = false;
    const std::optional<qint16> year = wholeInt16(yearText, &overflow);
    if (!year || *year == 32767) {
        if (!year && !overflow)
            return failed(malformedFile(errorNumber::kTypeMismatch,
                                        QStringLiteral("Incompatibilité de type : l'année "
                                                       "« %1 » du nom de fichier n'est pas "
                                                       "un nombre.")
                                            .arg(yearText)));
        return failed(malformedFile(errorNumber::kOverflow,
                                    QStringLiteral("Dépassement de capacité : l'année « %1 » "
                                                   "du nom de fichier est trop grande.")
                                        .arg(yearText)));
    }
    document.year = *year;
    document.schoolYear = QString::number(*year + 1) + u'/' + yearText;
    document.caption = textAfterFirstSeparator(lines.first());
    document.sheetDescription = sheetDescriptionOf(document.caption);

    if (lines.size() < 2)
        return failed(noCurrentLine(2));

    const std::optional<FileError> error = document.kind == SheetKind::Subject
                                               ? readSubjectSheet(lines, document)
                                               : readAnnualAverages(lines, document);
    if (error)
        return failed(*error);
    DocumentRead read;
    read.document = std::move(document);
    return read;
}

} // namespace gradefile
