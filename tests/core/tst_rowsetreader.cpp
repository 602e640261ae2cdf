#include "gradefile/rowsetreader.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTest>

using namespace gradefile;
using namespace Qt::StringLiterals;

namespace {

// How a NULL value shows in the expected lists below.
const QString kNull = QStringLiteral("<NULL>");

QStringList shown(const FieldRead& read)
{
    QStringList values;
    for (const std::optional<QString>& value : read.values)
        values.append(value.value_or(kNull));
    return values;
}

QByteArray fixture(const QString& name)
{
    QFile file(QStringLiteral(SAISIE_TEST_DATA_DIR "/ado-xml/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

QString crlf(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

const QString kRootStart = crlf({
    QStringLiteral("<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'"),
    QStringLiteral("\txmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'"),
    QStringLiteral("\txmlns:rs='urn:schemas-microsoft-com:rowset'"),
    QStringLiteral("\txmlns:z='#RowsetSchema'>"),
});

const QString kLigneSchema = crlf({
    QStringLiteral("<s:Schema id='RowsetSchema'>"),
    QStringLiteral("\t<s:ElementType name='row' content='eltOnly' rs:updatable='true'>"),
    QStringLiteral("\t\t<s:AttributeType name='Ligne' rs:number='1' rs:write='true'>"),
    QStringLiteral("\t\t\t<s:datatype dt:type='string' rs:dbtype='str' dt:maxLength='300' "
                   "rs:precision='0' rs:maybenull='false'/>"),
    QStringLiteral("\t\t</s:AttributeType>"),
    QStringLiteral("\t\t<s:extends type='rs:rowbase'/>"),
    QStringLiteral("\t</s:ElementType>"),
    QStringLiteral("</s:Schema>"),
});

// A grade file in the layout our writer produces, as text.
QString gradeFileText()
{
    return crlf({
        kRootStart,
        kLigneSchema,
        QStringLiteral("<rs:data>"),
        QStringLiteral("\t<rs:insert>"),
        QStringLiteral("\t\t<z:row Ligne='2024|1|أحمد بن علي'/>"),
        QStringLiteral("\t\t<z:row Ligne=''/>"),
        QStringLiteral("\t\t<z:row Ligne='a&#x26;b &#x3c;c&#x3e; &#x27;q&#x27; &#x22;d&#x22;'/>"),
        QStringLiteral("\t</rs:insert>"),
        QStringLiteral("</rs:data>"),
        QStringLiteral("</xml>"),
    });
}

const QStringList kGradeFileLines = {QStringLiteral("2024|1|أحمد بن علي"), QString(),
                                     QStringLiteral("a&b <c> 'q' \"d\"")};

// A rowset with the Ligne schema above and the given data section content.
QByteArray withData(const QString& data)
{
    return crlf({kRootStart, kLigneSchema, QStringLiteral("<rs:data>"), data,
                 QStringLiteral("</rs:data>"), QStringLiteral("</xml>")})
        .toUtf8();
}

QByteArray withSchemaBody(const QString& schemaBody, const QString& data)
{
    return crlf({kRootStart, QStringLiteral("<s:Schema id='RowsetSchema'>"), schemaBody,
                 QStringLiteral("</s:Schema>"), QStringLiteral("<rs:data>"), data,
                 QStringLiteral("</rs:data>"), QStringLiteral("</xml>")})
        .toUtf8();
}

QByteArray encoded(const QString& text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

QString replacedByPattern(QString text, const QString& pattern, const QString& replacement)
{
    return text.replace(QRegularExpression(pattern), replacement);
}

// The long value of raw-tab-cr-lf-quotes-wrapping.xml: eighteen parts, each ended
// by a CR LF written raw inside the value.
QString longText(int row, int phase)
{
    QString text;
    for (int part = 1; part <= 18; ++part)
        text += QStringLiteral("row=%1|phase=%2|\"dq\"|'sq'|<&>|tab\tcr\rlf\nend|wide=한글_값_€"
                               "|part=%3\r\n")
                    .arg(row)
                    .arg(phase)
                    .arg(part);
    return text;
}

QString shortText(int row, int phase)
{
    return QStringLiteral("row=%1|phase=%2|\"dq\"|'sq'|<&>|tab\tcr\rlf\nend").arg(row).arg(phase);
}

void verifyRefused(const FieldRead& read)
{
    QVERIFY(!read.ok);
    QVERIFY(read.values.empty());
    QVERIFY(read.error.startsWith(QStringLiteral("le fichier n'est pas un jeu d'enregistrements")));
}

} // namespace

class TestRowsetReader : public QObject {
    Q_OBJECT

private slots:
    void referenceFiles_data();
    void referenceFiles();
    void layoutVariants_data();
    void layoutVariants();
    void schemaVariants_data();
    void schemaVariants();
    void recordStates_data();
    void recordStates();
    void values_data();
    void values();
    void refused_data();
    void refused();
    void everyTruncationIsRefused();
    void cutAtEveryLineEndIsRefused();
    void randomBytesAreRefused();
    void mutatedFilesNeverCrash();
    void sizeLimit();
    void linesReadNullAsEmpty();
};

void TestRowsetReader::referenceFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("escapes") << "fabricated-insert-wvarchar-escapes.xml"
                             << "NOTE"
                             << QStringList{u"plain ascii"_s, u"Joe's Garage & <xml>"_s, u""_s};
    QTest::newRow("non-ASCII UTF-8") << "fabricated-insert-varchar-nonascii-utf8.xml"
                                     << "TAIL" << QStringList{u"각"_s, u"마지막"_s, u"끝값"_s};
    QTest::newRow("forcenull text") << "fabricated-insert-forcenull-vs-empty-string.xml"
                                    << "MAYBE_TEXT" << QStringList{kNull, u""_s};
    QTest::newRow("forcenull int") << "fabricated-insert-forcenull-vs-empty-string.xml"
                                   << "MAYBE_INT" << QStringList{kNull, u"0"_s};
    QTest::newRow("no rows") << "fabricated-no-rows.xml"
                             << "NAME" << QStringList{};
    QTest::newRow("update changed field")
        << "varchar-update-original-insert-delete.xml"
        << "VALUE_FIELD" << QStringList{u"한글"_s, u"Joe's <xml> & data"_s, u"tail-value"_s};
    QTest::newRow("update keeps unchanged field") << "varchar-update-original-insert-delete.xml"
                                                  << "ID" << QStringList{u"1"_s, u"3"_s, u"4"_s};
    QTest::newRow("300 wrapped") << "varchar300-after-updatebatch-wrapped-rows.xml"
                                 << "VC300" << QStringList{QString(260, u'A'), kNull};
    QTest::newRow("300 wide") << "varchar300-after-updatebatch-wrapped-rows.xml"
                              << "vwc300" << QStringList{QString(260, u'한'), kNull};
    QTest::newRow("partial update")
        << "default-field-attributes-partial-update.xml"
        << "REQ_TEXT" << QStringList{u"alpha-updated"_s, u"gamma"_s, u"delta"_s};
    QTest::newRow("partial update unchanged")
        << "default-field-attributes-partial-update.xml"
        << "REQ_INT" << QStringList{u"10"_s, u"30"_s, u"40"_s};
    QTest::newRow("raw controls") << "raw-tab-cr-lf-quotes-wrapping.xml"
                                  << "TXT_VAR"
                                  << QStringList{shortText(1, 1), kNull, shortText(4, 2)};
    QTest::newRow("raw CR LF kept")
        << "raw-tab-cr-lf-quotes-wrapping.xml"
        << "TXT_LONG" << QStringList{longText(1, 1), kNull, longText(4, 2)};
}

void TestRowsetReader::referenceFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, field);
    QFETCH(QStringList, expected);
    const FieldRead read = readRowsetField(fixture(file), field);
    QVERIFY2(read.ok, qPrintable(read.error));
    QVERIFY(read.error.isEmpty());
    QCOMPARE(shown(read), expected);
}

void TestRowsetReader::layoutVariants_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = gradeFileText();
    const QString declaration = QStringLiteral("<?xml version='1.0' encoding='UTF-8'?>\r\n");
    const QByteArray bom("\xEF\xBB\xBF");

    QTest::newRow("writer layout") << text.toUtf8();
    QTest::newRow("BOM") << bom + text.toUtf8();
    QTest::newRow("declaration") << (declaration + text).toUtf8();
    QTest::newRow("BOM and declaration") << bom + (declaration + text).toUtf8();
    QTest::newRow("UTF-16 LE") << encoded(text, QStringConverter::Utf16LE);
    QTest::newRow("UTF-16 BE") << encoded(declaration + text, QStringConverter::Utf16BE);
    QTest::newRow("LF only")
        << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8();
    QTest::newRow("double quotes") << QString(text).replace(u'\'', u'"').toUtf8();
    QTest::newRow("other prefixes")
        << replacedByPattern(
               replacedByPattern(text, QStringLiteral("\\b(s|rs|z|dt):"), QStringLiteral("p\\1:")),
               QStringLiteral("xmlns:(s|rs|z|dt)="), QStringLiteral("xmlns:p\\1="))
               .toUtf8();
    QTest::newRow("wrapped start tags")
        << QString(text)
               .replace(QStringLiteral("<z:row "), QStringLiteral("<z:row\r\n\t\t\t "))
               .replace(QStringLiteral("<s:AttributeType "), QStringLiteral("<s:AttributeType\n  "))
               .toUtf8();
    QTest::newRow("spaces around =")
        << QString(text)
               .replace(QStringLiteral("Ligne="), QStringLiteral("Ligne \t=\r\n "))
               .toUtf8();
    QTest::newRow("comments, instructions, CDATA space")
        << QString(text)
               .replace(QStringLiteral("<rs:data>"),
                        QStringLiteral("<!-- a <b> & c --><rs:data><?pi x?><![CDATA[ \r\n]]>"))
               .toUtf8();
    QTest::newRow("trailing whitespace and comment")
        << (text + QStringLiteral("\r\n<!-- end -->\r\n")).toUtf8();
    QTest::newRow("rows under data") << QString(text)
                                            .remove(QStringLiteral("\t<rs:insert>\r\n"))
                                            .remove(QStringLiteral("\t</rs:insert>\r\n"))
                                            .toUtf8();
}

void TestRowsetReader::layoutVariants()
{
    QFETCH(QByteArray, bytes);
    const LinesRead read = readRowsetLines(bytes);
    QVERIFY2(read.lines.has_value(), qPrintable(read.error));
    QCOMPARE(*read.lines, kGradeFileLines);
}

void TestRowsetReader::schemaVariants_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("expected");
    const QString rowType = u"<s:ElementType name='row'>%1</s:ElementType>"_s;

