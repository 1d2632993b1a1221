#include "storage/DocumentLock.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

struct FileKey {
    dev_t device;
    ino_t inode;
    bool operator==(const FileKey &) const = default;
};

size_t qHash(const FileKey &key, size_t seed = 0)
{
    return qHashMulti(seed, static_cast<quint64>(key.device), static_cast<quint64>(key.inode));
}

struct Holder {
    DocumentLock *lock;
    pid_t process; // a child made by fork is another program, whatever it inherited
};

// The locks this program holds, by file, so that its own saves go through its own locks. flock locks
// belong to an open file: a second open of the same file in this program would conflict with them.
QHash<FileKey, Holder> &heldLocks()
{
    static QHash<FileKey, Holder> held;
    return held;
}

DocumentLock *holderOf(const FileKey &key)
{
    const Holder h = heldLocks().value(key, Holder{nullptr, 0});
    return h.process == ::getpid() ? h.lock : nullptr;
}

void setHolder(const FileKey &key, DocumentLock *lock)
{
    heldLocks().insert(key, Holder{lock, ::getpid()});
}

bool keyOf(int fd, FileKey &key)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    key = {st.st_dev, st.st_ino};
    return true;
}

int openForLock(const QString &path)
{
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

enum class Try { Locked, InUse, Unsupported };

// Locks the file `path` names at the moment of return: a writer may rename a new file over it between
// the open and the lock, and a lock on the file it replaced would protect nothing.
Try lockPath(const QString &path, int &fdOut)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        int fd = openForLock(path);
        if (fd < 0)
            return Try::Unsupported;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            closeFd(fd);
            return error == EWOULDBLOCK ? Try::InUse : Try::Unsupported;
        }
        struct stat now {};
        FileKey locked{};
        if (keyOf(fd, locked) && ::stat(QFile::encodeName(path).constData(), &now) == 0 &&
            FileKey{now.st_dev, now.st_ino} == locked) {
            fdOut = fd;
            return Try::Locked;
        }
        closeFd(fd); // replaced meanwhile: lock the new file
    }
    return Try::Unsupported;
}

} // namespace

DocumentLock::~DocumentLock()
{
    release();
}

DocumentLock::Result DocumentLock::lock(const QString &path)
{
    release();
    int fd = -1;
    switch (lockPath(path, fd)) {
    case Try::InUse:
        return Result::InUse;
    case Try::Unsupported:
        return Result::Unsupported;
    case Try::Locked:
        break;
    }
    FileKey key{};
    keyOf(fd, key);
    m_fd = fd;
    m_path = path;
    setHolder(key, this);
    return Result::Locked;
}

void DocumentLock::release()
{
    if (m_fd < 0)
        return;
    FileKey key{};
    if (keyOf(m_fd, key) && holderOf(key) == this)
        heldLocks().remove(key);
    closeFd(m_fd);
    m_path.clear();
}

QString DocumentLock::inUseMessage(const QString &path)
{
    return u"Plik jest otwarty w innym programie:\r%1\rZamknij go tam i spróbuj ponownie."_s.arg(
        QDir::toNativeSeparators(path));
}

QString DocumentLock::inUseReason()
{
    return u"the file is in use by another program."_s;
}

DocumentWriteGuard::~DocumentWriteGuard()
{
    closeFd(m_targetFd);
    closeFd(m_newFd);
}

bool DocumentWriteGuard::lockTarget(const QString &target)
{
    const int probe = openForLock(target);
    if (probe < 0)
        return true; // no file yet, or one that cannot be opened: nothing to lock
    FileKey key{};
    const bool known = keyOf(probe, key);
    ::close(probe);
    if (known) {
        if (DocumentLock *holder = holderOf(key)) {
            m_holder = holder;
            return true;
        }
    }
    return lockPath(target, m_targetFd) != Try::InUse;
}

void DocumentWriteGuard::lockReplacement(const QString &temp)
{
    m_newFd = openForLock(temp);
    if (m_newFd >= 0 && ::flock(m_newFd, LOCK_EX | LOCK_NB) != 0)
        closeFd(m_newFd);
}

void DocumentWriteGuard::renamed()
{
    if (m_holder && m_newFd >= 0) {
        FileKey oldKey{}, newKey{};
        keyOf(m_holder->m_fd, oldKey);
        keyOf(m_newFd, newKey);
        heldLocks().remove(oldKey);
        ::close(m_holder->m_fd);
        m_holder->m_fd = std::exchange(m_newFd, -1);
        setHolder(newKey, m_holder);
    }
    closeFd(m_targetFd);
    closeFd(m_newFd);
}
