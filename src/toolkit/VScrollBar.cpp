#include "toolkit/VScrollBar.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QColor track{223, 230, 235};
const QColor thumb{110, 136, 152};
const QColor thumbDragged{232, 169, 60};
const QColor arrows{62, 85, 102};
const QColor edge{180, 194, 204};

} // namespace

VScrollBar::VScrollBar(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    setFixedWidth(kWidth);
    setCursor(Qt::PointingHandCursor);
}

void VScrollBar::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    setValue(m_value);
    update();
}

void VScrollBar::setSteps(int smallStep, int largeStep)
{
    m_smallStep = std::max(1, smallStep);
    m_largeStep = std::max(1, largeStep);
    update();
}

void VScrollBar::setValue(int value)
{
    value = std::clamp(value, m_minimum, m_maximum);
    if (value == m_value)
        return;
    m_value = value;
    update();
    if (m_dragging)
        showHint();
    emit valueChanged(m_value);
}

int VScrollBar::thumbLength() const
{
    const int range = m_maximum - m_minimum;
    const int length = trackLength();
    if (range <= 0)
        return length;
    // In proportion to what a page shows of the whole, never too small to take.
    const int page = std::max(1, m_largeStep + 1);
    return std::clamp(length * page / (range + page), std::min(length, 20), length);
}

QRect VScrollBar::thumbRect() const
{
    const int range = m_maximum - m_minimum;
    const int free = trackLength() - thumbLength();
    const int top = trackTop() + (range > 0 ? free * (m_value - m_minimum) / range : 0);
    return {1, top, kWidth - 2, thumbLength()};
}

int VScrollBar::valueAtThumbTop(int y) const
{
    const int range = m_maximum - m_minimum;
    const int free = trackLength() - thumbLength();
    if (range <= 0 || free <= 0)
        return m_minimum;
    const int offset = std::clamp(y - trackTop(), 0, free);
    return m_minimum + (offset * range + free / 2) / free;
}

VScrollBar::Part VScrollBar::partAt(QPoint pos) const
{
    if (!rect().contains(pos))
        return Part::None;
    if (pos.y() < kWidth)
        return Part::UpArrow;
    if (pos.y() >= height() - kWidth)
        return Part::DownArrow;
    const QRect t = thumbRect();
    if (pos.y() < t.top())
        return Part::TrackAbove;
    if (pos.y() > t.bottom())
        return Part::TrackBelow;
    return Part::Thumb;
}

void VScrollBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), track);
    p.setPen(edge);
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(Qt::NoPen);
    p.setBrush(m_dragging ? thumbDragged : thumb);
    p.drawRoundedRect(QRectF(thumbRect()).adjusted(1.5, 0.5, -0.5, -0.5), 3, 3);
    p.setBrush(arrows);
    const qreal c = kWidth / 2.0;
    QPainterPath up;
    up.moveTo(c, 5);
    up.lineTo(c + 4.5, 11);
    up.lineTo(c - 4.5, 11);
    up.closeSubpath();
    p.drawPath(up);
    const qreal b = height() - kWidth;
    QPainterPath down;
    down.moveTo(c, b + 11);
    down.lineTo(c + 4.5, b + 5);
    down.lineTo(c - 4.5, b + 5);
    down.closeSubpath();
    p.drawPath(down);
}

void VScrollBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    switch (partAt(pos)) {
    case Part::UpArrow:
        setValue(m_value - m_smallStep);
        break;
    case Part::DownArrow:
        setValue(m_value + m_smallStep);
        break;
    case Part::TrackAbove:
        setValue(m_value - m_largeStep);
        break;
    case Part::TrackBelow:
        setValue(m_value + m_largeStep);
        break;
    case Part::Thumb:
        m_dragging = true;
        m_dragOffset = pos.y() - thumbRect().top();
        showHint();
        update();
        break;
    case Part::None:
        break;
    }
    event->accept();
}

void VScrollBar::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    setValue(valueAtThumbTop(event->position().toPoint().y() - m_dragOffset));
    event->accept();
}

void VScrollBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    hideHint();
    update();
    event->accept();
}

void VScrollBar::wheelEvent(QWheelEvent *event)
{
    // The windows that own a bar decide about the wheel; the bar itself ignores it.
    event->ignore();
}

bool VScrollBar::hintShown() const
{
    return m_hint && m_hint->isVisible();
}

QString VScrollBar::shownHint() const
{
    return hintShown() ? m_hint->text() : QString();
}

void VScrollBar::showHint()
{
    QWidget *host = window();
    if (!m_hint) {
        m_hint = new QLabel(host);
        m_hint->setObjectName(objectName() + u"Podpowiedz"_s);
        m_hint->setStyleSheet(u"QLabel { background: #fbf3e2; color: #2e2e2e; border: 1px solid #a8741c;"
                              u" border-radius: 3px; padding: 1px 6px; }"_s);
        m_hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_hint->setText(hintText ? hintText(m_value) : QString::number(m_value));
    m_hint->adjustSize();
    const QRect t = thumbRect();
    const QPoint anchor = mapTo(host, QPoint(0, t.center().y()));
    m_hint->move(anchor.x() - m_hint->width() - 4, anchor.y() - m_hint->height() / 2);
    m_hint->show();
    m_hint->raise();
}

void VScrollBar::hideHint()
{
    if (m_hint)
        m_hint->hide();
}
