#pragma once

#include "toolkit/SkinnedWindow.h"

class LabelButton;
class QLabel;
class QLineEdit;
class TestListEditor;

// The entry window of the test list editor: the entry's name and the test file or question-set
// folder it points at. TestListEditor holds the two fields and the rules; this shows them.
class TFEdycjaWpisu : public SkinnedWindow {
    Q_OBJECT

public:
    explicit TFEdycjaWpisu(QWidget *parent = nullptr);

    // Shows the editor's entry fields at `at`, modally, until accepted or cancelled.
    void run(TestListEditor &editor, QPoint at);

protected:
    bool acceptKey() override;
    bool cancelKey() override;
    // F10: picks the test file or folder.
    bool commandKey(const QKeyEvent *key) override;

private:
    void pick();
    void showFields();

    TestListEditor *m_editor = nullptr;
    QLineEdit *m_name;
    QLabel *m_link;
    LabelButton *m_pick;
};
