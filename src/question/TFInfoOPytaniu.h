#pragma once

#include "question/QuestionInfo.h"
#include "toolkit/SkinnedWindow.h"

#include <QList>

class PictureButton;
class QLabel;
class TestEditorLink;
class Workspace;

// The question information window of the test editor's "Nowe z zestawu ...": the report on the
// question file just read, the verdict, and "Wprowadź" to append the question when it fits.
//
// The fifth answer, which the report's four lines had no room for, has a fifth line that is filled
// only for a five-answer question; its mark is then reported as "  Nr 5" too.
class TFInfoOPytaniu : public SkinnedWindow {
    Q_OBJECT

public:
    explicit TFInfoOPytaniu(Workspace &ws, QWidget *parent = nullptr);

    // Fills the window from the single question and shows it modally at the test editor's left + 190,
    // top + 80; true when the question was added to the test.
    bool run(TestEditorLink *testEditor);
    // Fills the window without showing it.
    void prepare(TestEditorLink *testEditor);

    QString labelText(const QString &name) const;
    bool acceptShown() const;

protected:
    bool cancelKey() override;

private:
    QLabel *addLabel(const QString &name, const QRect &area, bool wrap = false);
    void addQuestion();

    Workspace &m_ws;
    TestEditorLink *m_test = nullptr;
    QLabel *m_file;
    QLabel *m_type;
    QLabel *m_count;
    QLabel *m_text;
    QList<QLabel *> m_answers;
    QList<QLabel *> m_numbers;
    QLabel *m_correct;
    QLabel *m_textName;
    QLabel *m_imageName;
    QLabel *m_comment;
    QLabel *m_verdict;
    QWidget *m_acceptPanel;
    PictureButton *m_accept;
    PictureButton *m_cancel;
    bool m_added = false;
};
