#include "toolkit/PictureButton.h"

#include "storage/Pictures.h"
#include "toolkit/Accessibility.h"
#include "toolkit/Resources.h"
#include "toolkit/SkinGeometry.h"

#include <QMouseEvent>
#include <QPixmap>

using namespace Qt::StringLiterals;

PictureButton::PictureButton(const QString &name, const QString &pictureName, QPoint topLeft, QWidget *parent)
    : QLabel(parent)
{
    Accessibility::install();
    setObjectName(name);
    ensureResources();
    LoadSkinImage(pictureName, m_normal);
    LoadSkinImage(pictureName + u"akt"_s, m_highlight);
    const QSize size = m_normal.isNull() ? SkinGeometry::pictureButtonSize : m_normal.size();
    setGeometry(QRect(topLeft, size));
    setCursor(Qt::PointingHandCursor);
    setPixmap(QPixmap::fromImage(m_normal));
}

void PictureButton::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    setPixmap(QPixmap::fromImage(highlighted ? m_highlight : m_normal));
}

void PictureButton::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click && isEnabled())
        emit clicked();
}
