#include "storage/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;

namespace AtomicFile {

namespace {

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

    std::error_code ec;
    std::filesystem::rename(nativePath(temp), nativePath(target), ec);
    if (ec) {
        QFile::remove(temp);
        return failed(error, target + u": "_s + QString::fromLocal8Bit(ec.message()));
    }
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
