#include "core/gradefile/rowsetreader.h"

#include "core/gradefile/xmlnamespaces.h"
#include "core/gradefile/xmlscanner.h"
#include "core/gradefile/xmltext.h"

#include <QSet>

namespace gradefile {

namespace {

const QLatin1String kRowsetNamespace("urn:schemas-microsoft-com:rowset");
const QLatin1String kSchemaNamespace("uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882");
const QLatin1String kRowNamespace("#RowsetSchema");

// Real rowsets nest four levels deep; the bound only stops a hostile file.
constexpr std::size_t kMaxDepth = 64;

QString notARowset(const QString& reason)
{
    return QStringLiteral("le fichier n'est pas un jeu d'enregistrements : ") + reason;
}

FieldRead failedRead(const QString& reason)
{
    FieldRead read;
    read.error = notARowset(reason);
    return read;
}

// Where an element stands, which decides what may appear inside it.
enum class Context {
    Document,
    Root,
    Schema,
    RowType,
    Ignored, // schema details we do not need, kept only to check nesting
    Data,
    Insert,
    Update,
    Original,
    Delete,
    Row,
};

struct OpenElement {
    QStringView name;
    Context context;
};

struct FieldType {
    QString name;                      // what rows use as the attribute name
    std::optional<QString> rowsetName; // rs:name: the field name, when not usable in XML
};

struct SchemaRead {
    bool hasRowType = false;
    std::vector<FieldType> rowFields;        // AttributeTypes inside the row ElementType
    std::vector<FieldType> schemaLevelTypes; // the older layout: at schema level ...
    QSet<QString> referencedTypes;           // ... referred to by <s:attribute type=.../>
};

// The field in one row: left out, forced NULL, or given.
struct Cell {
    enum class State { LeftOut, ForcedNull, Given };
    State state = State::LeftOut;
    QString value;

    std::optional<QString> record() const
    {
        return state == State::Given ? std::optional<QString>(value) : std::nullopt;
    }
};

bool namesListed(QStringView list, QStringView name)
{
    qsizetype i = 0;
    while (i < list.size()) {
        while (i < list.size() && xml::isXmlWhitespace(list[i]))
            ++i;
        const qsizetype start = i;
        while (i < list.size() && !xml::isXmlWhitespace(list[i]))
            ++i;
        if (i > start && list.mid(start, i - start) == name)
            return true;
    }
    return false;
}

bool isElement(const xml::ExpandedName& name, QLatin1String uri, QLatin1String local)
{
    return name.uri == uri && name.local == local;
}

bool isRow(const xml::ExpandedName& name)
{
    return isElement(name, kRowNamespace, QLatin1String("row"));
}

class RowsetParser {
public:
    RowsetParser(QStringView text, const QString& fieldName)
        : m_text(text), m_scanner(text), m_fieldName(fieldName)
    {}

    FieldRead parse();

private:
    bool handle(const xml::Token& token);
    bool openElement(const xml::Token& tag);
    bool closeElement(const xml::Token& tag);
    bool closeInnermost(qsizetype position);
    bool acceptText(const xml::Token& text);
    bool finishDocument(qsizetype position);

    bool checkAttributePrefixes(const xml::Token& tag);
    std::optional<Context> childContext(Context parent, const xml::ExpandedName& name,
                                        const xml::Token& tag);
    std::optional<Context> rootChild(const xml::ExpandedName& name, const xml::Token& tag);
    std::optional<Context> schemaChild(const xml::ExpandedName& name, const xml::Token& tag);
    std::optional<Context> rowTypeChild(const xml::ExpandedName& name, const xml::Token& tag);
    std::optional<Context> dataChild(Context parent, const xml::ExpandedName& name,
                                     const xml::Token& tag);
    std::optional<Context> updateChild(const xml::ExpandedName& name, const xml::Token& tag);
    std::optional<Context> rowOnlyChild(Context parent, const xml::ExpandedName& name,
                                        const xml::Token& tag);
    bool closeSchema(qsizetype position);
    bool closeContext(Context context, qsizetype position);

