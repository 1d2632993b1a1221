#pragma once

#include <QWidget>
#include <algorithm>
#include <functional>

class QLabel;

// The program's vertical scroll bar, drawn in the bars' tones: an arrow at each end, a track and a
// thumb. While the thumb is dragged a small hint beside the bar tells where the drag has got to
// (by default the position; windows give their own text, e.g. the row shown at the top).
class VScrollBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 16;

    VScrollBar(const QString &name, QWidget *parent);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int value() const { return m_value; }
    int largeStep() const { return m_largeStep; }
    int smallStep() const { return m_smallStep; }
    void setRange(int minimum, int maximum);
    void setSteps(int smallStep, int largeStep);
    // Brought into the range; emits valueChanged when it changes.
    void setValue(int value);

    // The hint's text for a position.
    std::function<QString(int value)> hintText;
    bool hintShown() const;
    QString shownHint() const;

    // The parts under a point of the bar.
    enum class Part { None, UpArrow, DownArrow, TrackAbove, Thumb, TrackBelow };
    Part partAt(QPoint pos) const;
    QRect thumbRect() const;

signals:
    void valueChanged(int value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    int trackTop() const { return kWidth; }
    int trackLength() const { return std::max(0, height() - 2 * kWidth); }
    int thumbLength() const;
    int valueAtThumbTop(int y) const;
    void showHint();
    void hideHint();

    int m_minimum = 0;
    int m_maximum = 0;
    int m_value = 0;
    int m_smallStep = 1;
    int m_largeStep = 10;
    bool m_dragging = false;
    int m_dragOffset = 0;
    QLabel *m_hint = nullptr;
};
