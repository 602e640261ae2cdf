#include "observation/observationdialog.h"

#include "observation/keyboardlayout.h"
#include "observation/observationinput.h"
#include "observation/observationsheet.h"
#include "observation/observationtext.h"
#include "observation/phrases.h"
#include "ui/uilook.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace observation {

const QString ObservationDialog::kCaption = QStringLiteral("الملاحظات الخاصّة بالتلميذ (ة) ");
const QString ObservationDialog::kPupilCaption = QStringLiteral("الملاحظات الخاصّة بالتلميذ (ة) : ");

namespace {

const QString kValidate = QStringLiteral("مصادقة");
const QString kQuit = QStringLiteral("خروج");
const QString kShortcuts = QStringLiteral("الإختصارات");

// The key of each preset phrase as the frame shows it, F1 to F9, with its place in the
// frame in twips: F1 stands at the right, F9 at the left.
struct KeyLabel {
    QString caption;
    int left;
    int width;
};
const KeyLabel kKeyLabels[kPhraseCount] = {
    {QStringLiteral("نتائج ضعيفة (F1)"), 10320, 1170},
    {QStringLiteral("دون المطلوب (F2)"), 9000, 1230},
    {QStringLiteral("دون المتوسّط  (F3)"), 7605, 1305},
    {QStringLiteral("متوسّط  (F4)"), 6600, 900},
    {QStringLiteral("فوق المتوسّط  (F5)"), 5220, 1350},
    {QStringLiteral("نتائج مرضيّة  (F6)"), 3960, 1200},
    {QStringLiteral("نتائج حسنة  (F7)"), 2640, 1185},
    {QStringLiteral("نتائج مشرّفة  (F8)"), 1320, 1260},
    {QStringLiteral("نتائج ممتازة (F9)"), 135, 1140},
};
constexpr int kDialogTop = 5200;

QColor colourOf(Rgb rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// A key label keeps its right edge; a text wider than designed (the stand-in for the
// designed font is wider) takes the room up to the next label on its left, and only
// then a smaller size. It stands in the frame's band below the title, as high as a line
// of its font.
QLabel* makeKeyLabel(QGroupBox* frame, int index)
{
    const KeyLabel& key = kKeyLabels[index];
    const int right = ui::fromTwips(key.left + key.width);
    const int leftmost =
        index + 1 < kPhraseCount
            ? ui::fromTwips(kKeyLabels[index + 1].left + kKeyLabels[index + 1].width) + 4
            : frame->contentsRect().left();
    const QFont designed = ui::programFont();
    const int wanted = QFontMetrics(designed).horizontalAdvance(key.caption) + 4;
    const int left = std::max(leftmost, std::min(right - wanted, ui::fromTwips(key.left)));
    const QFont font = ui::fontFittingWidth(designed, key.caption, right - left - 4);
    const QRect band = frame->contentsRect();
    const int height = QFontMetrics(font).height();

    auto* label = new QLabel(key.caption, frame);
    label->setObjectName(QStringLiteral("keyLabel%1").arg(index + 1));
    label->setFont(font);
    label->setGeometry(left, band.top() + (band.height() - height) / 2, right - left, height);
    label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colourOf(levelColour(phrases()[size_t(index)].level)));
    label->setPalette(palette);
    return label;
}

} // namespace

ObservationDialog::ObservationDialog(ObservationSheet& sheet, qint16& currentPupilRow,
                                     QWidget* parent)
    : QDialog(parent), m_sheet(sheet), m_row(currentPupilRow)
{
    ui::makeFixedDialogWindow(this, 11760, 1410);
    setModal(true);
    setWindowTitle(kCaption);
    createControls();
    createShortcutFrame();

    // A row that is no pupil's (a header, a sheet grown shorter) opens the nearest pupil,
    // so that a validation never writes outside the pupils.
    const int count = m_sheet.pupilCount();
    if (count > 0)
        m_row = qint16(qBound(1, int(m_row), count));
    loadPupil();
    m_observationEdit->setFocus();
}

ObservationDialog::~ObservationDialog()
{
    giveKeyboardBack();
}

void ObservationDialog::giveKeyboardBack()
{
    if (m_keyboardBefore && m_keyboard.giveBack)
        m_keyboard.giveBack(*m_keyboardBefore);
    m_keyboardBefore.reset();
}

