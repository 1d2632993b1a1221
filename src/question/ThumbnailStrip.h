#pragma once

#include <QImage>
#include <QList>
#include <QSize>

// The image dialog's strip of the test's pictures: one 120-pixel cell per picture, each picture
// scaled into a 110 × 110 square, three cells in view at a time, moved by the two arrows.
class ThumbnailStrip {
public:
    static constexpr int cellWidth = 120;
    static constexpr int height = 120;
    static constexpr int margin = 5;
    static constexpr int side = 110;
    static constexpr int minimumWidth = 370;
    static constexpr int visibleCount = 3;

    // The picture's size scaled so that its longer side is 110; the other side is rounded to the
    // nearest pixel, a half to the even one, and is at least 1.
    static QSize thumbnailSize(QSize picture);
    // num / den rounded to the nearest integer, a half to the even one (den > 0, num >= 0).
    static qint64 roundHalfEven(qint64 num, qint64 den);

    // One entry per picture, in the test's order; a null image (unreadable) leaves its cell white.
    void build(const QList<QImage> &pictures);
    void clear() { build({}); }

    int count() const { return static_cast<int>(m_thumbnails.size()); }
    // count × 120 + 10, at least 370; 0 without pictures.
    int width() const;
    // Where the strip's left edge stands in its view: 0, −120, −240 …
    int offset() const { return -m_shifted * cellWidth; }
    // The thumbnails counted up to the view's right edge: 3 with more than three pictures, else 0.
    int position() const { return m_position; }
    bool nextEnabled() const { return m_nextEnabled; }
    bool previousEnabled() const { return m_previousEnabled; }
    void next();
    void previous();

    // The picture under strip position x: (x − 5) / 120, truncated, at most count − 1; −1 when empty.
    int indexAt(int x) const;
    // Top left corner of picture i's thumbnail in the strip.
    static QPoint thumbnailOrigin(int i) { return {i * cellWidth + margin, margin}; }
    const QList<QImage> &thumbnails() const { return m_thumbnails; }
    // The whole strip: white, with the thumbnails drawn in their cells.
    QImage render() const;

private:
    QList<QImage> m_thumbnails;
    int m_position = 0;
    int m_shifted = 0;
    bool m_nextEnabled = false;
    bool m_previousEnabled = false;
};
