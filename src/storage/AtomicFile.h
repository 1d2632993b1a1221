#pragma once

#include <QByteArrayView>
#include <QString>

// Saving without ever harming the previous file: the new content goes into a temporary file in the
// target's folder, which is renamed over the target only when complete (a rename within one folder
// replaces the file atomically). The new file is flushed to the disk before the rename and the folder
// after it, so that after a power cut the target is the old file or the new one, whole.
namespace AtomicFile {

// The call that flushes an open file or folder to the disk (fsync). Tests put a failing one in place;
// nullptr restores fsync.
using SyncCall = int (*)(int fd);
void setSyncCall(SyncCall call);

// Creates an empty, uniquely named file beside `target` and returns its path; empty on failure
// (folder missing or not writable, `target` a folder, a read-only file or one another program holds),
// with the reason in `error`. A symbolic link is followed: the file it names is the one replaced.
QString reserveBeside(const QString &target, QString *error = nullptr);
// Gives `temp` the target's permissions (or the usual ones for a new file), flushes it and renames
// it over `target`, then flushes the folder. The temporary file is removed when that fails. A target
// that another program holds open for writing (DocumentLock) is refused.
bool replace(const QString &temp, const QString &target, QString *error = nullptr);
// The whole of `bytes` as the new content of `path`. The written size is checked on disk, since a
// buffered write that fails at the end can still report success.
bool write(const QString &path, QByteArrayView bytes, QString *error = nullptr);

} // namespace AtomicFile
