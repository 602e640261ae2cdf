#pragma once

#include <QString>

namespace gradefile {
struct GradeDocument;
}

namespace print {

// They live for the whole run: reset when a grade file is opened, completed from it, and the
// two counters raised by saving and printing.
struct CardTexts {
    QString versionLine;
    QString republicLine;
    QString ministryLine;
    QString directorateLine;
    QString regionName;
    QString teacherName;
    QString establishmentName;
    QString teacherLine;
    QString dateLabel;
    QString printNumberLabel;
    QString teacherSignatureLabel;
    QString agentSignatureLabel;
    QString schoolYearLine;
    QString cardTitle;
    QString sheetDescription;
    qint16 printNumber = 0;
    qint16 saveNumber = 0;
};

// The two counters keep their values until the opened file supplies new ones.
void resetCardTexts(CardTexts& texts);

void completeCardTexts(CardTexts& texts, const gradefile::GradeDocument& document);

} // namespace print
