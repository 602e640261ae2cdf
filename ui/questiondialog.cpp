#include "ui/questiondialog.h"

#include "ui/uilook.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace ui {

namespace {

// Where the Yes button stands when it is the only button: nearer the middle.
constexpr int kLoneOkLeftTwips = 1500;

QRect designedMessageGeometry()
{
    return ui::twipsRect(90, 360, 5025, 345);
}

constexpr qreal kMessagePointSize = 14.25;
constexpr qreal kSmallestMessagePointSize = 8;

// The message's font: the designed size, or smaller for a message that would not fit on
// the label's one line, so that it is never cut at both ends.
QFont messageFont(const QString& message, int width)
{
    return ui::fontFittingWidth(ui::programFont(kMessagePointSize, true), message, width,
                                kSmallestMessagePointSize);
}

// Fonts other than Tahoma stand taller: the label grows about its middle rather than cut
// the tops and tails of the letters.
QRect messageGeometry(const QFont& font)
{
    QRect geometry = designedMessageGeometry();
    const int height = qMax(geometry.height(), QFontMetrics(font).height());
    geometry.adjust(0, -(height - geometry.height()) / 2, 0, 0);
    geometry.setHeight(height);
    return geometry;
}

QPushButton* makeAnswerButton(QWidget* parent, const QString& name, const QString& caption,
                              QRect geometry)
{
    QPushButton* button = ui::makeButton(parent, name, caption, geometry);
    button->setFont(ui::programFont(12, true));
    return button;
}

} // namespace

QuestionDialog::QuestionDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("QuestionDialog"));
    ui::makeFixedDialogWindow(this, 5325, 1500);
    setWindowTitle(QStringLiteral("حذف ملف"));
    createControls();
}

// Positions are the designed ones, from the left edge; only the reading order is right to
// left (Qt does not mirror the geometry of children placed by hand).
void QuestionDialog::createControls()
{
    m_frame = new QGroupBox(this);
    m_frame->setObjectName(QStringLiteral("frame"));
    m_frame->setGeometry(ui::twipsRect(0, -60, 5295, 1515));
    m_frame->setFont(ui::programFont(9.75, true));

    // Created in tab order: Yes first, so it has the focus when the window opens.
    m_okButton = makeAnswerButton(m_frame, QStringLiteral("okButton"), QStringLiteral("نعم"),
                                  ui::twipsRect(1710, 960, 945, 435));
    m_okButton->setDefault(true);
    m_cancelButton = makeAnswerButton(m_frame, QStringLiteral("cancelButton"), QStringLiteral("لا"),
                                      ui::twipsRect(510, 960, 945, 435));

    m_message = new QLabel(QStringLiteral("Msg"), m_frame);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setAlignment(Qt::AlignCenter);
    showMessage(m_message->text());

    connect(m_okButton, &QPushButton::clicked, this, &QuestionDialog::answerYes);
    connect(m_cancelButton, &QPushButton::clicked, this, &QuestionDialog::answerNo);
}

void QuestionDialog::prepare(const QString& message, Buttons buttons, const QString& title)
{
    showMessage(message);
    const bool withNo = buttons == Buttons::YesNo;
    m_cancelButton->setVisible(withNo);
    if (!withNo)
        m_okButton->move(ui::fromTwips(kLoneOkLeftTwips), m_okButton->y());
    setWindowTitle(title);
}

void QuestionDialog::showMessage(const QString& message)
{
    const QFont font = messageFont(message, designedMessageGeometry().width());
    m_message->setFont(font);
    m_message->setGeometry(messageGeometry(font));
    m_message->setText(message);
}

void QuestionDialog::answerYes()
{
    m_answer = Answer::Yes;
    accept();
}

void QuestionDialog::answerNo()
{
    m_answer = Answer::No;
    reject();
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
    ui::centreOnScreen(this);
}

QuestionDialog::Answer QuestionDialog::ask(const QString& message, Buttons buttons,
                                           const QString& title, QWidget* parent)
{
    QuestionDialog dialog(parent);
    dialog.prepare(message, buttons, title);
    dialog.exec();
    return dialog.answer();
}

} // namespace ui
