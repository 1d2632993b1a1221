#pragma once

#include <QObject>

// Tab never moves the focus in the program's windows: the editors move between fields with the
// arrow keys. This application-wide filter takes every Tab press away before it reaches a window and
// hands it to the window's SkinnedWindow::tabPressed() (the message box moves its highlight). The
// file dialogs keep their Tab. Every other key pressed in a control of a program window goes to the
// window first (SkinnedWindow::fieldKey), so that Enter, Esc, F1 and Alt+F4 mean the same in every
// field without a filter of each dialog.
class TabFilter : public QObject {
    Q_OBJECT

public:
    // Installs the one filter on the application; later calls do nothing.
    static void install();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
