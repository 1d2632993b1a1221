#pragma once

#include "toolkit/SkinnedWindow.h"

class QLineEdit;
class StudentListEditor;
class TextMemo;

// The list information dialog of the student list editor: the list's author (required) and remarks.
class TFAutorListyKlas : public SkinnedWindow {
    Q_OBJECT

public:
    explicit TFAutorListyKlas(QWidget *parent = nullptr);

    // Shows the list's author and remarks at `at`, modally; an accepted dialog stores them.
    void run(StudentListEditor &editor, QPoint at);
    void fill(const QString &author, const QString &remarks);

protected:
    bool acceptKey() override;
    bool cancelKey() override;

private:
    StudentListEditor *m_editor = nullptr;
    QLineEdit *m_author;
    TextMemo *m_remarks;
};
