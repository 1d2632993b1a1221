#pragma once

#include <QByteArrayView>
#include <QString>

// Saving without ever harming the previous file: the new content goes into a temporary file in the
// target's folder, which is renamed over the target only when complete (a rename within one folder
// replaces the file atomically).
namespace AtomicFile {

// Creates an empty, uniquely named file beside `target` and returns its path; empty on failure
// (folder missing or not writable, `target` a folder or a read-only file), with the reason in
// `error`. A symbolic link is followed: the file it names is the one replaced.
QString reserveBeside(const QString &target, QString *error = nullptr);
// Gives `temp` the target's permissions (or the usual ones for a new file) and renames it over
// `target`. The temporary file is removed when that fails.
bool replace(const QString &temp, const QString &target, QString *error = nullptr);
// The whole of `bytes` as the new content of `path`. The written size is checked on disk, since a
// buffered write that fails at the end can still report success.
bool write(const QString &path, QByteArrayView bytes, QString *error = nullptr);

} // namespace AtomicFile
