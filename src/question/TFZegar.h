#pragma once

#include "toolkit/SkinnedWindow.h"

class QLabel;
class QMovie;
class QTimer;

// The save confirmation: a small window with the animated save icon that closes by itself.
class TFZegar : public SkinnedWindow {
    Q_OBJECT

public:
    static constexpr int defaultDuration = 2000; // ms

    explicit TFZegar(QWidget *parent = nullptr);

    // How long the window stays; tests shorten it.
    void setDuration(int milliseconds) { m_duration = milliseconds; }
    int duration() const { return m_duration; }

    // Shows the window modally with its top left corner at (x, y); returns once it has closed itself.
    void showAt(int x, int y);

    QMovie *animation() const { return m_movie; }

private:
    void timeUp();

    QLabel *m_icon;
    QMovie *m_movie;
    QTimer *m_timer;
    int m_duration = defaultDuration;
};
