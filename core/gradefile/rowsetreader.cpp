#include "core/gradefile/rowsetreader.h"

#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <string_view>

namespace gradefile {

namespace {

constexpr QStringView kRowsetUri = u"urn:schemas-microsoft-com:rowset";
constexpr QStringView kSchemaUri = u"uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882";
constexpr QStringView kRowUri = u"#RowsetSchema";

// Real rowsets nest four levels deep, declare four namespaces and give a row an attribute a
// field; the bounds only stop a hostile file, from which Qt would take minutes: it looks a prefix
// up through every declaration in force, and checks each attribute of a tag against the others.
constexpr std::size_t kMaxDepth = 64;
constexpr qsizetype kMaxNamespaces = 64;
constexpr int kMaxAttributes = 1024;

FieldRead failedRead(const QString& reason)
{
    FieldRead read;
    read.error = QStringLiteral("le fichier n'est pas un jeu d'enregistrements : ") + reason;
    return read;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// Qt's isWhitespace() answers no for blanks written as references.
bool isBlank(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return isBlank(c); });
}

// Qt's parser turns TAB, CR and LF in an attribute value into spaces, and refuses the other C0
// controls (raw, or as references like &#1;), U+FFFE and U+FFFF, which the components write
// raw. So the text it parses has TAB, CR and LF in values as references, and each character it
// would refuse, kHide too, as kHide followed by that character plus kShift; shown() undoes it.
constexpr char16_t kHide = 0xE000; // private use
constexpr char16_t kShift = 0xE100;

bool isRefused(char32_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF ||
           c == kHide;
}

// The character the UTF-8 at in[i] stands for, and its length in bytes when Qt would refuse it
// (else 0). Those past U+007F are all U+E000 or more, led by EE or EF.
std::pair<char32_t, qsizetype> refusedAt(QByteArrayView in, qsizetype i)
{
    const uchar lead = in[i];
    if (lead < 0x80 || i + 2 >= in.size() || (lead != 0xEE && lead != 0xEF))
        return {lead, isRefused(lead) ? 1 : 0};
    const char32_t c = (lead & 0x0F) << 12 | (in[i + 1] & 0x3F) << 6 | (in[i + 2] & 0x3F);
    return {c, isRefused(c) ? 3 : 0};
}

QString shown(QStringView value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i)
        text += value[i] == kHide && i + 1 < value.size()
                    ? QChar(char16_t(value[++i].unicode() - kShift))
                    : value[i];
    return text;
}

// The character a reference such as &#1; or &#x1F; at the start of text stands for, and the
// reference's length, 0 when there is none or its number is out of bounds.
std::pair<uint, qsizetype> characterReference(QByteArrayView text)
{
    const int base = text.startsWith("&#x") ? 16 : text.startsWith("&#") ? 10 : 0;
    const qsizetype start = base == 16 ? 3 : 2;
    qsizetype end = start;
    while (base && end < text.size() &&
           QByteArrayView("0123456789abcdefABCDEF").first(base == 16 ? 22 : 10).contains(text[end]))
        ++end;
    bool ok = false;
    const uint code = base ? text.sliced(start, end - start).toUInt(&ok, base) : 0;
    if (!ok || end == text.size() || text[end] != ';')
        return {0, 0};
    return {code, end + 1};
}

// The bytes prepare() passes by in text, in values and, in a tag, outside values, which holds
// names, blanks, '=' and '/' besides quotes and '>': Qt checks element names but lets any
// character through in an attribute name.
template <typename Passes> constexpr std::array<bool, 256> byteTable(Passes passes)
{
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = passes(c);
    return table;
}
constexpr auto kPassedInText = byteTable([](int c) {
    return (c >= 0x20 || c == '\t' || c == '\n' || c == '\r') && c != '&' && c != '<' && c < 0xEE;
});
constexpr auto kPassedInValue =
    byteTable([](int c) { return c >= 0x20 && c != '"' && c != '&' && c != '\'' && c < 0xEE; });
