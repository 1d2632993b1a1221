#pragma once

#include "question/TFWstaw.h"

class PictureView;
class ThumbnailStripView;

// The image attachment dialog (LPlikZObrazem, Alt+O in the question editor): a picture from disk,
// the last-used one shown as a miniature, the test's pictures as a strip of thumbnails, or removing
// the question's picture.
class TFWstawObraz : public TFWstaw {
    Q_OBJECT

public:
    explicit TFWstawObraz(QuestionEditor &editor, QWidget *parent = nullptr);

    PictureView *miniature() const { return m_miniature; }
    ThumbnailStripView *stripView() const { return m_strip; }
    LabelButton *nextArrow() const { return m_nextArrow; }
    LabelButton *previousArrow() const { return m_previousArrow; }

protected:
    void showKindState() override;

private:
    QWidget *m_previewPanel;
    PictureView *m_miniature;
    ThumbnailStripView *m_strip;
    LabelButton *m_nextArrow;
    LabelButton *m_previousArrow;
};
