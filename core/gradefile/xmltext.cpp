#include "core/gradefile/xmltext.h"

#include <QStringDecoder>

namespace gradefile::xml {

namespace {

bool hasUnpairedSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isLowSurrogate())
            return true;
        if (text[i].isHighSurrogate()) {
            if (i + 1 == text.size() || !text[i + 1].isLowSurrogate())
                return true;
            ++i;
        }
    }
    return false;
}

DecodedText decodeAs(QByteArrayView bytes, QStringConverter::Encoding encoding,
                     const QString& invalidError)
{
    // Keep a second byte-order mark as a character, so it is refused rather than hidden.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless |
                                         QStringConverter::Flag::ConvertInitialBom);
    DecodedText decoded{decoder.decode(bytes), QString()};
    if (decoder.hasError() || hasUnpairedSurrogate(decoded.text))
        decoded.error = invalidError;
    return decoded;
}

DecodedText decodeUtf16(QByteArrayView bytes, QStringConverter::Encoding encoding)
{
    if (bytes.size() % 2 != 0)
        return {QString(), QStringLiteral("texte UTF-16 coupé au milieu d'un caractère")};
    return decodeAs(bytes, encoding, QStringLiteral("texte UTF-16 invalide"));
}

// Without this, such a file would be refused for its NUL bytes, with a
// message that does not say what is wrong.
bool looksLikeUtf16WithoutMark(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView("<\0", 2)) || bytes.startsWith(QByteArrayView("\0<", 2));
}

} // namespace

// The components write UTF-8 without a byte-order mark to a file and UTF-16 with
// one to a Unicode stream; the byte-order mark decides, not the XML declaration.
DecodedText decodeXmlBytes(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return decodeUtf16(bytes.sliced(2), QStringConverter::Utf16LE);
    if (bytes.startsWith("\xFE\xFF"))
        return decodeUtf16(bytes.sliced(2), QStringConverter::Utf16BE);
    if (looksLikeUtf16WithoutMark(bytes))
        return {QString(), QStringLiteral("texte UTF-16 sans marque d'ordre des octets")};
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    return decodeAs(bytes, QStringConverter::Utf8,
                    QStringLiteral("ce n'est pas un texte UTF-8 (fichier binaire ou autre "
                                   "encodage)"));
}

} // namespace gradefile::xml
