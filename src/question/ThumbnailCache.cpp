#include "question/ThumbnailCache.h"

#include "question/ThumbnailStrip.h"
#include "storage/ArchiveAccess.h"
#include "storage/Pictures.h"
#include "storage/TVfsPAK.h"

#include <QThread>
#include <algorithm>
#include <thread>
#include <vector>

namespace {

struct Decoding {
    qsizetype index;
    QString name;
    QString key; // the name case-folded
    QByteArray bytes;
    QImage thumbnail;
};

void decode(Decoding &d)
{
    QImage picture;
    if (decodePicture(d.bytes, d.name, picture, nullptr, ThumbnailStrip::thumbnailSize) && !picture.isNull())
        d.thumbnail = picture;
    d.bytes = QByteArray();
}

// Decoding is the cost, and the cores share it. The archive is read by one thread, a picture after
// another, and no more pictures are held than there are cores to decode them.
void decodeTogether(std::vector<Decoding> &batch)
{
    std::vector<std::thread> helpers;
    for (size_t i = 1; i < batch.size(); ++i)
        helpers.emplace_back([&d = batch[i]] { decode(d); });
    if (!batch.empty())
        decode(batch.front());
    for (std::thread &t : helpers)
        t.join();
}

} // namespace

QList<QImage> ThumbnailCache::thumbnails(TVfsPAK &archive, const QStringList &names)
{
    m_decoded = 0;
    QHash<QString, Entry> kept;
    QList<QImage> result(names.size());
    const size_t cores = static_cast<size_t>(std::max(1, QThread::idealThreadCount()));
    std::vector<Decoding> batch;
    const auto finish = [&] {
        decodeTogether(batch);
        for (Decoding &d : batch) {
            result[d.index] = d.thumbnail;
            kept[d.key].thumbnail = d.thumbnail;
        }
        m_decoded += static_cast<int>(batch.size());
        batch.clear();
    };
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString &name = names[i];
        const QString key = name.toCaseFolded();
        // Reading and hashing the bytes costs a small part of decoding them, and tells a replaced
        // member of the same name and size apart.
        std::optional<QByteArray> bytes = ExtractStream(name, archive);
        if (!bytes)
            continue;
        const size_t hash = qHash(QByteArrayView(*bytes));
        // The same member named twice waits for its first decoding.
        if (std::any_of(batch.cbegin(), batch.cend(), [&key](const Decoding &d) { return d.key == key; }))
            finish();
        Entry entry = kept.value(key, m_entries.value(key));
        if (entry.known && entry.size == bytes->size() && entry.hash == hash) {
            result[i] = entry.thumbnail;
            kept.insert(key, entry);
            continue;
        }
        entry.known = true;
        entry.size = bytes->size();
        entry.hash = hash;
        entry.thumbnail = QImage();
        kept.insert(key, entry);
        batch.push_back({i, name, key, std::move(*bytes), QImage()});
        if (batch.size() == cores)
            finish();
    }
    finish();
    m_entries = std::move(kept);
    return result;
}
