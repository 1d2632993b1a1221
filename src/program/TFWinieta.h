#pragma once

#include "toolkit/SkinnedWindow.h"

class LabelButton;

// The about window: one picture saying who made the program, when, and its version, with a close
// label. Shown modally beside the main window.
class TFWinieta : public SkinnedWindow {
    Q_OBJECT

public:
    explicit TFWinieta(QWidget *parent = nullptr);

    // Shows the window modally at the main window's left + 260, top + 160.
    void showBy(const QWidget *mainWindow);

private:
    LabelButton *m_close;
};