    void addRecord(const xml::Token& row);
    bool keepOriginal(const xml::Token& row);
    bool applyChange(const xml::Token& row);
    Cell readCell(const xml::Token& row) const;
    std::optional<FieldType> readFieldType(const xml::Token& tag) const;
    std::optional<QString> unprefixedAttribute(const xml::Token& tag, QStringView name) const;

    std::optional<Context> unexpected(const xml::Token& tag);
    bool fail(const QString& reason, qsizetype position);
    int lineAt(qsizetype position) const;

    QStringView m_text;
    xml::Scanner m_scanner;
    xml::NamespaceScopes m_namespaces;
    QString m_fieldName;
    std::vector<OpenElement> m_open;
    bool m_rootSeen = false;
    bool m_schemaSeen = false;
    bool m_dataSeen = false;
    SchemaRead m_schema;
    std::optional<FieldType> m_field;
    bool m_originalHasRow = false;
    std::optional<std::optional<QString>> m_pendingOriginal; // the record an update changes
    std::vector<std::optional<QString>> m_values;
    QString m_error;
};

FieldRead RowsetParser::parse()
{
    for (;;) {
        const xml::Token token = m_scanner.next();
        if (token.kind == xml::TokenKind::EndOfInput) {
            if (!finishDocument(token.position))
                break;
            FieldRead read;
            read.ok = true;
            read.values = std::move(m_values);
            return read;
        }
        if (!handle(token))
            break;
    }
    FieldRead read;
    read.error = m_error;
    return read;
}

bool RowsetParser::handle(const xml::Token& token)
{
    switch (token.kind) {
    case xml::TokenKind::StartTag:
        return openElement(token);
    case xml::TokenKind::EndTag:
        return closeElement(token);
    case xml::TokenKind::Text:
        return acceptText(token);
    case xml::TokenKind::Error:
    case xml::TokenKind::EndOfInput:
        break;
    }
    return fail(token.error, token.position);
}

bool RowsetParser::openElement(const xml::Token& tag)
{
    if (m_open.size() >= kMaxDepth)
        return fail(QStringLiteral("éléments imbriqués sur plus de %1 niveaux").arg(kMaxDepth),
                    tag.position);
    m_namespaces.enter(tag.attributes);
    const std::optional<xml::ExpandedName> name = m_namespaces.resolveElement(tag.name);
    if (!name)
        return fail(QStringLiteral("préfixe d'espace de noms non déclaré dans <%1>")
                        .arg(xml::shortened(tag.name)),
                    tag.position);
    if (!checkAttributePrefixes(tag))
        return false;
    const Context parent = m_open.empty() ? Context::Document : m_open.back().context;
    const std::optional<Context> context = childContext(parent, *name, tag);
    if (!context)
        return false;
    m_open.push_back(OpenElement{tag.name, *context});
    return !tag.selfClosing || closeInnermost(tag.position);
}

bool RowsetParser::closeElement(const xml::Token& tag)
{
    if (m_open.empty())
        return fail(QStringLiteral("balise fermante </%1> sans balise ouvrante")
                        .arg(xml::shortened(tag.name)),
                    tag.position);
    if (tag.name != m_open.back().name)
        return fail(QStringLiteral("</%1> trouvé là où </%2> était attendu")
                        .arg(xml::shortened(tag.name), xml::shortened(m_open.back().name)),
                    tag.position);
    return closeInnermost(tag.position);
}

bool RowsetParser::closeInnermost(qsizetype position)
{
    const Context context = m_open.back().context;
    m_open.pop_back();
    m_namespaces.leave();
    return closeContext(context, position);
}

// Text between the elements of the data section would be a value lost without a
// word, so it is refused; the schema may carry annotations, which we ignore.
bool RowsetParser::acceptText(const xml::Token& text)
{
    if (text.whitespaceOnly)
        return true;
    const Context context = m_open.empty() ? Context::Document : m_open.back().context;
    switch (context) {
    case Context::Schema:
    case Context::RowType:
    case Context::Ignored:
        return true;
    case Context::Document:
        return fail(m_rootSeen ? QStringLiteral("texte après la fin de l'élément <xml>")
                               : QStringLiteral("ce n'est pas un document XML"),
                    text.position);
    default:
        return fail(
            QStringLiteral("texte inattendu dans <%1>").arg(xml::shortened(m_open.back().name)),
            text.position);
    }
}

bool RowsetParser::finishDocument(qsizetype position)
{
    if (!m_open.empty())
        return fail(QStringLiteral("le fichier s'arrête avant la fin de <%1> : il est tronqué")
                        .arg(xml::shortened(m_open.back().name)),
                    position);
    if (!m_rootSeen)
        return fail(QStringLiteral("aucun élément XML"), position);
    return true;
}

bool RowsetParser::checkAttributePrefixes(const xml::Token& tag)
{
    for (const xml::Attribute& attribute : tag.attributes) {
        if (!m_namespaces.resolveAttribute(attribute.name))
            return fail(
                QStringLiteral("préfixe d'espace de noms non déclaré dans l'attribut « %1 »")
                    .arg(xml::shortened(attribute.name)),
                tag.position);
    }
    return true;
}

std::optional<Context> RowsetParser::childContext(Context parent, const xml::ExpandedName& name,
                                                  const xml::Token& tag)
{
    switch (parent) {
    case Context::Document:
        if (m_rootSeen) {
            fail(QStringLiteral("un second élément racine <%1>").arg(xml::shortened(tag.name)),
                 tag.position);
            return std::nullopt;
        }
        if (!name.uri.isEmpty() || name.local != u"xml") {
            fail(QStringLiteral("l'élément racine est <%1> et non <xml>")
                     .arg(xml::shortened(tag.name)),
                 tag.position);
            return std::nullopt;
        }
        m_rootSeen = true;
        return Context::Root;
    case Context::Root:
        return rootChild(name, tag);
    case Context::Schema:
        return schemaChild(name, tag);
    case Context::RowType:
        return rowTypeChild(name, tag);
    case Context::Ignored:
        return Context::Ignored;
    case Context::Data:
    case Context::Insert:
        return dataChild(parent, name, tag);
    case Context::Update:
        return updateChild(name, tag);
    case Context::Original:
    case Context::Delete:
    case Context::Row:
        return rowOnlyChild(parent, name, tag);
    }
    return unexpected(tag);
}

std::optional<Context> RowsetParser::rootChild(const xml::ExpandedName& name, const xml::Token& tag)
{
    if (isElement(name, kSchemaNamespace, QLatin1String("Schema"))) {
        if (m_schemaSeen) {
            fail(QStringLiteral("un second schéma"), tag.position);
            return std::nullopt;
        }
        m_schemaSeen = true;
        return Context::Schema;
    }
    if (isElement(name, kRowsetNamespace, QLatin1String("data"))) {
        if (!m_field) {
            fail(QStringLiteral("les données précèdent le schéma"), tag.position);
            return std::nullopt;
        }
        if (m_dataSeen) {
            fail(QStringLiteral("une seconde section de données"), tag.position);
            return std::nullopt;
        }
        m_dataSeen = true;
        return Context::Data;
    }
    return unexpected(tag);
}

std::optional<Context> RowsetParser::schemaChild(const xml::ExpandedName& name,
                                                 const xml::Token& tag)
{
    if (isElement(name, kSchemaNamespace, QLatin1String("ElementType")) &&
        unprefixedAttribute(tag, u"name") == QLatin1String("row")) {
        if (m_schema.hasRowType) {
            fail(QStringLiteral("le schéma décrit deux fois les lignes"), tag.position);
            return std::nullopt;
        }
        m_schema.hasRowType = true;
        return Context::RowType;
    }
    if (isElement(name, kSchemaNamespace, QLatin1String("AttributeType"))) {
        if (std::optional<FieldType> field = readFieldType(tag))
            m_schema.schemaLevelTypes.push_back(std::move(*field));
    }
    return Context::Ignored;
}

std::optional<Context> RowsetParser::rowTypeChild(const xml::ExpandedName& name,
                                                  const xml::Token& tag)
{
    if (isElement(name, kSchemaNamespace, QLatin1String("AttributeType"))) {
        if (std::optional<FieldType> field = readFieldType(tag))
            m_schema.rowFields.push_back(std::move(*field));
    } else if (isElement(name, kSchemaNamespace, QLatin1String("attribute"))) {
        if (std::optional<QString> type = unprefixedAttribute(tag, u"type"))
            m_schema.referencedTypes.insert(*type);
    }
    return Context::Ignored;
}

std::optional<Context> RowsetParser::dataChild(Context parent, const xml::ExpandedName& name,
                                               const xml::Token& tag)
{
    if (isRow(name)) {
        addRecord(tag);
        return Context::Row;
    }
    if (parent == Context::Data) {
        if (isElement(name, kRowsetNamespace, QLatin1String("insert")))
            return Context::Insert;
        if (isElement(name, kRowsetNamespace, QLatin1String("update")))
            return Context::Update;
        if (isElement(name, kRowsetNamespace, QLatin1String("delete")))
            return Context::Delete;
    }
    return unexpected(tag);
}

// An update holds pairs: the original row, then the row with the changed fields.
std::optional<Context> RowsetParser::updateChild(const xml::ExpandedName& name,
                                                 const xml::Token& tag)
{
    if (isElement(name, kRowsetNamespace, QLatin1String("original"))) {
        if (m_pendingOriginal) {
            fail(QStringLiteral("une ligne d'origine sans ligne modifiée"), tag.position);
            return std::nullopt;
        }
        m_originalHasRow = false;
        return Context::Original;
    }
    if (isRow(name))
        return applyChange(tag) ? std::optional(Context::Row) : std::nullopt;
    return unexpected(tag);
}

std::optional<Context> RowsetParser::rowOnlyChild(Context parent, const xml::ExpandedName& name,
                                                  const xml::Token& tag)
{
    if (parent == Context::Row || !isRow(name))
        return unexpected(tag);
    if (parent == Context::Original && !keepOriginal(tag))
        return std::nullopt;
    return Context::Row; // a deleted row is read only to check it
}

bool RowsetParser::closeContext(Context context, qsizetype position)
{
    switch (context) {
    case Context::Schema:
        return closeSchema(position);
    case Context::Original:
        if (!m_originalHasRow)
            return fail(QStringLiteral("une section d'origine sans ligne"), position);
        return true;
    case Context::Update:
        if (m_pendingOriginal)
            return fail(QStringLiteral("une ligne d'origine sans ligne modifiée"), position);
        return true;
    case Context::Root:
        if (!m_schemaSeen)
            return fail(QStringLiteral("aucun schéma"), position);
        if (!m_dataSeen)
            return fail(QStringLiteral("aucune section de données"), position);
        return true;
    default:
        return true;
    }
}

// The field is looked up once the whole schema is known, because in the older
// layout the row type may refer to attribute types declared after it.
bool RowsetParser::closeSchema(qsizetype position)
{
    if (!m_schema.hasRowType)
        return fail(QStringLiteral("le schéma ne décrit pas les lignes"), position);
    std::vector<const FieldType*> fields;
    for (const FieldType& field : m_schema.rowFields)
        fields.push_back(&field);
    for (const FieldType& type : m_schema.schemaLevelTypes) {
        if (m_schema.referencedTypes.contains(type.name))
            fields.push_back(&type);
    }
    for (const FieldType* field : fields) {
        const QString& fieldName = field->rowsetName.value_or(field->name);
        if (fieldName.compare(m_fieldName, Qt::CaseInsensitive) != 0)
            continue;
        if (m_field)
            return fail(QStringLiteral("le schéma a deux champs « %1 »").arg(m_fieldName),
                        position);
        m_field = *field;
    }
    if (!m_field)
        return fail(QStringLiteral("aucun champ « %1 » dans le schéma").arg(m_fieldName), position);
    return true;
}

void RowsetParser::addRecord(const xml::Token& row)
{
    m_values.push_back(readCell(row).record());
}

bool RowsetParser::keepOriginal(const xml::Token& row)
{
    if (m_originalHasRow)
        return fail(QStringLiteral("deux lignes dans une même section d'origine"), row.position);
    m_originalHasRow = true;
    m_pendingOriginal = readCell(row).record();
    return true;
}

bool RowsetParser::applyChange(const xml::Token& row)
{
    if (!m_pendingOriginal)
        return fail(QStringLiteral("une ligne modifiée sans ligne d'origine"), row.position);
    const Cell cell = readCell(row);
    // The changed row carries only the fields that changed.
    m_values.push_back(cell.state == Cell::State::LeftOut ? *m_pendingOriginal : cell.record());
    m_pendingOriginal.reset();
    return true;
}

Cell RowsetParser::readCell(const xml::Token& row) const
{
    Cell cell;
    bool forcedNull = false;
    for (const xml::Attribute& attribute : row.attributes) {
        if (attribute.name == m_field->name) {
            cell.state = Cell::State::Given;
            cell.value = attribute.value;
            continue;
        }
        const std::optional<xml::ExpandedName> name = m_namespaces.resolveAttribute(attribute.name);
        if (name && isElement(*name, kRowsetNamespace, QLatin1String("forcenull")))
            forcedNull = forcedNull || namesListed(attribute.value, m_field->name);
    }
    if (forcedNull)
        return Cell{Cell::State::ForcedNull, QString()};
    return cell;
}

std::optional<FieldType> RowsetParser::readFieldType(const xml::Token& tag) const
{
    std::optional<QString> name = unprefixedAttribute(tag, u"name");
    if (!name)
        return std::nullopt;
    FieldType field{std::move(*name), std::nullopt};
    for (const xml::Attribute& attribute : tag.attributes) {
        const std::optional<xml::ExpandedName> resolved =
            m_namespaces.resolveAttribute(attribute.name);
        if (resolved && isElement(*resolved, kRowsetNamespace, QLatin1String("name")))
            field.rowsetName = attribute.value;
    }
    return field;
}

std::optional<QString> RowsetParser::unprefixedAttribute(const xml::Token& tag,
                                                         QStringView name) const
{
    for (const xml::Attribute& attribute : tag.attributes) {
        if (attribute.name == name)
            return attribute.value;
    }
    return std::nullopt;
}

std::optional<Context> RowsetParser::unexpected(const xml::Token& tag)
{
    const QString where = m_open.empty()
                              ? QStringLiteral("le document")
                              : QStringLiteral("<%1>").arg(xml::shortened(m_open.back().name));
    fail(QStringLiteral("élément <%1> inattendu dans %2").arg(xml::shortened(tag.name), where),
         tag.position);
    return std::nullopt;
}

bool RowsetParser::fail(const QString& reason, qsizetype position)
{
    m_error = notARowset(QStringLiteral("%1 (ligne %2)").arg(reason).arg(lineAt(position)));
    return false;
}

int RowsetParser::lineAt(qsizetype position) const
{
    return int(m_text.left(position).count(u'\n')) + 1;
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
    const xml::DecodedText decoded = xml::decodeXmlBytes(bytes);
    if (!decoded.error.isEmpty())
        return failedRead(decoded.error);
    return RowsetParser(decoded.text, fieldName).parse();
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
