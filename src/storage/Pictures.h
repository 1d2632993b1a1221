#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

// Pictures are told apart by extension, compared in upper case: ".JPG" (JPEG, decoded with libjpeg
// into 24-bit RGB), ".GIF" and ".BMP" (Qt's readers). Nothing else is a picture. Every decoder
// refuses damaged data, sizes beyond MaxPictureSide / MaxPicturePixels and pictures that would take
// more than 20 times their file plus 64 MB with a false result and leaves the target image unchanged.
//
// A picture is decoded at the size it is shown at: a JPEG straight to the smallest of libjpeg's DCT
// scales that is at least that big, GIF and BMP through their readers, and the rest of the way with
// smooth filtering. A JPEG's EXIF orientation is applied: sizes are those of the picture as it shows.
// A JPEG wanted no bigger than the preview its EXIF data holds (as phones write it), and of the same
// proportions, is made from that preview.

constexpr int MaxPictureSide = 20000;
constexpr qint64 MaxPicturePixels = qint64(100) * 1000 * 1000;

enum class PictureKind { None, Jpeg, Gif, Bmp };

PictureKind pictureKind(QStringView fileName);

// The size wanted for a picture that shows at `shown`; an empty result keeps the picture's own size.
using PictureSizing = std::function<QSize(QSize shown)>;
// Fits into `box` keeping the proportions, never enlarging; the other side rounded to the nearest
// pixel (a half to the even one), at least 1.
PictureSizing fitInto(QSize box);
QSize fittedSize(QSize shown, QSize box);

// `why`, when given, receives the reason of a failure. Without a sizing, the picture's own size.
bool decodeJpeg(QByteArrayView bytes, QImage &image, QString *why = nullptr, const PictureSizing &sizing = {});
// Decodes by the kind `fileName`'s extension names.
bool decodePicture(QByteArrayView bytes, QStringView fileName, QImage &image, QString *why = nullptr,
                   const PictureSizing &sizing = {});
// The size the picture shows at, from its header alone; an empty size when it cannot be read.
QSize pictureSize(QByteArrayView bytes, QStringView fileName, QString *why = nullptr);

// The EXIF orientation (1 to 8) a JPEG's APP1 segment gives; 1 when it has none or it is damaged.
int jpegOrientation(QByteArrayView bytes);
// A baseline JPEG of the picture, without metadata; empty when libjpeg refuses.
QByteArray encodeJpeg(const QImage &image, int quality);

// A picture file from disk, by its extension; an unknown extension leaves the image unchanged.
bool LoadPictureFile(const QString &path, QImage &image, const PictureSizing &sizing = {});
// The JPEG resource ":/skins/<resourceName>.jpg" built into the program.
bool LoadSkinImage(const QString &resourceName, QImage &image);
