#include "core/card/pageheader.h"

#include "core/card/cardtexts.h"
#include "core/disk/teachermessages.h"

namespace print {

namespace {

struct LineTexts {
    QString left;
    QString centre;
    QString right;
};

// The lines down to the last that holds a text.
QVector<HeaderLine> linesOf(std::initializer_list<LineTexts> texts)
{
    QVector<HeaderLine> lines;
    for (const LineTexts& line : texts)
        lines.append({line.left, line.centre, line.right});
    while (!lines.isEmpty() && lines.last() == HeaderLine())
        lines.removeLast();
    return lines;
}

// printNumber: what stands in the centre of header line 5.
PageHeader composeWith(const CardTexts& texts, const QString& printNumber, const QDate& date,
                       const QLocale& locale)
{
    const QString signatures =
        texts.teacherSignatureLabel + QString(10, u' ') + texts.agentSignatureLabel;
    const QString dateText = texts.dateLabel + u' ' + gradefile::shortDate(date, locale);

    PageHeader page;
    page.header = linesOf({
        {},
        {texts.schoolYearLine, {}, texts.republicLine},
        {{}, texts.cardTitle, texts.ministryLine},
        {{}, texts.sheetDescription, texts.directorateLine},
        {texts.teacherLine, printNumber, texts.establishmentName},
        {},
    });
    page.footer = linesOf({
        {},
        {signatures, {}, {}},
        {},
        {},
        {},
        {dateText, {}, texts.versionLine},
    });
    return page;
}

} // namespace

PageHeader composePageHeader(const CardTexts& texts, const QDate& date, const QLocale& locale)
{
    return composeWith(texts, texts.printNumberLabel + QString::number(texts.printNumber), date,
                       locale);
}

PageHeader composeWorkingCopyHeader(const CardTexts& texts, const QDate& date,
                                    const QLocale& locale)
{
    return composeWith(texts, kWorkingCopyMark, date, locale);
}

} // namespace print
