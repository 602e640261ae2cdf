#include "print/headercomposer.h"

namespace print {

namespace {

QLatin1String alignmentCode(LinePosition position)
{
    return QLatin1String(position == LinePosition::Left     ? "/l"
                         : position == LinePosition::Centre ? "/c"
                                                            : "/r");
}

// The characters that may follow a slash in a code: a slash before any of them in a
// text is doubled, so that a teacher's name or a date never turns into a code. So is a
// slash that ends a text, which a code always follows.
bool startsCode(QStringView text, qsizetype slash)
{
    return slash + 1 == text.size() || QStringView(u"nflcrp/").contains(text[slash + 1]);
}

} // namespace

const QString HeaderComposer::kPageNumberText = QStringLiteral("<Page Number>");

QString escapedPrintText(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        escaped += text[i];
        if (text[i] == u'/' && startsCode(text, i))
            escaped += u'/';
    }
    return escaped;
}

void HeaderComposer::setText(int line, LinePosition position, const QString& text)
{
    if (line >= 1 && line <= kLineCount)
        m_texts[size_t(line - 1)][size_t(position)] = text;
}

QString HeaderComposer::textRun(int line, LinePosition position) const
{
    const QString& text = m_texts[size_t(line - 1)][size_t(position)];
    if (text.isEmpty())
        return QString();
    return QLatin1String("/fn\"Tahoma\"/fz\"10\"/fb1/fi0/fu0/fk0") + alignmentCode(position) +
           (text == kPageNumberText ? QStringLiteral("/p") : escapedPrintText(text));
}

QString HeaderComposer::compose() const
{
    int last = 0; // the last line holding a text
    for (int line = 1; line <= kLineCount; ++line)
        for (const QString& text : m_texts[size_t(line - 1)])
            if (!text.isEmpty())
                last = line;
    QString codes;
    for (int line = 1; line <= last; ++line) {
        for (LinePosition position :
             {LinePosition::Left, LinePosition::Centre, LinePosition::Right})
            codes += textRun(line, position);
        codes += QLatin1String("/n");
    }
    return codes;
}

} // namespace print
