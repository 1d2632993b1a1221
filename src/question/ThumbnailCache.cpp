#include "question/ThumbnailCache.h"

#include "question/ThumbnailStrip.h"
#include "storage/ArchiveAccess.h"
#include "storage/Pictures.h"
#include "storage/TVfsPAK.h"

QList<QImage> ThumbnailCache::thumbnails(TVfsPAK &archive, const QStringList &names)
{
    m_decoded = 0;
    QHash<QString, Entry> kept;
    QList<QImage> result;
    result.reserve(names.size());
    for (const QString &name : names) {
        const QString key = name.toCaseFolded();
        // Reading and hashing the bytes costs a small part of decoding them, and tells a replaced
        // member of the same name and size apart.
        const std::optional<QByteArray> bytes = ExtractStream(name, archive);
        if (!bytes) {
            result.append(QImage());
            continue;
        }
        const size_t hash = qHash(QByteArrayView(*bytes));
        Entry entry = kept.value(key, m_entries.value(key));
        if (!entry.known || entry.size != bytes->size() || entry.hash != hash) {
            entry.known = true;
            entry.size = bytes->size();
            entry.hash = hash;
            entry.thumbnail = QImage();
            QImage picture;
            if (decodePicture(*bytes, name, picture, nullptr, ThumbnailStrip::thumbnailSize) &&
                !picture.isNull())
                entry.thumbnail = picture;
            ++m_decoded;
        }
        result.append(entry.thumbnail);
        kept.insert(key, entry);
    }
    m_entries = std::move(kept);
    return result;
}
