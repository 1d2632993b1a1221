#pragma once

#include <QImage>
#include <QLabel>

// A picture that acts as a button, with a normal and a highlighted picture ("akt" appended to the
// name: "buttak" / "buttakakt"). Windows decide when it is highlighted: the message box marks the
// button Enter presses. Emits clicked() when the left button is released over it.
class PictureButton : public QLabel {
    Q_OBJECT

public:
    // pictureName: a skin picture such as "butanuluj"; the button takes the picture's size.
    PictureButton(const QString &name, const QString &pictureName, QPoint topLeft, QWidget *parent);

    void setHighlighted(bool highlighted);
    bool isHighlighted() const { return m_highlighted; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_normal;
    QImage m_highlight;
    bool m_highlighted = false;
    bool m_pressed = false;
};
