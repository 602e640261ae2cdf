#include "core/disk/osfile.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace gradefile::os {

namespace {

// Large enough to read a whole grade file in a few calls, small enough for any platform's
// count type.
constexpr qint64 kReadChunk = 64 * 1024;

DurableCallWatcher g_watcher;

} // namespace

int flushDescriptor(int fd);

#ifdef Q_OS_WIN

namespace {

std::wstring nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

int errnoFromLastError()
{
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_ACCESS_DENIED:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_NOT_READY:
    case ERROR_GEN_FAILURE:
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
        return EIO;
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EINVAL;
    }
}

int openFile(const QString& path, int flags, int& fd)
{
    return _wsopen_s(&fd, nativePath(path).c_str(), flags | _O_BINARY | _O_NOINHERIT, _SH_DENYNO,
                     _S_IREAD | _S_IWRITE);
}

int closeDescriptor(int fd)
{
    return _close(fd) == 0 ? 0 : errno;
}

int writeSome(int fd, const char* data, qint64 count, qint64& written)
{
    const int result = _write(fd, data, static_cast<unsigned>(qMin(count, kReadChunk)));
    written = result;
    return result < 0 ? errno : 0;
}

int readSome(int fd, char* data, qint64 count, qint64& read)
{
    const int result = _read(fd, data, static_cast<unsigned>(qMin(count, kReadChunk)));
    read = result;
    return result < 0 ? errno : 0;
}

} // namespace

int checkNotReadOnly(const QString& path)
{
    const DWORD attributes = GetFileAttributesW(nativePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) ? EACCES
                                                                                           : 0;
}

int checkFolder(const QString& folder)
{
    struct _stat64 status;
    if (_wstat64(nativePath(folder).c_str(), &status) != 0)
        return errno;
    return (status.st_mode & _S_IFDIR) ? 0 : ENOTDIR;
}

int flushDescriptor(int fd)
{
    return _commit(fd) == 0 ? 0 : errno;
}

void dropCachedCopy(const FileHandle&) {}

int replaceFile(const QString& from, const QString& to)
{
    const BOOL moved = MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    const int error = moved ? 0 : errnoFromLastError();
    // The folder took the new file and the target is no read-only file (both checked before):
    // what refuses the move is another program holding the target open.
    return error == EACCES ? EBUSY : error;
}

// MOVEFILE_WRITE_THROUGH already waited for the rename to reach the disk.
void syncFolder(const QString&) {}

void removeFile(const QString& path)
{
    _wunlink(nativePath(path).c_str());
}

void copyPermissions(const QString&, const FileHandle&) {}

#else

