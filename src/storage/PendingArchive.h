#pragma once

#include <QString>
#include <memory>

class TVfsPAK;

// A new document archive built in a temporary file beside its target and renamed over the target
// only when complete. A save that fails half way therefore leaves the previous file as it was and
// no partial or temporary file behind.
class PendingArchive {
public:
    explicit PendingArchive(const QString &targetPath);
    // Removes the temporary file unless the archive was committed.
    ~PendingArchive();
    PendingArchive(const PendingArchive &) = delete;
    PendingArchive &operator=(const PendingArchive &) = delete;

    // False when the temporary archive could not be created (folder missing or not writable ...).
    bool isOpen() const;
    // The archive being built; valid while isOpen().
    TVfsPAK &archive();

    // Closes the archive, checks that it reads back whole and moves it over the target.
    bool commit();

    QString errorString() const { return m_error; }

private:
    void discard();

    QString m_target;
    QString m_temp;
    std::unique_ptr<TVfsPAK> m_archive;
    bool m_committed = false;
    QString m_error;
};
