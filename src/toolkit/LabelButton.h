#pragma once

#include <QColor>
#include <QLabel>

// A text label that acts as a button: normal colour, white under the mouse, grey when disabled, a
// hand cursor while enabled. Emits clicked() when the left button is released over it.
class LabelButton : public QLabel {
    Q_OBJECT

public:
    explicit LabelButton(const QString &text, QWidget *parent = nullptr);
    // Creates the label with its object name (the control's name) at `area`.
    LabelButton(const QString &name, const QString &text, const QRect &area, QWidget *parent);

    // A command label on a list window's light command field, where white would not read: it lights
    // in the accent's dark tone.
    static LabelButton *fieldCommand(const QString &name, const QString &text, const QRect &area, QWidget *parent);

    // The question editor draws its labels in InterfaceColours::questionEditor.
    void setNormalColour(const QColor &colour);
    // White unless set: the question editor's popup lights its items in its own colour.
    void setHoverColour(const QColor &colour);
    // Painted as under the mouse; windows that light one label of a group put the others back.
    void setHot(bool hot);
    bool isHot() const { return m_hot; }
    QColor currentColour() const;

signals:
    void clicked();
    // The mouse came over the label.
    void hovered();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateLook();

    QColor m_normal;
    QColor m_hover;
    bool m_hot = false;
    bool m_pressed = false;
};