namespace {

QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

int openFile(const QString& path, int flags, int& fd)
{
    do {
        fd = ::open(nativePath(path).constData(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd < 0 ? errno : 0;
}

// Retrying close after EINTR could close a descriptor another thread just opened.
int closeDescriptor(int fd)
{
    return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

int writeSome(int fd, const char* data, qint64 count, qint64& written)
{
    do {
        written = ::write(fd, data, static_cast<size_t>(qMin(count, kReadChunk)));
    } while (written < 0 && errno == EINTR);
    return written < 0 ? errno : 0;
}

int readSome(int fd, char* data, qint64 count, qint64& read)
{
    do {
        read = ::read(fd, data, static_cast<size_t>(qMin(count, kReadChunk)));
    } while (read < 0 && errno == EINTR);
    return read < 0 ? errno : 0;
}

} // namespace

int checkNotReadOnly(const QString& path)
{
    struct stat status;
    return ::stat(nativePath(path).constData(), &status) == 0 && !(status.st_mode & S_IWUSR)
               ? EACCES
               : 0;
}

int checkFolder(const QString& folder)
{
    struct stat status;
    if (::stat(nativePath(folder).constData(), &status) != 0)
        return errno;
    return S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
}

int flushDescriptor(int fd)
{
    return ::fsync(fd) == 0 ? 0 : errno;
}

void dropCachedCopy(const FileHandle& handle)
{
#ifdef Q_OS_LINUX
    // Clean pages only: this runs after the flush, so nothing unwritten is dropped.
    ::posix_fadvise(handle.descriptor(), 0, 0, POSIX_FADV_DONTNEED);
#else
    (void)handle;
#endif
}

int replaceFile(const QString& from, const QString& to)
{
    return ::rename(nativePath(from).constData(), nativePath(to).constData()) == 0 ? 0 : errno;
}

void syncFolder(const QString& folder)
{
    FileHandle handle;
    int fd = -1;
    if (openFile(folder, O_RDONLY | O_DIRECTORY, fd) != 0)
        return;
    handle.adopt(fd);
    ::fsync(handle.descriptor());
}

void removeFile(const QString& path)
{
    ::unlink(nativePath(path).constData());
}

void copyPermissions(const QString& from, const FileHandle& to)
{
    struct stat status;
    if (::stat(nativePath(from).constData(), &status) == 0)
        ::fchmod(to.descriptor(), status.st_mode & 07777);
}

#endif

FileHandle::~FileHandle()
{
    close();
}

void FileHandle::adopt(int fd)
{
    close();
    m_fd = fd;
}

int FileHandle::close()
{
    if (m_fd < 0)
        return 0;
    const int error = closeDescriptor(m_fd);
    m_fd = -1;
    return error;
}

int createNewFile(const QString& path, FileHandle& handle)
{
    int fd = -1;
#ifdef Q_OS_WIN
    const int error = openFile(path, _O_RDWR | _O_CREAT | _O_EXCL, fd);
#else
    const int error = openFile(path, O_RDWR | O_CREAT | O_EXCL, fd);
#endif
    if (error == 0)
        handle.adopt(fd);
    return error;
}

void watchDurableCalls(DurableCallWatcher watcher)
{
    g_watcher = std::move(watcher);
}

int flushToDevice(const FileHandle& handle)
{
    if (g_watcher)
        g_watcher(DurableCall::Flush, handle.descriptor());
    return flushDescriptor(handle.descriptor());
}

int writeAll(const FileHandle& handle, const QByteArray& bytes)
{
    if (g_watcher)
        g_watcher(DurableCall::Write, handle.descriptor());
    const char* next = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        qint64 written = 0;
        if (const int error = writeSome(handle.descriptor(), next, left, written))
            return error;
        if (written == 0)
            return EIO; // a device that takes nothing and reports nothing is not working
        next += written;
        left -= written;
    }
    return 0;
}

int readAtMost(const QString& path, qint64 maxBytes, QByteArray& bytes)
{
    FileHandle handle;
    int fd = -1;
#ifdef Q_OS_WIN
    const DWORD attributes = GetFileAttributesW(nativePath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return kNotRegularFile;
    const int openError = openFile(path, _O_RDONLY, fd);
    if (openError != 0)
        return openError;
    handle.adopt(fd);
    // A name such as "con.xml" opens a device.
    if (GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(fd))) != FILE_TYPE_DISK)
        return kNotRegularFile;
#else
    struct stat status;
    if (::stat(nativePath(path).constData(), &status) != 0)
        return errno;
    if (!S_ISREG(status.st_mode))
        return kNotRegularFile;
    // Should a pipe take the file's place meanwhile, opening it does not wait.
    const int openError = openFile(path, O_RDONLY | O_NONBLOCK, fd);
    if (openError != 0)
        return openError;
    handle.adopt(fd);
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return kNotRegularFile;
#endif
    bytes.clear();
    QByteArray chunk(kReadChunk, Qt::Uninitialized);
    while (bytes.size() < maxBytes) {
        qint64 read = 0;
        const qint64 wanted = qMin<qint64>(chunk.size(), maxBytes - bytes.size());
        if (const int error = readSome(handle.descriptor(), chunk.data(), wanted, read))
            return error;
        if (read == 0)
            break;
        bytes.append(chunk.constData(), read);
    }
    return 0;
}

FileErrorKind errorKindOf(int error)
{
    switch (error) {
    case 0:
        return FileErrorKind::None;
    case ENOENT:
    case ENOTDIR:
        return FileErrorKind::NoDisk;
    case kNotRegularFile:
        return FileErrorKind::NotAFile;
    case ENAMETOOLONG:
        return FileErrorKind::NameTooLong;
    case EBUSY:
        return FileErrorKind::InUse;
    case EROFS:
    case EACCES:
    case EPERM:
        return FileErrorKind::PermissionDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return FileErrorKind::DiskFull;
    case EIO:
    case ENXIO:
    case ENODEV:
#ifdef ENOMEDIUM
    case ENOMEDIUM:
#endif
        return FileErrorKind::DeviceNotReady;
    default:
        return FileErrorKind::Other;
    }
}

// The system's own texts follow its language, which is seldom French on the teacher's
// machine: the descriptions the teacher may read are French whatever the system speaks.
QString errorText(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("fichier ou dossier introuvable");
    case ENOTDIR:
        return QStringLiteral("ce n'est pas un dossier");
    case EISDIR:
        return QStringLiteral("c'est un dossier");
    case EACCES:
        return QStringLiteral("accès refusé");
    case EPERM:
        return QStringLiteral("opération non permise");
    case EROFS:
        return QStringLiteral("disque en lecture seule");
    case ENOSPC:
        return QStringLiteral("plus de place sur le disque");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("quota du disque dépassé");
#endif
    case EIO:
        return QStringLiteral("erreur d'entrée-sortie du disque");
    case ENXIO:
    case ENODEV:
#ifdef ENOMEDIUM
    case ENOMEDIUM:
#endif
        return QStringLiteral("périphérique absent");
    case EEXIST:
        return QStringLiteral("le fichier existe déjà");
    case EBUSY:
        return QStringLiteral("périphérique ou fichier occupé");
    case ENAMETOOLONG:
        return QStringLiteral("nom de fichier trop long");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("trop de fichiers ouverts");
    case EFBIG:
        return QStringLiteral("fichier trop gros");
    case EINVAL:
        return QStringLiteral("argument invalide");
    case kNotRegularFile:
        return QStringLiteral("ce n'est pas un fichier ordinaire");
    default:
        return QStringLiteral("erreur système %1").arg(error);
    }
}

} // namespace gradefile::os
