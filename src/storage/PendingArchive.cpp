#include "storage/PendingArchive.h"

#include "storage/ArchiveAccess.h"
#include "storage/TVfsPAK.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;

namespace {

std::filesystem::path nativePath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

PendingArchive::PendingArchive(const QString &targetPath) : m_target(targetPath)
{
    const QFileInfo target(targetPath);
    if (targetPath.isEmpty() || target.isDir()) {
        m_error = targetPath + u": not a file name."_s;
        return;
    }
    // Beside the target, so the final rename stays within one file system and is atomic.
    QTemporaryFile reserve(target.absoluteFilePath() + u".~XXXXXX"_s);
    reserve.setAutoRemove(false);
    if (!reserve.open()) {
        m_error = targetPath + u": "_s + reserve.errorString();
        return;
    }
    m_temp = reserve.fileName();
    reserve.close();

    m_archive = NewArchive();
    if (!CreateArchive(m_temp, *m_archive)) {
        m_error = m_archive->errorString();
        discard();
    }
}

PendingArchive::~PendingArchive()
{
    if (!m_committed)
        discard();
}

bool PendingArchive::isOpen() const
{
    return m_archive && m_archive->isOpen();
}

TVfsPAK &PendingArchive::archive()
{
    return *m_archive;
}

void PendingArchive::discard()
{
    FreeArchive(m_archive);
    if (!m_temp.isEmpty())
        QFile::remove(m_temp);
    m_temp.clear();
}

bool PendingArchive::commit()
{
    if (!isOpen()) {
        if (m_error.isEmpty())
            m_error = m_target + u": the archive is not open."_s;
        return false;
    }
    const QStringList names = m_archive->Names();
    FreeArchive(m_archive);

    // The writes are unbuffered, so a closed archive that opens as a sound PACK with every member is
    // complete on disk.
    TVfsPAK check;
    if (!check.Open(m_temp, TVfsPAK::Mode::ReadOnly) || check.Names() != names) {
        m_error = check.errorString().isEmpty() ? m_target + u": the new archive is incomplete."_s
                                                : check.errorString();
        discard();
        return false;
    }
    check.close();

    const QFileInfo old(m_target);
    const QFileDevice::Permissions permissions =
        old.exists() ? old.permissions()
                     : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                           QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(m_temp, permissions);

    std::error_code ec;
    std::filesystem::rename(nativePath(m_temp), nativePath(m_target), ec);
    if (ec) {
        m_error = m_target + u": "_s + QString::fromLocal8Bit(ec.message());
        discard();
        return false;
    }
    m_temp.clear();
    m_committed = true;
    return true;
}
