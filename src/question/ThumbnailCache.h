#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QStringList>

class TVfsPAK;

// The thumbnails of a test's pictures, kept between openings of the image dialog: a picture is
// decoded again only when its member is new or its bytes changed. Each picture is decoded straight
// at the thumbnail's size, so no full-size picture is ever held.
class ThumbnailCache {
public:
    // One thumbnail per name, in order; a null image for a member that is missing or cannot be
    // decoded. Pictures no longer named are forgotten.
    QList<QImage> thumbnails(TVfsPAK &archive, const QStringList &names);
    // How many pictures the last call decoded.
    int decodedLastTime() const { return m_decoded; }

private:
    struct Entry {
        bool known = false;
        qsizetype size = 0;
        size_t hash = 0;
        QImage thumbnail;
    };
    QHash<QString, Entry> m_entries;
    int m_decoded = 0;
};
