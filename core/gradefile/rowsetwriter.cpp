#include "core/gradefile/rowsetwriter.h"

namespace gradefile {

namespace {

// The schema of the one-field rowset, as the administration's components write it for a
// Ligne field of type adVarChar(300), up to and including the opening of the data.
constexpr char kRowsetHead[] =
    "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'\r\n"
    "\txmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'\r\n"
    "\txmlns:rs='urn:schemas-microsoft-com:rowset'\r\n"
    "\txmlns:z='#RowsetSchema'>\r\n"
    "<s:Schema id='RowsetSchema'>\r\n"
    "\t<s:ElementType name='row' content='eltOnly' rs:updatable='true'>\r\n"
    "\t\t<s:AttributeType name='Ligne' rs:number='1' rs:write='true'>\r\n"
    "\t\t\t<s:datatype dt:type='string' rs:dbtype='str' dt:maxLength='300' rs:precision='0'"
    " rs:maybenull='false'/>\r\n"
    "\t\t</s:AttributeType>\r\n"
    "\t\t<s:extends type='rs:rowbase'/>\r\n"
    "\t</s:ElementType>\r\n"
    "</s:Schema>\r\n"
    "<rs:data>\r\n";

// Records added to a fresh rowset are pending inserts, so the components put them all in
// one insert section; with no record at all they write no section.
constexpr char kInsertOpen[] = "\t<rs:insert>\r\n";
constexpr char kInsertClose[] = "\t</rs:insert>\r\n";
constexpr char kRowOpen[] = "\t\t<z:row Ligne='";
constexpr char kRowClose[] = "'/>\r\n";
constexpr char kRowsetTail[] = "</rs:data>\r\n</xml>";

// A surrogate without its partner has no UTF-8 form: it would be silently replaced.
bool isLoneSurrogate(const QString& line, qsizetype i)
{
    const QChar c = line.at(i);
    if (c.isHighSurrogate())
        return i + 1 >= line.size() || !line.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !line.at(i - 1).isHighSurrogate();
    return false;
}

QString codePoint(QChar c)
{
    return QStringLiteral("U+%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0')).toUpper();
}

std::optional<QString> findUnwritableCharacter(const QString& line, qsizetype lineNumber)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (isLoneSurrogate(line, i))
            return QStringLiteral("La ligne %1 contient un caractère incomplet (%2) en "
                                  "position %3 ; elle ne peut pas être écrite.")
                .arg(lineNumber)
                .arg(codePoint(line.at(i)))
                .arg(i + 1);
    }
    return std::nullopt;
}

std::optional<QString> findUnwritableReason(const QString& line, qsizetype lineNumber)
{
    // The components measure a value in UTF-16 code units (a string's length to them), so
    // QString::size() is their count: a character outside the BMP counts as two.
    if (line.size() > kMaxLineLength)
        return QStringLiteral("La ligne %1 a %2 caractères ; une ligne de fichier de notes "
                              "en contient au plus %3.")
            .arg(lineNumber)
            .arg(line.size())
            .arg(kMaxLineLength);
    return findUnwritableCharacter(line, lineNumber);
}

// The components escape exactly these five, as lowercase hexadecimal references.
QLatin1String escapeFor(QChar c)
{
    switch (c.unicode()) {
    case u'\'':
        return QLatin1String("&#x27;");
    case u'&':
        return QLatin1String("&#x26;");
    case u'<':
        return QLatin1String("&#x3c;");
    case u'>':
        return QLatin1String("&#x3e;");
    case u'"':
        return QLatin1String("&#x22;");
    default:
        return QLatin1String();
    }
}

QString escapedValue(const QString& line)
{
    QString escaped;
    escaped.reserve(line.size());
    for (const QChar c : line) {
        const QLatin1String reference = escapeFor(c);
        if (reference.isEmpty())
            escaped.append(c);
        else
            escaped.append(reference);
    }
    return escaped;
}

} // namespace

std::optional<QString> findUnwritableLine(const QStringList& lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (auto reason = findUnwritableReason(lines.at(i), i + 1))
            return reason;
    }
    return std::nullopt;
}

QByteArray rowsetBytes(const QStringList& lines)
{
    QByteArray bytes(kRowsetHead);
    if (!lines.isEmpty()) {
        bytes.append(kInsertOpen);
        for (const QString& line : lines) {
            bytes.append(kRowOpen);
            bytes.append(escapedValue(line).toUtf8());
            bytes.append(kRowClose);
        }
        bytes.append(kInsertClose);
    }
    bytes.append(kRowsetTail);
    return bytes;
}

} // namespace gradefile
