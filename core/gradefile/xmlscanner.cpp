#include "core/gradefile/xmlscanner.h"

#include <algorithm>

namespace gradefile::xml {

namespace {

bool isAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Broader than XML's name rules for non-ASCII characters: telling a valid name
// from an invalid one buys nothing here, and a non-name never reaches a value.
bool isNameStartChar(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 0x80 || isAsciiLetter(u) || u == u'_' || u == u':';
}

bool isNameChar(QChar c)
{
    const char16_t u = c.unicode();
    return isNameStartChar(c) || isAsciiDigit(u) || u == u'-' || u == u'.';
}

int digitValue(QChar c, bool hexadecimal)
{
    const char16_t u = c.unicode();
    if (isAsciiDigit(u))
        return u - u'0';
    if (hexadecimal && u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (hexadecimal && u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// XML 1.0 forbids references to C0 controls too, but the components write those
// characters raw and we accept them raw, so refusing them as references would be
// arbitrary. What no text can hold is refused.
bool isReferenceableCharacter(char32_t c)
{
    if (c == 0 || c > 0x10FFFF)
        return false;
    if (c >= 0xD800 && c <= 0xDFFF)
        return false;
    return c != 0xFFFE && c != 0xFFFF;
}

void appendCodePoint(QString& out, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        out.append(QChar(QChar::highSurrogate(c)));
        out.append(QChar(QChar::lowSurrogate(c)));
    } else {
        out.append(QChar(char16_t(c)));
    }
}

bool isWhitespaceOnly(QStringView text)
{
    return std::all_of(text.begin(), text.end(), isXmlWhitespace);
}

} // namespace

QStringView shortened(QStringView text)
{
    // Long enough to show what was written, short enough for a message box.
    constexpr qsizetype kExcerptLength = 24;
    return text.left(kExcerptLength);
}

bool isXmlWhitespace(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\r' || u == u'\n';
}

Token Scanner::next()
{
    for (;;) {
        if (atEnd()) {
            Token end;
            end.kind = TokenKind::EndOfInput;
            end.position = m_pos;
            return end;
        }
        if (m_text[m_pos] != u'<')
            return scanText();
        if (lookingAt(u"<!--")) {
            if (!skipDelimited(4, u"-->", QStringLiteral("commentaire non terminé")))
                return errorToken();
            continue;
        }
        if (lookingAt(u"<?")) {
            if (!skipDelimited(2, u"?>", QStringLiteral("instruction <?...?> non terminée")))
                return errorToken();
            continue;
        }
        if (lookingAt(u"<![CDATA["))
            return scanCData();
        if (lookingAt(u"<!DOCTYPE")) {
            fail(QStringLiteral("déclaration <!DOCTYPE> refusée (aucune DTD n'est lue)"));
            return errorToken();
        }
        if (lookingAt(u"<!")) {
            fail(QStringLiteral("balise « <! » inconnue"));
            return errorToken();
        }
        if (lookingAt(u"</"))
            return scanEndTag();
        return scanStartTag();
    }
}

Token Scanner::scanStartTag()
{
    Token tag;
    tag.kind = TokenKind::StartTag;
    tag.position = m_pos;
    ++m_pos;
    if (!scanName(tag.name, QStringLiteral("nom d'élément attendu après « < »")))
        return errorToken();
    if (!scanAttributes(tag) || !checkUniqueAttributes(tag))
        return errorToken();
    return tag;
}

Token Scanner::scanEndTag()
{
    Token tag;
    tag.kind = TokenKind::EndTag;
    tag.position = m_pos;
    m_pos += 2;
    if (!scanName(tag.name, QStringLiteral("nom d'élément attendu après « </ »")))
        return errorToken();
    skipWhitespace();
    if (atEnd() || m_text[m_pos] != u'>') {
        fail(QStringLiteral("« > » attendu pour fermer </%1>").arg(shortened(tag.name)));
        return errorToken();
    }
    ++m_pos;
    return tag;
}

Token Scanner::scanText()
{
    Token text;
    text.kind = TokenKind::Text;
    text.position = m_pos;
    QString referenced;
    while (!atEnd() && m_text[m_pos] != u'<') {
        const QChar c = m_text[m_pos];
        if (c == u'&') {
            referenced.clear();
            if (!scanReference(referenced))
                return errorToken();
            text.whitespaceOnly = text.whitespaceOnly && isWhitespaceOnly(referenced);
            continue;
        }
        text.whitespaceOnly = text.whitespaceOnly && isXmlWhitespace(c);
        ++m_pos;
    }
    return text;
}

Token Scanner::scanCData()
{
    constexpr qsizetype openerLength = 9; // <![CDATA[
    const qsizetype start = m_pos;
    const qsizetype end = m_text.indexOf(u"]]>", start + openerLength);
    if (end < 0) {
        fail(QStringLiteral("section CDATA non terminée"));
        return errorToken();
    }
    Token text;
    text.kind = TokenKind::Text;
    text.position = start;
    const qsizetype contentStart = start + openerLength;
    text.whitespaceOnly = isWhitespaceOnly(m_text.mid(contentStart, end - contentStart));
    m_pos = end + 3;
    return text;
}

bool Scanner::skipDelimited(qsizetype openerLength, QStringView terminator,
                            const QString& unterminatedError)
{
    const qsizetype end = m_text.indexOf(terminator, m_pos + openerLength);
    if (end < 0)
        return fail(unterminatedError);
    m_pos = end + terminator.size();
    return true;
}

bool Scanner::scanName(QStringView& name, const QString& missingError)
{
    const qsizetype start = m_pos;
    if (atEnd() || !isNameStartChar(m_text[m_pos]))
        return fail(missingError);
    while (!atEnd() && isNameChar(m_text[m_pos]))
        ++m_pos;
    name = m_text.mid(start, m_pos - start);
    return true;
}

bool Scanner::scanAttributes(Token& tag)
{
    for (;;) {
        const bool spaced = skipWhitespace();
        if (atEnd())
            return fail(QStringLiteral("balise <%1> non terminée").arg(shortened(tag.name)),
                        tag.position);
        const QChar c = m_text[m_pos];
        if (c == u'>') {
            ++m_pos;
            return true;
        }
        if (c == u'/') {
            if (!lookingAt(u"/>"))
                return fail(QStringLiteral("« > » attendu après « / »"));
            m_pos += 2;
            tag.selfClosing = true;
            return true;
        }
        if (!spaced)
            return fail(QStringLiteral("espace attendu avant un attribut"));
        Attribute attribute;
        if (!scanAttribute(attribute))
            return false;
        tag.attributes.push_back(std::move(attribute));
    }
}

bool Scanner::scanAttribute(Attribute& attribute)
{
    if (!scanName(attribute.name, QStringLiteral("nom d'attribut attendu")))
        return false;
    skipWhitespace();
    if (atEnd() || m_text[m_pos] != u'=')
        return fail(
            QStringLiteral("« = » attendu après l'attribut « %1 »").arg(shortened(attribute.name)));
    ++m_pos;
    skipWhitespace();
    return scanAttributeValue(attribute.value);
}

bool Scanner::scanAttributeValue(QString& value)
{
    const qsizetype start = m_pos;
    if (atEnd() || (m_text[m_pos] != u'\'' && m_text[m_pos] != u'"'))
        return fail(QStringLiteral("valeur d'attribut entre guillemets attendue"));
    const QChar quote = m_text[m_pos];
    ++m_pos;
    for (;;) {
        const qsizetype runStart = m_pos;
        while (!atEnd() && m_text[m_pos] != quote && m_text[m_pos] != u'<' && m_text[m_pos] != u'&')
            ++m_pos;
        value.append(m_text.mid(runStart, m_pos - runStart));
        if (atEnd())
            return fail(QStringLiteral("valeur d'attribut non terminée"), start);
        if (m_text[m_pos] == quote) {
            ++m_pos;
            return true;
        }
        if (m_text[m_pos] == u'<')
            return fail(QStringLiteral("« < » non échappé dans une valeur d'attribut"));
        if (!scanReference(value))
            return false;
    }
}

bool Scanner::scanReference(QString& out)
{
    const qsizetype start = m_pos;
    ++m_pos; // &
    if (!atEnd() && m_text[m_pos] == u'#')
        return scanCharacterReference(out, start);
    return scanNamedReference(out, start);
}

bool Scanner::scanCharacterReference(QString& out, qsizetype start)
{
    ++m_pos; // #
    const bool hexadecimal = !atEnd() && m_text[m_pos] == u'x';
    if (hexadecimal)
        ++m_pos;
    const int base = hexadecimal ? 16 : 10;
    char32_t code = 0;
    qsizetype digits = 0;
    for (; !atEnd() && digitValue(m_text[m_pos], hexadecimal) >= 0; ++m_pos, ++digits) {
        // Saturate: any value past the last code point is refused the same way.
        code = std::min<char32_t>(code * base + digitValue(m_text[m_pos], hexadecimal), 0x110000);
    }
    const QStringView excerpt = shortened(m_text.mid(start, m_pos - start + 1));
    if (digits == 0 || atEnd() || m_text[m_pos] != u';')
        return fail(QStringLiteral("référence de caractère mal formée « %1 »").arg(excerpt), start);
    ++m_pos;
    if (!isReferenceableCharacter(code))
        return fail(QStringLiteral("référence à un caractère interdit « %1 »").arg(excerpt), start);
    appendCodePoint(out, code);
    return true;
}

bool Scanner::scanNamedReference(QString& out, qsizetype start)
{
    const qsizetype nameStart = m_pos;
    while (!atEnd() && isNameChar(m_text[m_pos]))
        ++m_pos;
    const QStringView name = m_text.mid(nameStart, m_pos - nameStart);
    if (name.isEmpty() || atEnd() || m_text[m_pos] != u';')
        return fail(QStringLiteral("« & » seul : il s'écrit &amp;"), start);
    ++m_pos;
    if (name == u"lt")
        out.append(u'<');
    else if (name == u"gt")
        out.append(u'>');
    else if (name == u"amp")
        out.append(u'&');
    else if (name == u"apos")
        out.append(u'\'');
    else if (name == u"quot")
        out.append(u'"');
    else
        return fail(QStringLiteral("entité inconnue « &%1; » (seules les cinq entités prédéfinies "
                                   "sont lues)")
                        .arg(shortened(name)),
                    start);
    return true;
}

bool Scanner::checkUniqueAttributes(const Token& tag)
{
    if (tag.attributes.size() < 2)
        return true;
    std::vector<QStringView> names;
    names.reserve(tag.attributes.size());
    for (const Attribute& attribute : tag.attributes)
        names.push_back(attribute.name);
    // Sorting keeps a tag with a huge number of attributes linearithmic.
    std::sort(names.begin(), names.end());
    const auto twice = std::adjacent_find(names.begin(), names.end());
    if (twice == names.end())
        return true;
    return fail(QStringLiteral("attribut « %1 » en double dans <%2>")
                    .arg(shortened(*twice), shortened(tag.name)),
                tag.position);
}

bool Scanner::skipWhitespace()
{
    const qsizetype start = m_pos;
    while (!atEnd() && isXmlWhitespace(m_text[m_pos]))
        ++m_pos;
    return m_pos > start;
}

bool Scanner::fail(const QString& message)
{
    return fail(message, m_pos);
}

bool Scanner::fail(const QString& message, qsizetype at)
{
    m_error = message;
    m_errorPos = at;
    return false;
}

Token Scanner::errorToken() const
{
    Token error;
    error.kind = TokenKind::Error;
    error.position = m_errorPos;
    error.error = m_error;
    return error;
}

} // namespace gradefile::xml
