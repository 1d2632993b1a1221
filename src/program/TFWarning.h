#pragma once

#include "core/Prompts.h"
#include "toolkit/SkinnedWindow.h"

class LabelButton;
class PictureButton;
class QLabel;

// The program's message box: a text, one of three icons, and either a close button or yes, no and
// cancel. Enter presses the highlighted button; the arrow keys and Tab move the highlight; each
// button has its letter key. Closing it without an answer gives No.
class TFWarning : public SkinnedWindow {
    Q_OBJECT

public:
    // Which button Enter presses.
    enum FocusedButton { FocusYes = 1, FocusNo = 2, FocusCancel = 3, FocusClose = 4 };

    explicit TFWarning(QWidget *parent = nullptr);

    // Shows the box modally, centred on the screen, and returns the answer. A carriage return in
    // `text` starts a new line.
    MessageResult showMessage(MessageKind kind, MessageIcon icon, const QString &text);
    // Everything showMessage does before showing the box.
    void prepare(MessageKind kind, MessageIcon icon, const QString &text);

    int focusedButton() const { return m_focused; }
    MessageResult answer() const { return m_answer; }

    void tabPressed() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void finish(MessageResult result);
    void moveHighlight(int step);
    PictureButton *button(int focused) const;
    bool yesNoCancel() const { return m_kind == MessageKind::YesNoCancel; }

    PictureButton *m_yes;
    PictureButton *m_no;
    PictureButton *m_cancel;
    PictureButton *m_close;
    QLabel *m_icon;
    QLabel *m_text;
    LabelButton *m_closeLabel;
    MessageKind m_kind = MessageKind::CloseOnly;
    int m_focused = FocusClose;
    MessageResult m_answer = MessageResult::No;
};
