#pragma once

// Real disk faults for tests that run as root on Linux.

#include <QtCore>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

// A small tmpfs over a folder: a real disk that can be filled, write-protected or pulled out.
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

#else

// No tmpfs to mount here: the tests that need a real disk to fill or pull out skip themselves.
struct TmpfsMount {
    TmpfsMount(const QString&, const char*) {}
    bool isMounted() const { return false; }
    QString error() const { return QStringLiteral("only Linux mounts a tmpfs"); }
    bool makeReadOnly() { return false; }
    void pullOut() {}
};

#endif
