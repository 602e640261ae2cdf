#include "sheet/frmmsg.h"

#include "app/uilook.h"
#include "sheet/sheetstate.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace sheet {

namespace {

const QString kAnswerYes = QStringLiteral("OK");
const QString kAnswerNo = QStringLiteral("Cancel");

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

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        QRect geometry)
{
    QPushButton* button = ui::makeButton(parent, name, caption, geometry);
    button->setFont(ui::programFont(12, true));
    return button;
}

} // namespace

FrmMsg::FrmMsg(SheetState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("FrmMsg"));
    ui::makeFixedDialogWindow(this, 5325, 1500);
    setWindowTitle(QStringLiteral("حذف ملف"));
    createControls();
    Form_Load();
}

// Positions are the designed ones, from the left edge; only the reading order is right to
// left (Qt does not mirror the geometry of children placed by hand).
void FrmMsg::createControls()
{
    m_frame1 = new QGroupBox(this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_frame1->setGeometry(ui::twipsRect(0, -60, 5295, 1515));
    m_frame1->setFont(ui::programFont(9.75, true));

    // Created in tab order: Yes first, so it has the focus when the window opens.
    m_cmdOK = makeButton(m_frame1, QStringLiteral("CmdOK"), QStringLiteral("نعم"),
                         ui::twipsRect(1710, 960, 945, 435));
    m_cmdOK->setDefault(true);
    m_cmdCancel = makeButton(m_frame1, QStringLiteral("CmdCancel"), QStringLiteral("لا"),
                             ui::twipsRect(510, 960, 945, 435));

    m_lblMsg = new QLabel(QStringLiteral("Msg"), m_frame1);
    m_lblMsg->setObjectName(QStringLiteral("LblMsg"));
    m_lblMsg->setAlignment(Qt::AlignCenter);
    showMessage(m_lblMsg->text());

    connect(m_cmdOK, &QPushButton::clicked, this, &FrmMsg::CmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &FrmMsg::CmdCancel_Click);
}

// A fresh window forgets the previous answer: closing it by the close box means "Cancel".
void FrmMsg::Form_Load()
{
    m_state.dialogResult = kAnswerNo;
}

void FrmMsg::Afficher(const QString& message, bool cancel, const QString& title)
{
    showMessage(message);
    m_cmdCancel->setVisible(cancel);
    if (!cancel)
        m_cmdOK->move(ui::fromTwips(kLoneOkLeftTwips), m_cmdOK->y());
    setWindowTitle(title);
}

void FrmMsg::showMessage(const QString& message)
{
    const QFont font = messageFont(message, designedMessageGeometry().width());
    m_lblMsg->setFont(font);
    m_lblMsg->setGeometry(messageGeometry(font));
    m_lblMsg->setText(message);
}

void FrmMsg::CmdOK_Click()
{
    m_state.dialogResult = kAnswerYes;
    accept();
}

void FrmMsg::CmdCancel_Click()
{
    m_state.dialogResult = kAnswerNo;
    reject();
}

// Escape answers nothing: the question is answered by Yes, No or the close box.
void FrmMsg::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FrmMsg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ui::centreOnScreen(this);
}

QString askQuestion(SheetState& state, const QString& message, bool cancel, const QString& title,
                    QWidget* parent)
{
    FrmMsg dialog(state, parent);
    dialog.Afficher(message, cancel, title);
    dialog.exec();
    return state.dialogResult;
}

} // namespace sheet
