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

} // namespace

PageHeader composePageHeader(const CardTexts& texts, const QDate& date, const QLocale& locale)
{
    const QString printNumber = texts.printNumberLabel + QString::number(texts.printNumber);
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

PrintSettings cardPrintSettings()
{
    return PrintSettings();
}

} // namespace print