    QTest::newRow("case-insensitive field name")
        << withSchemaBody(rowType.arg(u"<s:AttributeType name='LIGNE'/>"), u"<z:row LIGNE='x'/>"_s)
        << u"Ligne"_s << QStringList{u"x"_s};
    QTest::newRow("rs:name aliasing")
        << withSchemaBody(rowType.arg(u"<s:AttributeType name='c1' rs:name='Ligne'/>"),
                          u"<z:row c1='x' Ligne='not this one'/>"_s)
        << u"Ligne"_s << QStringList{u"x"_s};
    QTest::newRow("rs:name replaces name")
        << withSchemaBody(rowType.arg(u"<s:AttributeType name='c1' rs:name='Note finale'/>"),
                          u"<z:row c1='x'/>"_s)
        << u"note FINALE"_s << QStringList{u"x"_s};
    QTest::newRow("older layout, types after the row type")
        << withSchemaBody(rowType.arg(u"<s:attribute type='Autre'/><s:attribute type='Ligne'/>") +
                              u"<s:AttributeType name='Autre'/><s:AttributeType name='Ligne'/>"_s,
                          u"<z:row Autre='a' Ligne='x'/><z:row Ligne='y'/>"_s)
        << u"Ligne"_s << QStringList{u"x"_s, u"y"_s};
    QTest::newRow("older layout, types before the row type")
        << withSchemaBody(u"<s:AttributeType name='Ligne'/>"_s +
                              rowType.arg(u"<s:attribute type='Ligne'/>"),
                          u"<z:row Ligne='x'/>"_s)
        << u"Ligne"_s << QStringList{u"x"_s};
    QTest::newRow("extra schema and row attributes ignored")
        << withSchemaBody(u"<s:description>notes</s:description>"_s +
                              rowType.arg(u"<s:AttributeType name='ID'/>"
                                          u"<s:AttributeType name='Ligne' foo:bar='1' "
                                          u"xmlns:foo='urn:x'><s:datatype dt:type='string'/>"
                                          u"<foo:extra>text</foo:extra></s:AttributeType>"),
                          u"<z:row ID='1' Ligne='x' unknown='y'/>"_s)
        << u"Ligne"_s << QStringList{u"x"_s};
    QTest::newRow("default namespaces")
        << QByteArray("<xml><Schema xmlns='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'>"
                      "<ElementType name='row'><AttributeType name='Ligne'/></ElementType>"
                      "</Schema><data xmlns='urn:schemas-microsoft-com:rowset'>"
                      "<row xmlns='#RowsetSchema' Ligne='x'/></data></xml>")
        << u"Ligne"_s << QStringList{u"x"_s};
    QTest::newRow("prefix declared on the row")
        << withData(u"<q:row xmlns:q='#RowsetSchema' Ligne='x'/>"_s) << u"Ligne"_s
        << QStringList{u"x"_s};
}

