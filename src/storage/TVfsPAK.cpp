#include "storage/TVfsPAK.h"

#include "storage/Cp1250.h"

#include <QFileInfo>
#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

constexpr char Magic[4] = {'P', 'A', 'C', 'K'};
constexpr qint64 NameField = 120;
// Offsets and sizes are signed 32-bit: the whole file must stay below 2 GiB.
constexpr qint64 MaxFileSize = std::numeric_limits<qint32>::max();
constexpr qint64 CopyChunk = qint64(1) << 20;

qint64 readInt32(const char *p)
{
    return qFromLittleEndian<qint32>(p);
}

void putInt32(char *p, qint64 value)
{
    qToLittleEndian<qint32>(static_cast<qint32>(value), p);
}

bool readAt(QFile &file, qint64 offset, char *into, qint64 length)
{
    if (!file.seek(offset))
        return false;
    while (length > 0) {
        const qint64 n = file.read(into, length);
        if (n <= 0)
            return false;
        into += n;
        length -= n;
    }
    return true;
}

} // namespace

struct TVfsPAK::Pending {
    QString name;
    QByteArrayView data; // used when `source` is null
    QFile *source = nullptr;
    qint64 sourceOffset = 0;
    qint64 size = 0;
};

TVfsPAK::TVfsPAK() = default;

TVfsPAK::~TVfsPAK() = default;

bool TVfsPAK::fail(const QString &message)
{
    m_error = message;
    return false;
}

bool TVfsPAK::requireWritable()
{
    if (!isOpen())
        return fail(u"No archive is open."_s);
    if (m_mode == Mode::ReadOnly)
        return fail(m_path + u": the archive is open for reading only."_s);
    return true;
}

void TVfsPAK::close()
{
    m_file.reset();
    m_entries.clear();
    m_names.clear();
    m_directoryOffset = HeaderSize;
}

bool TVfsPAK::Open(const QString &path, Mode mode)
{
    close();
    m_path = path;
    m_error.clear();

    auto file = std::make_unique<QFile>(path);
    QIODevice::OpenMode flags = QIODevice::Unbuffered;
    switch (mode) {
    case Mode::OpenExisting:
        flags |= QIODevice::ReadWrite | QIODevice::ExistingOnly;
        break;
    case Mode::Create:
        flags |= QIODevice::ReadWrite | QIODevice::Truncate;
        break;
    case Mode::ReadOnly:
        flags |= QIODevice::ReadOnly;
        break;
    }
    if (QFileInfo(path).isDir())
        return fail(path + u": is a folder."_s);
    if (!file->open(flags))
        return fail(path + u": "_s + file->errorString());

    m_file = std::move(file);
    m_mode = mode;
    const qint64 size = m_file->size();
    if (size == 0) {
        if (mode != Mode::ReadOnly && !writeHeader(HeaderSize, 0)) {
            const QString reason = m_file->errorString();
            close();
            return fail(path + u": "_s + reason);
        }
        setEntries({}, HeaderSize);
        return true;
    }
    if (!readAndCheck(size)) {
        close();
        return false;
    }
    return true;
}

bool TVfsPAK::readAndCheck(qint64 fileSize)
{
    const QString damaged = m_path + u": damaged archive: "_s;
    if (fileSize < HeaderSize)
        return fail(damaged + u"shorter than its header."_s);
    char header[HeaderSize];
    if (!readAt(*m_file, 0, header, HeaderSize))
        return fail(m_path + u": cannot read the header."_s);
    if (std::memcmp(header, Magic, sizeof Magic) != 0)
        return fail(m_path + u": not a PACK archive."_s);

    const qint64 directoryOffset = readInt32(header + 4);
    const qint64 directoryLength = readInt32(header + 8);
    if (directoryOffset < HeaderSize || directoryLength < 0 || directoryLength % EntrySize != 0 ||
        directoryOffset + directoryLength > fileSize)
        return fail(damaged + u"the directory lies outside the file."_s);

    // Bounded by the file's size, checked above.
    QByteArray directory(directoryLength, Qt::Uninitialized);
    if (!readAt(*m_file, directoryOffset, directory.data(), directoryLength))
        return fail(m_path + u": cannot read the directory."_s);

    QList<Entry> entries;
    entries.reserve(directoryLength / EntrySize);
    for (qint64 at = 0; at < directoryLength; at += EntrySize) {
        const char *raw = directory.constData() + at;
        const auto nameLength = static_cast<qsizetype>(std::find(raw, raw + NameField, '\0') - raw);
        Entry entry{Cp1250::toUnicode(QByteArrayView(raw, nameLength)), readInt32(raw + NameField),
                    readInt32(raw + NameField + 4)};
        if (entry.offset < HeaderSize || entry.size < 0 || entry.offset + entry.size > directoryOffset)
            return fail(damaged + u"member %1 lies outside the data area."_s.arg(entries.size() + 1));
        entries.append(std::move(entry));
    }

    // Deleting moves the data behind a member down; members sharing bytes would be torn apart.
    QList<std::pair<qint64, qint64>> ranges;
    ranges.reserve(entries.size());
    for (const Entry &e : std::as_const(entries)) {
        if (e.size > 0)
            ranges.append({e.offset, e.size});
    }
    std::sort(ranges.begin(), ranges.end());
    for (qsizetype i = 1; i < ranges.size(); ++i) {
        if (ranges[i - 1].first + ranges[i - 1].second > ranges[i].first)
            return fail(damaged + u"members overlap."_s);
    }

    setEntries(std::move(entries), directoryOffset);
    return true;
}

