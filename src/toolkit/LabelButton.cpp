#include "toolkit/LabelButton.h"

#include "toolkit/Accessibility.h"
#include "toolkit/InterfaceColours.h"

#include <QMouseEvent>

LabelButton::LabelButton(const QString &text, QWidget *parent)
    : QLabel(text, parent), m_normal(InterfaceColours::normal), m_hover(InterfaceColours::hover)
{
    Accessibility::install();
    setTextFormat(Qt::PlainText);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    updateLook();
}

LabelButton::LabelButton(const QString &name, const QString &text, const QRect &area, QWidget *parent)
    : LabelButton(text, parent)
{
    setObjectName(name);
    setGeometry(area);
}

void LabelButton::setNormalColour(const QColor &colour)
{
    m_normal = colour;
    updateLook();
}

void LabelButton::setHoverColour(const QColor &colour)
{
    m_hover = colour;
    updateLook();
}

void LabelButton::setHot(bool hot)
{
    if (m_hot == hot)
        return;
    m_hot = hot;
    updateLook();
}

QColor LabelButton::currentColour() const
{
    if (!isEnabled())
        return InterfaceColours::disabled;
    return m_hot ? m_hover : m_normal;
}

void LabelButton::enterEvent(QEnterEvent *event)
{
    QLabel::enterEvent(event);
    if (!isEnabled())
        return;
    setHot(true);
    emit hovered();
}

void LabelButton::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    m_pressed = false;
    setHot(false);
}

void LabelButton::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void LabelButton::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click && isEnabled())
        emit clicked();
}

void LabelButton::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            m_hot = false;
        updateLook();
    }
}

void LabelButton::updateLook()
{
    QPalette pal = palette();
    pal.setColor(QPalette::All, QPalette::WindowText, currentColour());
    setPalette(pal);
    setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

LabelButton *LabelButton::fieldCommand(const QString &name, const QString &text, const QRect &area, QWidget *parent)
{
    auto *label = new LabelButton(name, text, area, parent);
    label->setContentsMargins(10, 0, 0, 0);
    label->setHoverColour(QColor(168, 116, 28));
    return label;
}
