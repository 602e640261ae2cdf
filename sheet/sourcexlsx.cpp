// The workbook is a zip of XML parts: minizip unpacks each part the reading needs, never more
// than a class's sheet can hold, and Qt's XML reader reads it. Minizip is the zip library the
// Excel copy's libxlsxwriter loads already: QuaZip carries its own build of minizip's
// functions under the same names, and in one program with libxlsxwriter one of the two
// calls the other's and crashes.
#include "sheet/gradesource.h"

#include <unzip.h>

#include <QFile>
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
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("sheet")) {
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                if (attribute.name() == QLatin1String("id"))
                    return attribute.value().toString();
            }
        } else if (xml.name() != QLatin1String("workbook") &&
                   xml.name() != QLatin1String("sheets")) {
            xml.skipCurrentElement();
        }
    }
    return {};
}

// The parts of the first sheet and of the shared strings (empty when there are none).
std::pair<QString, QString> sheetAndStringsParts(const QByteArray& relationships,
                                                 const QString& sheetId)
{
    std::pair<QString, QString> parts;
    QXmlStreamReader xml(relationships);
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("Relationship"))
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const QString target = partName(attributes.value(QLatin1String("Target")).toString());
        if (attributes.value(QLatin1String("Id")) == sheetId)
            parts.first = target;
        else if (attributes.value(QLatin1String("Type")).endsWith(QLatin1String("/sharedStrings")))
            parts.second = target;
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

SourceError readSharedStrings(const QByteArray& bytes, QStringList& strings)
{
    QXmlStreamReader xml(bytes);
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("si"))
            continue;
        strings << stringOf(xml);
        if (strings.size() > kMaxSharedStrings)
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

// A whole number as its digits, as the spreadsheet showed it: an identifier typed as a number
// comes as "20250119" or "2.0250119E7", a grade of 15 as "15" or "15.0".
QString numberText(const QString& value)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (ok && std::floor(number) == number && std::fabs(number) < 9007199254740992.0)
        return QString::number(qint64(number));
    return value;
}

// One <c>: its text, from the shared strings, inline or as a number.
QString cellText(QXmlStreamReader& xml, const QStringList& strings)
{
    const QString type = xml.attributes().value(QLatin1String("t")).toString();
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
        return strings.value(value.toInt());
    return type.isEmpty() || type == QLatin1String("n") ? numberText(value) : value;
}

SourceError readSheet(const QByteArray& bytes, const QStringList& strings, SourceRows& rows)
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
        row[column] = cellText(xml, strings);
    }
    return xml.hasError() ? SourceError::NotAWorkbook : SourceError::None;
}

} // namespace

SourceRead readXlsxSource(const QString& path)
{
    const Zip zip(unzOpen64(QFile::encodeName(path).constData()), unzClose);
    if (!zip)
        return {{}, SourceError::NotAWorkbook};
    const Part workbook = readPart(zip, QStringLiteral("xl/workbook.xml"));
    const Part relationships = readPart(zip, QStringLiteral("xl/_rels/workbook.xml.rels"));
    for (const Part* part : {&workbook, &relationships}) {
        if (part->error != SourceError::None)
            return {{}, part->error};
    }
    const auto [sheetPart, stringsPart] =
        sheetAndStringsParts(relationships.bytes, firstSheetId(workbook.bytes));
    if (sheetPart.isEmpty())
        return {{}, SourceError::NoSheet};
    QStringList strings;
    if (!stringsPart.isEmpty()) {
        const Part shared = readPart(zip, stringsPart);
        const SourceError error = shared.error != SourceError::None
                                      ? shared.error
                                      : readSharedStrings(shared.bytes, strings);
        if (error != SourceError::None)
            return {{}, error};
    }
    const Part sheet = readPart(zip, sheetPart);
    SourceRead read;
    read.error =
        sheet.error != SourceError::None ? sheet.error : readSheet(sheet.bytes, strings, read.rows);
    if (read.error != SourceError::None)
        return {{}, read.error};
    padSourceRows(read.rows);
    return read;
}

} // namespace sheet
