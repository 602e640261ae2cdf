// The workbook is a zip of XML parts: minizip unpacks each part the reading needs, never more
// than a class's sheet can hold, and Qt's XML reader reads it. Minizip is the zip library the
// Excel copy's libxlsxwriter loads already: QuaZip carries its own build of minizip's
// functions under the same names, and in one program with libxlsxwriter one of the two
// calls the other's and crashes.
#include "core/copies/gradesource.h"

#include <unzip.h>

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>
#include <memory>

namespace sheet {

namespace {

// A few hundred pupils' rows fit in far less; a part that unpacks beyond this is a zip bomb.
constexpr qint64 kMaxPartBytes = 32 * 1024 * 1024;
constexpr int kMaxSharedStrings = 200000;

struct Part {
    QByteArray bytes;
    SourceError error = SourceError::None;
};

using Zip = std::unique_ptr<void, int (*)(unzFile)>;

Part readPart(const Zip& zip, const QString& name)
{
    if (unzLocateFile(zip.get(), name.toUtf8().constData(), 1) != UNZ_OK)
        return {{}, SourceError::NoSheet};
    if (unzOpenCurrentFile(zip.get()) != UNZ_OK)
        return {{}, SourceError::NotAWorkbook};
    Part part;
    char chunk[64 * 1024];
    int count = 0;
    while ((count = unzReadCurrentFile(zip.get(), chunk, sizeof chunk)) > 0) {
        part.bytes.append(chunk, count);
        if (part.bytes.size() > kMaxPartBytes) {
            unzCloseCurrentFile(zip.get());
            return {{}, SourceError::TooLarge};
        }
    }
    // Closing checks the part's CRC.
    if (unzCloseCurrentFile(zip.get()) != UNZ_OK || count < 0)
        return {{}, SourceError::NotAWorkbook};
    return part;
}

// A part's name from a target the workbook's relationships give, relative to "xl/".
QString partName(const QString& target)
{
    return target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
}

// The first sheet's relationship in the workbook, in the order the sheets are shown.
QString firstSheetId(const QByteArray& workbook)
{
    QXmlStreamReader xml(workbook);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement ||
            xml.name() != QLatin1String("sheet"))
            continue;
        for (const QXmlStreamAttribute& attribute : xml.attributes()) {
            if (attribute.name() == QLatin1String("id"))
                return attribute.value().toString();
        }
    }
    return {};
}

// The parts the workbook's relationships name: the first sheet's as "sheet", the others by
// their type ("sharedStrings", "styles").
QHash<QString, QString> workbookParts(const QByteArray& relationships, const QString& sheetId)
{
    QHash<QString, QString> parts;
    QXmlStreamReader xml(relationships);
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("Relationship"))
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        parts.insert(attributes.value(QLatin1String("Id")) == sheetId
                         ? QStringLiteral("sheet")
                         : attributes.value(QLatin1String("Type")).toString().section(u'/', -1),
                     partName(attributes.value(QLatin1String("Target")).toString()));
        xml.skipCurrentElement();
    }
    return parts;
}

// The text of an element's <t> children, phonetic runs left out: a shared or inline string.
QString stringOf(QXmlStreamReader& xml)
{
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("t"))
            text += xml.readElementText();
        else if (xml.name() != QLatin1String("r"))
            xml.skipCurrentElement();
        else
            text += stringOf(xml);
    }
    return text;
}

// How a cell's number format shows a number that is no plain number: as a date or a time
// (the format's letters as Qt writes them, in the format's order), or as a percentage.
struct NumberFormat {
    QString dateTime;
    int percentDecimals = -1; // none: no percentage
};

// What a sheet's cells are read with: the shared strings, each cell style's number format.
struct CellTables {
    QStringList strings;
    std::vector<NumberFormat> styles;
};

