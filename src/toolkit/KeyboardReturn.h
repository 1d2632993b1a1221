#pragma once

#include <QPointer>
#include <QWidget>

// Gives the keyboard back to the window that had it, with the field that had it, when a window
// opened over it closes: where no window manager hands it back, the keyboard would otherwise go
// nowhere. Made before the other window is shown, it acts when it goes out of scope.
class KeyboardReturn {
public:
    KeyboardReturn();
    ~KeyboardReturn();
    KeyboardReturn(const KeyboardReturn &) = delete;
    KeyboardReturn &operator=(const KeyboardReturn &) = delete;

    // The modal window at the start, or else the active one; null when there is none.
    QWidget *window() const { return m_window; }

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_field;
};
