#include "toolkit/SkinStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>

using namespace Qt::StringLiterals;

namespace {
// The artwork's palette.
const QColor amber{232, 169, 60};
const QColor amberDark{168, 116, 28};
const QColor barTone{110, 136, 152};
const QColor deep{79, 104, 120};
const QColor disabledFill{233, 237, 240};
const QColor disabledEdge{180, 194, 204};
constexpr int indicatorSize = 16;
} // namespace

SkinStyle::SkinStyle() : QProxyStyle(QStyleFactory::create(u"Fusion"_s)) {}

SkinStyle *SkinStyle::instance()
{
    static QPointer<SkinStyle> style;
    if (!style) {
        style = new SkinStyle;
        style->setParent(qApp);
    }
    return style;
}

int SkinStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight || metric == PM_ExclusiveIndicatorWidth ||
        metric == PM_ExclusiveIndicatorHeight)
        return indicatorSize;
    if (metric == PM_CheckBoxLabelSpacing || metric == PM_RadioButtonLabelSpacing)
        return 8;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void SkinStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                              const QWidget *widget) const
{
    if (element == PE_IndicatorRadioButton) {
        drawRadio(option, painter);
        return;
    }
    if (element != PE_IndicatorCheckBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const bool enabled = option->state & State_Enabled;
    const bool on = option->state & (State_On | State_NoChange);
    const bool hover = enabled && (option->state & State_MouseOver);
    const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (on) {
        painter->setPen(enabled ? amberDark : disabledEdge);
        painter->setBrush(enabled ? (hover ? amber.lighter(108) : amber) : disabledEdge);
    } else {
        painter->setPen(enabled ? (hover ? deep : barTone) : disabledEdge);
        painter->setBrush(enabled ? QColor(Qt::white) : disabledFill);
    }
    painter->drawRoundedRect(box, 3, 3);
    if (on) {
        const qreal s = box.width();
        QPainterPath tick;
        tick.moveTo(box.left() + s * 0.24, box.top() + s * 0.52);
        tick.lineTo(box.left() + s * 0.42, box.top() + s * 0.70);
        tick.lineTo(box.left() + s * 0.76, box.top() + s * 0.30);
        painter->setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(tick);
    }
    painter->restore();
}

// A round mark with an amber dot, in the colours of the check boxes.
void SkinStyle::drawRadio(const QStyleOption *option, QPainter *painter) const
{
    const bool enabled = option->state & State_Enabled;
    const bool on = option->state & State_On;
    const bool hover = enabled && (option->state & State_MouseOver);
    const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(enabled ? (on ? amberDark : (hover ? deep : barTone)) : disabledEdge);
    painter->setBrush(enabled ? QColor(Qt::white) : disabledFill);
    painter->drawEllipse(box);
    if (on) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(enabled ? (hover ? amber.lighter(108) : amber) : disabledEdge);
        const qreal inset = box.width() * 0.25;
        painter->drawEllipse(box.adjusted(inset, inset, -inset, -inset));
    }
    painter->restore();
}
