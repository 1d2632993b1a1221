#pragma once

#include <QWidget>

class ThumbnailStrip;

// The view of a thumbnail strip: three cells wide, showing the strip from its offset. A click is
// reported in strip coordinates.
class ThumbnailStripView : public QWidget {
    Q_OBJECT

public:
    ThumbnailStripView(const QString &name, const ThumbnailStrip &strip, QWidget *parent = nullptr);

signals:
    void clickedAt(int stripX);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const ThumbnailStrip &m_strip;
};
