#include "toolkit/UpDown.h"

#include "toolkit/LabelButton.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace {
// The bars' middle tone and the panels' border colour of the artwork.
const QColor barTone{110, 136, 152};
const QColor edge{180, 194, 204};
} // namespace

UpDown::UpDown(const QString &name, const QRect &area, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    setGeometry(area);
    const int half = area.height() / 2;
    m_up = new LabelButton(name + u"Gora"_s, u"▲"_s, {0, 0, area.width(), half}, this);
    m_down = new LabelButton(name + u"Dol"_s, u"▼"_s, {0, half, area.width(), area.height() - half}, this);
    for (LabelButton *arrow : {m_up, m_down}) {
        QFont small = arrow->font();
        small.setPixelSize(8);
        arrow->setFont(small);
        arrow->setAlignment(Qt::AlignCenter);
    }
    connect(m_up, &LabelButton::clicked, this, [this] { emit stepped(+1); });
    connect(m_down, &LabelButton::clicked, this, [this] { emit stepped(-1); });
}

void UpDown::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), barTone);
    p.setPen(edge);
    p.drawLine(1, height() / 2, width() - 2, height() / 2);
}