void TestRowsetReader::schemaVariants()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, field);
    QFETCH(QStringList, expected);
    const FieldRead read = readRowsetField(bytes, field);
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(shown(read), expected);
}

void TestRowsetReader::recordStates_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<QStringList>("expected");
    const QString update =
        u"<rs:update><rs:original><z:row Ligne='old'/></rs:original>%1</rs:update>"_s;

    QTest::newRow("left out is NULL")
        << u"<z:row/><z:row Ligne=''/>"_s << QStringList{kNull, u""_s};
    QTest::newRow("forcenull wins")
        << u"<z:row rs:forcenull='Ligne' Ligne='x'/>"_s << QStringList{kNull};
    QTest::newRow("forcenull list")
        << u"<z:row rs:forcenull=' A\tLigne\r\nB '/>"_s << QStringList{kNull};
    QTest::newRow("forcenull other fields")
        << u"<z:row rs:forcenull='A Lignes' Ligne='x'/>"_s << QStringList{u"x"_s};
    QTest::newRow("forcenull by namespace")
        << u"<z:row xmlns:r='urn:schemas-microsoft-com:rowset' r:forcenull='Ligne' Ligne='x'/>"_s
        << QStringList{kNull};
    QTest::newRow("forcenull without namespace")
        << u"<z:row forcenull='Ligne' Ligne='x'/>"_s << QStringList{u"x"_s};
    QTest::newRow("update changes") << update.arg(u"<z:row Ligne='new'/>") << QStringList{u"new"_s};
    QTest::newRow("update keeps") << update.arg(u"<z:row ID='9'/>") << QStringList{u"old"_s};
    QTest::newRow("update to NULL")
        << update.arg(u"<z:row rs:forcenull='Ligne'/>") << QStringList{kNull};
    QTest::newRow("document order")
        << u"<z:row Ligne='1'/><rs:insert><z:row Ligne='2'/></rs:insert>"_s +
               update.arg(u"<z:row Ligne='3'/>") +
               u"<rs:delete><z:row Ligne='gone'/></rs:delete><z:row Ligne='4'/>"_s
        << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s};
    QTest::newRow("update with two pairs")
        << u"<rs:update><rs:original><z:row Ligne='a'/></rs:original><z:row Ligne='b'/>"
           u"<rs:original><z:row Ligne='c'/></rs:original><z:row/></rs:update>"_s
        << QStringList{u"b"_s, u"c"_s};
    QTest::newRow("row with end tag") << u"<z:row Ligne='x'>\r\n</z:row>"_s << QStringList{u"x"_s};
}

