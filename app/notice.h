#pragma once

#include <QString>

class QWidget;

namespace ui {

// The telephone number of our support team, in every message that asks the teacher to
// call us and in the about box.
inline const QString kSupportTelephone = QStringLiteral("(+216) 71 840 512");

// The program's title: the default title of its plain notices.
inline const QString kProgramTitle = QStringLiteral("saisie-notes");

// A plain notice with the OK button only, reading right to left; returns when it is
// closed.
void showNotice(QWidget* parent, const QString& title, const QString& text);

} // namespace ui
