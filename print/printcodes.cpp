#include "print/printcodes.h"

#include <optional>

namespace print {

bool PrintFont::operator==(const PrintFont& other) const
{
    return name == other.name && pointSize == other.pointSize && bold == other.bold &&
           italic == other.italic && underline == other.underline && strikeOut == other.strikeOut;
}

bool PrintSpan::operator==(const PrintSpan& other) const
{
    return font == other.font && text == other.text && pageNumber == other.pageNumber;
}

bool PrintLine::isEmpty() const
{
    for (const QVector<PrintSpan>& part : parts)
        if (!part.isEmpty())
            return false;
    return true;
}

QString PrintLine::partText(Part part, int pageNumber) const
{
    QString text;
    for (const PrintSpan& span : parts[size_t(part)])
        text += span.pageNumber ? QString::number(pageNumber) : span.text;
    return text;
}

namespace {

class CodeReader {
public:
    explicit CodeReader(const QString& codes) : m_codes(codes) {}

    QVector<PrintLine> read()
    {
        while (m_at < m_codes.size()) {
            if (m_codes[m_at] == u'/' && readCode())
                continue;
            appendText(m_codes[m_at]);
            ++m_at;
        }
        if (m_lineStarted)
            m_lines.append(m_line);
        return m_lines;
    }

private:
    // Reads the code at m_at; false when the slash there starts no code (it is text).
    bool readCode()
    {
        const QStringView rest = QStringView(m_codes).mid(m_at + 1);
        if (rest.startsWith(u'/')) {
            appendText(u'/');
            m_at += 2;
            return true;
        }
        if (rest.startsWith(u'n')) {
            m_lines.append(m_line);
            m_line = PrintLine();
            m_part = PrintLine::Left;
            m_lineStarted = false;
            m_at += 2;
            return true;
        }
        for (auto [letter, part] :
             {std::pair{u'l', PrintLine::Left}, std::pair{u'c', PrintLine::Centre},
              std::pair{u'r', PrintLine::Right}}) {
            if (rest.startsWith(letter)) {
                m_part = part;
                m_lineStarted = true;
                m_at += 2;
                return true;
            }
        }
        if (rest.startsWith(u'p')) {
            PrintSpan span{m_font, QString(), true};
            m_line.parts[size_t(m_part)].append(span);
            m_lineStarted = true;
            m_at += 2;
            return true;
        }
        if (rest.startsWith(u'f'))
            return readFontCode(rest.mid(1));
        return false;
    }

    bool readFontCode(QStringView code)
    {
        if (code.size() < 2)
            return false;
        const QChar kind = code[0];
        if (kind == u'n' || kind == u'z') {
            const std::optional<QString> value = quoted(code.mid(1));
            if (!value)
                return false;
            if (kind == u'n') {
                m_font.name = *value;
            } else {
                bool ok = false;
                const int size = value->toInt(&ok);
                if (!ok || size <= 0)
                    return false;
                m_font.pointSize = size;
            }
            m_at += 3 + value->size() + 2;
            return true;
        }
        if (code[1] != u'0' && code[1] != u'1')
            return false;
        const bool on = code[1] == u'1';
        switch (kind.unicode()) {
        case u'b':
            m_font.bold = on;
            break;
        case u'i':
            m_font.italic = on;
            break;
        case u'u':
            m_font.underline = on;
            break;
        case u'k':
            m_font.strikeOut = on;
            break;
        default:
            return false;
        }
        m_at += 4;
        return true;
    }

    // The text between the double quotes that open view, up to the next double quote.
    static std::optional<QString> quoted(QStringView view)
    {
        if (!view.startsWith(u'"'))
            return std::nullopt;
        const qsizetype close = view.indexOf(u'"', 1);
        if (close < 0)
            return std::nullopt;
        return view.mid(1, close - 1).toString();
    }

    void appendText(QChar character)
    {
        QVector<PrintSpan>& part = m_line.parts[size_t(m_part)];
        if (part.isEmpty() || part.last().pageNumber || part.last().font != m_font)
            part.append(PrintSpan{m_font, QString(), false});
        part.last().text += character;
        m_lineStarted = true;
    }

    const QString& m_codes;
    qsizetype m_at = 0;
    PrintFont m_font;
    PrintLine m_line;
    PrintLine::Part m_part = PrintLine::Left;
    bool m_lineStarted = false;
    QVector<PrintLine> m_lines;
};

} // namespace

QVector<PrintLine> readPrintCodes(const QString& codes)
{
    return CodeReader(codes).read();
}

} // namespace print