void TestRowsetReader::recordStates()
{
    QFETCH(QString, data);
    QFETCH(QStringList, expected);
    const FieldRead read = readRowsetField(withData(data), QStringLiteral("Ligne"));
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(shown(read), expected);
}

void TestRowsetReader::values_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("decimal and hex") << QByteArray("&#65;&#x42;&#x0063;") << "ABc";
    QTest::newRow("astral") << QByteArray("&#x1F600;&#128512;") << "\U0001F600\U0001F600";
    QTest::newRow("named") << QByteArray("&lt;&gt;&amp;&apos;&quot;") << "<>&'\"";
    QTest::newRow("other quote raw") << QByteArray("say \"hi\"") << "say \"hi\"";
    QTest::newRow("raw controls kept") << QByteArray("a\x01"
                                                     "b\x00"
                                                     "c\x1F",
                                                     6)
                                       << QString::fromUtf16(u"a\u0001b\u0000c\u001F", 6);
    QTest::newRow("raw CR LF TAB kept") << QByteArray("a\r\n\tb\rc\nd") << "a\r\n\tb\rc\nd";
    QTest::newRow("control as reference") << QByteArray("&#x1;") << "\x01";
    QTest::newRow("Arabic") << QByteArray("معفى غ.ش.") << "معفى غ.ش.";
}

