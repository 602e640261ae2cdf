#include "core/recovery/sessionjournal.h"

#include "core/recovery/datafolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace recovery {

namespace {

const QString kSuffix = QStringLiteral(".journal");

QStringList journalNames(const QString& folder, const QString& prefix)
{
    QDir dir(folder);
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    // The start time follows the prefix: name order is time order.
    dir.setSorting(QDir::Name);
    QStringList paths;
    for (const QString& name : dir.entryList()) {
        if (name.startsWith(prefix) && name.endsWith(kSuffix))
            paths << dir.filePath(name);
    }
    return paths;
}

// The key as a journal's name carries it. One too long to stand in a file name beside the rest
// (a folder tag, the start, 45 bytes) goes as a digest of it, after a "#" no key begins with
// (a file named "#..." is no grade file the administration writes): the header names it whole.
QString keyTag(const QString& key)
{
    if (key.toUtf8().size() <= 200)
        return key;
    return u'#' + QString::fromLatin1(
                      QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex());
}

} // namespace

QString journalFileName(const JournalIdentity& identity, const QDateTime& started)
{
    // A random ending keeps two sheets started in the same millisecond apart.
    return QStringLiteral("%1~%2~%3-%4%5")
        .arg(keyTag(identity.key), folderTag(identity.diskFolder),
             started.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz")))
        .arg(QRandomGenerator::global()->bounded(0x10000), 4, 16, QLatin1Char('0'))
        .arg(kSuffix);
}

QStringList journalsOfKey(const QString& folder, const QString& key)
{
    QStringList paths;
    const QString tag = keyTag(key);
    for (const QString& path : journalNames(folder, tag + u'~')) {
        // Another key that merely starts with this one and a "~" has more "~" after it.
        const QString rest = QFileInfo(path).fileName().mid(tag.size() + 1);
        if (rest.count(u'~') == 1)
            paths << path;
    }
    return paths;
}

QStringList journalKeys(const QString& folder)
{
    QStringList keys;
    for (const QString& path : journalNames(folder, QString())) {
        // The key is what stands before the folder tag and the start.
        QString key = QFileInfo(path).fileName().section(u'~', 0, -3);
        if (key.startsWith(u'#')) {
            const JournalRead read = readJournal(path);
            key = read.contents ? read.contents->identity.key : QString();
        }
        if (!key.isEmpty() && !keys.contains(key))
            keys << key;
    }
    return keys;
}

SessionJournal::SessionJournal(QString dataFolder, JournalIdentity identity)
    : m_dataFolder(std::move(dataFolder)), m_journals(journalsFolder(m_dataFolder)),
      m_identity(std::move(identity))
{}

SessionJournal::~SessionJournal()
{
    flush();
}

QString SessionJournal::path() const
{
    return m_writer ? m_writer->path() : QString();
}

QString SessionJournal::newJournalPath() const
{
    return QDir(m_journals).filePath(journalFileName(m_identity, QDateTime::currentDateTimeUtc()));
}

gradefile::FileError SessionJournal::record(const std::vector<JournalCell>& cells)
{
    return append(cells, true);
}

gradefile::FileError SessionJournal::write(const std::vector<JournalCell>& cells)
{
    return append(cells, false);
}

gradefile::FileError SessionJournal::flush()
{
    if (m_broken || !m_writer)
        return gradefile::FileError{};
    return broken(m_writer->flush());
}

gradefile::FileError SessionJournal::broken(const gradefile::FileError& error)
{
    m_broken = error.isError();
    return error;
}

gradefile::FileError SessionJournal::append(const std::vector<JournalCell>& cells, bool flush)
{
    if (m_broken || cells.empty())
        return gradefile::FileError{};
    gradefile::FileError error;
    if (m_writer) {
        error = m_writer->append(cells, flush);
    } else if (!makePrivateFolder(m_dataFolder, m_journals)) {
        error = gradefile::makeFileError(gradefile::FileErrorKind::PathAccess,
                                         QStringLiteral("Création du dossier « %1 » impossible.")
                                             .arg(QDir::toNativeSeparators(m_journals)));
        error.path = m_journals;
    } else {
        m_writer = JournalWriter::create(newJournalPath(), m_identity,
                                         QDateTime::currentDateTimeUtc(), cells, error);
    }
    return broken(error);
}

void SessionJournal::saved(const QByteArray& contentHash)
{
    discard();
    m_identity.contentHash = contentHash;
}

void SessionJournal::discard()
{
    if (!m_writer)
        return;
    const QString path = m_writer->path();
    m_writer.reset();
    gradefile::os::removeFile(path);
}

} // namespace recovery
