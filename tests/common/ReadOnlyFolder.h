#pragma once
// Read-only folders for tests, also when the tests run as root (as in CI): ReadOnlyFolder takes
// the write permission away from a folder, and AsUnprivilegedUser makes the calling thread check
// file access as the user "nobody" while it lives, so that root's override does not apply.
#include <QFile>
#include <QString>
#include <sys/fsuid.h>
#include <unistd.h>

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString path) : m_path(std::move(path))
    {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                          | QFile::ReadOther | QFile::ExeOther);
    }
    ~ReadOnlyFolder() { QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

private:
    QString m_path;
};

class AsUnprivilegedUser {
public:
    static constexpr uid_t Nobody = 65534;

    AsUnprivilegedUser() : m_root(geteuid() == 0)
    {
        if (m_root) {
            setfsgid(Nobody);
            setfsuid(Nobody);
        }
    }
    ~AsUnprivilegedUser()
    {
        if (m_root) {
            setfsuid(0);
            setfsgid(0);
        }
    }
    AsUnprivilegedUser(const AsUnprivilegedUser &) = delete;
    AsUnprivilegedUser &operator=(const AsUnprivilegedUser &) = delete;

    // Lets "nobody" create entries in `path` (a test's own temporary folder).
    static void openToAll(const QString &path) { QFile::setPermissions(path, QFile::Permissions(0x7777)); }

private:
    bool m_root;
};