void TestRowsetReader::values()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, expected);
    const QByteArray bytes =
        withData(QString()).replace("<rs:data>", "<rs:data><z:row Ligne='" + value + "'/>");
    const FieldRead read = readRowsetField(bytes, u"Ligne"_s);
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(shown(read), QStringList{expected});
}

void TestRowsetReader::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray file = gradeFileText().toUtf8();
    const auto inData = [](const char* data) { return withData(QString::fromUtf8(data)); };
    const auto inValue = [&](const char* value) {
        return QByteArray(file).replace("Ligne=''", "Ligne='" + QByteArray(value) + "'");
    };

    QTest::newRow("empty") << QByteArray() << "vide";
    QTest::newRow("only whitespace") << QByteArray(" \r\n") << "aucun élément";
    QTest::newRow("plain text") << QByteArray("Ligne 1\r\nLigne 2") << "pas un document XML";
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "UTF-8";
    QTest::newRow("UTF-16 without BOM")
        << encoded(gradeFileText(), QStringConverter::Utf16LE).mid(2) << "marque d'ordre";
    QTest::newRow("UTF-16 odd length")
        << encoded(gradeFileText(), QStringConverter::Utf16BE).chopped(1) << "coupé";
    QTest::newRow("UTF-16 lone surrogate") << QByteArray("\xFF\xFE<\0\x00\xD8x\0", 8) << "UTF-16";
    QTest::newRow("encoded surrogate in UTF-8") << inValue("\xED\xA0\x80") << "UTF-8";
    QTest::newRow("wrong root") << QByteArray("<root/>") << "<root> et non <xml>";
    QTest::newRow("root in a namespace") << QByteArray("<xml xmlns='urn:x'/>") << "racine";
    QTest::newRow("second root") << file + "<xml/>"
                                 << "second élément racine";
    QTest::newRow("text after root") << file + "x"
                                     << "après la fin";
    QTest::newRow("no schema") << QByteArray("<xml></xml>") << "aucun schéma";
    QTest::newRow("data before schema")
        << QByteArray(file)
               .replace(kLigneSchema.toUtf8(), "")
               .replace("</rs:data>", "</rs:data>" + kLigneSchema.toUtf8())
        << "précèdent le schéma";
    QTest::newRow("no data") << QByteArray(file).replace(
                                    QByteArray(file).mid(file.indexOf("<rs:data>"),
                                                         file.indexOf("</xml>") -
                                                             file.indexOf("<rs:data>")),
                                    "")
                             << "aucune section de données";
    QTest::newRow("no such field")
        << QByteArray(file).replace("name='Ligne'", "name='Lignes'") << "aucun champ « Ligne »";
    QTest::newRow("alias hides name")
        << QByteArray(file).replace("name='Ligne'", "name='Ligne' rs:name='Autre'")
        << "aucun champ";
    QTest::newRow("two fields") << QByteArray(file).replace(
                                       "<s:extends", "<s:AttributeType name='LIGNE'/><s:extends")
                                << "deux champs";
    QTest::newRow("older layout, unreferenced type")
        << withSchemaBody(u"<s:AttributeType name='Ligne'/><s:ElementType name='row'/>"_s, {})
        << "aucun champ";
    QTest::newRow("no row type") << withSchemaBody(u"<s:AttributeType name='Ligne'/>"_s, {})
                                 << "ne décrit pas les lignes";
    QTest::newRow("billion laughs")
        << QByteArray("<?xml version='1.0'?><!DOCTYPE xml [<!ENTITY a 'lol'>"
                      "<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'>]><xml>&b;</xml>")
        << "DOCTYPE";
    QTest::newRow("external entity")
        << QByteArray("<!DOCTYPE xml [<!ENTITY e SYSTEM 'file:///etc/passwd'>]><xml>&e;</xml>")
        << "DOCTYPE";
    QTest::newRow("undeclared entity") << inValue("&e;") << "entité inconnue « &e; »";
    QTest::newRow("lone ampersand") << inValue("a & b") << "&amp;";
    QTest::newRow("NUL reference") << inValue("&#0;") << "caractère interdit";
    QTest::newRow("surrogate reference") << inValue("&#xD800;") << "caractère interdit";
    QTest::newRow("beyond Unicode") << inValue("&#x110000;") << "caractère interdit";
    QTest::newRow("huge reference")
        << inValue("&#99999999999999999999999;") << "caractère interdit";
    QTest::newRow("noncharacter reference") << inValue("&#xFFFF;") << "caractère interdit";
    QTest::newRow("uppercase X reference") << inValue("&#X43;") << "mal formée";
    QTest::newRow("reference without digits") << inValue("&#x;") << "mal formée";
    QTest::newRow("reference without semicolon") << inValue("&#65 ") << "mal formée";
    QTest::newRow("raw < in value") << inValue("a<b") << "« < »";
    QTest::newRow("unterminated value")
        << QByteArray(file).left(file.indexOf("Ligne=''") + 7) << "valeur d'attribut non terminée";
    QTest::newRow("unterminated comment")
        << QByteArray(file).replace("<rs:data>", "<rs:data><!-- x") << "commentaire non terminé";
    QTest::newRow("unterminated CDATA")
        << QByteArray(file).replace("<rs:data>", "<rs:data><![CDATA[ x") << "CDATA non terminée";
    QTest::newRow("unterminated instruction")
        << QByteArray("<?xml version='1.0'") << "non terminée";
    QTest::newRow("text in data") << inData("stray") << "texte inattendu dans <rs:data>";
    QTest::newRow("referenced text in data") << inData("&#x41;") << "texte inattendu";
    QTest::newRow("text in row") << inData("<z:row Ligne='x'>text</z:row>") << "texte inattendu";
    QTest::newRow("unknown element in data") << inData("<rs:foo/>") << "<rs:foo> inattendu";
    QTest::newRow("element in row") << inData("<z:row Ligne='x'><z:row/></z:row>") << "inattendu";
    QTest::newRow("unknown element in root")
        << QByteArray(file).replace("<rs:data>", "<z:row/><rs:data>") << "inattendu dans <xml>";
    QTest::newRow("row in wrong namespace")
        << inData("<r:row xmlns:r='#Other' Ligne='x'/>") << "<r:row> inattendu";
    QTest::newRow("undeclared element prefix") << inData("<q:row Ligne='x'/>") << "non déclaré";
    QTest::newRow("undeclared attribute prefix") << inData("<z:row q:x='1'/>") << "non déclaré";
    QTest::newRow("prefix out of scope")
        << inData("<rs:insert xmlns:q='#RowsetSchema'/><q:row/>") << "non déclaré";
    QTest::newRow("duplicate attribute") << inData("<z:row Ligne='a' Ligne='b'/>") << "en double";
    QTest::newRow("attributes not spaced")
        << inData("<z:row ID='1'Ligne='b'/>") << "espace attendu";
    QTest::newRow("mismatched end tag")
        << inData("<rs:insert></rs:update>") << "</rs:update> trouvé là où </rs:insert>";
    QTest::newRow("changed row without original")
        << inData("<rs:update><z:row Ligne='x'/></rs:update>") << "sans ligne d'origine";
    QTest::newRow("original without changed row")
        << inData("<rs:update><rs:original><z:row Ligne='x'/></rs:original></rs:update>")
        << "sans ligne modifiée";
    QTest::newRow("empty original")
        << inData("<rs:update><rs:original/></rs:update>") << "sans ligne";
    QTest::newRow("two rows in original")
        << inData("<rs:update><rs:original><z:row/><z:row/></rs:original><z:row/></rs:update>")
        << "deux lignes";
    QTest::newRow("update inside insert")
        << inData("<rs:insert><rs:update/></rs:insert>") << "inattendu";
    QTest::newRow("deep nesting at root")
        << "<xml>" + QByteArray("<a>").repeated(10000) << "<a> inattendu dans <xml>";
    QTest::newRow("deep nesting in schema")
        << QByteArray(file).replace("<s:Schema id='RowsetSchema'>",
                                    "<s:Schema id='RowsetSchema'>" +
                                        QByteArray("<a>").repeated(10000))
        << "plus de 64 niveaux";
    QTest::newRow("error line") << inData("<z:row Ligne='x'/>\r\n<z:row &/>") << "(ligne 15)";
}

