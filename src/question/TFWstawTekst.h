#pragma once

#include "question/TFWstaw.h"

class QListWidget;

// The text attachment dialog (LPlikZTekstem, Alt+T in the question editor): a text file from disk,
// the last-used one with its text shown, the test's texts as a list, or removing the question's text.
class TFWstawTekst : public TFWstaw {
    Q_OBJECT

public:
    explicit TFWstawTekst(QuestionEditor &editor, QWidget *parent = nullptr);

    QString previewText() const;
    QListWidget *list() const { return m_listBox; }

protected:
    void showKindState() override;

private:
    QLabel *m_fragment;
    QListWidget *m_listBox;
};
