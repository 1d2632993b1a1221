#pragma once

#include <QByteArray>
#include <QImage>

// GIF bytes for tests; Qt reads GIF but cannot write it. The pixels are stored as 9-bit codes without
// real compression, with the code table reset often enough that the code width never grows.
namespace GifFixture {

// The image reduced to at most 256 colours.
QByteArray encode(const QImage &image);

} // namespace GifFixture
