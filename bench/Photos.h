#pragma once

#include <QByteArray>
#include <QImage>

// Phone photos for the benchmarks: 4000 × 3000 JPEGs of 3 to 4 MB, smooth shapes under a fine grain
// as a sensor gives it, made in code.
namespace Photos {

QImage picture(int width, int height, quint32 seed);
// The picture as a JPEG of quality 90, width × height as stored. With orientation 6 it is an upright
// shot stored turned, as a phone keeps it, with the EXIF tag that says so. With a preview, the EXIF
// data holds the 160 × 120 JPEG that phones keep beside every photo.
QByteArray jpeg(int width, int height, quint32 seed, int orientation = 1, bool preview = false);

} // namespace Photos
