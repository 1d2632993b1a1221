#include "question/ThumbnailStripView.h"

#include "question/ThumbnailStrip.h"

#include <QMouseEvent>
#include <QPainter>

ThumbnailStripView::ThumbnailStripView(const QString &name, const ThumbnailStrip &strip, QWidget *parent)
    : QWidget(parent), m_strip(strip)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
}

void ThumbnailStripView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    // Only the cells in view are drawn; the strip itself is never made as one picture.
    const int offset = m_strip.offset();
    for (int i = 0; i < m_strip.count(); ++i) {
        const QPoint at = ThumbnailStrip::thumbnailOrigin(i) + QPoint(offset, 0);
        if (at.x() + ThumbnailStrip::cellWidth < 0 || at.x() > width())
            continue;
        const QImage &thumbnail = m_strip.thumbnails().at(i);
        if (!thumbnail.isNull())
            painter.drawImage(at, thumbnail);
    }
}

void ThumbnailStripView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clickedAt(event->position().toPoint().x() - m_strip.offset());
}
