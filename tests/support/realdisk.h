#pragma once

// Real disk faults for tests that run as root on Linux: a small tmpfs that can be filled,
// write-protected or pulled out, and the immutable attribute that even root cannot write
// through.

#include <QByteArray>
#include <QFile>
#include <QString>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

// A small tmpfs over a temporary folder: a real disk that can be filled, write-protected or
// pulled out. Needs the right to mount (the tests run as root).
class TmpfsMount {
public:
    TmpfsMount(const QString& folder, const char* options)
        : m_folder(QFile::encodeName(folder)), m_options(options)
    {
        m_mounted = ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, options) == 0;
        m_error = m_mounted ? QString() : QString::fromLocal8Bit(std::strerror(errno));
    }
    ~TmpfsMount() { pullOut(); }
    bool isMounted() const { return m_mounted; }
    QString error() const { return m_error; }
    bool makeReadOnly()
    {
        return ::mount("tmpfs", m_folder.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, m_options) ==
               0;
    }
    // Like a disk pulled from the drive: the folder is at once empty, open files live on.
    void pullOut()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
        m_mounted = false;
    }

private:
    QByteArray m_folder;
    const char* m_options;
    bool m_mounted = false;
    QString m_error;
};

// The immutable attribute (chattr +i): refused even to root, unlike plain permissions.
class ImmutableFlag {
public:
    explicit ImmutableFlag(const QString& path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        int flags = 0;
        if (m_fd >= 0 && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            m_flags = flags;
            flags |= FS_IMMUTABLE_FL;
            m_set = ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~ImmutableFlag()
    {
        if (m_set)
            ::ioctl(m_fd, FS_IOC_SETFLAGS, &m_flags);
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isSet() const { return m_set; }

private:
    int m_fd = -1;
    int m_flags = 0;
    bool m_set = false;
};
#endif