void ObservationDialog::createControls()
{
    m_observationEdit = new QLineEdit(this);
    m_observationEdit->setObjectName(QStringLiteral("observationEdit"));
    m_observationEdit->setGeometry(ui::twipsRect(4800, 120, 5895, 375));
    m_observationEdit->setFont(ui::programFont(9.75));
    m_observationEdit->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    m_input = new ObservationInput(m_observationEdit);
    m_observationEdit->setValidator(m_input);
    connect(m_observationEdit, &QLineEdit::textChanged, m_input, &ObservationInput::accept);
    m_observationEdit->installEventFilter(this);

    m_validateButton = ui::makeButton(this, QStringLiteral("validateButton"), kValidate,
                                      ui::twipsRect(3720, 120, 1000, 350));
    m_validateButton->setDefault(true);
    connect(m_validateButton, &QPushButton::clicked, this, &ObservationDialog::validate);

    m_quitButton = ui::makeButton(this, QStringLiteral("quitButton"), kQuit,
                                  ui::twipsRect(2640, 120, 1000, 350));
    connect(m_quitButton, &QPushButton::clicked, this, &ObservationDialog::quitAndSave);

    // The order number is shown, not edited.
    m_orderNumber = new QLineEdit(this);
    m_orderNumber->setObjectName(QStringLiteral("orderNumber"));
    m_orderNumber->setGeometry(ui::twipsRect(10800, 120, 375, 375));
    m_orderNumber->setAlignment(Qt::AlignCenter);
    m_orderNumber->setEnabled(false);

    setTabOrder(m_observationEdit, m_validateButton);
    setTabOrder(m_validateButton, m_quitButton);
}

void ObservationDialog::createShortcutFrame()
{
    // The frame is as high as designed, or as its title and a line of the labels' font
    // need when the font standing in for the designed one is taller; the dialog grows
    // with it.
    auto* frame = new QGroupBox(kShortcuts, this);
    frame->setObjectName(QStringLiteral("shortcutFrame"));
    const QRect designed = ui::twipsRect(0, 600, 11685, 795);
    frame->setGeometry(designed);
    const QMargins margins = frame->contentsMargins();
    const int needed = margins.top() + QFontMetrics(ui::programFont()).height() + margins.bottom();
    frame->setGeometry(designed.adjusted(0, 0, 0, std::max(0, needed - designed.height())));
    const int marginBelow = height() - designed.bottom();
    setFixedHeight(std::max(height(), frame->geometry().bottom() + marginBelow));

    for (int index = 0; index < kPhraseCount; ++index)
        makeKeyLabel(frame, index);
}

void ObservationDialog::loadPupil()
{
    if (m_row < 1 || m_row > m_sheet.pupilCount())
        return;
    setWindowTitle(kPupilCaption + m_sheet.pupilName(m_row));
    setObservationText(observationOf(m_sheet.observationCell(m_row)));
    m_orderNumber->setText(m_sheet.orderNumber(m_row));
}

void ObservationDialog::goToNeighbour(int step)
{
    const int count = m_sheet.pupilCount();
    if (count < 1)
        return;
    int row = m_row + step;
    if (row > count)
        row = 1;
    else if (row < 1)
        row = count;
    m_row = qint16(row);
    loadPupil();
    // Going from pupil to pupil shows the row's number where loading showed the order
    // number; the two agree in the administration's files.
    m_orderNumber->setText(QString::number(m_row));
    m_observationEdit->setFocus();
}

void ObservationDialog::putPhrase(int functionKey)
{
    if (const std::optional<QString> phrase = phraseForKey(functionKey))
        setObservationText(*phrase);
}

void ObservationDialog::setObservationText(const QString& text)
{
    m_input->setProgramText(true);
    m_observationEdit->setText(text);
    m_input->setProgramText(false);
}

void ObservationDialog::validate()
{
    if (m_row < 1 || m_row > m_sheet.pupilCount())
        return;
    const QString text = storableText(m_observationEdit->text());
    const NameLook look = nameLookFor(text);
    m_sheet.setNameLook(m_row, colourOf(look.colour), look.bold);
    m_sheet.setObservationCell(m_row, cellAfterValidation(m_sheet.observationCell(m_row), text));
    m_sheet.markModified();
    goToNeighbour(+1);
    m_sheet.moveCursorTo(m_row);
    loadPupil();
    m_observationEdit->setFocus();
}

void ObservationDialog::quitAndSave()
{
    // The dialog is gone before the save asks its questions over the sheet.
    accept();
    m_sheet.save();
}

bool ObservationDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_observationEdit) {
        if (event->type() == QEvent::FocusIn && !m_keyboardBefore && m_keyboard.toArabic)
            m_keyboardBefore = m_keyboard.toArabic();
        // Back in the grid, "." must type a decimal point again, not an Arabic letter.
        if (event->type() == QEvent::FocusOut)
            giveKeyboardBack();
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key >= Qt::Key_F1 && key <= Qt::Key_F9) {
                putPhrase(key - Qt::Key_F1 + 1);
                return true;
            }
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                goToNeighbour(key == Qt::Key_Down ? +1 : -1);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ObservationDialog::keyPressEvent(QKeyEvent* event)
{
    // Only the quit button and the close box end the dialog.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ObservationDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    placeOnScreen();
}

void ObservationDialog::placeOnScreen()
{
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - frameGeometry().width()) / 2,
         area.y() + ui::fromTwips(kDialogTop));
}

} // namespace observation
