#include "storage/PhotoShrinking.h"

#include "storage/Pictures.h"

#include <QImage>

using namespace Qt::StringLiterals;

namespace PhotoShrinking {

std::optional<Shrunk> shrink(QByteArrayView bytes, QStringView name)
{
    if (pictureKind(name) != PictureKind::Jpeg)
        return std::nullopt;
    const QSize shown = pictureSize(bytes, name);
    if (shown.isEmpty())
        return std::nullopt;
    const QSize to = fittedSize(shown, {LongerSide, LongerSide});
    if (to == shown && jpegOrientation(bytes) == 1)
        return std::nullopt;
    QImage picture;
    if (!decodeJpeg(bytes, picture, nullptr, fitInto({LongerSide, LongerSide})))
        return std::nullopt;
    QByteArray encoded = encodeJpeg(picture, Quality);
    if (encoded.isEmpty())
        return std::nullopt;
    return Shrunk{shown, picture.size(), std::move(encoded)};
}

QString megabytes(qint64 bytes)
{
    // Tenths of a megabyte, rounded; a tiny file still shows as 0,1 MB rather than 0,0.
    const qint64 tenths = std::max<qint64>(1, (bytes * 10 + (1 << 19)) >> 20);
    // A no-break space: the message box does not leave "MB" alone on a line.
    return u"%1,%2\u00A0MB"_s.arg(tenths / 10).arg(tenths % 10);
}

QString offerText(const Shrunk &s, qint64 originalBytes)
{
    const QString size = u"Obraz ma %1 × %2 pikseli (%3)"_s.arg(s.from.width()).arg(s.from.height())
                             .arg(megabytes(originalBytes));
    if (s.to == s.from)
        return size + u" i jest zapisany obrócony. Zapisać go w położeniu, w jakim jest oglądany "
                      u"(około %1)?"_s.arg(megabytes(s.bytes.size()));
    return size + u". Zmniejszyć go do %1 × %2 (około %3)?"_s.arg(s.to.width()).arg(s.to.height())
                      .arg(megabytes(s.bytes.size()));
}

} // namespace PhotoShrinking
