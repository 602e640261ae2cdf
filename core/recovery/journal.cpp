#include "core/recovery/journal.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace recovery {

using gradefile::FileError;
using gradefile::FileErrorKind;

namespace {

const QByteArray kMark = QByteArrayLiteral("saisie-notes-journal");
constexpr char kCellTag = 'C';
constexpr int kHeaderFields = 6;
constexpr int kCellFields = 5;
constexpr int kCheckLength = 8;

QByteArray checkOf(const QByteArray& payload)
{
    return QCryptographicHash::hash(payload, QCryptographicHash::Sha1).toHex().left(kCheckLength);
}

// Tabs and line breaks separate fields and records: inside a text they are escaped.
QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'\t')
            out += QLatin1String("\\t");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

std::optional<QString> unescaped(const QByteArray& field)
{
    const QString text = QString::fromUtf8(field);
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i].unicode()) {
        case '\\':
            out += u'\\';
            break;
        case 't':
            out += u'\t';
            break;
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

QByteArray record(const QList<QByteArray>& fields)
{
    const QByteArray payload = fields.join('\t');
    return payload + '\t' + checkOf(payload) + '\n';
}

// The fields of a record whose check holds, without the check; nullopt otherwise.
std::optional<QList<QByteArray>> checkedFields(const QByteArray& line)
{
    const qsizetype tab = line.lastIndexOf('\t');
    if (tab < 0 || line.size() - tab - 1 != kCheckLength)
        return std::nullopt;
    const QByteArray payload = line.left(tab);
    if (checkOf(payload) != line.mid(tab + 1))
        return std::nullopt;
    return payload.split('\t');
}

std::optional<qint64> number(const QByteArray& field)
{
    bool ok = false;
    const qint64 value = field.toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

std::optional<QDateTime> timeOf(const QByteArray& field)
{
    const std::optional<qint64> ms = number(field);
    if (!ms)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(*ms, Qt::UTC);
}

std::optional<JournalContents> headerOf(const QList<QByteArray>& fields)
{
    if (fields.size() != kHeaderFields)
        return std::nullopt;
    JournalContents contents;
    std::optional<QString> key = unescaped(fields[2]);
    std::optional<QString> folder = unescaped(fields[3]);
    std::optional<QDateTime> started = timeOf(fields[5]);
    if (!key || !folder || !started || fields[4].isEmpty())
        return std::nullopt;
    contents.identity = {*key, *folder, fields[4]};
    contents.started = *started;
    return contents;
}

std::optional<JournalCell> cellOf(const QList<QByteArray>& fields)
{
    if (fields.size() != kCellFields || fields[0] != QByteArray(1, kCellTag))
        return std::nullopt;
    const std::optional<QDateTime> time = timeOf(fields[1]);
    const std::optional<qint64> column = number(fields[2]);
    const std::optional<qint64> row = number(fields[3]);
    std::optional<QString> text = unescaped(fields[4]);
    if (!time || !column || !row || !text || *column < 0 || *column > 99 || *row < 0 ||
        *row > 1000000)
        return std::nullopt;
    return JournalCell{int(*column), int(*row), std::move(*text), *time};
}

JournalRead refused(FileErrorKind kind, const QString& path, const QString& description)
{
    JournalRead read;
    read.error = gradefile::makeFileError(kind, description);
    read.error.path = path;
    return read;
}

JournalRead damaged(const QString& path, const QString& why)
{
    return refused(FileErrorKind::Malformed, path,
                   QStringLiteral("Le journal « %1 » est endommagé : %2.")
                       .arg(QDir::toNativeSeparators(path), why));
}

// The header's first two fields: the program's mark and the format version.
JournalRead checkMarkAndVersion(const QByteArray& firstLine, const QString& path)
{
    const QList<QByteArray> fields = firstLine.split('\t');
    if (fields.value(0) != kMark)
        return damaged(path, QStringLiteral("ce n'est pas un journal de saisie-notes"));
    const QByteArray version = fields.value(1);
    if (version != QByteArray::number(kJournalVersion))
        return refused(FileErrorKind::OtherVersion, path,
                       QStringLiteral("Le journal « %1 » est de la version %2 ; ce programme "
                                      "lit la version %3.")
                           .arg(QDir::toNativeSeparators(path), QString::fromLatin1(version))
                           .arg(kJournalVersion));
    return JournalRead{};
}

QByteArray withoutTrailingZeros(const QByteArray& bytes)
{
    // A power cut may leave a file longer than what reached it, the rest zeros.
    qsizetype end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0')
        --end;
    return bytes.left(end);
}

} // namespace

QByteArray headerRecord(const JournalIdentity& identity, const QDateTime& started, int version)
{
    return record({kMark, QByteArray::number(version), escaped(identity.key).toUtf8(),
                   escaped(identity.diskFolder).toUtf8(), identity.contentHash,
                   QByteArray::number(started.toMSecsSinceEpoch())});
}

QByteArray cellRecord(const JournalCell& cell)
{
    return record({QByteArray(1, kCellTag), QByteArray::number(cell.time.toMSecsSinceEpoch()),
                   QByteArray::number(cell.column), QByteArray::number(cell.row),
                   escaped(cell.text).toUtf8()});
}

std::vector<JournalCell> lastTextOfEachCell(const std::vector<JournalCell>& cells)
{
    std::vector<JournalCell> last;
    QHash<quint64, size_t> positions;
    for (const JournalCell& cell : cells) {
        const quint64 at = (quint64(quint32(cell.row)) << 32) | quint32(cell.column);
        const auto found = positions.constFind(at);
        if (found == positions.cend()) {
            positions.insert(at, last.size());
            last.push_back(cell);
        } else {
            last[*found] = cell;
        }
    }
    return last;
}

JournalRead parseJournal(const QByteArray& bytes, const QString& path)
{
    const QByteArray kept = withoutTrailingZeros(bytes);
    QList<QByteArray> lines = kept.split('\n');
    // What follows the last line break was cut short by a crash.
    const QByteArray tail = lines.takeLast();
    if (lines.isEmpty()) {
        // Not one whole record: a crash while the first one was written, or no journal.
        if (tail.isEmpty() || kMark.startsWith(tail.left(kMark.size())))
            return JournalRead{};
        return damaged(path, QStringLiteral("ce n'est pas un journal de saisie-notes"));
    }
    JournalRead read = checkMarkAndVersion(lines.first(), path);
    if (read.error.isError())
        return read;
    const bool lastIsWhole = tail.isEmpty();
    std::optional<JournalContents> contents;
    if (const std::optional<QList<QByteArray>> fields = checkedFields(lines.first()))
        contents = headerOf(*fields);
    if (!contents) {
        if (lines.size() == 1 && lastIsWhole)
            return JournalRead{}; // the header itself is the torn record
        return damaged(path, QStringLiteral("son en-tête est illisible"));
    }
    contents->tornTail = !tail.isEmpty();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        std::optional<JournalCell> cell;
        if (const std::optional<QList<QByteArray>> fields = checkedFields(lines[i]))
            cell = cellOf(*fields);
        if (cell) {
            contents->cells.push_back(std::move(*cell));
            continue;
        }
        if (i == lines.size() - 1 && lastIsWhole) {
            contents->tornTail = true;
            break;
        }
        return damaged(path, QStringLiteral("l'enregistrement %1 est illisible").arg(i + 1));
    }
    read.contents = std::move(contents);
    return read;
}

