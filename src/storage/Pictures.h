#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

// Pictures are told apart by extension, compared in upper case: ".JPG" (JPEG, decoded with libjpeg
// into 24-bit RGB), ".GIF" and ".BMP" (Qt's readers). Nothing else is a picture. Every decoder
// refuses damaged data, sizes beyond MaxPictureSide / MaxPicturePixels and pictures that would take
// more than 20 times their file plus 64 MB with a false result and leaves the target image unchanged.

constexpr int MaxPictureSide = 20000;
constexpr qint64 MaxPicturePixels = qint64(100) * 1000 * 1000;

enum class PictureKind { None, Jpeg, Gif, Bmp };

PictureKind pictureKind(QStringView fileName);
// `why`, when given, receives the reason of a failure.
bool decodeJpeg(QByteArrayView bytes, QImage &image, QString *why = nullptr);
// Decodes by the kind `fileName`'s extension names.
bool decodePicture(QByteArrayView bytes, QStringView fileName, QImage &image, QString *why = nullptr);

// A picture file from disk, by its extension; an unknown extension leaves the image unchanged.
bool LoadPictureFile(const QString &path, QImage &image);
// The JPEG resource ":/skins/<resourceName>.jpg" built into the program.
bool LoadSkinImage(const QString &resourceName, QImage &image);