void TVfsPAK::setEntries(QList<Entry> entries, qint64 directoryOffset)
{
    m_entries = std::move(entries);
    m_directoryOffset = directoryOffset;
    m_names.clear();
    m_names.reserve(m_entries.size());
    for (const Entry &e : std::as_const(m_entries))
        m_names.append(e.name);
}

int TVfsPAK::IndexOfName(QStringView name) const
{
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        if (QStringView(m_names[i]).compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

QString TVfsPAK::nameProblem(const QString &name)
{
    if (name.contains(QChar(0)))
        return u"the member name \"%1\" holds a zero character."_s.arg(name);
    const QByteArray bytes = Cp1250::fromUnicode(name);
    if (Cp1250::toUnicode(bytes) != name)
        return u"the member name \"%1\" has characters that Windows-1250 cannot hold."_s.arg(name);
    if (bytes.size() > MaxNameBytes)
        return u"the member name \"%1\" is longer than %2 characters."_s.arg(name).arg(MaxNameBytes);
    return {};
}

bool TVfsPAK::fillsNameField(const QString &name)
{
    const QByteArray bytes = Cp1250::fromUnicode(name);
    return bytes.size() == MaxNameBytes + 1 && !name.contains(QChar(0)) && Cp1250::toUnicode(bytes) == name;
}

std::optional<QByteArray> TVfsPAK::Extract(QStringView name)
{
    const int index = IndexOfName(name);
    if (index < 0) {
        fail(m_path + u": no member \""_s + name.toString() + u"\"."_s);
        return std::nullopt;
    }
    return extractAt(index);
}

std::optional<QByteArray> TVfsPAK::extractAt(int index)
{
    if (!isOpen() || index < 0 || index >= m_entries.size()) {
        fail(u"No such member."_s);
        return std::nullopt;
    }
    const Entry &entry = m_entries[index];
    QByteArray data(entry.size, Qt::Uninitialized);
    if (!readAt(*m_file, entry.offset, data.data(), entry.size)) {
        fail(m_path + u": cannot read member \""_s + entry.name + u"\": "_s + m_file->errorString());
        return std::nullopt;
    }
    return data;
}

bool TVfsPAK::AddStream(QByteArrayView data, const QString &name)
{
    return appendPending({Pending{name, data}});
}

bool TVfsPAK::AddStream(QIODevice &stream, const QString &name)
{
    if (!stream.isReadable())
        return fail(u"The stream for \""_s + name + u"\" cannot be read."_s);
    if (!stream.isSequential() && !stream.seek(0))
        return fail(u"The stream for \""_s + name + u"\" cannot be rewound."_s);
    const QByteArray data = stream.readAll();
    if (!stream.isSequential() && data.size() != stream.size())
        return fail(u"The stream for \""_s + name + u"\" could not be read whole."_s);
    return AddStream(QByteArrayView(data), name);
}

bool TVfsPAK::AddFile(const QString &path, const QString &name)
{
    if (!requireWritable())
        return false;
    const QFileInfo info(path);
    // A member that was never added must not pass for one that was.
    if (!info.exists())
        return fail(path + u": no such file."_s);
    if (info.isDir())
        return fail(path + u": is a folder."_s);
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(path + u": "_s + source.errorString());
    if (source.isSequential()) {
        const QByteArray data = source.readAll();
        return appendPending({Pending{name, QByteArrayView(data)}});
    }
    return appendPending({Pending{name, {}, &source, 0, source.size()}});
}

bool TVfsPAK::appendMembersFrom(TVfsPAK &source, const QList<int> &indexes)
{
    if (!source.isOpen())
        return fail(u"The source archive is not open."_s);
    QList<Pending> members;
    members.reserve(indexes.size());
    for (int i : indexes) {
        if (i < 0 || i >= source.m_entries.size())
            return fail(u"No such member in the source archive."_s);
        const Entry &e = source.m_entries[i];
        members.append(Pending{e.name, {}, source.m_file.get(), e.offset, e.size});
    }
    return appendPending(members);
}

bool TVfsPAK::appendMemberFrom(TVfsPAK &source, int index, const QString &name)
{
    if (!source.isOpen() || index < 0 || index >= source.m_entries.size())
        return fail(u"No such member in the source archive."_s);
    const Entry &e = source.m_entries[index];
    return appendPending({Pending{name, {}, source.m_file.get(), e.offset, e.size}});
}

bool TVfsPAK::appendPending(const QList<Pending> &members)
{
    if (!requireWritable())
        return false;
    qint64 total = 0;
    for (const Pending &m : members) {
        const QString problem = nameProblem(m.name);
        if (!problem.isEmpty())
            return fail(m_path + u": "_s + problem);
        total += m.source ? m.size : m.data.size();
    }
    const qint64 count = m_entries.size() + members.size();
    const qint64 directoryOffset = m_directoryOffset + total;
    if (directoryOffset + count * EntrySize > MaxFileSize)
        return fail(m_path + u": the archive would grow beyond 2 GB."_s);

    const qint64 oldEnd = m_file->size();
    QList<Entry> entries = m_entries;
    entries.reserve(count);
    qint64 at = m_directoryOffset;
    for (const Pending &m : members) {
        const qint64 size = m.source ? m.size : m.data.size();
        const bool written = m.source ? copyFrom(*m.source, m.sourceOffset, at, size) : writeAt(at, m.data);
        if (!written) {
            restore(oldEnd);
            return false;
        }
        entries.append(Entry{m.name, at, size});
        at += size;
    }
    if (!writeDirectoryAndHeader(entries, directoryOffset)) {
        restore(oldEnd);
        return false;
    }
    const qint64 end = directoryOffset + count * EntrySize;
    if (m_file->size() != end && !m_file->resize(end)) {
        fail(m_path + u": "_s + m_file->errorString());
        restore(oldEnd);
        return false;
    }
    setEntries(std::move(entries), directoryOffset);
    return true;
}

bool TVfsPAK::Delete(QStringView name)
{
    if (!requireWritable())
        return false;
    const int index = IndexOfName(name);
    return index < 0 || deleteMembers({index});
}

bool TVfsPAK::deleteMembers(QList<int> indexes)
{
    if (!requireWritable())
        return false;
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    if (indexes.isEmpty())
        return true;
    if (indexes.front() < 0 || indexes.back() >= m_entries.size())
        return fail(u"No such member."_s);

    // The byte ranges that go, in file order; Open made sure members do not overlap.
    QList<std::pair<qint64, qint64>> removed;
    QList<Entry> kept;
    kept.reserve(m_entries.size() - indexes.size());
    for (qsizetype i = 0, next = 0; i < m_entries.size(); ++i) {
        if (next < indexes.size() && indexes[next] == i) {
            ++next;
            if (m_entries[i].size > 0)
                removed.append({m_entries[i].offset, m_entries[i].size});
        } else {
            kept.append(m_entries[i]);
        }
    }
    std::sort(removed.begin(), removed.end());
    QList<qint64> removedBefore(removed.size() + 1, 0); // sizes of the first k ranges
    for (qsizetype k = 0; k < removed.size(); ++k)
        removedBefore[k + 1] = removedBefore[k] + removed[k].second;
    const qint64 totalRemoved = removedBefore.back();

    // How far a position moves down: every removed byte before it.
    const auto shift = [&](qint64 position) {
        const auto it = std::upper_bound(removed.begin(), removed.end(), position,
                                         [](qint64 p, const auto &range) { return p < range.first; });
        const qsizetype k = it - removed.begin();
        if (k == 0)
            return qint64(0);
        const auto &last = removed[k - 1];
        return removedBefore[k - 1] + std::min(last.second, position - last.first);
    };
    for (Entry &e : kept)
        e.offset -= shift(e.offset);

    const qint64 oldEnd = m_file->size();
    const qint64 directoryOffset = m_directoryOffset - totalRemoved;
    QByteArray tail;
    qint64 first = m_directoryOffset;
    // Nothing to move when only removed bytes lie between the first removed member and the directory.
    if (!removed.isEmpty() && m_directoryOffset - removed.front().first > totalRemoved) {
        // Everything behind the first removed member passes through memory once; the copy also
        // lets a failed write be undone.
        first = removed.front().first;
        tail.resize(m_directoryOffset - first);
        if (!readAt(*m_file, first, tail.data(), tail.size()))
            return fail(m_path + u": cannot read the archive: "_s + m_file->errorString());
        qint64 to = first;
        for (qsizetype k = 0; k < removed.size(); ++k) {
            const qint64 from = removed[k].first + removed[k].second;
            const qint64 until = k + 1 < removed.size() ? removed[k + 1].first : m_directoryOffset;
            if (until > from) {
                if (!writeAt(to, QByteArrayView(tail).sliced(from - first, until - from))) {
                    restore(oldEnd, first, tail);
                    return false;
                }
                to += until - from;
            }
        }
    } else if (!removed.isEmpty()) {
        // Only the new directory lands on removed data; keep what it covers for undoing.
        first = directoryOffset;
        tail.resize(std::max<qint64>(
            0, std::min(m_directoryOffset, directoryOffset + kept.size() * EntrySize) - first));
        if (!readAt(*m_file, first, tail.data(), tail.size()))
            return fail(m_path + u": cannot read the archive: "_s + m_file->errorString());
    }
    const qint64 end = directoryOffset + kept.size() * EntrySize;
    bool written = writeDirectoryAndHeader(kept, directoryOffset);
    if (written && !m_file->resize(end))
        written = fail(m_path + u": "_s + m_file->errorString());
    if (!written) {
        restore(oldEnd, first, tail);
        return false;
    }
    setEntries(std::move(kept), directoryOffset);
    return true;
}

bool TVfsPAK::clear()
{
    if (!requireWritable())
        return false;
    // Header first: should the cut fail, the file still reads as an empty archive.
    if (!writeHeader(HeaderSize, 0))
        return false;
    if (!m_file->resize(HeaderSize))
        return fail(m_path + u": "_s + m_file->errorString());
    setEntries({}, HeaderSize);
    return true;
}

bool TVfsPAK::writeAt(qint64 offset, QByteArrayView bytes)
{
    if (!m_file->seek(offset) || m_file->write(bytes.data(), bytes.size()) != bytes.size())
        return fail(m_path + u": cannot write: "_s + m_file->errorString());
    return true;
}

bool TVfsPAK::writeHeader(qint64 directoryOffset, qint64 directoryLength)
{
    char header[HeaderSize];
    std::memcpy(header, Magic, sizeof Magic);
    putInt32(header + 4, directoryOffset);
    putInt32(header + 8, directoryLength);
    return writeAt(0, QByteArrayView(header, HeaderSize));
}

bool TVfsPAK::writeDirectoryAndHeader(const QList<Entry> &entries, qint64 directoryOffset)
{
    QByteArray directory(entries.size() * EntrySize, '\0');
    char *raw = directory.data();
    for (const Entry &e : entries) {
        const QByteArray name = Cp1250::fromUnicode(e.name);
        std::memcpy(raw, name.constData(), static_cast<size_t>(std::min<qint64>(name.size(), NameField)));
        putInt32(raw + NameField, e.offset);
        putInt32(raw + NameField + 4, e.size);
        raw += EntrySize;
    }
    return writeAt(directoryOffset, directory) && writeHeader(directoryOffset, directory.size());
}

bool TVfsPAK::copyFrom(QFile &source, qint64 sourceOffset, qint64 offset, qint64 length)
{
#ifdef Q_OS_LINUX
    // Let the kernel move the bytes; anything it cannot do falls through to the plain loop.
    const int in = source.handle();
    const int out = m_file->handle();
    if (in >= 0 && out >= 0) {
        off64_t inOffset = sourceOffset;
        off64_t outOffset = offset;
        while (length > 0) {
            const ssize_t n = ::copy_file_range(in, &inOffset, out, &outOffset,
                                                static_cast<size_t>(std::min<qint64>(length, 1 << 30)), 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            length -= n;
        }
        sourceOffset = inOffset;
        offset = outOffset;
    }
#endif
    if (length == 0)
        return true;
    QByteArray buffer(std::min(length, CopyChunk), Qt::Uninitialized);
    while (length > 0) {
        const qint64 chunk = std::min(length, CopyChunk);
        if (!readAt(source, sourceOffset, buffer.data(), chunk))
            return fail(source.fileName() + u": cannot read: "_s + source.errorString());
        if (!writeAt(offset, QByteArrayView(buffer.constData(), chunk)))
            return false;
        sourceOffset += chunk;
        offset += chunk;
        length -= chunk;
    }
    return true;
}

void TVfsPAK::restore(qint64 oldEnd, qint64 dataOffset, QByteArrayView data)
{
    // Best effort after a failed change: the moved data, the directory and header as they were, the
    // old length. The first failure stays the one reported.
    const QString reason = m_error;
    if (!data.isEmpty())
        writeAt(dataOffset, data);
    writeDirectoryAndHeader(m_entries, m_directoryOffset);
    m_file->resize(oldEnd);
    m_error = reason;
}
