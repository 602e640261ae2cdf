#include "gui/windows/observation/observationdialog.h"

#include "core/observation/observationtext.h"
#include "core/observation/phrases.h"
#include "gui/ui/uilook.h"
#include "gui/windows/observation/keyboardlayout.h"
#include "gui/windows/observation/observationinput.h"
#include "gui/windows/observation/observationsheet.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace observation {

const QString ObservationDialog::kCaption = QStringLiteral("الملاحظات الخاصّة بالتلميذ (ة) ");
const QString ObservationDialog::kPupilCaption = QStringLiteral("الملاحظات الخاصّة بالتلميذ (ة) : ");

namespace {

const QString kValidate = QStringLiteral("مصادقة");
const QString kQuit = QStringLiteral("خروج");
const QString kShortcuts = QStringLiteral("الإختصارات");

// The key of each preset phrase as the frame shows it, F1 to F9: F1 stands at the right,
// F9 at the left.
const QString kKeyCaptions[kPhraseCount] = {
    QStringLiteral("نتائج ضعيفة (F1)"),  QStringLiteral("دون المطلوب (F2)"),
    QStringLiteral("دون المتوسّط  (F3)"), QStringLiteral("متوسّط  (F4)"),
    QStringLiteral("فوق المتوسّط  (F5)"), QStringLiteral("نتائج مرضيّة  (F6)"),
    QStringLiteral("نتائج حسنة  (F7)"),  QStringLiteral("نتائج مشرّفة  (F8)"),
    QStringLiteral("نتائج ممتازة (F9)"),
};
constexpr int kDialogTop = 5200;
constexpr int kSideMargin = ui::fromTwips(60);

QColor colourOf(Rgb rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// A key label in the level colour of its phrase, its text against its right edge. In bold,
// as the names of the grid in the same colours: the red and the green alone are too faint on
// the window's grey for a weak eye.
QLabel* makeKeyLabel(QWidget* frame, int index)
{
    auto* label = new QLabel(kKeyCaptions[index], frame);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setObjectName(QStringLiteral("keyLabel%1").arg(index + 1));
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
    ui::makeFixedDialogWindow(this);
    setModal(true);
    setWindowTitle(kCaption);
    // The frame of the keys spans the window's width below the box, its sides in sight.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kSideMargin, ui::fromTwips(120), kSideMargin, kSideMargin);
    layout->addLayout(createControls());
    layout->addWidget(createShortcutFrame());
    ui::fixDesignedSize(this, 11760, 1410);

    // A row that is no pupil's (a header, a sheet grown shorter) opens the nearest pupil,
    // so that a validation never writes outside the pupils. The sheet shows the dialog
    // only over a pupil.
    Q_ASSERT(m_sheet.pupilCount() > 0);
    m_row = qint16(qBound(1, int(m_row), m_sheet.pupilCount()));
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

// The order number at the right, the observation box, then the buttons, in tab order.
QLayout* ObservationDialog::createControls()
{
    m_observationEdit = new QLineEdit(this);
    m_observationEdit->setObjectName(QStringLiteral("observationEdit"));
    m_observationEdit->setMinimumWidth(ui::fromTwips(5895));
    m_observationEdit->setFont(ui::designedFont(9.75));
    m_observationEdit->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    m_input = new ObservationInput(m_observationEdit);
    m_observationEdit->setValidator(m_input);
    connect(m_observationEdit, &QLineEdit::textChanged, m_input, &ObservationInput::accept);
    m_observationEdit->installEventFilter(this);

    m_validateButton = ui::makeButton(this, QStringLiteral("validateButton"), kValidate, 1000, 350);
    m_validateButton->setDefault(true);
    connect(m_validateButton, &QPushButton::clicked, this, &ObservationDialog::validate);
    m_quitButton = ui::makeButton(this, QStringLiteral("quitButton"), kQuit, 1000, 350);
    connect(m_quitButton, &QPushButton::clicked, this, &ObservationDialog::quitAndSave);

    // The order number is shown, not edited; three figures fit whatever the font.
    m_orderNumber = new QLineEdit(this);
    m_orderNumber->setObjectName(QStringLiteral("orderNumber"));
    m_orderNumber->setAccessibleName(QStringLiteral("ع.ر"));
    m_orderNumber->setAlignment(Qt::AlignCenter);
    m_orderNumber->setEnabled(false);
    m_orderNumber->setFixedWidth(
        std::max(ui::fromTwips(375),
                 m_orderNumber->fontMetrics().horizontalAdvance(QStringLiteral("0000"))));

    auto* row = new QHBoxLayout;
    row->addSpacing(ui::fromTwips(585));
    row->addWidget(m_orderNumber);
    row->addSpacing(ui::fromTwips(105));
    row->addWidget(m_observationEdit);
    row->addWidget(m_validateButton);
    row->addWidget(m_quitButton);
    row->addStretch(1);
    return row;
}

// The preset phrases' keys in a row, spread over the frame's width; in as many rows as a
// large font on a small screen needs.
QWidget* ObservationDialog::createShortcutFrame()
{
    auto* frame = new QGroupBox(kShortcuts, this);
    frame->setObjectName(QStringLiteral("shortcutFrame"));
    auto* keys = new QGridLayout(frame);
    keys->setContentsMargins(kSideMargin, 0, kSideMargin, 0);
    keys->setHorizontalSpacing(ui::fromTwips(150));
    std::vector<QLabel*> labels;
    int rowWidth = 0;
    int widest = 0;
    for (int index = 0; index < kPhraseCount; ++index) {
        labels.push_back(makeKeyLabel(frame, index));
        widest = std::max(widest, labels.back()->sizeHint().width() + keys->horizontalSpacing());
        rowWidth += labels.back()->sizeHint().width() + keys->horizontalSpacing();
    }
    // The screen's width less the window's sides, the frame's and the keys' margins.
    const int room =
        ui::availableSize(this).width() -
        2 * (2 * kSideMargin + frame->style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
    const int perRow = rowWidth > room ? std::clamp(room / widest, 1, kPhraseCount) : kPhraseCount;
    for (int index = 0; index < kPhraseCount; ++index)
        keys->addWidget(labels[size_t(index)], index / perRow, index % perRow);
    return frame;
}

void ObservationDialog::loadPupil()
{
    setWindowTitle(kPupilCaption + m_sheet.pupilName(m_row));
    // A screen reader names the box by its pupil, and speaks the change of pupil.
    m_observationEdit->setAccessibleName(windowTitle());
    setObservationText(observationOf(m_sheet.observationCell(m_row)));
    m_orderNumber->setText(m_sheet.orderNumber(m_row));
}

void ObservationDialog::goToNeighbour(int step)
{
    const int count = m_sheet.pupilCount();
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
    const QString text = storableText(m_observationEdit->text());
    const NameLook look = nameLookFor(text);
    m_sheet.setNameLook(m_row, colourOf(*look.colour), look.bold);
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
    ui::centreOnScreen(this, kDialogTop);
}

} // namespace observation
