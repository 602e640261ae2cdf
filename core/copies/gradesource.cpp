#include "core/copies/gradesource.h"

#include "core/copies/codepage1256.h"
#include "core/sheet/gradeblock.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace sheet {

namespace {

// The separator the header line uses most, quoted text left out; "," when it holds none.
QChar separatorOf(const QString& text)
{
    const QChar candidates[] = {u',', u';', u'\t'};
    int counts[3] = {};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'\n')
            break;
        for (int i = 0; i < 3 && !quoted; ++i)
            counts[i] += c == candidates[i];
    }
    return candidates[std::max_element(counts, counts + 3) - counts];
}

} // namespace

void padSourceRows(SourceRows& rows)
{
    qsizetype width = 0;
    for (const QStringList& row : rows)
        width = std::max(width, row.size());
    for (QStringList& row : rows)
        row.resize(width);
}

SourceRead readCsvSource(const QByteArray& bytes)
{
    if (bytes.size() > kMaxSourceBytes)
        return {{}, SourceError::TooLarge, {}};
    // Anything that is not UTF-8 is taken for what an Arabic Windows writes.
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(bytes);
    const bool isUtf8 = !utf8.hasError();
    if (!isUtf8)
        text = fromCodePage1256(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    // No more cells than a class's file can hold, whatever their layout: a file of nothing but
    // separators is refused before it fills the memory with empty cells.
    std::optional<SourceRows> rows =
        spreadsheetRows(text, separatorOf(text), qsizetype(kMaxSourceRows) * kMaxSourceColumns);
    if (!rows)
        return {{}, SourceError::TooLarge, {}};
    SourceRead read;
    read.encoding = isUtf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1256");
    // A blank line is no row: the header line is the first line with text.
    for (QStringList& row : *rows) {
        if (row.size() > kMaxSourceColumns)
            return {{}, SourceError::TooLarge, {}};
        if (row.size() > 1 || !row.first().isEmpty())
            read.rows.push_back(std::move(row));
    }
    if (int(read.rows.size()) > kMaxSourceRows)
        return {{}, SourceError::TooLarge, {}};
    padSourceRows(read.rows);
    return read;
}

SourceRead readGradeSource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, SourceError::Unreadable, {}};
    if (file.size() > kMaxSourceBytes)
        return {{}, SourceError::TooLarge, {}};
    if (path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        return readXlsxSource(path);
    // One byte beyond the limit tells a file that grew meanwhile, without reading it all.
    const QByteArray bytes = file.read(kMaxSourceBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {{}, SourceError::Unreadable, {}};
    return readCsvSource(bytes);
}

QString sourceErrorText(SourceError error)
{
    // In the order of SourceError, None first.
    static const QString texts[] = {
        {},
        QStringLiteral("تعذّرت قراءة هذا الملفّ."),
        QStringLiteral("هذا الملفّ أكبر من أن يحمل أعداد قسم."),
        QStringLiteral("هذا الملفّ ليس مصنّف Excel سليما."),
        QStringLiteral("لا توجد بهذا المصنّف ورقة أعداد يمكن قراءتها."),
        QStringLiteral("قراءة ملفّات Excel غير متوفّرة في هذه النسخة من البرنامج : استعمل ملفّ CSV.")};
    static_assert(std::size(texts) == size_t(SourceError::NoWorkbookReader) + 1);
    return texts[size_t(error)];
}

} // namespace sheet