void TestRowsetReader::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const FieldRead read = readRowsetField(bytes, QStringLiteral("Ligne"));
    verifyRefused(read);
    QVERIFY2(read.error.contains(reason), qPrintable(read.error));
    const LinesRead lines = readRowsetLines(bytes);
    QVERIFY(!lines.lines.has_value());
    QCOMPARE(lines.error, read.error);
}

void TestRowsetReader::everyTruncationIsRefused()
{
    const QByteArray file = fixture(u"varchar-update-original-insert-delete.xml"_s);
    for (qsizetype length = 0; length < file.size(); ++length) {
        const FieldRead read = readRowsetField(file.left(length), u"VALUE_FIELD"_s);
        if (read.ok || read.error.isEmpty())
            QFAIL(qPrintable(u"prefix of %1 bytes accepted"_s.arg(length)));
    }
    QVERIFY(readRowsetField(file, u"VALUE_FIELD"_s).ok);
}

// Raw CR LF inside values must not make a cut at a line end look like a whole file.
void TestRowsetReader::cutAtEveryLineEndIsRefused()
{
    const QByteArray file = fixture(u"raw-tab-cr-lf-quotes-wrapping.xml"_s);
    for (qsizetype end = file.indexOf('\n'); end >= 0; end = file.indexOf('\n', end + 1)) {
        const FieldRead read = readRowsetField(file.left(end + 1), u"TXT_LONG"_s);
        if (read.ok || read.error.isEmpty())
            QFAIL(qPrintable(u"cut after byte %1 accepted"_s.arg(end)));
    }
}

