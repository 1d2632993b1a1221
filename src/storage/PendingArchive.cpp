#include "storage/PendingArchive.h"

#include "storage/ArchiveAccess.h"
#include "storage/AtomicFile.h"
#include "storage/TVfsPAK.h"

#include <QFile>
#include <utility>

using namespace Qt::StringLiterals;

PendingArchive::PendingArchive(const QString &targetPath) : m_target(targetPath)
{
    // Beside the target, so the final rename stays within one file system and is atomic.
    m_temp = AtomicFile::reserveBeside(targetPath, &m_error);
    if (m_temp.isEmpty())
        return;
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

    // The writes are unbuffered and checked, so a closed archive that opens as a sound PACK with
    // every member is complete on disk.
    TVfsPAK check;
    if (!check.Open(m_temp, TVfsPAK::Mode::ReadOnly) || check.Names() != names) {
        m_error = check.errorString().isEmpty() ? m_target + u": the new archive is incomplete."_s
                                                : check.errorString();
        discard();
        return false;
    }
    check.close();

    const QString temp = std::exchange(m_temp, QString());
    if (!AtomicFile::replace(temp, m_target, &m_error))
        return false;
    m_committed = true;
    return true;
}
