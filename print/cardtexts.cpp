#include "print/cardtexts.h"

#include "gradefile/gradedocument.h"

namespace print {

void InitCardTexts(CardTexts& texts)
{
    texts.VersionLine = QStringLiteral("نورافيل إصدار 2.2");
    texts.RepublicLine = QStringLiteral("الجمهوريـــّة التّونسيــــّة");
    texts.MinistryLine = QStringLiteral(" وزارة التربية ");
    texts.DirectorateLine = QStringLiteral("الإدارة الجهويّة للتعليم بـ");
    texts.RegionName.clear();
    texts.TeacherName.clear();
    texts.EstablishmentName.clear();
    texts.TeacherLine = QStringLiteral("المدرّس / الأستاذ : ");
    texts.DateLabel = QStringLiteral("التاريخ : ");
    texts.PrintNumberLabel = QStringLiteral("ر.ط : ");
    texts.TeacherSignatureLabel = QStringLiteral("إ مضاء المدرّس / الأستاذ");
    texts.AgentSignatureLabel = QStringLiteral("إسم العون و إمضاءه");
    texts.SchoolYearLine = QStringLiteral("السنة الدراسيّة : ");
    texts.CardTitle = QStringLiteral("بطاقة تحصيل الأعداد ");
    texts.SheetDescription.clear();
}

void completeCardTexts(CardTexts& texts, const gradefile::GradeDocument& document)
{
    texts.SchoolYearLine += document.schoolYear;
    texts.SheetDescription += document.sheetDescription;
    for (const gradefile::EndLineFields& end : document.endLines) {
        if (end.region) {
            texts.RegionName = *end.region;
            texts.DirectorateLine += *end.region;
        }
        if (end.establishment)
            texts.EstablishmentName += *end.establishment;
        if (end.teacher) {
            texts.TeacherName = *end.teacher;
            texts.TeacherLine += *end.teacher;
        }
        if (end.saveNumber)
            texts.SaveNumber = *end.saveNumber;
        if (end.printNumber)
            texts.PrintNumber = *end.printNumber;
    }
}

} // namespace print
