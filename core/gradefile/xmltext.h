#pragma once

#include <QByteArrayView>
#include <QString>

namespace gradefile::xml {

struct DecodedText {
    QString text;
    QString error; // when not empty: why the bytes are not text we read, in plain words
};

// UTF-8 with or without a byte-order mark, or UTF-16 with one. Bytes that are not
// valid in their encoding are refused rather than replaced, so a wrongly encoded
// file never turns into silently altered text.
DecodedText decodeXmlBytes(QByteArrayView bytes);

} // namespace gradefile::xml
