#include "question/ThumbnailStrip.h"

#include <QPainter>
#include <algorithm>

qint64 ThumbnailStrip::roundHalfEven(qint64 num, qint64 den)
{
    const qint64 q = num / den;
    const qint64 twiceRest = 2 * (num % den);
    if (twiceRest > den || (twiceRest == den && q % 2 != 0))
        return q + 1;
    return q;
}

QSize ThumbnailStrip::thumbnailSize(QSize picture)
{
    const qint64 w = picture.width();
    const qint64 h = picture.height();
    if (w <= 0 || h <= 0)
        return {};
    // A sliver of a picture still gets one pixel, so its cell shows something.
    if (w >= h)
        return {side, static_cast<int>(std::max<qint64>(1, roundHalfEven(h * side, w)))};
    return {static_cast<int>(std::max<qint64>(1, roundHalfEven(w * side, h))), side};
}

void ThumbnailStrip::build(const QList<QImage> &pictures)
{
    m_thumbnails.clear();
    m_thumbnails.reserve(pictures.size());
    for (const QImage &picture : pictures) {
        if (picture.isNull()) {
            m_thumbnails.append(QImage());
            continue;
        }
        // Linear filtering; 32-bit pixels so the strip blends them as drawn.
        m_thumbnails.append(
            picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                .scaled(thumbnailSize(picture.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    m_shifted = 0;
    m_previousEnabled = false;
    if (count() > visibleCount) {
        m_position = visibleCount;
        m_nextEnabled = true;
    } else {
        m_position = 0;
        m_nextEnabled = false;
    }
}

int ThumbnailStrip::width() const
{
    if (m_thumbnails.isEmpty())
        return 0;
    return std::max(count() * cellWidth + 2 * margin, minimumWidth);
}

void ThumbnailStrip::next()
{
    if (!m_nextEnabled)
        return;
    ++m_shifted;
    ++m_position;
    m_previousEnabled = true;
    if (m_position == count())
        m_nextEnabled = false;
}

void ThumbnailStrip::previous()
{
    if (!m_previousEnabled)
        return;
    --m_shifted;
    --m_position;
    m_nextEnabled = true;
    if (m_position == visibleCount)
        m_previousEnabled = false;
}

int ThumbnailStrip::indexAt(int x) const
{
    if (m_thumbnails.isEmpty())
        return -1;
    // Division truncates toward zero: the margin left of the first cell belongs to it.
    const int i = (x - margin) / cellWidth;
    return std::clamp(i, 0, count() - 1);
}

QImage ThumbnailStrip::render() const
{
    if (m_thumbnails.isEmpty())
        return {};
    QImage strip(width(), height, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    for (int i = 0; i < count(); ++i) {
        if (!m_thumbnails[i].isNull())
            painter.drawImage(thumbnailOrigin(i), m_thumbnails[i]);
    }
    return strip;
}
