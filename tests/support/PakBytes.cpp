#include "PakBytes.h"

#include <QFile>
#include <QtEndian>

namespace PakBytes {

QByteArray int32(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<qint32>(value, bytes.data());
    return bytes;
}

QByteArray header(qint32 directoryOffset, qint32 directoryLength, QByteArrayView magic)
{
    return magic.toByteArray() + int32(directoryOffset) + int32(directoryLength);
}

QByteArray entry(QByteArrayView name, qint32 offset, qint32 size)
{
    QByteArray field = name.first(std::min<qsizetype>(name.size(), 120)).toByteArray();
    field.append(120 - field.size(), '\0');
    return field + int32(offset) + int32(size);
}

QByteArray archive(const QList<std::pair<QByteArray, QByteArray>> &members)
{
    QByteArray data;
    QByteArray directory;
    for (const auto &[name, content] : members) {
        directory += entry(name, static_cast<qint32>(12 + data.size()), static_cast<qint32>(content.size()));
        data += content;
    }
    return header(static_cast<qint32>(12 + data.size()), static_cast<qint32>(directory.size())) + data +
           directory;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes.data(), bytes.size()) == bytes.size();
}

} // namespace PakBytes