// The first section of a format's code (positive numbers): quoted text, padding, colours,
// conditions and locales show no digit of the value; "m" is minutes after an hour or before
// seconds, a month elsewhere.
NumberFormat numberFormat(const QString& code)
{
    static const QRegularExpression hidden(QStringLiteral(R"("[^"]*"|[_*].|\[[^\]]*[^hms\]]\])"));
    static const QRegularExpression escaped(QStringLiteral(R"(\\(.)|[\[\]])"));
    QString shown =
        code.section(u';', 0, 0).toLower().remove(hidden).replace(escaped, QStringLiteral("\\1"));
    if (!shown.contains(QRegularExpression(QStringLiteral("[ymdhs]"))))
        return {{}, shown.contains(u'%') ? int(shown.section(u'.', 1).count(u'0')) : -1};
    shown.replace(QStringLiteral("am/pm"), QStringLiteral("AP")).replace(u'm', u'M');
    shown.replace(QRegularExpression(QStringLiteral("(h[^a-z]*)M(M?)")), QStringLiteral("\\1m\\2"));
    shown.replace(QRegularExpression(QStringLiteral("M(M?)(?=[^a-z]*s)")), QStringLiteral("m\\1"));
    return {shown.replace(QRegularExpression(QStringLiteral("y{3,}|(?<!y)y(?!y)")),
                          QStringLiteral("yyyy")),
            -1};
}

// The built-in formats that show no plain number: percentages, dates and times, as a French
// Excel shows them.
QString builtInFormat(int id)
{
    const bool time = (id >= 18 && id <= 21) || (id >= 45 && id <= 47);
    const bool date = (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
    if (id == 9 || id == 10)
        return id == 9 ? QStringLiteral("0%") : QStringLiteral("0.00%");
    return time ? QStringLiteral("hh:mm:ss") : date ? QStringLiteral("dd/mm/yyyy") : QString();
}

// Each cell style's number format, in the order of the styles a cell's "s" names.
SourceError readStyles(const QByteArray& bytes, CellTables& tables)
{
    QHash<int, QString> codes;
    bool cellStyles = false; // within <cellXfs>, not the <xf> of named styles
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd() && int(tables.styles.size()) <= kMaxSharedStrings) {
        xml.readNext();
        if (xml.name() == QLatin1String("cellXfs"))
            cellStyles = xml.isStartElement();
        const QXmlStreamAttributes attributes = xml.attributes();
        const int id = attributes.value(QLatin1String("numFmtId")).toInt();
        if (xml.isStartElement() && xml.name() == QLatin1String("numFmt"))
            codes.insert(id, attributes.value(QLatin1String("formatCode")).toString());
        else if (xml.isStartElement() && cellStyles && xml.name() == QLatin1String("xf"))
            tables.styles.push_back(numberFormat(codes.value(id, builtInFormat(id))));
    }
    return int(tables.styles.size()) > kMaxSharedStrings ? SourceError::TooLarge
           : xml.hasError()                              ? SourceError::NotAWorkbook
                                                         : SourceError::None;
}

SourceError readSharedStrings(const QByteArray& bytes, CellTables& tables)
{
    QXmlStreamReader xml(bytes);
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("si"))
            continue;
        tables.strings << stringOf(xml);
        if (tables.strings.size() > kMaxSharedStrings)
            return SourceError::TooLarge;
    }
    return xml.hasError() ? SourceError::NotAWorkbook : SourceError::None;
}

// The column a cell reference names ("C12": 2); -1 beyond the columns a class's file needs.
int columnOf(QStringView reference)
{
    int column = 0;
    for (const QChar c : reference) {
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c.unicode() - u'A' + 1);
        if (column > kMaxSourceColumns)
            return -1;
    }
    return column - 1;
}

