#include "toolkit/PictureView.h"

#include <QPainter>

PictureView::PictureView(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
}

void PictureView::setPicture(const QImage &picture, const QString &note)
{
    m_picture = picture;
    m_note = note;
    rescale();
    update();
}

QRect PictureView::pictureRect() const
{
    if (m_scaled.isNull())
        return {};
    QRect r({0, 0}, m_scaled.size());
    r.moveCenter(rect().center());
    return r;
}

void PictureView::rescale()
{
    m_scaled = QImage();
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    // Premultiplied 32-bit pixels: the form the painter blends fastest and without fringes.
    const QImage argb = m_picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (argb.width() > width() || argb.height() > height())
        m_scaled = argb.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    else
        m_scaled = argb;
}

void PictureView::resizeEvent(QResizeEvent *)
{
    rescale();
}

void PictureView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_scaled.isNull()) {
        painter.drawImage(pictureRect().topLeft(), m_scaled);
        return;
    }
    if (m_note.isEmpty())
        return;
    painter.setPen(QColor(95, 114, 128));
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, m_note);
}
