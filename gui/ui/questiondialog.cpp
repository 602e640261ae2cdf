#include "gui/ui/questiondialog.h"

#include "gui/ui/uilook.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace ui {

namespace {

QPushButton* makeAnswerButton(QWidget* parent, const QString& name, const QString& caption)
{
    QPushButton* button = makeButton(parent, name, caption, 945, 435);
    button->setFont(designedFont(12, true));
    return button;
}

} // namespace

QuestionDialog::QuestionDialog(const QString& message, Buttons buttons, const QString& title,
                               QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("QuestionDialog"));
    makeFixedDialogWindow(this);
    setWindowTitle(title);
    createControls(message, buttons);
    fixDesignedSize(this, 5325, 1500);
}

void QuestionDialog::createControls(const QString& message, Buttons buttons)
{
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("frame"));
    frame->setFont(designedFont(9.75, true));

    // Created in tab order: Yes first, so it has the focus when the window opens.
    QPushButton* yes = makeAnswerButton(frame, QStringLiteral("okButton"), QStringLiteral("نعم"));
    yes->setDefault(true);
    QPushButton* no = makeAnswerButton(frame, QStringLiteral("cancelButton"), QStringLiteral("لا"));
    no->setHidden(buttons == Buttons::YesOnly);

    // A message too long for one line wraps, and the window grows to show it whole. Blanks that
    // end it would push it off the middle.
    static const QRegularExpression trailingBlanks(QStringLiteral("\\s+$"));
    auto* label = new QLabel(QString(message).remove(trailingBlanks), frame);
    label->setObjectName(QStringLiteral("message"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setFont(designedFont(14.25, true));

    // The buttons stand left of the middle; Yes alone stands nearer the middle.
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(5);
    buttonRow->addWidget(yes);
    buttonRow->addWidget(no);
    buttonRow->addStretch(no->isHidden() ? 3 : 1);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(label, 1);
    frameLayout->addLayout(buttonRow);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);

    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
}

// Escape answers nothing: the question is answered by Yes, No or the close box.
void QuestionDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void QuestionDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}

QuestionDialog::Answer QuestionDialog::ask(const QString& message, Buttons buttons,
                                           const QString& title, QWidget* parent)
{
    QuestionDialog dialog(message, buttons, title, parent);
    return dialog.exec() == QDialog::Accepted ? Answer::Yes : Answer::No;
}

} // namespace ui
