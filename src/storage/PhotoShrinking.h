#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>
#include <QStringView>
#include <optional>

// Phone photos reduced to what a question's picture needs: the longer side at most 1600 pixels, the
// EXIF orientation applied and no tags left, stored as a JPEG of quality 85. The file given is never
// changed; the reduced picture is new bytes.
namespace PhotoShrinking {

inline constexpr int LongerSide = 1600;
inline constexpr int Quality = 85;

struct Shrunk {
    QSize from;       // as shown
    QSize to;
    QByteArray bytes; // the new JPEG
};

// A JPEG (by name) longer than 1600 pixels or stored turned, reduced and upright; nothing for other
// pictures, for those that need no change and for those that cannot be decoded.
std::optional<Shrunk> shrink(QByteArrayView bytes, QStringView name);

// "4,1 MB": megabytes with one decimal, a decimal comma and a no-break space.
QString megabytes(qint64 bytes);
// The question asked before a picture is stored reduced.
QString offerText(const Shrunk &s, qint64 originalBytes);

} // namespace PhotoShrinking
