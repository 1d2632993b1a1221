#include "storage/AtomicFile.h"

#include "storage/DocumentLock.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace AtomicFile {

namespace {

SyncCall syncCall = &::fsync;

// Flushes the file or folder at `path`; the reason of a failure in `why`. A folder whose file system
// cannot flush folders (EINVAL) counts as flushed: there is nothing more to do there.
bool flushToDisk(const QString &path, bool folder, QString &why)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOCTTY | (folder ? O_DIRECTORY : 0));
    if (fd < 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    int result = 0;
    do
        result = syncCall(fd);
    while (result != 0 && errno == EINTR);
    const int error = errno;
    ::close(fd);
    if (result == 0 || (folder && (error == EINVAL || error == ENOTSUP)))
        return true;
    why = QString::fromLocal8Bit(std::strerror(error));
    return false;
}

std::filesystem::path nativePath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

bool failed(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// A link is followed, so saving replaces the file it names and the link stays a link.
QString resolved(const QString &target)
{
    const QFileInfo info(target);
    if (!info.isSymLink())
        return target;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

} // namespace

void setSyncCall(SyncCall call)
{
    syncCall = call ? call : &::fsync;
}

QString reserveBeside(const QString &target, QString *error)
{
    const QFileInfo info(resolved(target));
    if (target.isEmpty() || info.isDir()) {
        failed(error, target + u": not a file name."_s);
        return {};
    }
    // A rename needs only the folder's permission; a file marked read-only must still refuse the save,
    // as it would refuse writing in place. The owner's bit counts for every user, root too.
    if (info.exists() && (!info.isWritable() || !info.permission(QFileDevice::WriteOwner))) {
        failed(error, target + u": the file is read-only."_s);
        return {};
    }
    // Refused before anything is written when another program holds the file; replace() asks again.
    if (info.exists() && !DocumentWriteGuard().lockTarget(info.absoluteFilePath())) {
        failed(error, target + u": "_s + DocumentLock::inUseReason());
        return {};
    }
    QTemporaryFile reserve(info.absoluteFilePath() + u".~XXXXXX"_s);
    reserve.setAutoRemove(false);
    if (!reserve.open()) {
        failed(error, target + u": "_s + reserve.errorString());
        return {};
    }
    const QString path = reserve.fileName();
    reserve.close();
    return path;
}

bool replace(const QString &temp, const QString &wanted, QString *error)
{
    const QString target = resolved(wanted);
    const QFileInfo old(target);
    const QFileDevice::Permissions permissions =
        old.exists() ? old.permissions()
                     : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                           QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(temp, permissions);

    // A rename of data still in the cache can leave an empty file under the old name after a power
    // cut; the flush makes the rename the only step left.
    QString why;
    if (!flushToDisk(temp, false, why)) {
        QFile::remove(temp);
        return failed(error, target + u": the new file could not be written to the disk: "_s + why);
    }
    DocumentWriteGuard guard;
    if (!guard.lockTarget(target)) {
        QFile::remove(temp);
        return failed(error, target + u": "_s + DocumentLock::inUseReason());
    }
    guard.lockReplacement(temp);

    std::error_code ec;
    std::filesystem::rename(nativePath(temp), nativePath(target), ec);
    if (ec) {
        QFile::remove(temp);
        return failed(error, target + u": "_s + QString::fromLocal8Bit(ec.message()));
    }
    guard.renamed();
    // The new name is only lasting once the folder is on the disk too. The file is replaced already,
    // but a save whose durability is unknown is reported as failed, so the user saves again.
    if (!flushToDisk(old.absolutePath(), true, why))
        return failed(error, target + u": the folder could not be written to the disk: "_s + why);
    return true;
}

bool write(const QString &path, QByteArrayView bytes, QString *error)
{
    const QString temp = reserveBeside(path, error);
    if (temp.isEmpty())
        return false;
    QFile file(temp);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    qint64 done = 0;
    while (ok && done < bytes.size()) {
        const qint64 n = file.write(bytes.data() + done, bytes.size() - done);
        ok = n > 0;
        done += ok ? n : 0;
    }
    const QString why = file.errorString();
    file.close();
    if (!ok || QFileInfo(temp).size() != bytes.size()) {
        QFile::remove(temp);
        return failed(error, path + u": "_s + why);
    }
    return replace(temp, path, error);
}

} // namespace AtomicFile