constexpr auto kPassedInTag = byteTable([](int c) {
    return c >= 0x80 || (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') ||
           std::string_view("_:-. \t\r\n=/").find(char(c)) != std::string_view::npos;
});

struct ParserText {
    QByteArray text;        // UTF-8
    QString refusal;        // when not empty: why the file is refused
    bool asWritten = false; // nothing changed: text shares the file's bytes
};

// What Qt's parser reads (see kHide). What we overlook, comments and processing instructions,
// becomes a blank (and its line ends) so that Qt overlooks it too: an XML declaration after a
// blank line, "--" in a comment. What Qt would let through, a DOCTYPE or a stray character in an
// attribute name, is refused.
ParserText prepare(const QByteArray& bytes)
{
    const QByteArrayView in(bytes); // slices of a view copy nothing
    ParserText out;
    qsizetype copied = 0; // in[copied, i) is still to be appended as it stands
    const auto put = [&](qsizetype i, qsizetype length, QByteArrayView by) {
        out.text.append(in.sliced(copied, i - copied)).append(by);
        copied = i + length;
    };
    const auto hide = [&](qsizetype i, qsizetype length, char32_t c) {
        const QChar pair[] = {QChar(kHide), QChar(char16_t(c + kShift))};
        put(i, length, QStringView(pair, 2).toUtf8());
    };
    const auto spanEnd = [&](qsizetype i, QByteArrayView open, QByteArrayView close) {
        const qsizetype end =
            in.sliced(i).startsWith(open) ? in.indexOf(close, i + open.size()) : -1;
        return end < 0 ? -1 : end + close.size();
    };
    const auto refuse = [&](qsizetype i, const QString& reason) {
        out.refusal = QStringLiteral("%1 (ligne %2)").arg(reason).arg(in.first(i).count('\n') + 1);
        return out;
    };
    // Qt would skip it as well as the file's.
    if (in.startsWith("\xEF\xBB\xBF\xEF\xBB\xBF"))
        return refuse(0, QStringLiteral("ce n'est pas un document XML"));
    bool inTag = false;
    char quote = 0; // in a tag: the quote that ends the value we are in
    int values = 0; // in the tag
    const char* const data = in.constData();
    for (qsizetype i = 0; i < in.size(); ++i) {
        const auto& passed = !inTag ? kPassedInText : quote ? kPassedInValue : kPassedInTag;
        i = std::find_if(data + i, data + in.size(), [&](char c) { return !passed[uchar(c)]; }) -
            data;
        if (i == in.size())
            break;
        const char c = data[i];
        if (inTag && !quote) {
            if (c != '\'' && c != '"' && c != '>')
                return refuse(i, QStringLiteral("caractère interdit dans une balise"));
            if (c == '>')
                values = 0;
            else if (++values > kMaxAttributes)
                return refuse(
                    i, QStringLiteral("plus de %1 attributs dans une balise").arg(kMaxAttributes));
            quote = c == '>' ? 0 : c;
            inTag = c != '>';
        } else if (quote && c == quote) {
            quote = 0;
        } else if (quote && (c == '\t' || c == '\r' || c == '\n')) {
            put(i, 1, c == '\t' ? "&#9;" : c == '\r' ? "&#13;" : "&#10;");
        } else if (c == '<' && !quote && i + 1 < in.size() && data[i + 1] != '!' &&
                   data[i + 1] != '?') {
            inTag = true; // the usual tag: the tests below cost more than the rest
        } else if (c == '<' && !quote) {
            qsizetype end = spanEnd(i, "<!--", "-->");
            if (end < 0)
                end = spanEnd(i, "<?", "?>");
            if (end >= 0) {
                put(i, end - i, QByteArray(in.sliced(i, end - i).count('\n'), '\n') + ' ');
                i = end - 1;
            } else if ((end = spanEnd(i, "<![CDATA[", "]]>")) >= 0) {
                for (; i < end; ++i) {
                    if (const auto [code, length] = refusedAt(in, i); length > 0) {
                        hide(i, length, code);
                        i += length - 1;
                    }
                }
                --i;
            } else if (in.sliced(i).startsWith("<!DOCTYPE")) {
                return refuse(i, QStringLiteral("déclaration <!DOCTYPE> refusée (aucune DTD "
                                                "n'est lue)"));
            } else {
                inTag = true;
            }
        } else if (c == '&') {
            // XML allows no reference to C0 controls; we always read them, NUL aside.
            const auto [code, length] = characterReference(in.sliced(i));
            if (length > 0 && code != 0 && code < 0xFFFE && isRefused(code)) {
                hide(i, length, code);
                i += length - 1;
            }
        } else if (const auto [code, length] = refusedAt(in, i); length > 0) {
            hide(i, length, code);
            i += length - 1;
        }
    }
    out.asWritten = copied == 0;
    if (out.asWritten)
        out.text = bytes;
    else
        out.text.append(in.sliced(copied));
    return out;
}

struct FieldType {
    QString name;      // what rows use as the attribute name
    QString fieldName; // rs:name when given (for names unusable in XML), else name
};

// The field in one row: left out, or its value (nullopt when forced NULL).
struct Cell {
    bool leftOut = true;
    std::optional<QString> value;
};

bool namesListed(QStringView list, QStringView name)
{
    const auto blank = [](QChar c) { return isBlank(c); };
    for (auto it = list.begin(); it != list.end();) {
        const auto start = std::find_if_not(it, list.end(), blank);
        it = std::find_if(start, list.end(), blank);
        if (it != start && QStringView(start, it) == name)
            return true;
    }
    return false;
}

class RowsetParser {
public:
    RowsetParser(const ParserText& text, const QString& fieldName)
        : m_xml(text.text), m_fieldName(fieldName), m_hides(!text.asWritten)
    {}

    FieldRead parse()
    {
        const bool rootSeen = nextChild(true);
        if (rootSeen && m_xml.namespaceUri().isEmpty() && m_xml.name() == u"xml")
            readRoot();
        else if (rootSeen)
            fail(QStringLiteral("l'élément racine est <%1> et non <xml>").arg(openName()));
        while (!m_xml.atEnd()) // after the root, Qt lets through only what we overlook
            m_xml.readNext();
        if (!m_xml.hasError()) {
            FieldRead read;
            read.ok = true;
            read.values = std::move(m_values);
            return read;
        }
        QString reason = m_xml.errorString();
        if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            reason = m_depth == 0 ? QStringLiteral("aucun élément XML")
                                  : QStringLiteral("le fichier s'arrête avant la fin de <%1> : "
                                                   "il est tronqué")
                                        .arg(openName());
        else if (m_xml.error() != QXmlStreamReader::CustomError)
            reason = rootSeen ? QStringLiteral("XML mal formé")
                              : QStringLiteral("ce n'est pas un document XML");
        return failedRead(QStringLiteral("%1 (ligne %2)").arg(reason).arg(m_xml.lineNumber()));
    }

private:
    struct Open {
        QString name;         // qualified, for messages
        qsizetype namespaces; // declared by it and the elements around it
    };

    bool is(QStringView uri, QStringView name) const
    {
        return m_xml.name() == name && m_xml.namespaceUri() == uri;
    }
    bool isRow() const { return is(kRowUri, u"row"); }
    const QString& openName(std::size_t outward = 0) const
    {
        return m_open[m_depth - 1 - outward].name;
    }

    // Moves to the next element inside the current one: false at the end of the current one,
    // and once the file is refused.
    bool nextChild(bool textAllowed = false)
    {
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement: {
                if (m_depth == kMaxDepth)
                    return fail(
                        QStringLiteral("éléments imbriqués sur plus de %1 niveaux").arg(kMaxDepth));
                if (m_depth == m_open.size())
                    m_open.emplace_back();
                Open& element = m_open[m_depth];
                // Sibling rows find their name in place; a hostile name may be megabytes.
                if (element.name != m_xml.qualifiedName().left(24))
                    element.name = m_xml.qualifiedName().left(24).toString();
                const QXmlStreamNamespaceDeclarations declarations = m_xml.namespaceDeclarations();
                element.namespaces =
                    declarations.size() + (m_depth > 0 ? m_open[m_depth - 1].namespaces : 0);
                ++m_depth;
                if (element.namespaces > kMaxNamespaces)
                    return fail(QStringLiteral("plus de %1 espaces de noms déclarés à la fois")
                                    .arg(kMaxNamespaces));
                // Qt lets a tag declare a prefix twice.
                QSet<QStringView> prefixes;
                for (const QXmlStreamNamespaceDeclaration& declaration : declarations)
                    prefixes.insert(declaration.prefix());
                return prefixes.size() == declarations.size() ||
                       fail(QStringLiteral("préfixe déclaré deux fois dans <%1>").arg(openName()));
            }
            case QXmlStreamReader::EndElement:
                --m_depth;
                return false;
            case QXmlStreamReader::Characters: // among the data, a value lost without a word
                if (!textAllowed && !m_xml.isWhitespace() && !isBlank(m_xml.text()))
                    return fail(QStringLiteral("texte inattendu dans <%1>").arg(openName()));
                break;
            default:
                break;
            }
        }
        return false;
    }

    void skip()
    {
        while (nextChild(true))
            skip();
    }

    bool readRoot()
    {
        bool schemaSeen = false;
        bool dataSeen = false;
        while (nextChild()) {
            if (is(kSchemaUri, u"Schema")) {
                if (std::exchange(schemaSeen, true))
                    return fail(QStringLiteral("un second schéma"));
                readSchema();
            } else if (!is(kRowsetUri, u"data")) {
                return unexpected();
            } else if (!m_field) {
                return fail(QStringLiteral("les données précèdent le schéma"));
            } else if (std::exchange(dataSeen, true)) {
                return fail(QStringLiteral("une seconde section de données"));
            } else {
                readData();
            }
        }
        return dataSeen || fail(schemaSeen ? QStringLiteral("aucune section de données")
                                           : QStringLiteral("aucun schéma"));
    }

    // The field is looked up once the whole schema is read: in the older layout, the row type
    // refers to attribute types declared at schema level, after it as well as before.
    bool readSchema()
    {
        bool rowTypeSeen = false;
        std::vector<FieldType> fields;
        std::vector<FieldType> schemaLevelTypes;
        QSet<QString> referencedTypes;
        while (nextChild(true)) {
            if (!is(kSchemaUri, u"ElementType") ||
                m_xml.attributes().value(QLatin1String("name")) != u"row") {
                addFieldType(schemaLevelTypes);
                skip();
                continue;
            }
            if (std::exchange(rowTypeSeen, true))
                return fail(QStringLiteral("le schéma décrit deux fois les lignes"));
            while (nextChild(true)) {
                const QXmlStreamAttributes attributes = m_xml.attributes();
                if (is(kSchemaUri, u"attribute") && attributes.hasAttribute(QLatin1String("type")))
                    referencedTypes.insert(attributes.value(QLatin1String("type")).toString());
                addFieldType(fields);
                skip();
            }
        }
        if (!rowTypeSeen)
            return fail(QStringLiteral("le schéma ne décrit pas les lignes"));
        for (const FieldType& type : schemaLevelTypes)
            if (referencedTypes.contains(type.name))
                fields.push_back(type);
        for (const FieldType& field : fields) {
            if (shown(field.fieldName).compare(m_fieldName, Qt::CaseInsensitive) != 0)
                continue;
            if (m_field)
                return fail(QStringLiteral("le schéma a deux champs « %1 »").arg(m_fieldName));
            m_field = field;
        }
        return m_field ||
               fail(QStringLiteral("aucun champ « %1 » dans le schéma").arg(m_fieldName));
    }

    void addFieldType(std::vector<FieldType>& types) const
    {
        const QXmlStreamAttributes attributes = m_xml.attributes();
        if (!is(kSchemaUri, u"AttributeType") || !attributes.hasAttribute(QLatin1String("name")))
            return;
        FieldType type;
        type.name = type.fieldName = attributes.value(QLatin1String("name")).toString();
        for (const QXmlStreamAttribute& attribute : attributes)
            if (attribute.name() == u"name" && attribute.namespaceUri() == kRowsetUri)
                type.fieldName = attribute.value().toString();
        types.push_back(std::move(type));
    }

    // Rows stand in document order, directly in the data section or inside an insert.
    bool readData()
    {
        while (nextChild()) {
            if (isRow()) {
                m_values.push_back(readRow().value);
                continue;
            }
            const bool insert = is(kRowsetUri, u"insert");
            const bool section = insert || is(kRowsetUri, u"delete");
            if (is(kRowsetUri, u"update"))
                readUpdate();
            else if (!section)
                return unexpected();
            while (section && nextChild()) {
                if (!isRow())
                    return unexpected();
                Cell row = readRow(); // a deleted row is no record, only checked
                if (insert)
                    m_values.push_back(std::move(row.value));
            }
        }
        return true;
    }

    // An update holds pairs: the original row, then a row with only the fields that changed.
    bool readUpdate()
    {
        std::optional<std::optional<QString>> original;
        while (nextChild()) {
            if (is(kRowsetUri, u"original")) {
                if (original)
                    return fail(QStringLiteral("une ligne d'origine sans ligne modifiée"));
                while (nextChild()) {
                    if (!isRow())
                        return unexpected();
                    if (original)
                        return fail(QStringLiteral("deux lignes dans une même section d'origine"));
                    original = readRow().value;
                }
                if (!original)
                    return fail(QStringLiteral("une section d'origine sans ligne"));
            } else if (!isRow()) {
                return unexpected();
            } else if (!original) {
                return fail(QStringLiteral("une ligne modifiée sans ligne d'origine"));
            } else {
                Cell change = readRow();
                m_values.push_back(change.leftOut ? *original : std::move(change.value));
                original.reset();
            }
        }
        return !original || fail(QStringLiteral("une ligne d'origine sans ligne modifiée"));
    }

    Cell readRow()
    {
        Cell cell;
        bool forcedNull = false;
        const QXmlStreamAttributes attributes = m_xml.attributes();
        for (const QXmlStreamAttribute& attribute : attributes) {
            if (attribute.qualifiedName() == m_field->name)
                cell =
                    Cell{false, m_hides ? shown(attribute.value()) : attribute.value().toString()};
            else if (attribute.name() == u"forcenull" && attribute.namespaceUri() == kRowsetUri)
                forcedNull = forcedNull || namesListed(attribute.value(), m_field->name);
        }
        if (nextChild()) // a row holds no element
            unexpected();
        if (forcedNull)
            cell = Cell{false, std::nullopt};
        return cell;
    }

    bool unexpected()
    {
        return fail(
            QStringLiteral("élément <%1> inattendu dans <%2>").arg(openName(), openName(1)));
    }

    // The first reason stands: once refused, the reader reads no further.
    bool fail(const QString& reason)
    {
        if (!m_xml.hasError())
            m_xml.raiseError(reason);
        return false;
    }

    QXmlStreamReader m_xml;
    QString m_fieldName;
    bool m_hides;            // whether values may hold characters prepare() hid
    std::size_t m_depth = 0; // open elements
    std::vector<Open> m_open;
    std::optional<FieldType> m_field;
    std::vector<std::optional<QString>> m_values;
};

