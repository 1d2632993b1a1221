#include "Photos.h"

#include "support/JpegFixture.h"

#include <cmath>

namespace Photos {

QImage picture(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB888);
    quint32 state = seed * 2654435761u + 1;
    const double fx = 6.2831853 / width * (1 + seed % 3);
    const double fy = 6.2831853 / height * (2 + seed % 2);
    for (int y = 0; y < height; ++y) {
        uchar *line = image.scanLine(y);
        const double sy = std::sin(y * fy);
        for (int x = 0; x < width; ++x) {
            // xorshift: the grain
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int grain = static_cast<int>(state % 21) - 10;
            const double shape = 0.5 + 0.25 * std::sin(x * fx) + 0.25 * sy;
            const int base = static_cast<int>(200 * shape);
            line[3 * x] = static_cast<uchar>(std::clamp(base + grain + 30, 0, 255));
            line[3 * x + 1] = static_cast<uchar>(std::clamp(base * 3 / 4 + grain + (x * 40 / width), 0, 255));
            line[3 * x + 2] = static_cast<uchar>(std::clamp(255 - base + grain, 0, 255));
        }
    }
    return image;
}

QByteArray jpeg(int width, int height, quint32 seed, int orientation)
{
    const QByteArray bytes = JpegFixture::encode(picture(width, height, seed), 90);
    return orientation == 1 ? bytes : JpegFixture::withApp1(bytes, JpegFixture::exifBody(orientation));
}

} // namespace Photos
