#include "gui/windows/app/aboutbox.h"

#include "gui/ui/artwork.h"
#include "gui/ui/notice.h"
#include "gui/ui/uilook.h"
#include "gui/windows/app/appstate.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

namespace {

const QColor kLabelColour(255, 255, 0);
const QColor kGroove(128, 128, 128);

// Labels paint no background, so the picture shows through; AlignAbsolute: without it Qt
// reads "right" as "left" in a right-to-left label.
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    return label;
}

// A text that wraps at the width the window has, rather than widen it.
QLabel* makeWrappedLabel(QWidget* parent, const QString& name, const QString& text)
{
    QLabel* label = makeLabel(parent, name, text);
    QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    label->setSizePolicy(policy);
    label->setWordWrap(true);
    return label;
}

// Grey over white, a pixel apart: an etched groove above the buttons.
QFrame* makeGroove(QWidget* parent)
{
    auto* groove = new QFrame(parent);
    groove->setObjectName(QStringLiteral("groove"));
    groove->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    QPalette palette = groove->palette();
    palette.setColor(QPalette::Dark, kGroove);
    palette.setColor(QPalette::Light, Qt::white);
    groove->setPalette(palette);
    return groove;
}

} // namespace

AboutBox::AboutBox(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("AboutBox"));
    ui::makeFixedDialogWindow(this);
    setWindowTitle(QStringLiteral("حول الوحدة الخارجيّة لرقن الأعداد لمنظومة نورافيل"));
    createButtons();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(createTitleRows(), 1);
    layout->addWidget(makeGroove(this));
    layout->addLayout(createButtonRows());
    ui::fixDesignedSize(this, 5805, 3555);

    // The picture fills the window behind every label, all of them in yellow.
    QPalette palette = this->palette();
    palette.setBrush(QPalette::Window, ui::aboutBackground(size()));
    palette.setColor(QPalette::WindowText, kLabelColour);
    setPalette(palette);
}

// The icon at the right, the name, the version and the purpose beside it.
QLayout* AboutBox::createTitleRows()
{
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(ui::programIcon().pixmap(32, 32));
    auto* texts = new QVBoxLayout;
    texts->addWidget(
        makeLabel(this, QStringLiteral("title"), QStringLiteral("الوحدة الخارجيّة لحجز الأعداد ")));
    texts->addWidget(
        makeLabel(this, QStringLiteral("version"), QStringLiteral("إصدار " SAISIE_VERSION)));
    texts->addWidget(
        makeWrappedLabel(
            this, QStringLiteral("description"),
            QStringLiteral(
                " تمكّن هاته الوحدة  مستعمليها من رقن الأعداد  بأيّ جهاز حاسوب بعد أن يقع "
                "تثبيت الوحدة به وبذلك تكون الوحدة شبه مستقلّة عن  المنظومة  الأمّ  : نورافيل")),
        1);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
    row->addSpacing(ui::fromTwips(700));
    return row;
}

// The buttons at the right; the credit line and the support telephone beside them.
QLayout* AboutBox::createButtonRows()
{
    QLabel* disclaimer =
        makeWrappedLabel(this, QStringLiteral("disclaimer"),
                         QStringLiteral("© فريق saisie-notes — برنامج حرّ لرقن الأعداد"));
    // The telephone line shows only a number the school's administration recorded.
    const QString telephone = ui::supportTelephone();
    QLabel* telephoneLabel =
        makeLabel(this, QStringLiteral("telephoneLabel"),
                  telephone.isEmpty() ? QString() : QStringLiteral("الهاتف : "));
    QLabel* telephoneNumber = makeLabel(this, QStringLiteral("telephoneNumber"), telephone);
    // A telephone number reads left to right, brackets and all.
    telephoneNumber->setLayoutDirection(Qt::LeftToRight);

    auto* rows = new QGridLayout;
    rows->addWidget(m_okButton, 0, 0);
    rows->addWidget(m_systemInfoButton, 1, 0);
    rows->addWidget(disclaimer, 0, 1, 1, 2);
    rows->addWidget(telephoneLabel, 1, 1);
    rows->addWidget(telephoneNumber, 1, 2);
    rows->setColumnStretch(2, 1);
    return rows;
}

void AboutBox::createButtons()
{
    m_okButton =
        ui::makeButton(this, QStringLiteral("okButton"), QStringLiteral("موافق"), 1350, 375);
    m_okButton->setDefault(true);
    m_systemInfoButton = ui::makeButton(this, QStringLiteral("systemInfoButton"),
                                        QStringLiteral("خصائص التثبيت"), 1395, 345);
    // Installations have no information tool to offer: the button stays greyed, answering nothing.
    m_systemInfoButton->setEnabled(false);

    connect(m_okButton, &QPushButton::clicked, this, &AboutBox::closeWithOk);
}

void AboutBox::closeWithOk()
{
    accept();
    m_state.aboutShown = true;
}

// Escape answers like the OK button; QDialog would otherwise reject, as the close box does.
void AboutBox::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        m_okButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void AboutBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ui::centreOnScreen(this);
}

} // namespace app
