#include "app/aboutbox.h"

#include "app/appstate.h"
#include "app/systeminfo.h"
#include "ui/notice.h"
#include "ui/uilook.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace app {

namespace {

const QColor kLabelColour(255, 255, 0);
const QColor kGroove(128, 128, 128);

// Labels are transparent (QLabel paints no background) so the picture shows through.
// AlignAbsolute: without it Qt reads "right" as "left" in a right-to-left label.
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    // Fonts other than Tahoma stand taller: the label grows downwards rather than cut the
    // letters that reach below the line.
    geometry.setHeight(qMax(geometry.height(), label->fontMetrics().height()));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kLabelColour);
    label->setPalette(palette);
    return label;
}

QWidget* makeLine(QWidget* parent, const QString& name, const QColor& colour, QRect geometry)
{
    auto* line = new QWidget(parent);
    line->setObjectName(name);
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}

// A line drawn from x1 to x2 (twips) at height y (twips), thickness in pixels.
QRect horizontalLine(int x1, int x2, int y, int thickness)
{
    const int left = ui::fromTwips(x1);
    return QRect(left, ui::fromTwips(y), ui::fromTwips(x2) - left, thickness);
}

} // namespace

AboutBox::AboutBox(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("AboutBox"));
    ui::makeFixedDialogWindow(this, 5805, 3555);
    setWindowTitle(QStringLiteral("حول الوحدة الخارجيّة لرقن الأعداد لمنظومة نورافيل"));
    createPictures();
    createButtons();
    createLabels();
    createSeparator();
}

// Positions are the designed ones, from the left edge; only the reading order is right to
// left (Qt does not mirror the geometry of children placed by hand).
void AboutBox::createPictures()
{
    const QRect backgroundGeometry = ui::twipsRect(0, 0, 5805, 3570);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setGeometry(backgroundGeometry);
    picture->setScaledContents(true);
    picture->setPixmap(ui::aboutBackground(backgroundGeometry.size()));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setGeometry(ui::twipsRect(5040, 120, 510, 510));
    icon->setAlignment(Qt::AlignCenter);
    icon->setPixmap(ui::programIcon().pixmap(32, 32));
}

void AboutBox::createLabels()
{
    makeLabel(this, QStringLiteral("title"), QStringLiteral("الوحدة الخارجيّة لحجز الأعداد "),
              ui::twipsRect(1050, 240, 3885, 480));
    makeLabel(this, QStringLiteral("version"), QStringLiteral("إصدار " SAISIE_VERSION),
              ui::twipsRect(1050, 780, 3885, 225));
    QLabel* description =
        makeLabel(this, QStringLiteral("description"),
                  QStringLiteral(
                      " تمكّن هاته الوحدة  مستعمليها من رقن الأعداد  بأيّ جهاز حاسوب بعد أن يقع "
                      "تثبيت الوحدة به وبذلك تكون الوحدة شبه مستقلّة عن  المنظومة  الأمّ  : نورافيل"),
                  ui::twipsRect(1050, 1125, 3885, 1170));
    description->setWordWrap(true);
    makeLabel(this, QStringLiteral("disclaimer"),
              QStringLiteral("© فريق saisie-notes — برنامج حرّ لرقن الأعداد"),
              ui::twipsRect(255, 2625, 3870, 525))
        ->setWordWrap(true);
    // The telephone line shows only a number the school's administration recorded.
    const QString telephone = ui::supportTelephone();
    makeLabel(this, QStringLiteral("telephoneLabel"),
              telephone.isEmpty() ? QString() : QStringLiteral("الهاتف : "),
              ui::twipsRect(3540, 3150, 585, 225));
    // A telephone number reads left to right, brackets and all.
    makeLabel(this, QStringLiteral("telephoneNumber"), telephone,
              ui::twipsRect(270, 3150, 3255, 225))
        ->setLayoutDirection(Qt::LeftToRight);
}

// Two lines a pixel apart, grey over white, make an etched groove above the buttons.
void AboutBox::createSeparator()
{
    makeLine(this, QStringLiteral("Line1_1"), kGroove, horizontalLine(90, 5654, 2445, 1));
    makeLine(this, QStringLiteral("Line1_0"), Qt::white, horizontalLine(105, 5654, 2460, 2));
}

void AboutBox::createButtons()
{
    m_okButton = ui::makeButton(this, QStringLiteral("okButton"), QStringLiteral("موافق"),
                                ui::twipsRect(4245, 2595, 1350, 375));
    m_okButton->setDefault(true);
    m_systemInfoButton =
        ui::makeButton(this, QStringLiteral("systemInfoButton"), QStringLiteral("خصائص التثبيت"),
                       ui::twipsRect(4260, 3030, 1395, 345));
    // Installations have no information tool to offer: the button stays greyed.
    m_systemInfoButton->setEnabled(false);

    connect(m_okButton, &QPushButton::clicked, this, &AboutBox::closeWithOk);
    connect(m_systemInfoButton, &QPushButton::clicked, this, &AboutBox::systemInfoClicked);
}

void AboutBox::closeWithOk()
{
    accept();
    m_state.aboutShown = true;
}

void AboutBox::systemInfoClicked()
{
    startSystemInformation(this);
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

void AboutBox::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    ui::centreOnScreen(this);
}

void AboutBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ui::centreOnScreen(this);
}

} // namespace app