// Bytes not valid in their encoding are refused rather than replaced, so that a wrongly encoded
// file never reads as altered text.
bool isValid(QByteArrayView bytes, QStringConverter::Encoding encoding, QString* text = nullptr)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless |
                                         QStringConverter::Flag::ConvertInitialBom);
    const QString decoded = decoder.decode(bytes);
    if (text)
        *text = decoded;
    return !decoder.hasError() && QStringView(decoded).isValidUtf16();
}

} // namespace

FieldRead readRowsetField(const QByteArray& bytes, const QString& fieldName)
{
    if (bytes.size() > kMaxRowsetBytes)
        return failedRead(QStringLiteral("fichier trop gros (%1 octets, au plus %2)")
                              .arg(bytes.size())
                              .arg(kMaxRowsetBytes));
    if (bytes.isEmpty())
        return failedRead(QStringLiteral("fichier vide"));
    // Else refused for its NUL bytes, with a message that does not say what is wrong.
    if (bytes.startsWith(QByteArrayView("<\0", 2)) || bytes.startsWith(QByteArrayView("\0<", 2)))
        return failedRead(QStringLiteral("texte UTF-16 sans marque d'ordre des octets"));
    // The byte-order mark decides, not the XML declaration: the components write UTF-8 without
    // one to a file and UTF-16 with one to a Unicode stream.
    QByteArray utf8 = bytes;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QString decoded; // keeps the mark, which Qt skips in the UTF-8
        if (bytes.size() % 2 != 0)
            return failedRead(QStringLiteral("texte UTF-16 coupé au milieu d'un caractère"));
        if (!isValid(bytes,
                     bytes[0] == '\xFF' ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                     &decoded))
            return failedRead(QStringLiteral("texte UTF-16 invalide"));
        utf8 = decoded.toUtf8();
    }
    const ParserText text = prepare(utf8);
    FieldRead read =
        text.refusal.isEmpty() ? RowsetParser(text, fieldName).parse() : failedRead(text.refusal);
    // Qt checks the encoding of what it reads as written, but for a last character cut short.
    if ((!read.ok || !text.asWritten || uchar(utf8.back()) >= 0x80) &&
        !isValid(utf8, QStringConverter::Utf8))
        return failedRead(QStringLiteral("ce n'est pas un texte UTF-8 (fichier binaire ou autre "
                                         "encodage)"));
    return read;
}

LinesRead readRowsetLines(const QByteArray& bytes)
{
    FieldRead field = readRowsetField(bytes, QStringLiteral("Ligne"));
    if (!field.ok)
        return LinesRead{std::nullopt, field.error};
    QStringList lines;
    lines.reserve(qsizetype(field.values.size()));
    for (std::optional<QString>& value : field.values)
        lines.append(value ? std::move(*value) : QString());
    return LinesRead{std::move(lines), QString()};
}

} // namespace gradefile
