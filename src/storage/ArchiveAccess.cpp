#include "storage/ArchiveAccess.h"

#include "storage/Cp1250.h"

#include <QHash>
#include <QSet>

std::unique_ptr<TVfsPAK> NewArchive()
{
    return std::make_unique<TVfsPAK>();
}

void FreeArchive(std::unique_ptr<TVfsPAK> &a)
{
    a.reset();
}

bool OpenArchive(const QString &path, TVfsPAK &a)
{
    return a.Open(path, TVfsPAK::Mode::OpenExisting);
}

bool CreateArchive(const QString &path, TVfsPAK &a)
{
    return a.Open(path, TVfsPAK::Mode::Create);
}

void ListMembers(QStringList &list, TVfsPAK &a)
{
    list = a.Names();
}

bool HasMember(QStringView name, TVfsPAK &a)
{
    return a.isOpen() && a.IndexOfName(name) >= 0;
}

std::optional<QByteArray> ExtractStream(QStringView name, TVfsPAK &a)
{
    return a.Extract(name);
}

bool ExtractLines(QStringView name, QStringList &lines, TVfsPAK &a)
{
    const std::optional<QByteArray> data = a.Extract(name);
    if (!data)
        return false;
    const QString text = Cp1250::toUnicode(*data);
    lines.clear();
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    // A final line ending does not start another line.
    if (start < n)
        lines.append(text.sliced(start));
    return true;
}

bool ExtractPicture(QStringView name, QImage &image, TVfsPAK &a)
{
    if (pictureKind(name) == PictureKind::None || !HasMember(name, a))
        return false;
    const std::optional<QByteArray> data = a.Extract(name);
    return data && decodePicture(*data, name, image);
}

namespace {

// Checked before the old member goes, so a name that cannot be stored loses nothing.
bool storable(const QString &name, TVfsPAK &a)
{
    return a.isWritable() && TVfsPAK::nameProblem(name).isEmpty();
}

} // namespace

bool PutStream(const QString &name, QByteArrayView data, TVfsPAK &a)
{
    return storable(name, a) && a.Delete(name) && a.AddStream(data, name);
}

bool PutFile(const QString &diskPath, const QString &memberName, TVfsPAK &a)
{
    if (!storable(memberName, a))
        return false;
    // The new content goes in first and the old member (the first of that name) after it, so a disk
    // file that cannot be read costs the archive nothing.
    const bool replacing = a.IndexOfName(memberName) >= 0;
    return a.AddFile(diskPath, memberName) && (!replacing || a.Delete(memberName));
}

bool DeleteMember(QStringView name, TVfsPAK &a)
{
    return a.Delete(name);
}

bool DeleteAllMembers(TVfsPAK &a)
{
    return a.clear();
}

bool CopyAllMembers(TVfsPAK &source, TVfsPAK &target)
{
    if (!source.isOpen() || !target.isWritable())
        return false;
    // Putting every member of an archive back into itself changes nothing.
    if (&source == &target)
        return true;

    // Member by member, a later source member of the same name would replace an earlier one: only
    // the last of each name arrives. A name we could not write back (one that fills all 120 bytes,
    // as another program may store it) is left behind, so it never costs the document its other members.
    const QStringList &names = source.Names();
    QHash<QString, qsizetype> last;
    last.reserve(names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (TVfsPAK::nameProblem(names[i]).isEmpty())
            last.insert(names[i].toCaseFolded(), i);
    }
    QList<int> copied;
    copied.reserve(last.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (last.value(names[i].toCaseFolded(), -1) == i)
            copied.append(static_cast<int>(i));
    }

    QList<int> replaced;
    const QStringList &present = target.Names();
    for (qsizetype i = 0; i < present.size(); ++i) {
        if (last.contains(present[i].toCaseFolded()))
            replaced.append(static_cast<int>(i));
    }
    return target.deleteMembers(replaced) && target.appendMembersFrom(source, copied);
}

bool CopyMember(TVfsPAK &source, TVfsPAK &target, QStringView name)
{
    const int index = source.isOpen() ? source.IndexOfName(name) : -1;
    const QString stored = name.toString();
    if (index < 0 || !storable(stored, target))
        return false;
    if (&source == &target)
        return true;
    return target.Delete(name) && target.appendMemberFrom(source, index, stored);
}