// A number as its cell shows it: a date or a time (never a day's serial number), a percentage;
// a whole number as its digits: an identifier typed as a number comes as "20250119" or
// "2.0250119E7", a grade of 15 as "15" or "15.0".
QString numberText(const QString& value, const NumberFormat& format)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (ok && !format.dateTime.isEmpty())
        return number < 0 || number >= 2958466
                   ? QStringLiteral("#######") // as a spreadsheet shows a date beyond 9999
                   : QLocale::c().toString(QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC)
                                               .addMSecs(std::llround(number * 86400000.0)),
                                           format.dateTime);
    if (ok && format.percentDecimals >= 0)
        return QLocale::c().toString(number * 100, 'f', format.percentDecimals) + u'%';
    if (ok && std::floor(number) == number && std::fabs(number) < 9007199254740992.0)
        return QString::number(qint64(number));
    return value;
}

// One <c>: its text, from the shared strings, inline, as a boolean or as a number, each as
// the spreadsheet shows it.
QString cellText(QXmlStreamReader& xml, const CellTables& tables)
{
    const QString type = xml.attributes().value(QLatin1String("t")).toString();
    const size_t style = xml.attributes().value(QLatin1String("s")).toUInt();
    QString value;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("v"))
            value = xml.readElementText();
        else if (xml.name() == QLatin1String("is"))
            value = stringOf(xml);
        else
            xml.skipCurrentElement();
    }
    if (type == QLatin1String("s"))
        return tables.strings.value(value.toInt());
    if (type == QLatin1String("b"))
        return value == u'1' ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    return type.isEmpty() || type == QLatin1String("n")
               ? numberText(value,
                            style < tables.styles.size() ? tables.styles[style] : NumberFormat())
               : value;
}

SourceError readSheet(const QByteArray& bytes, const CellTables& tables, SourceRows& rows)
{
    QXmlStreamReader xml(bytes);
    QStringList row;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("row")) {
            if (!row.join(QString()).trimmed().isEmpty())
                rows.push_back(row);
            row.clear();
            if (int(rows.size()) > kMaxSourceRows)
                return SourceError::TooLarge;
        }
        if (!xml.isStartElement() || xml.name() != QLatin1String("c"))
            continue;
        const QStringView reference = xml.attributes().value(QLatin1String("r"));
        const int column = reference.isEmpty() ? int(row.size()) : columnOf(reference);
        if (column < 0 || column >= kMaxSourceColumns)
            return SourceError::TooLarge;
        row.resize(std::max(row.size(), qsizetype(column) + 1));
        row[column] = cellText(xml, tables);
    }
    return xml.hasError() ? SourceError::NotAWorkbook : SourceError::None;
}

} // namespace

SourceRead readXlsxSource(const QString& path)
{
    const Zip zip(unzOpen64(QFile::encodeName(path).constData()), unzClose);
    if (!zip)
        return {{}, SourceError::NotAWorkbook, {}};
    const Part workbook = readPart(zip, QStringLiteral("xl/workbook.xml"));
    const Part relationships = readPart(zip, QStringLiteral("xl/_rels/workbook.xml.rels"));
    for (const Part* part : {&workbook, &relationships}) {
        if (part->error != SourceError::None)
            return {{}, part->error, {}};
    }
    const QHash<QString, QString> parts =
        workbookParts(relationships.bytes, firstSheetId(workbook.bytes));
    if (!parts.contains(QStringLiteral("sheet")))
        return {{}, SourceError::NoSheet, {}};
    CellTables tables;
    for (const auto& [type, reader] :
         {std::pair(QStringLiteral("sharedStrings"), &readSharedStrings),
          std::pair(QStringLiteral("styles"), &readStyles)}) {
        // A workbook may have neither.
        const Part part = parts.contains(type) ? readPart(zip, parts.value(type)) : Part();
        const SourceError error = part.error != SourceError::None || part.bytes.isEmpty()
                                      ? part.error
                                      : reader(part.bytes, tables);
        if (error != SourceError::None)
            return {{}, error, {}};
    }
    const Part sheet = readPart(zip, parts.value(QStringLiteral("sheet")));
    SourceRead read;
    read.error =
        sheet.error != SourceError::None ? sheet.error : readSheet(sheet.bytes, tables, read.rows);
    if (read.error != SourceError::None)
        return {{}, read.error, {}};
    padSourceRows(read.rows);
    return read;
}

} // namespace sheet
