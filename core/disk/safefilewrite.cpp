#include "core/disk/safefilewrite.h"

#include "core/disk/osfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <utility>

namespace gradefile {

namespace {

constexpr int kTagLength = 6;

QString randomTag()
{
    static const QLatin1String alphabet("abcdefghijklmnopqrstuvwxyz0123456789");
    QString tag;
    for (int i = 0; i < kTagLength; ++i)
        tag.append(alphabet.at(QRandomGenerator::global()->bounded(int(alphabet.size()))));
    return tag;
}

// Beside the target, so that the final rename stays on one file system and is one step;
// a leading dot keeps it out of the way of someone listing the disk meanwhile.
QString temporaryPathFor(const QFileInfo& target)
{
    const QString name = QStringLiteral(".%1.%2.tmp").arg(target.fileName(), randomTag());
    return QDir(target.absolutePath()).filePath(name);
}

// The temporary file and its descriptor: removed on every way out of the write except a
// successful replacement, so a failure never leaves it behind.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        m_handle.close();
        if (!m_path.isEmpty() && !m_placed)
            os::removeFile(m_path);
    }

    int createBeside(const QFileInfo& target)
    {
        // Another writer may have picked the same name; a few fresh tries settle it.
        int error = EEXIST;
        for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
            const QString path = temporaryPathFor(target);
            error = os::createNewFile(path, m_handle);
            if (error == 0)
                m_path = path;
        }
        return error;
    }

    const QString& path() const { return m_path; }
    os::FileHandle& handle() { return m_handle; }
    void markPlaced() { m_placed = true; }

private:
    QString m_path;
    os::FileHandle m_handle;
    bool m_placed = false;
};

// One replacement of a file, step by step; each step returns no error or the one that
// stops the write.
class SafeReplacement {
public:
    SafeReplacement(const QString& path, const QByteArray& content,
                    const WriteFaultInjector* faults)
        : m_target(path), m_content(content), m_faults(faults)
    {}

    SafeWriteResult run();

private:
    using Step = FileError (SafeReplacement::*)();

    FileError runStep(WriteStep step, Step action);
    FileError systemError(int error) const;

    // A file its owner made read-only is not replaced, though the folder would let it be.
    FileError checkFolder()
    {
        const int error = os::checkFolder(m_target.absolutePath());
        return systemError(error ? error : os::checkNotReadOnly(m_target.absoluteFilePath()));
    }
    FileError createTemporary();
    FileError writeTemporary()
    {
        return systemError(os::writeAll(m_temporary.handle(), m_content));
    }
    FileError flushTemporary();
    FileError readBack();
    FileError compare();
    FileError replace();

    const QFileInfo m_target;
    const QByteArray& m_content;
    const WriteFaultInjector* m_faults;
    WriteStep m_currentStep = WriteStep::None;
    TemporaryFile m_temporary;
    QByteArray m_readBack;
};

SafeWriteResult SafeReplacement::run()
{
    static constexpr std::pair<WriteStep, Step> steps[] = {
        {WriteStep::CheckFolder, &SafeReplacement::checkFolder},
        {WriteStep::CreateTemporary, &SafeReplacement::createTemporary},
        {WriteStep::WriteTemporary, &SafeReplacement::writeTemporary},
        {WriteStep::FlushTemporary, &SafeReplacement::flushTemporary},
        {WriteStep::ReadBack, &SafeReplacement::readBack},
        {WriteStep::Compare, &SafeReplacement::compare},
        {WriteStep::Replace, &SafeReplacement::replace},
    };
    for (const auto& [step, action] : steps) {
        const FileError error = runStep(step, action);
        if (error.isError())
            return SafeWriteResult{false, step, error};
    }
    return SafeWriteResult{true, WriteStep::None, FileError{}};
}

FileError SafeReplacement::runStep(WriteStep step, Step action)
{
    m_currentStep = step;
    if (m_faults) {
        if (std::optional<FileError> injected = m_faults->failAt(step))
            return *injected;
    }
    return (this->*action)();
}

FileError SafeReplacement::systemError(int error) const
{
    if (error == 0)
        return FileError{};
    const QString description = QStringLiteral("L'enregistrement de « %1 » a échoué en %2 : %3")
                                    .arg(QDir::toNativeSeparators(m_target.absoluteFilePath()),
                                         writeStepName(m_currentStep), os::errorText(error));
    return makeFileError(os::errorKindOf(error), description);
}

FileError SafeReplacement::createTemporary()
{
    if (const int error = m_temporary.createBeside(m_target))
        return systemError(error);
    // Best effort: a disk without access rights (FAT) has nothing to copy.
    os::copyPermissions(m_target.absoluteFilePath(), m_temporary.handle());
    return FileError{};
}

FileError SafeReplacement::flushTemporary()
{
    os::FileHandle& handle = m_temporary.handle();
    if (const int error = os::flushToDevice(handle))
        return systemError(error);
    os::dropCachedCopy(handle);
    return systemError(handle.close());
}

FileError SafeReplacement::readBack()
{
    // One byte more than written, so that a longer file shows as a difference.
    const int error = os::readAtMost(m_temporary.path(), m_content.size() + 1, m_readBack);
    if (error == 0 && m_faults)
        m_faults->alterReadBack(m_readBack);
    return systemError(error);
}

FileError SafeReplacement::compare()
{
    if (m_readBack == m_content)
        return FileError{};
    return makeFileError(
        FileErrorKind::Other,
        QStringLiteral("L'enregistrement de « %1 » a échoué en %2 : le disque a rendu d'autres "
                       "octets que ceux écrits ; il est peut-être endommagé.")
            .arg(QDir::toNativeSeparators(m_target.absoluteFilePath()),
                 writeStepName(m_currentStep)));
}

FileError SafeReplacement::replace()
{
    if (const int error = os::replaceFile(m_temporary.path(), m_target.absoluteFilePath()))
        return systemError(error);
    m_temporary.markPlaced();
    os::syncFolder(m_target.absolutePath());
    return FileError{};
}

} // namespace

QString writeStepName(WriteStep step)
{
    switch (step) {
    case WriteStep::None:
        return QString();
    case WriteStep::CheckFolder:
        return QStringLiteral("vérifiant le dossier du disque");
    case WriteStep::CreateTemporary:
        return QStringLiteral("créant le fichier temporaire");
    case WriteStep::WriteTemporary:
        return QStringLiteral("écrivant le fichier temporaire");
    case WriteStep::FlushTemporary:
        return QStringLiteral("vidant le fichier temporaire sur le disque");
    case WriteStep::ReadBack:
        return QStringLiteral("relisant le fichier temporaire");
    case WriteStep::Compare:
        return QStringLiteral("comparant les octets relus à ceux écrits");
    case WriteStep::Replace:
        return QStringLiteral("mettant le nouveau fichier à la place de l'ancien");
    }
    return QString();
}

SafeWriteResult replaceFileSafely(const QString& path, const QByteArray& content,
                                  const WriteFaultInjector* faults)
{
    return SafeReplacement(path, content, faults).run();
}

bool isTemporaryFileName(const QString& fileName, QLatin1String targetSuffix)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\.(.+)\\.[a-z0-9]{%1}\\.tmp$").arg(kTagLength));
    const QRegularExpressionMatch match = pattern.match(fileName);
    return match.hasMatch() && match.captured(1).size() > targetSuffix.size() &&
           match.captured(1).endsWith(targetSuffix, Qt::CaseInsensitive);
}

} // namespace gradefile