JournalRead readJournal(const QString& path)
{
    QByteArray bytes;
    if (const int error = gradefile::os::readAtMost(path, kMaxJournalBytes + 1, bytes))
        return refused(gradefile::os::errorKindOf(error), path,
                       QStringLiteral("Lecture du journal « %1 » impossible : %2")
                           .arg(QDir::toNativeSeparators(path), gradefile::os::errorText(error)));
    if (bytes.size() > kMaxJournalBytes)
        return damaged(path, QStringLiteral("il dépasse %1 octets").arg(kMaxJournalBytes));
    return parseJournal(bytes, path);
}

std::unique_ptr<JournalWriter> JournalWriter::create(const QString& path,
                                                     const JournalIdentity& identity,
                                                     const QDateTime& started,
                                                     const std::vector<JournalCell>& cells,
                                                     FileError& error)
{
    std::unique_ptr<JournalWriter> writer(new JournalWriter(path));
    if (const int failure = gradefile::os::createNewFile(path, writer->m_handle)) {
        error = gradefile::makeFileError(
            gradefile::os::errorKindOf(failure),
            QStringLiteral("Création du journal « %1 » impossible : %2")
                .arg(QDir::toNativeSeparators(path), gradefile::os::errorText(failure)));
        error.path = path;
        return nullptr;
    }
    QByteArray bytes = headerRecord(identity, started);
    for (const JournalCell& cell : cells)
        bytes += cellRecord(cell);
    error = writer->write(bytes, true);
    if (error.isError()) {
        // Nothing in it was ever confirmed to the teacher.
        writer->m_handle.close();
        gradefile::os::removeFile(path);
        return nullptr;
    }
    // The new name must survive a power cut as much as the bytes behind it.
    gradefile::os::syncFolder(QFileInfo(path).absolutePath());
    return writer;
}

FileError JournalWriter::append(const std::vector<JournalCell>& cells, bool flush)
{
    QByteArray bytes;
    for (const JournalCell& cell : cells)
        bytes += cellRecord(cell);
    return write(bytes, flush);
}

FileError JournalWriter::flush()
{
    if (!m_unflushed)
        return FileError{};
    m_unflushed = false;
    return systemError(gradefile::os::flushToDevice(m_handle));
}

FileError JournalWriter::write(const QByteArray& bytes, bool flush)
{
    if (const int failure = gradefile::os::writeAll(m_handle, bytes))
        return systemError(failure);
    m_unflushed = true;
    return flush ? this->flush() : FileError{};
}

FileError JournalWriter::systemError(int failure) const
{
    if (failure == 0)
        return FileError{};
    FileError error = gradefile::makeFileError(
        gradefile::os::errorKindOf(failure),
        QStringLiteral("Écriture du journal « %1 » impossible : %2")
            .arg(QDir::toNativeSeparators(m_path), gradefile::os::errorText(failure)));
    error.path = m_path;
    return error;
}

} // namespace recovery