void TestRowsetReader::randomBytesAreRefused()
{
    QRandomGenerator random(20240917);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes(random.bounded(1, 2000), Qt::Uninitialized);
        for (char& byte : bytes)
            byte = char(random.bounded(256));
        if (round % 2 == 1)
            bytes.prepend("<xml>"); // get past the first checks
        verifyRefused(readRowsetField(bytes, QStringLiteral("Ligne")));
    }
}

void TestRowsetReader::mutatedFilesNeverCrash()
{
    const QByteArray file = fixture(QStringLiteral("varchar-update-original-insert-delete.xml"));
    const QByteArray alphabet("<>/='\"&#;:x \r\n\t\0-[]!?", 22);
    QRandomGenerator random(7);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = file;
        for (int change = random.bounded(1, 4); change > 0; --change)
            bytes[random.bounded(bytes.size())] = alphabet[random.bounded(alphabet.size())];
        const FieldRead read = readRowsetField(bytes, QStringLiteral("VALUE_FIELD"));
        QCOMPARE(read.ok, read.error.isEmpty());
        QVERIFY(read.ok || read.values.empty());
    }
}

void TestRowsetReader::sizeLimit()
{
    QByteArray bytes = gradeFileText().toUtf8();
    bytes.append(QByteArray(kMaxRowsetBytes - bytes.size(), ' '));
    QVERIFY(readRowsetLines(bytes).lines.has_value());
    bytes.append(' ');
    const FieldRead read = readRowsetField(bytes, QStringLiteral("Ligne"));
    verifyRefused(read);
    QVERIFY2(read.error.contains(QStringLiteral("trop gros")), qPrintable(read.error));
}

void TestRowsetReader::linesReadNullAsEmpty()
{
    const QByteArray bytes =
        withData(QStringLiteral("<z:row/><z:row rs:forcenull='Ligne'/><z:row Ligne='x'/>"));
    const LinesRead read = readRowsetLines(bytes);
    QVERIFY(read.error.isEmpty());
    QCOMPARE(read.lines, QStringList({QString(), QString(), QStringLiteral("x")}));
    QVERIFY(!readRowsetLines(fixture(QStringLiteral("fabricated-no-rows.xml"))).lines.has_value());
}

QTEST_APPLESS_MAIN(TestRowsetReader)
#include "tst_rowsetreader.moc"
