// The grade file on the disk: the rowset the administration's components write, read and
// written byte for byte, and every file that is not one refused with nothing lost.
#include "../support/datatable.h"
#include "../support/filebytes.h"
#include "core/gradefile/gradefileio.h"
#include "core/gradefile/rowsetreader.h"
#include "core/gradefile/rowsetwriter.h"

#include <QtTest>

using namespace gradefile;
using namespace Qt::StringLiterals;

namespace {

const QString kNull = u"<NULL>"_s; // how a NULL value shows in the tables

QByteArray sample(const QString& name)
{
    QFile file(QStringLiteral(SAISIE_TEST_DATA_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing sample %s", qPrintable(name));
    return file.readAll();
}

// The empty rowset our writer produces, with this data section.
QByteArray withData(const QByteArray& data)
{
    return sample(u"written/no-rows.xml"_s).replace("<rs:data>\r\n", "<rs:data>\r\n" + data);
}

QByteArray oneRow(const QByteArray& escapedValue)
{
    return withData("\t<rs:insert>\r\n\t\t<z:row Ligne='" + escapedValue +
                    "'/>\r\n\t</rs:insert>\r\n");
}

// A value of the raw-controls sample: quotes and markup, TAB, CR and LF written raw.
QString rawText(int row, int phase)
{
    return u"row=%1|phase=%2|\"dq\"|'sq'|<&>|tab\tcr\rlf\nend"_s.arg(row).arg(phase);
}

const QString kEmoji = u"\U0001F600"_s; // two UTF-16 code units
const QStringList kThreeLines = {u"ملاحظة: 'جيد' & <ممتاز> \"أحمد\""_s, QString(),
                                 u"12.5\t14\tنعم"_s};

} // namespace

class TestGradeFileIo : public QObject {
    Q_OBJECT

private slots:
    // The files the components wrote, and the layouts and record states they may write: every
    // value as they meant it, NULL apart from empty (the empty line of a grade file), and what
    // we write of those values reads back the same.
    void read_data()
    {
        const auto row =
            dataTable<QByteArray, QString, QStringList>({"bytes", "field", "expected"});
        const auto ado = [&](const char* name, const char* file, const char* field,
                             QStringList values) {
            row(name, sample(u"ado-xml/"_s + QLatin1String(file)), QLatin1String(field), values);
        };
        ado("escapes", "fabricated-insert-wvarchar-escapes.xml", "NOTE",
            {u"plain ascii"_s, u"Joe's Garage & <xml>"_s, u""_s});
        ado("UTF-8", "fabricated-insert-varchar-nonascii-utf8.xml", "TAIL",
            {u"각"_s, u"마지막"_s, u"끝값"_s});
        ado("forcenull", "fabricated-insert-forcenull-vs-empty-string.xml", "MAYBE_TEXT",
            {kNull, u""_s});
        ado("update and delete", "varchar-update-original-insert-delete.xml", "VALUE_FIELD",
            {u"한글"_s, u"Joe's <xml> & data"_s, u"tail-value"_s});
        ado("300 wrapped", "varchar300-after-updatebatch-wrapped-rows.xml", "VC300",
            {QString(260, u'A'), kNull});
        ado("raw controls", "raw-tab-cr-lf-quotes-wrapping.xml", "TXT_VAR",
            {rawText(1, 1), kNull, rawText(4, 2)});

        const QByteArray file = sample(u"written/three-lines.xml"_s);
        const auto ours = [&](const char* name, const QByteArray& bytes, QStringList values) {
            row(name, bytes, u"Ligne"_s, values);
        };
        const auto edited = [&](const char* from, const char* to) {
            return QByteArray(file).replace(from, to);
        };
        ours("BOM and declaration", "\xEF\xBB\xBF<?xml version='1.0' encoding='UTF-8'?>\r\n" + file,
             kThreeLines);
        ours("LF only", edited("\r\n", "\n"), kThreeLines);
        ours("double quotes", QByteArray(file).replace('\'', '"'), kThreeLines);
        ours("rows under data", edited("\t<rs:insert>\r\n", "").replace("\t</rs:insert>\r\n", ""),
             kThreeLines);
        ours("NULL left out or forced",
             withData("<z:row/><z:row rs:forcenull=' A\tLigne ' Ligne='x'/>"
                      "<z:row rs:forcenull='Lignes' Ligne='y'/><z:row Ligne=''/>"),
             {kNull, kNull, u"y"_s, u""_s});
        ours("record states in document order",
             withData("<z:row Ligne='1'/><rs:insert><z:row Ligne='2'/></rs:insert><rs:update>"
                      "<rs:original><z:row Ligne='old'/></rs:original><z:row Ligne='3'/>"
                      "<rs:original><z:row Ligne='kept'/></rs:original><z:row ID='9'/></rs:update>"
                      "<rs:delete><z:row Ligne='gone'/></rs:delete><z:row Ligne='4'>\r\n</z:row>"),
             {u"1"_s, u"2"_s, u"3"_s, u"kept"_s, u"4"_s});
        ours("references", oneRow("&#65;&#x42;&#x1F600;&lt;&gt;&amp;&apos;&quot;&#1;&#xE000;"),
             {u"AB"_s + kEmoji + u"<>&'\"\x01\uE000"_s});
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        ours("UTF-16 with its mark", utf16(QString::fromUtf8(file)), kThreeLines);
    }

    void read()
    {
        auto [bytes, field, expected] =
            fetchRow<QByteArray, QString, QStringList>({"bytes", "field", "expected"});
        const FieldRead read = readRowsetField(bytes, field);
        QVERIFY2(read.ok && read.error.isEmpty(), qPrintable(read.error));
        QStringList shown;
        for (const std::optional<QString>& value : read.values)
            shown << value.value_or(kNull);
        QCOMPARE(shown, expected);
        const QStringList lines = expected.replaceInStrings(kNull, QString());
        if (field == u"Ligne"_s)
            QCOMPARE(readRowsetLines(bytes).lines, lines);
        if (!findUnwritableLine(lines))
            QCOMPARE(readRowsetLines(rowsetBytes(lines)).lines, lines);
    }

    // The bytes the components write for these lines, read back the same. Lines they would
    // refuse are refused before anything touches the disk, naming the first such line, and the
    // old file stays.
    void written_data()
    {
        // The bytes written (empty: only read back); the line refused (0: all can be written).
        const auto row = dataTable<QStringList, QByteArray, int>({"lines", "bytes", "refusedLine"});
        QStringList many;
        for (int i = 1; i <= 500; ++i)
            many << u"%1\tالتلميذ %1"_s.arg(i);
        row("three lines", kThreeLines, sample(u"written/three-lines.xml"_s), 0);
        row("no rows", {}, sample(u"written/no-rows.xml"_s), 0);
        // Values and bytes as the components wrote them in their own files.
        row("components' escapes", {u"Joe's Garage & <xml>"_s},
            oneRow("Joe&#x27;s Garage &#x26; &#x3c;xml&#x3e;"), 0);
        row("raw TAB CR LF", {u"a\tb\rc\nd"_s}, oneRow("a\tb\rc\nd"), 0);
        // Length counts UTF-16 code units, as the components count: 150 emoji are 300.
        row("500 lines, spaces, longest lines",
            many + QStringList{u"  x  "_s, QString(300, u'ع'), kEmoji.repeated(150)}, {}, 0);
        const QString a = u"a"_s;
        row("301 characters", {a.repeated(301)}, {}, 1);
        row("301 Arabic on line 3", {a, a, QString(301, u'ع')}, {}, 3);
        row("150 outside the BMP and one more", {kEmoji.repeated(150) + a}, {}, 1);
        row("lone high surrogate", {a, kEmoji.left(1) + a}, {}, 2);
        row("the first of two", {a, kEmoji.left(1) + a, a.repeated(301)}, {}, 2);
        // Another program's control characters go back as they came.
        row("control characters", {u"a\x01b\x7f\uE000\uFFFE"_s + QChar()}, {}, 0);
    }

    void written()
    {
        const auto [lines, bytes, refusedLine] =
            fetchRow<QStringList, QByteArray, int>({"lines", "bytes", "refusedLine"});
        const std::optional<QString> reason = findUnwritableLine(lines);
        QCOMPARE(reason.has_value(), refusedLine > 0);
        if (!reason) {
            if (!bytes.isEmpty())
                QCOMPARE(rowsetBytes(lines), bytes);
            QCOMPARE(readRowsetLines(rowsetBytes(lines)).lines, lines);
            return;
        }
        QVERIFY2(reason->contains(u"ligne %1"_s.arg(refusedLine), Qt::CaseInsensitive),
                 qPrintable(*reason));
        QTemporaryDir dir;
        const QString path = dir.filePath(u"K.xml"_s);
        QVERIFY(writeGradeFile(path, {u"old"_s}).ok);
        const SafeWriteResult result = writeGradeFile(path, lines);
        QVERIFY(!result.ok && result.error.kind == FileErrorKind::Malformed);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"K.xml"_s});
        QCOMPARE(readGradeFile(path).lines, QStringList{u"old"_s});
    }

