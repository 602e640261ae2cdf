#include "core/card/cardtexts.h"

#include "core/gradefile/gradedocument.h"

namespace print {

void resetCardTexts(CardTexts& texts)
{
    texts.versionLine = QStringLiteral("نورافيل إصدار " SAISIE_VERSION);
    texts.republicLine = QStringLiteral("الجمهوريـــّة التّونسيــــّة");
    texts.ministryLine = QStringLiteral(" وزارة التربية ");
    texts.directorateLine = QStringLiteral("الإدارة الجهويّة للتعليم بـ");
    texts.regionName.clear();
    texts.teacherName.clear();
    texts.establishmentName.clear();
    texts.teacherLine = QStringLiteral("المدرّس / الأستاذ : ");
    texts.dateLabel = QStringLiteral("التاريخ : ");
    texts.printNumberLabel = QStringLiteral("ر.ط : ");
    texts.teacherSignatureLabel = QStringLiteral("إ مضاء المدرّس / الأستاذ");
    texts.agentSignatureLabel = QStringLiteral("إسم العون و إمضاءه");
    texts.schoolYearLine = QStringLiteral("السنة الدراسيّة : ");
    texts.cardTitle = QStringLiteral("بطاقة تحصيل الأعداد ");
    texts.sheetDescription.clear();
}

void completeCardTexts(CardTexts& texts, const gradefile::GradeDocument& document)
{
    texts.schoolYearLine += document.schoolYear;
    texts.sheetDescription += document.sheetDescription;
    for (const gradefile::EndLineFields& end : document.endLines) {
        if (end.region) {
            texts.regionName = *end.region;
            texts.directorateLine += *end.region;
        }
        if (end.establishment)
            texts.establishmentName += *end.establishment;
        if (end.teacher) {
            texts.teacherName = *end.teacher;
            texts.teacherLine += *end.teacher;
        }
        if (end.saveNumber)
            texts.saveNumber = *end.saveNumber;
        if (end.printNumber)
            texts.printNumber = *end.printNumber;
    }
}

} // namespace print
