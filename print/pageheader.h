#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace print {

struct CardTexts;

// The page header and footer of the grade card, in print codes.
struct PageHeader {
    QString header;
    QString footer;
};

// Lays the card texts out on the card:
//   header line 2: school year (left), republic (right)
//          line 3: card title (centre), ministry (right)
//          line 4: sheet description (centre), directorate (right)
//          line 5: teacher (left), print number label and number (centre), establishment (right)
//   footer line 2: the two signature labels, ten blanks apart (left)
//          line 6: date label and date (left), version line (right)
// Every text prints in Tahoma 10 points bold; an empty text is left out. The date is
// written in the locale's short date format.
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
