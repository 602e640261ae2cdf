#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QVector>

#include <array>

namespace print {

struct CardTexts;

// An empty text is left out.
enum HeaderPart { LeftPart, CentrePart, RightPart };
using HeaderLine = std::array<QString, 3>;

// From the first line down to the last that holds a text.
struct PageHeader {
    QVector<HeaderLine> header;
    QVector<HeaderLine> footer;
};

// The date in the locale's short date format.
PageHeader composePageHeader(const CardTexts& texts, const QDate& date,
                             const QLocale& locale = QLocale::system());

// Where the print number goes on a copy of a sheet that differs from its file: such a copy is
// no signed card, and must not look like one.
inline const QString kWorkingCopyMark = QStringLiteral("نسخة عمل غير محفوظة");

PageHeader composeWorkingCopyHeader(const CardTexts& texts, const QDate& date,
                                    const QLocale& locale = QLocale::system());

} // namespace print
