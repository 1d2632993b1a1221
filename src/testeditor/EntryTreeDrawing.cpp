#include "testeditor/EntryTreeDrawing.h"

#include "testeditor/EntryTree.h"

#include <QFont>
#include <QPainter>

namespace EntryTreeDrawing {

QColor stateColour(int state)
{
    switch (state) {
    case 2:
        return Qt::black;
    case 3:
        return {128, 128, 128};
    default:
        return {91, 90, 92};
    }
}

bool underlined(int state, bool hasLink)
{
    return state == 4 || hasLink;
}

void draw(QPainter &painter, const EntryTree &tree, const QImage &expanded, const QImage &collapsed,
          int width, int height, int top)
{
    painter.fillRect(0, 0, width, height, Qt::white);
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    const QList<TreeEntry> &entries = tree.entries();
    int row = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const TreeEntry &e = entries.at(i);
        if (e.visible != 1)
            continue;
        const int y = row * EntryTree::RowHeight + kFirstRowTop - top;
        ++row;
        if (y + EntryTree::RowHeight <= 0)
            continue;
        if (y >= height)
            break;
        const int x = e.level * kIndent;
        if (e.descendants > 0) {
            // Expanded when its first child shows.
            const bool open = i + 1 < entries.size() && entries.at(i + 1).visible == 1;
            const QImage &picture = open ? expanded : collapsed;
            if (!picture.isNull())
                painter.drawImage(QPoint(x + kExpanderLeft, y), picture);
        }
        font.setUnderline(underlined(e.state, !e.link.isEmpty()));
        painter.setFont(font);
        painter.setPen(stateColour(e.state));
        painter.drawText(QRect(x + kNameLeft, y, std::max(0, width - x - kNameLeft), EntryTree::RowHeight),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, e.name);
    }
}

} // namespace EntryTreeDrawing
