#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// A tokenizer for the subset of XML that rowset files use. It is deliberately not a
// conforming parser: the data access components write raw control characters into
// attribute values, which a strict parser rejects, and a grade file has no use for
// DTDs or entities, which a hostile file could abuse. So: no DTD, no entity beyond
// the five predefined ones, attribute values kept exactly as written (a raw CR LF
// stays CR LF), and every construct bounded by the input.
namespace gradefile::xml {

struct Attribute {
    QStringView name; // qualified name, as written
    QString value;    // references replaced, nothing else changed
};

enum class TokenKind { StartTag, EndTag, Text, EndOfInput, Error };

struct Token {
    TokenKind kind = TokenKind::Error;
    qsizetype position = 0;            // offset of the token in the text, for messages
    QStringView name;                  // StartTag, EndTag: qualified name, as written
    std::vector<Attribute> attributes; // StartTag
    bool selfClosing = false;          // StartTag
    bool whitespaceOnly = true;        // Text (character data or CDATA)
    QString error;                     // Error: what is wrong, in plain words
};

// Comments and processing instructions (the XML declaration among them) are
// skipped. The scanner checks the lexical rules only; nesting is the caller's job.
class Scanner {
public:
    explicit Scanner(QStringView text) : m_text(text) {}

    Token next();

private:
    Token scanStartTag();
    Token scanEndTag();
    Token scanText();
    Token scanCData();
    bool skipDelimited(qsizetype openerLength, QStringView terminator,
                       const QString& unterminatedError);
    bool scanName(QStringView& name, const QString& missingError);
    bool scanAttributes(Token& tag);
    bool scanAttribute(Attribute& attribute);
    bool scanAttributeValue(QString& value);
    bool scanReference(QString& out);
    bool scanCharacterReference(QString& out, qsizetype start);
    bool scanNamedReference(QString& out, qsizetype start);
    bool checkUniqueAttributes(const Token& tag);

    bool atEnd() const { return m_pos >= m_text.size(); }
    bool lookingAt(QStringView s) const { return m_text.mid(m_pos).startsWith(s); }
    bool skipWhitespace();
    bool fail(const QString& message);
    bool fail(const QString& message, qsizetype at);
    Token errorToken() const;

    QStringView m_text;
    qsizetype m_pos = 0;
    QString m_error;
    qsizetype m_errorPos = 0;
};

bool isXmlWhitespace(QChar c);

// The start of a name or excerpt quoted in a message: a hostile file may hold
// a name of megabytes.
QStringView shortened(QStringView text);

} // namespace gradefile::xml
