#pragma once

#include <QString>

class QWidget;

namespace ui {

// The settings key where the school's administration may record the telephone number of
// the team that supports the program. Without it, no number is shown anywhere.
inline const QString kSupportTelephoneKey = QStringLiteral("support/telephone");

// The support telephone number the administration recorded, or an empty text.
QString supportTelephone();

// The program's name as the teacher reads it (the about box's): the default title of its
// plain notices.
inline const QString kProgramTitle = QStringLiteral("الوحدة الخارجيّة لرقن الأعداد لمنظومة نورافيل");

// A plain notice with the OK button only, reading right to left; returns when it is
// closed.
void showNotice(QWidget* parent, const QString& title, const QString& text);

} // namespace ui
