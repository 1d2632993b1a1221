#include "question/AttachmentFiles.h"

#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/TVfsPAK.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace AttachmentFiles {

namespace {

QStringList splitLines(const QString &text)
{
    QStringList lines;
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
    if (start < n)
        lines.append(text.sliced(start));
    return lines;
}

} // namespace

std::optional<QStringList> memberLines(TVfsPAK *archive, const QString &name)
{
    QStringList lines;
    if (!archive || name.isEmpty() || !HasMember(name, *archive) || !ExtractLines(name, lines, *archive))
        return std::nullopt;
    return lines;
}

std::optional<QByteArray> diskBytes(const QString &path)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QStringList> diskLines(const QString &path)
{
    const std::optional<QByteArray> bytes = diskBytes(path);
    if (!bytes)
        return std::nullopt;
    return splitLines(Cp1250::toUnicode(*bytes));
}

QString joinedText(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + u"\r\n"_s;
    return text;
}

QString shownText(const QStringList &lines)
{
    return lines.join(u'\r');
}

bool memberPicture(TVfsPAK *archive, const QString &name, QImage &image, QSize box)
{
    if (!archive || name.isEmpty() || pictureKind(name) == PictureKind::None)
        return false;
    const std::optional<QByteArray> bytes = ExtractStream(name, *archive);
    return bytes && decodePicture(*bytes, name, image, nullptr, fitInto(box)) && !image.isNull();
}

QString withoutFolder(const QString &name)
{
    const qsizetype cut = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    return cut < 0 ? name : name.mid(cut + 1);
}

QString typedTextName(const QString &typed)
{
    QString base = withoutFolder(typed);
    const qsizetype dot = base.indexOf(u'.');
    if (dot >= 0)
        base.truncate(dot);
    return base + u".txt"_s;
}

QString typedImageName(const QString &typed, const QString &original)
{
    const qsizetype dot = original.lastIndexOf(u'.');
    return withoutFolder(typed) + (dot < 0 ? QString() : original.mid(dot));
}

bool storableName(const QString &name)
{
    return !name.isEmpty() && TVfsPAK::nameProblem(name).isEmpty();
}

QString unstorableNameMessage(const QString &name)
{
    return u"Nie można dołączyć pliku\r„%1”.\rNazwa jest za długa albo ma znaki, których program nie zapisze "
           u"w pliku (np. cyrylicę).\rZmień nazwę pliku i wskaż go ponownie."_s.arg(name);
}

QString typedName(bool text, const QString &typed, const QString &original)
{
    return text ? typedTextName(typed) : typedImageName(typed, original);
}

QString clashNameProblem(bool text, const QString &typed, const QString &original, TVfsPAK *test)
{
    const QString name = typedName(text, typed, original);
    if (!storableName(name))
        return unstorableNameMessage(name);
    if (test && HasMember(name, *test))
        return u"W teście jest już plik o nazwie „%1”.\rWpisz inną nazwę pliku."_s.arg(name);
    return {};
}

} // namespace AttachmentFiles
