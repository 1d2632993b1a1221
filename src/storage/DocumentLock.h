#pragma once

#include <QString>

// One writer per document. Linux has no share modes, so two programs (two editors, or the editor and
// `zadanix import`) could each open a document and the later save would silently overwrite the other.
// An editor holds a DocumentLock while it has a document open; every save (AtomicFile) takes the same
// lock for the moment it replaces the file and refuses a file another program holds.
//
// The lock is an advisory `flock` on the document's open file. A save renames a new file over the old
// one, so a held lock moves to the new file in the same step (see AtomicFile::replace). Where the file
// system has no locks (some network shares) nothing is refused: the lock is best effort.
class DocumentLock {
public:
    enum class Result {
        Locked,      // held by this object
        InUse,       // another program (or another lock of this one) holds the document
        Unsupported, // the file could not be locked (no such file, no locks on this file system ...)
    };

    DocumentLock() = default;
    ~DocumentLock();
    DocumentLock(const DocumentLock &) = delete;
    DocumentLock &operator=(const DocumentLock &) = delete;

    // Releases a lock held before, then locks the document at `path` without waiting.
    Result lock(const QString &path);
    void release();
    bool isLocked() const { return m_fd >= 0; }
    QString path() const { return m_path; }

    // What the user is told when a document is in use, in the editor's words and in the tool's.
    static QString inUseMessage(const QString &path);
    static QString inUseReason();

private:
    friend class DocumentWriteGuard;

    int m_fd = -1;
    QString m_path;
};

// The lock a writer takes around the rename that replaces a document; used by AtomicFile.
class DocumentWriteGuard {
public:
    DocumentWriteGuard() = default;
    ~DocumentWriteGuard();
    DocumentWriteGuard(const DocumentWriteGuard &) = delete;
    DocumentWriteGuard &operator=(const DocumentWriteGuard &) = delete;

    // Locks the file at `target` (if there is one) against other programs; false only when another
    // program holds it. A lock this program holds through a DocumentLock does not stand in the way.
    bool lockTarget(const QString &target);
    // Locks the complete new file before it is renamed over the target, so the document is never
    // unlocked in between; best effort.
    void lockReplacement(const QString &temp);
    // After the rename: a DocumentLock that held the old file now holds the new one; everything
    // else is released.
    void renamed();

private:
    int m_targetFd = -1;
    int m_newFd = -1;
    DocumentLock *m_holder = nullptr;
};
