#pragma once

#include <QWidget>

class LabelButton;

// An up-down counter's two arrows, stacked, on the middle tone of the bars: the arrows are label
// buttons, dark and white under the mouse. The window keeps the value and its limits; this only
// reports which way the user stepped.
class UpDown : public QWidget {
    Q_OBJECT

public:
    // name: the control's name (UpCzas, UpCel …).
    UpDown(const QString &name, const QRect &area, QWidget *parent);

    LabelButton *upArrow() const { return m_up; }
    LabelButton *downArrow() const { return m_down; }

signals:
    // +1 up, -1 down.
    void stepped(int direction);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    LabelButton *m_up;
    LabelButton *m_down;
};
