#pragma once

#include <QString>
#include <QStringList>

// The lines of a subject grade file for benchmarks: a realistic start line, exams and one
// line per pupil with grades and marks.
inline const QString kBenchKey = QStringLiteral("8410203C07120002025");

inline QStringList benchClassLines(int pupils, int exams)
{
    static const QStringList examNames{
        QStringLiteral("فرض مراقبة 1"), QStringLiteral("فرض مراقبة 2"),
        QStringLiteral("فرض تأليفي 1"), QStringLiteral("شفاهي"),
        QStringLiteral("عمل تطبيقي"),   QStringLiteral("فرض 6")};
    static const QStringList grades{QStringLiteral("12.50"), QStringLiteral("07.25"),
                                    QStringLiteral("--.--"), QStringLiteral("معفى"),
                                    QStringLiteral("غ.ش."),  QStringLiteral("19.75")};
    QStringList lines{QStringLiteral("DEBUT") + kBenchKey +
                      QStringLiteral("|إعدادية ابن خلدون - صفاقس    [السابعة أساسي 2] - العربية - "
                                     "الثلاثي الأول")};
    lines << QStringLiteral("TYPEEPREUVE:|") + QStringList(examNames.mid(0, exams)).join(u'|');
    for (int i = 0; i < pupils; ++i) {
        lines << QStringLiteral("2#ملاحظة المدرّس|%1|%2|محمد بن صالح الطرابلسي|")
                         .arg(i + 1)
                         .arg(20250000 + i) +
                     QStringList(grades.mid(0, exams)).join(u'|');
    }
    lines << QStringLiteral("FIN") + kBenchKey +
                 QStringLiteral("|صفاقس 1|إعدادية ابن خلدون|سلمى||3|3");
    return lines;
}
