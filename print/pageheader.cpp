#include "print/pageheader.h"

#include "print/cardtexts.h"
#include "print/headercomposer.h"

namespace print {

namespace {

// The lines of a header or footer, from the top: left, centre, right.
struct LineTexts {
    QString left;
    QString centre;
    QString right;
};

QString compose(const std::initializer_list<LineTexts>& lines)
{
    HeaderComposer composer;
    int line = 1;
    for (const LineTexts& texts : lines) {
        composer.setText(line, LinePosition::Left, texts.left);
        composer.setText(line, LinePosition::Centre, texts.centre);
        composer.setText(line, LinePosition::Right, texts.right);
        ++line;
    }
    return composer.compose();
}

// printNumber: what stands in the centre of header line 5.
PageHeader composeWith(const CardTexts& texts, const QString& printNumber, const QDate& date,
                       const QLocale& locale)
{
    const QString signatures =
        texts.teacherSignatureLabel + QString(10, u' ') + texts.agentSignatureLabel;
    const QString dateText = texts.dateLabel + u' ' + locale.toString(date, QLocale::ShortFormat);

    PageHeader page;
    page.header = compose({
        {},
        {texts.schoolYearLine, {}, texts.republicLine},
        {{}, texts.cardTitle, texts.ministryLine},
        {{}, texts.sheetDescription, texts.directorateLine},
        {texts.teacherLine, printNumber, texts.establishmentName},
        {},
    });
    page.footer = compose({
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
