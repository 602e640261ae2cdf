#include "print/headercomposer.h"

namespace print {

namespace {

QLatin1String flag(bool on)
{
    return on ? QLatin1String("1") : QLatin1String("0");
}

QLatin1String alignmentCode(LinePosition position)
{
    switch (position) {
    case LinePosition::Left:
        return QLatin1String("/l");
    case LinePosition::Centre:
        return QLatin1String("/c");
    case LinePosition::Right:
        break;
    }
    return QLatin1String("/r");
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

const HeaderComposer::Cell& HeaderComposer::cell(int line, LinePosition position) const
{
    return m_cells[size_t(line - 1)][size_t(position)];
}

HeaderComposer::Cell& HeaderComposer::cell(int line, LinePosition position)
{
    return m_cells[size_t(line - 1)][size_t(position)];
}

void HeaderComposer::setText(int line, LinePosition position, const QString& text)
{
    if (isLine(line))
        cell(line, position).text = text;
}

QString HeaderComposer::text(int line, LinePosition position) const
{
    return isLine(line) ? cell(line, position).text : QString();
}

void HeaderComposer::setFont(int line, LinePosition position, const ComposerFont& font)
{
    if (isLine(line))
        cell(line, position).font = font;
}

ComposerFont HeaderComposer::font(int line, LinePosition position) const
{
    return isLine(line) ? cell(line, position).font : ComposerFont();
}

void HeaderComposer::clearTexts()
{
    for (auto& line : m_cells)
        for (Cell& each : line)
            each.text.clear();
}

int HeaderComposer::lastLineWithText() const
{
    for (int line = kLineCount; line >= 1; --line)
        for (const Cell& each : m_cells[size_t(line - 1)])
            if (!each.text.isEmpty())
                return line;
    return 0;
}

QString HeaderComposer::cellRun(int line, LinePosition position) const
{
    if (!isLine(line) || cell(line, position).text.isEmpty())
        return QString();
    const Cell& run = cell(line, position);
    QString codes = QLatin1String("/fn\"") + run.font.name + QLatin1String("\"/fz\"10\"/fb1");
    codes += QLatin1String("/fi") + flag(run.font.italic);
    codes += QLatin1String("/fu") + flag(run.font.underline);
    codes += QLatin1String("/fk") + flag(run.font.strikeOut);
    codes += alignmentCode(position);
    codes += run.text == kPageNumberText ? QStringLiteral("/p") : escapedPrintText(run.text);
    return codes;
}

QString HeaderComposer::compose() const
{
    QString codes;
    const int last = lastLineWithText();
    for (int line = 1; line <= last; ++line) {
        for (LinePosition position :
             {LinePosition::Left, LinePosition::Centre, LinePosition::Right})
            codes += cellRun(line, position);
        codes += QLatin1String("/n");
    }
    return codes;
}

} // namespace print
