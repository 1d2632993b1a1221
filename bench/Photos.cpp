#include "Photos.h"

#include "support/JpegFixture.h"

#include <QPainter>
#include <QTransform>
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
    // A dark arrow pointing up: which way the photo stands shows at a glance.
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 40));
    const qreal s = std::min(width, height) / 4.0;
    const QPointF tip(width / 2.0, height * 0.1);
    p.drawPolygon(QPolygonF{tip, tip + QPointF(-s / 2, s), tip + QPointF(s / 2, s)});
    p.drawRect(QRectF(tip.x() - s / 6, tip.y() + s, s / 3, s));
    p.end();
    return image;
}

QByteArray jpeg(int width, int height, quint32 seed, int orientation, bool preview)
{
    // An upright shot (height × width as seen) that the phone stores turned a quarter to the left.
    const QImage stored = orientation == 1 ? picture(width, height, seed)
                                           : picture(height, width, seed).transformed(QTransform().rotate(270));
    const QByteArray bytes = JpegFixture::encode(stored, 90);
    if (orientation == 1 && !preview)
        return bytes;
    // The 160 × 120 preview a phone keeps beside the photo, stored as the photo is.
    const QByteArray small =
        preview ? JpegFixture::encode(stored.scaled(stored.width() > stored.height() ? QSize(160, 120) : QSize(120, 160),
                                                    Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                                      80)
                : QByteArray();
    return JpegFixture::withApp1(bytes, JpegFixture::exifBody(orientation, false, small));
}

} // namespace Photos