    // Every file that is not a grade file is refused with its kind and a reason, and reading it
    // leaves it as it was. Hostile files (entities, deep nesting, huge) are refused, not obeyed.
    void refused_data()
    {
        // The target, a path under the test's folder where K.xml holds the bytes; the size, when
        // above 0, the file made this long, sparse.
        const auto row = dataTable<QString, QByteArray, qint64, FileErrorKind, QString>(
            {"target", "bytes", "size", "kind", "reason"});
        const QByteArray file = sample(u"written/three-lines.xml"_s);
        const auto bad = [&](const char* name, const QByteArray& bytes, const char* reason,
                             FileErrorKind kind = FileErrorKind::Malformed,
                             const QString& target = u"K.xml"_s, qint64 size = 0) {
            row(name, target, bytes, size, kind, QString::fromUtf8(reason));
        };
        bad("no disk", file, "", FileErrorKind::NoDisk, u"absent/K.xml"_s);
        bad("no such file", file, "", FileErrorKind::NoFile, u"L.xml"_s);
        bad("far past the size limit", file, "octets", FileErrorKind::Malformed, u"K.xml"_s,
            qint64(4) * 1024 * 1024 * 1024);
        bad("empty", {}, "vide");
        bad("no schema", "<xml></xml>", "aucun schéma");
        bad("not UTF-8", oneRow("\xFF"), "UTF-8");
        bad("not UTF-8 in a comment", "<!--\xFF-->" + oneRow("a"), "UTF-8");
        bad("a character cut at the end", oneRow("a") + "\xD8", "UTF-8");
        bad("billion laughs",
            "<?xml version='1.0'?><!DOCTYPE xml [<!ENTITY a 'lol'>"
            "<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'>]><xml>&b;</xml>",
            "DOCTYPE");
        bad("external entity",
            "<!DOCTYPE xml [<!ENTITY e SYSTEM 'file:///etc/passwd'>]><xml>&e;</xml>", "DOCTYPE");
        bad("text in data", withData("stray"), "texte inattendu dans <rs:data>");
        bad("deep nesting", "<xml>" + QByteArray("<a>").repeated(10000),
            "<a> inattendu dans <xml>");
        // What would hold Qt's parser for minutes once the file is large.
        const auto many = [&](const char* name, int count) {
            QByteArray attributes;
            for (int i = 0; i < count; ++i)
                attributes += QByteArray(" ") + name + QByteArray::number(i) + "='u'";
            return QByteArray(file).replace("<xml", "<xml" + attributes);
        };
        bad("1025 attributes in a tag", many("a", 1025), "attributs");
        bad("65 namespaces in force", many("xmlns:p", 65), "espaces de noms");
    }

