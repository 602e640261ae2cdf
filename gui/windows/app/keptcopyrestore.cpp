#include "gui/windows/app/keptcopyrestore.h"

#include "core/disk/gradedisk.h"
#include "core/disk/teachermessages.h"
#include "core/recovery/datafolder.h"
#include "gui/ui/notice.h"
#include "gui/ui/questiondialog.h"

#include <QFileInfo>

namespace app {

namespace {

const QString kRestoreQuestion = QStringLiteral("تعويض الملفّ الموجود بالقرص المرن بهذه النسخة ؟");
const QString kReplaceInFolderQuestion =
    QStringLiteral("يوجد ملفّ بنفس الإسم في هذا المجلّد - تعويضه ؟");

bool agreed(const QString& question, const QString& title, QWidget* parent)
{
    return ui::QuestionDialog::ask(question, ui::QuestionDialog::Buttons::YesNo, title, parent) ==
           ui::QuestionDialog::Answer::Yes;
}

} // namespace

KeptCopyRestore::KeptCopyRestore(recovery::DataFolder& dataFolder, QWidget* parent,
                                 QString diskQuestionTitle)
    : m_dataFolder(dataFolder), m_parent(parent), m_diskQuestionTitle(std::move(diskQuestionTitle))
{}

bool KeptCopyRestore::toDisk(const gradefile::GradeDisk& disk, const QString& key,
                             const recovery::KeptCopy& copy, const QString& fileName)
{
    const std::optional<QByteArray> bytes = restoredBytes(disk, fileName, key, copy);
    if (!bytes || !agreed(kRestoreQuestion, m_diskQuestionTitle, m_parent))
        return false;
    keepCurrent(disk, key, fileName);
    return write(disk, fileName, *bytes);
}

void KeptCopyRestore::toFolder(const QString& folder, const QString& key,
                               const recovery::KeptCopy& copy, const QString& fileName)
{
    const gradefile::GradeDisk target(folder);
    const std::optional<QByteArray> bytes = restoredBytes(target, fileName, key, copy);
    if (bytes && (!QFileInfo::exists(target.pathOf(fileName)) ||
                  agreed(kReplaceInFolderQuestion, m_diskQuestionTitle, m_parent)))
        write(target, fileName, *bytes);
}

std::optional<QByteArray> KeptCopyRestore::restoredBytes(const gradefile::GradeDisk& disk,
                                                         const QString& fileName,
                                                         const QString& key,
                                                         const recovery::KeptCopy& copy)
{
    const recovery::KeptCopyRead read =
        recovery::KeptCopies(m_dataFolder.path).restored(copy, key, disk.bytesOf(fileName));
    if (!read.bytes)
        reportFailure(read.error);
    return read.bytes;
}

// Bringing a copy back replaces the file as a save does: what it replaces is kept too.
void KeptCopyRestore::keepCurrent(const gradefile::GradeDisk& disk, const QString& key,
                                  const QString& fileName)
{
    const std::optional<QByteArray> current = disk.bytesOf(fileName);
    if (!current)
        return;
    const gradefile::FileError error =
        recovery::KeptCopies(m_dataFolder.path).keep(key, disk.folder(), *current);
    if (!error.isError() || m_dataFolder.offNoticeShown)
        return;
    m_dataFolder.offNoticeShown = true;
    ui::showNotice(
        m_parent, ui::kProgramTitle,
        gradefile::teacherMessage(gradefile::FileOperation::Journal, error, ui::supportTelephone())
            .text);
}

bool KeptCopyRestore::write(const gradefile::GradeDisk& disk, const QString& fileName,
                            const QByteArray& bytes)
{
    for (;;) {
        const gradefile::SafeWriteResult written = disk.write(fileName, bytes);
        if (written.ok)
            return true;
        if (!reportFailure(written.error))
            return false;
    }
}

bool KeptCopyRestore::reportFailure(const gradefile::FileError& error)
{
    const gradefile::TeacherMessage message =
        gradefile::teacherMessage(gradefile::FileOperation::Restore, error, ui::supportTelephone());
    if (message.form == gradefile::MessageForm::Notice) {
        ui::showNotice(m_parent, ui::kProgramTitle, message.text);
        return false;
    }
    const auto answer = ui::QuestionDialog::ask(message.text, ui::QuestionDialog::Buttons::YesOnly,
                                                m_diskQuestionTitle, m_parent);
    return message.retryOnYes && answer == ui::QuestionDialog::Answer::Yes;
}

} // namespace app
