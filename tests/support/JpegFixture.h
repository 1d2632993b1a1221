#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

// JPEG pictures made with libjpeg itself, for tests that must not depend on Qt's optional JPEG
// plugin. Every function returns empty bytes when libjpeg refuses.
namespace JpegFixture {

enum class Encoding { Baseline, Progressive, Grayscale };

QByteArray encode(const QImage &image, int quality = 95, Encoding encoding = Encoding::Baseline);
// A picture whose colour changes slowly from corner to corner, so it survives lossy compression.
QImage gradient(int width, int height);
QByteArray gradientJpeg(int width, int height, Encoding encoding = Encoding::Baseline);
// A single-colour CMYK picture with an Adobe marker, ink values stored inverted as Adobe does.
QByteArray cmykJpeg(int width, int height, int cyan, int magenta, int yellow, int black);
// The same bytes with the frame header claiming another size.
QByteArray withClaimedSize(QByteArray jpeg, int width, int height);
// The same bytes with an APP1 segment of the given body right after the start marker.
QByteArray withApp1(const QByteArray &jpeg, const QByteArray &body);
// The body of an APP1 "Exif" segment whose IFD0 holds an image-width tag and then the orientation,
// in Intel ("II") or Motorola ("MM") byte order, as cameras write it; with a thumbnail, an IFD1 that
// points to it as phones store their small preview.
QByteArray exifBody(int orientation, bool bigEndian = false, const QByteArray &thumbnail = {});
// The picture turned and mirrored so that, stored with this EXIF orientation, it shows as `upright`.
QImage storedFor(const QImage &upright, int orientation);

} // namespace JpegFixture
