#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QVector>

#include <array>

namespace print {

struct CardTexts;

// One line of a page header or footer: its left, centre and right texts, each left out when
// empty. Every text prints in Tahoma 10 points bold.
enum HeaderPart { LeftPart, CentrePart, RightPart };
using HeaderLine = std::array<QString, 3>;

// The page header and footer of the grade card, from their first line down to the last that
// holds a text.
struct PageHeader {
    QVector<HeaderLine> header;
    QVector<HeaderLine> footer;
};

// Lays the card texts out on the card:
//   header line 2: school year (left), republic (right)
//          line 3: card title (centre), ministry (right)
//          line 4: sheet description (centre), directorate (right)
//          line 5: teacher (left), print number label and number (centre), establishment (right)
//   footer line 2: the two signature labels, ten blanks apart (left)
//          line 6: date label and date (left), version line (right)
// The date is written in the locale's short date format.
PageHeader composePageHeader(const CardTexts& texts, const QDate& date,
                             const QLocale& locale = QLocale::system());

// What a copy of a sheet that differs from its grade file carries where the print number
// goes: such a copy is no signed card, and must not look like one.
inline const QString kWorkingCopyMark = QStringLiteral("نسخة عمل غير محفوظة");

// The page header and footer of such a copy: the working-copy mark in place of the print
// number label and number, everything else as on the card.
PageHeader composeWorkingCopyHeader(const CardTexts& texts, const QDate& date,
                                    const QLocale& locale = QLocale::system());

} // namespace print
