#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

// Raw PACK archive bytes built by hand, to check what the archive class writes and to feed it
// damaged files.
namespace PakBytes {

QByteArray int32(qint32 value);
QByteArray header(qint32 directoryOffset, qint32 directoryLength, QByteArrayView magic = "PACK");
// A 128-byte directory entry; the name field is zero-padded (or cut) to 120 bytes.
QByteArray entry(QByteArrayView name, qint32 offset, qint32 size);
// The archive as it should be written: data back to back from 12, then the directory.
QByteArray archive(const QList<std::pair<QByteArray, QByteArray>> &members);

QByteArray readFile(const QString &path);
bool writeFile(const QString &path, QByteArrayView bytes);

} // namespace PakBytes
