#pragma once

#include "question/QuestionProperties.h"
#include "toolkit/SkinnedWindow.h"

#include <QList>

class PictureButton;
class PictureView;
class QLabel;
class QuestionEditor;
class Workspace;

// The question properties view: the question's text, answers, correct answers and comment, a
// fragment of its text file and a miniature of its picture. Read-only; ImZamknij or Esc closes it.
class TFWlasnosciPytania : public SkinnedWindow {
    Q_OBJECT

public:
    explicit TFWlasnosciPytania(Workspace &ws, QWidget *parent = nullptr);

    // LZobaczWlasnosci of the question editor: in a test at the test editor's left + 190, top + 80,
    // for a single question at the question editor's left + 150, top + 50.
    void showForEditor(QuestionEditor &editor);
    // The test editor's preview of question k, at its left + 190, top + 80.
    void showForTestQuestion(int k, QPoint testEditorPosition);

    // Fills the view without showing it.
    void fill(const QuestionProperties &properties);
    QString labelText(const QString &name) const;
    PictureView *miniature() const { return m_miniature; }
    bool miniatureShown() const;

protected:
    bool cancelKey() override;

private:
    QLabel *addLabel(const QString &name, const QRect &area, bool wrap);

    Workspace &m_ws;
    QLabel *m_text;
    QList<QLabel *> m_answers;
    QList<QLabel *> m_numbers;
    QLabel *m_correct;
    QLabel *m_comment;
    QLabel *m_fragment;
    QWidget *m_picturePanel;
    PictureView *m_miniature;
    PictureButton *m_close;
};
