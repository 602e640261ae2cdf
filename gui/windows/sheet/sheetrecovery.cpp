#include "gui/windows/sheet/sheetrecovery.h"

#include "core/copies/copyfailure.h"
#include "core/disk/teachermessages.h"
#include "core/recovery/datafolder.h"
#include "core/recovery/keptcopies.h"
#include "gui/ui/notice.h"
#include "gui/ui/questiondialog.h"

#include <QDir>
#include <QTimer>

namespace sheet {

using gradefile::FileError;
using recovery::JournalCell;

namespace {

// One line of the question window: the number of cells and the day and hour of the last,
// and the folder the disk was at when they were typed if it is not at that folder now.
const QString kBringBackQuestion =
    QStringLiteral("أعداد لم تحفظ، الخانات: %1، آخرها %2%3 - استرجاعها ؟");
const QString kTypedInFolder = QStringLiteral("، رقنت في المجلّد %1");

QString recoverText(const FileError& error)
{
    return gradefile::teacherMessage(gradefile::FileOperation::Recover, error,
                                     ui::supportTelephone())
        .text;
}

QString bringBackQuestion(int cells, const recovery::PendingChanges& pending)
{
    QStringList folders;
    for (const QString& folder : pending.otherFolders)
        folders << leftToRight(QDir::toNativeSeparators(folder));
    return kBringBackQuestion.arg(cells).arg(
        gradefile::shownTime(pending.lastChange),
        folders.isEmpty() ? QString() : kTypedInFolder.arg(folders.join(QStringLiteral("، "))));
}

} // namespace

SheetRecovery::SheetRecovery(recovery::DataFolder& dataFolder, recovery::JournalIdentity identity,
                             QWidget* window)
    : m_dataFolder(dataFolder), m_journal(dataFolder.path, std::move(identity)), m_window(window)
{}

void SheetRecovery::cellCommitted(Cell cell, const QString& text)
{
    const FileError error = m_journal.write(
        {JournalCell{cell.column, cell.row, text, QDateTime::currentDateTimeUtc()}});
    if (error.isError()) {
        reportNotWritable(error);
        return;
    }
    if (m_flushQueued || !m_window)
        return;
    m_flushQueued = true;
    // As soon as the current key or move is handled: its records are already in the file
    // (a crash of the program keeps them), the flush makes them outlast a power cut. Posted
    // at the normal priority, it runs before the repaint the change asked for, which Qt
    // posts at a low one.
    QMetaObject::invokeMethod(
        m_window, [this] { flushJournal(); }, Qt::QueuedConnection);
}

void SheetRecovery::flushJournal()
{
    m_flushQueued = false;
    const FileError error = m_journal.flush();
    if (error.isError())
        reportNotWritable(error);
}

void SheetRecovery::reportNotWritable(const FileError& error)
{
    if (m_dataFolder.offNoticeShown)
        return;
    m_dataFolder.offNoticeShown = true;
    const QString text =
        gradefile::teacherMessage(gradefile::FileOperation::Journal, error, ui::supportTelephone())
            .text;
    // A change is recorded from inside the grid's handling of a key or a move: the notice
    // waits until that is over.
    QTimer::singleShot(0, m_window, [window = m_window, text] {
        ui::showNotice(window, ui::kProgramTitle, text);
    });
}

bool SheetRecovery::reportUnusable(const recovery::PendingChanges& pending)
{
    for (const recovery::RefusedJournal& refused : pending.refused)
        ui::showNotice(m_window, ui::kProgramTitle, recoverText(refused.error));
    if (pending.changedOnDisk.isEmpty())
        return !pending.refused.empty();
    FileError changed = gradefile::makeFileError(gradefile::FileErrorKind::ChangedOnDisk,
                                                 QStringLiteral("Le fichier a changé sur le disque "
                                                                "depuis le début du journal."));
    for (const QString& journal : pending.changedOnDisk) {
        const std::optional<QString> aside = recovery::setAside(journal, m_dataFolder.path);
        changed.path = aside.value_or(journal);
    }
    if (pending.changedOnDisk.size() > 1)
        changed.path = recovery::asideFolder(m_dataFolder.path);
    ui::showNotice(m_window, ui::kProgramTitle, recoverText(changed));
    return true;
}

CellTexts SheetRecovery::changesToBringBack(const recovery::SheetBounds& bounds,
                                            const std::function<QString(Cell)>& texts,
                                            const QString& title, bool& shown)
{
    const recovery::PendingChanges pending = recovery::findPendingChanges(
        recovery::journalsFolder(m_dataFolder.path), m_journal.identity(), bounds);
    recovery::removeJournals(pending.empty);
    shown = reportUnusable(pending);
    CellTexts changes;
    std::vector<JournalCell> cells;
    for (const JournalCell& cell : pending.cells) {
        const Cell at{cell.column, cell.row};
        if (texts(at) == cell.text)
            continue;
        changes.append({at, cell.text});
        cells.push_back(cell);
    }
    if (changes.isEmpty()) {
        recovery::removeJournals(pending.journals);
        return {};
    }
    shown = true;
    if (ui::QuestionDialog::ask(bringBackQuestion(int(changes.size()), pending),
                                ui::QuestionDialog::Buttons::YesNo, title,
                                m_window) != ui::QuestionDialog::Answer::Yes) {
        // A wrong click must not cost the grades: the kept copies window brings them back.
        // One that cannot be set aside stays, and is offered again at the next open.
        for (const QString& journal : pending.journals)
            recovery::setAside(journal, m_dataFolder.path);
        return {};
    }
    m_broughtBackFrom = pending.journals;
    m_broughtBackCells = std::move(cells);
    return changes;
}

void SheetRecovery::broughtBack()
{
    const FileError error = m_journal.record(m_broughtBackCells);
    if (error.isError()) {
        // The journals they came from still hold them.
        reportNotWritable(error);
        return;
    }
    recovery::removeJournals(m_broughtBackFrom);
    m_broughtBackFrom.clear();
    m_broughtBackCells.clear();
}

void SheetRecovery::keepCopy(const QString& diskFolder, const QByteArray& bytes)
{
    const FileError error =
        recovery::KeptCopies(m_dataFolder.path).keep(m_journal.identity().key, diskFolder, bytes);
    if (error.isError())
        reportNotWritable(error);
}

void SheetRecovery::saved(const QByteArray& contentHash)
{
    m_journal.saved(contentHash);
    // Changes brought back whose journals could not be removed are on the disk now.
    recovery::removeJournals(m_broughtBackFrom);
    m_broughtBackFrom.clear();
    m_broughtBackCells.clear();
}

} // namespace sheet
