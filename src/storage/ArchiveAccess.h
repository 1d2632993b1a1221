#pragma once

#include "storage/Pictures.h"
#include "storage/TVfsPAK.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// The operations every editor and document reader uses on archives. They never throw: a failure of
// the file system is a false result or an empty optional (the reason is in the archive's
// errorString()). Members of the same name are replaced, never duplicated. An archive whose Open
// failed has no members.

std::unique_ptr<TVfsPAK> NewArchive();
// Closes the file and destroys the archive; an empty handle is fine.
void FreeArchive(std::unique_ptr<TVfsPAK> &a);

// An existing file, read and write.
bool OpenArchive(const QString &path, TVfsPAK &a);
// The file created or emptied, as an empty archive.
bool CreateArchive(const QString &path, TVfsPAK &a);

// Replaces the list's content with the member names in directory order.
void ListMembers(QStringList &list, TVfsPAK &a);
// Ignoring case; false also when the archive is not open.
bool HasMember(QStringView name, TVfsPAK &a);
std::optional<QByteArray> ExtractStream(QStringView name, TVfsPAK &a);
// The member as Windows-1250 text lines (CR LF, LF or CR end a line); false when absent.
bool ExtractLines(QStringView name, QStringList &lines, TVfsPAK &a);
// Decodes a ".JPG", ".GIF" or ".BMP" member (extension in any case); false when the member is absent,
// is no picture kind or cannot be decoded, and `image` is then unchanged.
bool ExtractPicture(QStringView name, QImage &image, TVfsPAK &a);

// Deletes a member of that name when present, then adds the data under the name.
bool PutStream(const QString &name, QByteArrayView data, TVfsPAK &a);
// The same with a disk file's content; a disk file that does not exist or cannot be read gives false
// and leaves the member as it was.
bool PutFile(const QString &diskPath, const QString &memberName, TVfsPAK &a);
// Deletes the member when present; true also when absent.
bool DeleteMember(QStringView name, TVfsPAK &a);
// Leaves the 12-byte empty archive, in time independent of the archive's size.
bool DeleteAllMembers(TVfsPAK &a);
// Every member of the source into the target, in directory order, replacing the target's members of
// the same names and keeping its others. The data is copied file to file with one directory write.
bool CopyAllMembers(TVfsPAK &source, TVfsPAK &target);
// One member, stored in the target under `name`; false when the source has no such member.
bool CopyMember(TVfsPAK &source, TVfsPAK &target, QStringView name);
