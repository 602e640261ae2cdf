#pragma once

#include <QString>

namespace gradefile {
struct GradeDocument;
}

namespace print {

// The texts printed in the page header and footer of the grade card. They live for the
// whole run: reset when a grade file is opened, completed from that file, and the two
// counters raised by saving and printing.
struct CardTexts {
    QString VersionLine;
    QString RepublicLine;
    QString MinistryLine;
    QString DirectorateLine;
    QString RegionName;
    QString TeacherName;
    QString EstablishmentName;
    QString TeacherLine;
    QString DateLabel;
    QString PrintNumberLabel;
    QString TeacherSignatureLabel;
    QString AgentSignatureLabel;
    QString SchoolYearLine;
    QString CardTitle;
    QString SheetDescription;
    qint16 PrintNumber = 0;
    qint16 SaveNumber = 0;
};

// Sets every text to its fixed wording; the two counters keep their values until the
// opened file supplies new ones.
void InitCardTexts(CardTexts& texts);

// Completes the reset texts from an opened grade file: the school year, the sheet
// description, and what each end line of the file gives, in file order.
void completeCardTexts(CardTexts& texts, const gradefile::GradeDocument& document);

} // namespace print
