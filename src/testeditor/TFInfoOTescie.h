#pragma once

#include "testeditor/TestInfo.h"
#include "toolkit/SkinnedWindow.h"

#include <array>

class PictureButton;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class TestEditor;
class UpDown;

// The test information window: name, author, comment, time, choice type, answer count and the
// grading scale of the test in the editor. The values and the checks live in TestInfo; the window
// shows them and forwards the user's input.
class TFInfoOTescie : public SkinnedWindow {
    Q_OBJECT

public:
    TFInfoOTescie(TestEditor &editor, QWidget *parent = nullptr);

    TestInfo &info() { return m_info; }
    // showTestInfo: fills the window and shows it modally at the test editor's left + 40, top + 14.
    void run(QPoint editorAt);
    // The window filled from the model, without showing it.
    void prepare();
    // Values changed on screen since it was filled, not yet accepted.
    bool holdsUnsavedWork() const { return isVisible() && shownValues() != m_filled; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Enter and Esc in the three text fields; elsewhere they do nothing.
    bool acceptKey() override;
    bool cancelKey() override;

private:
    void showValues();
    // The form with the texts and choices as shown (the arrows' values are in it already).
    TestInfo::Fields shownValues() const;
    void takeValues() { m_info.fields = shownValues(); }
    // Enter in a text field: the accepting steps, then the window closes either way.
    void acceptAndClose();
    bool inTextField() const;
    void acceptButton();

    TestInfo m_info;
    TestInfo::Fields m_filled; // as filled, to tell what the user changed
    TestEditor &m_editor;
    QLineEdit *m_name;
    QLineEdit *m_author;
    QPlainTextEdit *m_comment;
    QLineEdit *m_time;
    UpDown *m_timeArrows;
    QRadioButton *m_single;
    QRadioButton *m_multiple;
    std::array<QRadioButton *, 3> m_counts{};
    QCheckBox *m_scale;
    std::array<QLineEdit *, 5> m_thresholds{};
    PictureButton *m_accept;
    PictureButton *m_cancel;
};