    void refused()
    {
        const auto [target, bytes, size, reason] =
            fetchRow<QString, QByteArray, qint64, QString>({"target", "bytes", "size", "reason"});
        QTemporaryDir dir;
        const QString file = dir.filePath(u"K.xml"_s);
        QVERIFY(writeBytes(file, bytes));
        QVERIFY(size == 0 || QFile::resize(file, size)); // sparse: the disk need not hold it

        const GradeFileRead read = readGradeFile(dir.filePath(target));
        QVERIFY(!read.lines);
        QTEST(read.error.kind, "kind");
        QVERIFY2(!read.error.description.isEmpty() && read.error.description.contains(reason),
                 qPrintable(read.error.description));
        QCOMPARE(QFileInfo(file).size(), size > 0 ? size : bytes.size());
        if (size == 0)
            QCOMPARE(readBytes(file), bytes);
    }

    // A file cut short (a disk pulled out mid-write) never reads as a whole file, not even a
    // cut at a raw line end inside a value.
    void everyTruncationIsRefused()
    {
        for (const auto& [name, field] :
             {std::pair{"varchar-update-original-insert-delete.xml", "ID"},
              std::pair{"raw-tab-cr-lf-quotes-wrapping.xml", "TXT_LONG"}}) {
            const QByteArray file = sample(u"ado-xml/"_s + QLatin1String(name));
            for (qsizetype length = 0; length < file.size(); ++length) {
                const FieldRead read = readRowsetField(file.left(length), QLatin1String(field));
                if (read.ok || read.error.isEmpty() || !read.values.empty())
                    QFAIL(qPrintable(u"%1 cut to %2 bytes accepted"_s.arg(name).arg(length)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestGradeFileIo)
#include "tst_gradefileio.moc"
