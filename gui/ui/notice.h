#pragma once

#include <QString>

class QWidget;

namespace ui {

// Recorded by the school's administration; without it, no number is shown anywhere.
inline const QString kSupportTelephoneKey = QStringLiteral("support/telephone");

// The support telephone number the administration recorded, or an empty text.
QString supportTelephone();

// The default title of the plain notices.
inline const QString kProgramTitle = QStringLiteral("الوحدة الخارجيّة لرقن الأعداد لمنظومة نورافيل");

// Returns when it is closed.
void showNotice(QWidget* parent, const QString& title, const QString& text);

} // namespace ui
