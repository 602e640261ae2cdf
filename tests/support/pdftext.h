#pragma once

// A PDF's text as pdftotext reads it back: Arabic in presentation forms, with direction marks.

#include <QtCore>

#include <optional>

// A Windows program cannot run poppler's tools (under Wine they run outside its pipes).
#define SKIP_WITHOUT_POPPLER()                                                                     \
    if (QSysInfo::productType() == QLatin1String("windows"))                                       \
    QSKIP("poppler cannot run here: the PDF is not read back")

// What pdftotext writes in its mode ("-layout", "-bbox"); nullopt when it cannot run or fails.
inline std::optional<QString> pdftotext(const QString& path, const QString& mode)
{
    QProcess process;
    process.start("pdftotext", {mode, "-enc", "UTF-8", path, "-"});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of every page, in its layout.
inline std::optional<QStringList> pdfPageTexts(const QString& path)
{
    const std::optional<QString> text = pdftotext(path, "-layout");
    if (!text)
        return std::nullopt;
    QStringList pages = text->split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

struct PdfWord {
    QString text;
    double top, bottom; // points from the page's top
};

// The words of every page where pdftotext finds them.
inline QVector<PdfWord> pdfWords(const QString& path)
{
    QVector<PdfWord> words;
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\\S+ yMin=\"([\\d.]+)\" \\S+ yMax=\"([\\d.]+)\">([^<]*)<"));
    for (auto match = word.globalMatch(pdftotext(path, "-bbox").value_or(QString()));
         match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        words.append(
            {found.captured(3), found.captured(1).toDouble(), found.captured(2).toDouble()});
    }
    return words;
}

// Text as it survives a PDF: base letter forms, no direction or vowel marks, blanks collapsed.
inline QString pdfSkeleton(const QString& text)
{
    QString skeleton;
    for (const QChar c : text.normalized(QString::NormalizationForm_KC))
        if (c.category() != QChar::Mark_NonSpacing && c.category() != QChar::Other_Format)
            skeleton += c;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return skeleton.replace(blanks, QStringLiteral(" ")).trimmed();
}

// The words of text missing from pageText, each looked for alone: mixed directions come in any
// order.
inline QStringList wordsMissingFrom(const QString& pageText, const QString& text)
{
    const QString page = pdfSkeleton(pageText);
    QStringList missing;
    for (const QString& word : pdfSkeleton(text).split(u' ', Qt::SkipEmptyParts))
        if (!page.contains(word))
            missing << word;
    return missing;
}
